#pragma once

#include <QProxyStyle>
#include <functional>

// The item metrics of one menu that paints its items itself (IconMenu): rows tall enough for the
// menu's icons, a column for the icons, and separators at least half as tall as an item. Every
// other question, and every question about another widget, goes to the style the menu would
// otherwise have.
class CIconMenuStyle final : public QProxyStyle
{
    Q_OBJECT

public:
    static constexpr int kTextGap = 8;     // between the icon column and the text
    static constexpr int kArrowSpace = 16; // room for a submenu arrow or trailing space
    static constexpr int kShortcutGap = 16;

    // classic says, when the menu is laid out, whether it takes the classic look.
    CIconMenuStyle(const QWidget* menu, std::function<bool()> classic);
    void SetIconSize(const QSize& iconSize) { m_iconSize = iconSize; }

    // Height of an ordinary item and of a separator for a menu with this font and icon size.
    static int ItemHeight(const QFontMetrics& metrics, const QSize& iconSize);
    static int SeparatorHeight(const QFontMetrics& metrics, const QSize& iconSize);
    // Width of the column that holds the icons and check marks.
    static int IconColumnWidth(const QSize& iconSize);
    // Width of the menu's own frame: one pixel in the light look, a two-pixel bevel in the
    // classic one.
    static int FrameWidth(bool classic);

    QSize sizeFromContents(ContentsType type, const QStyleOption* option, const QSize& size,
                           const QWidget* widget) const override;
    int pixelMetric(PixelMetric metric, const QStyleOption* option,
                    const QWidget* widget) const override;

private:
    const QWidget* m_menu;
    std::function<bool()> m_classic;
    QSize m_iconSize{16, 16};
};
