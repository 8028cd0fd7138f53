#pragma once

#include "readable_colours.h"

#include <QIcon>
#include <QList>
#include <QStyledItemDelegate>

// Draws one cell of the operators list: the status image before the name, "Agent Status" in
// blue and every other text in the window-text colour, in the list's font. A selected row is
// highlighted only while option.state says so; the view clears it when it loses the focus. The
// blue is made just light or dark enough to read on the background of the palette at hand.
class COperatorRowDelegate final : public QStyledItemDelegate, public IReadableColours
{
    Q_OBJECT

public:
    static constexpr int kImageSize = 16;

    explicit COperatorRowDelegate(QObject* parent = nullptr);

    void paint(QPainter* painter, const QStyleOptionViewItem& option,
               const QModelIndex& index) const override;
    QSize sizeHint(const QStyleOptionViewItem& option, const QModelIndex& index) const override;

    // A cell's background and text colour.
    static QColor Background(const QPalette& palette, bool selected);
    static QColor TextColour(const QPalette& palette, int column, bool selected);
    // In the palette of the view the delegate belongs to.
    QList<CColourPair> ColourPairs() const override;

private:
    // The operators image list: 0 status not known, 1 online, 2 busy, 3 away, 4 offline.
    QList<QIcon> m_images;
};
