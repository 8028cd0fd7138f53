#include "icon_menu_style.h"

#include <QStyleOptionMenuItem>
#include <QWidget>

CIconMenuStyle::CIconMenuStyle(const QWidget* menu, std::function<bool()> classic)
    : m_menu(menu), m_classic(std::move(classic))
{
}

int CIconMenuStyle::ItemHeight(const QFontMetrics& metrics, const QSize& iconSize)
{
    return qMax(metrics.height(), iconSize.height()) + 6;
}

int CIconMenuStyle::SeparatorHeight(const QFontMetrics& metrics, const QSize& iconSize)
{
    return (ItemHeight(metrics, iconSize) + 1) / 2;
}

int CIconMenuStyle::IconColumnWidth(const QSize& iconSize)
{
    return iconSize.width() + 8;
}

int CIconMenuStyle::FrameWidth(bool classic)
{
    return classic ? 2 : 1;
}

QSize CIconMenuStyle::sizeFromContents(ContentsType type, const QStyleOption* option,
                                       const QSize& size, const QWidget* widget) const
{
    const auto* item = qstyleoption_cast<const QStyleOptionMenuItem*>(option);
    if (type != CT_MenuItem || widget != m_menu || !item)
        return QProxyStyle::sizeFromContents(type, option, size, widget);

    const QFontMetrics metrics(widget->font());
    const QSize icons = m_iconSize;
    if (item->menuItemType == QStyleOptionMenuItem::Separator)
        return {IconColumnWidth(icons), SeparatorHeight(metrics, icons)};

    // The menu adds the widest shortcut to every row itself; only the gap before it is ours.
    int width = IconColumnWidth(icons) + kTextGap + size.width() + kArrowSpace;
    if (item->text.contains(QLatin1Char('\t')))
        width += kShortcutGap;
    return {width, ItemHeight(metrics, icons)};
}

int CIconMenuStyle::pixelMetric(PixelMetric metric, const QStyleOption* option,
                                const QWidget* widget) const
{
    if (widget == m_menu) {
        switch (metric) {
        case PM_MenuPanelWidth:
            return FrameWidth(m_classic && m_classic());
        case PM_MenuHMargin:
            return 0;
        case PM_MenuVMargin:
            return 1;
        case PM_SmallIconSize:
            return m_iconSize.width();
        default:
            break;
        }
    }
    return QProxyStyle::pixelMetric(metric, option, widget);
}
