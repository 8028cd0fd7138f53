#pragma once

#include <QByteArray>
#include <QHash>
#include <QIcon>
#include <QIconEngine>
#include <QList>
#include <QPixmap>

// Draws the console's own pictures (resources/ui, resources/chat: SVG written by
// scripts/draw-ui-art.py) at whatever size and scale they are asked for, so they stay sharp at
// 150 % and 200 %. Their ink, written as "currentColor", takes the text colour of the
// application's palette as it is when they are drawn (the disabled or highlighted text colour
// for those modes), so the glyphs follow a light or dark theme; accents keep their colours,
// greyed when disabled.
class CArtIconEngine final : public QIconEngine
{
public:
    // An icon of the SVG at resource (":/ui/login.svg").
    static QIcon Icon(const QString& resource);
    // The operators' states by the image index of the lists: 0 a status the console does not
    // know, 1 online, 2 busy, 3 away, 4 offline.
    static QList<QIcon> OperatorStates();

    QPixmap pixmap(const QSize& size, QIcon::Mode mode, QIcon::State state) override;
    void paint(QPainter* painter, const QRect& rect, QIcon::Mode mode, QIcon::State state) override;
    QIconEngine* clone() const override;
    QString key() const override;

private:
    explicit CArtIconEngine(QByteArray svg);

    QByteArray m_svg;
    // Drawn pictures by size, mode and ink: a view repaints its rows often.
    QHash<QString, QPixmap> m_drawn;
};
