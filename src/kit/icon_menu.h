#pragma once

#include <QList>
#include <QMenu>
#include <QPixmap>
#include <memory>

class CIconMenuStyle;

// A popup menu that draws its own items, each with an optional icon cut from a picture strip in
// which one mask colour stands for transparency. Serves as the drop-down menu of CFlatButton
// ("My Status" uses it for "Online", "Busy" and "Away").
//
// It has two looks: a flat, light one built from the palette, and the raised look of the
// classic style, taken when the window it drops down from uses that style.
class IconMenu final : public QMenu
{
    Q_OBJECT

public:
    explicit IconMenu(const QString& title = {}, QWidget* parent = nullptr);
    ~IconMenu() override;

    // Cuts the strip into icons of iconSize from left to right.
    void SetIconStrip(const QImage& strip, const QSize& iconSize, const QColor& mask);
    QSize IconSize() const { return m_iconSize; }
    int IconCount() const { return static_cast<int>(m_icons.size()); }

    // An item that reports command when chosen; icon is an index into the strip, -1 for none.
    QAction* AddCommand(int command, const QString& text, int icon = -1);
    // The command an item reports; 0 for items added without one.
    static int CommandOf(const QAction* action);

    bool IsClassicLook() const;

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    struct Colours;
    QPalette LookPalette() const;
    Colours LookColours() const;
    void DrawItem(QPainter& painter, QAction* action, const QRect& rect,
                  const Colours& colours) const;
    void DrawSeparator(QPainter& painter, const QRect& rect, const Colours& colours) const;

    std::unique_ptr<CIconMenuStyle> m_style;
    QList<QPixmap> m_icons;
    QSize m_iconSize{16, 16};
};
