#include "icon_menu.h"

#include "classic_frame.h"
#include "colour_math.h"
#include "desktop_theme.h"
#include "icon_menu_style.h"
#include "system_colour.h"

#include <QAction>
#include <QApplication>
#include <QPaintEvent>
#include <QPainter>

namespace {

const char* const kCommandProperty = "parlendoCommand";
const char* const kIconProperty = "parlendoIcon";

} // namespace

struct IconMenu::Colours
{
    bool classic = false;
    QColor back;
    QColor iconColumn;
    QColor frame;
    QColor text;
    QColor disabledText;
    QColor selectedFill;
    QColor selectedBorder;
    QColor selectedText;
    QColor checkedFill;
    QColor separator;
    QColor separatorLight;
};

IconMenu::IconMenu(const QString& title, QWidget* parent)
    : QMenu(title, parent), m_style(std::make_unique<CIconMenuStyle>(this, [this] { return IsClassicLook(); }))
{
    setStyle(m_style.get());
}

IconMenu::~IconMenu()
{
    // The widget must not be left pointing at the style while its base class is torn down.
    setStyle(nullptr);
}

void IconMenu::SetIcons(const QList<QIcon>& icons, const QSize& iconSize)
{
    m_icons = icons;
    m_iconSize = iconSize.isValid() ? iconSize : QSize(16, 16);
    m_style->SetIconSize(m_iconSize);

    // Items added before the icons get their pictures now.
    for (QAction* action : actions()) {
        const int index = action->property(kIconProperty).toInt();
        if (action->property(kIconProperty).isValid() && index >= 0 && index < IconCount())
            action->setIcon(m_icons[index]);
    }
    updateGeometry();
    update();
}

QAction* IconMenu::AddCommand(int command, const QString& text, int icon)
{
    QAction* action = addAction(text);
    action->setProperty(kCommandProperty, command);
    if (icon >= 0) {
        action->setProperty(kIconProperty, icon);
        if (icon < IconCount())
            action->setIcon(m_icons[icon]);
    }
    return action;
}

int IconMenu::CommandOf(const QAction* action)
{
    return action ? action->property(kCommandProperty).toInt() : 0;
}

bool IconMenu::IsClassicLook() const
{
    // A menu is a window of its own; it takes its look from the button it drops down from.
    const QWidget* owner = parentWidget();
    return IsClassicStyle(owner ? owner->style() : QApplication::style());
}

QPalette IconMenu::LookPalette() const
{
    // Like the look, the colours are the owner's: a window with a palette of its own (a dark
    // one, say) gets a menu that matches it.
    const QWidget* owner = parentWidget();
    return owner ? owner->palette() : palette();
}

IconMenu::Colours IconMenu::LookColours() const
{
    const QPalette pal = LookPalette();
    Colours c;
    c.classic = IsClassicLook();
    c.text = SystemColour(SysColour::MenuText, pal);
    c.disabledText = SystemColour(SysColour::GrayText, pal);
    const QColor highlight = SystemColour(SysColour::Highlight, pal);
    const QColor window = SystemColour(SysColour::Window, pal);
    const QColor face = SystemColour(SysColour::ButtonFace, pal);
    const QColor shadow = SystemColour(SysColour::ButtonShadow, pal);
    if (c.classic) {
        c.back = Blend(face, window, 0.25);
        c.iconColumn = c.back;
        c.frame = shadow;
        c.selectedFill = highlight;
        c.selectedBorder = highlight;
        c.selectedText = SystemColour(SysColour::HighlightText, pal);
        c.checkedFill = Blend(face, window, 0.5);
        c.separator = shadow;
        c.separatorLight = SystemColour(SysColour::ButtonHighlight, pal);
    } else {
        c.back = SystemColour(SysColour::Menu, pal);
        c.iconColumn = face;
        // Lines are faded from the text colour, so they show on light and dark menus alike.
        c.frame = Blend(c.text, c.back, 0.6);
        c.selectedFill = Blend(highlight, window, 0.7);
        c.selectedBorder = highlight;
        c.selectedText = c.text;
        c.checkedFill = Blend(highlight, window, 0.85);
        c.separator = Blend(c.text, c.back, 0.8);
    }
    return c;
}

void IconMenu::paintEvent(QPaintEvent* event)
{
    QPainter painter(this);
    const Colours colours = LookColours();
    painter.fillRect(rect(), colours.back);

    const int frame = CIconMenuStyle::FrameWidth(colours.classic);
    const QRect inside = rect().adjusted(frame, frame, -frame, -frame);
    if (colours.classic) {
        DrawBevel(painter, rect(), LookPalette(), true, frame);
    } else {
        painter.fillRect(QRect(inside.left(), inside.top(),
                               CIconMenuStyle::IconColumnWidth(m_iconSize), inside.height()),
                         colours.iconColumn);
        painter.setPen(colours.frame);
        painter.drawRect(rect().adjusted(0, 0, -1, -1));
    }

    for (QAction* action : actions()) {
        const QRect r = actionGeometry(action);
        if (!action->isVisible() || r.isEmpty() || !event->rect().intersects(r))
            continue;
        if (action->isSeparator())
            DrawSeparator(painter, r, colours);
        else
            DrawItem(painter, action, r, colours);
    }
}

void IconMenu::DrawSeparator(QPainter& painter, const QRect& r, const Colours& colours) const
{
    const int y = r.center().y();
    const int left = colours.classic ? r.left() + 3
                                     : r.left() + CIconMenuStyle::IconColumnWidth(m_iconSize) +
                                           CIconMenuStyle::kTextGap;
    const int right = r.right() - 3;
    painter.fillRect(QRect(left, y, right - left + 1, 1), colours.separator);
    if (colours.classic)
        painter.fillRect(QRect(left, y + 1, right - left + 1, 1), colours.separatorLight);
}

void IconMenu::DrawItem(QPainter& painter, QAction* action, const QRect& r,
                        const Colours& colours) const
{
    const bool selected = action == activeAction();
    const bool enabled = action->isEnabled();
    const int column = CIconMenuStyle::IconColumnWidth(m_iconSize);

    if (selected) {
        if (colours.classic) {
            painter.fillRect(r, colours.selectedFill);
        } else {
            const QRect band = r.adjusted(1, 0, -1, -1);
            painter.fillRect(band, colours.selectedFill);
            painter.setPen(colours.selectedBorder);
            painter.drawRect(band.adjusted(0, 0, -1, -1));
        }
    }

    const QRect cell(r.left(), r.top(), column, r.height());
    const QIcon icon = action->icon();
    if (action->isChecked()) {
        const QRect box = cell.adjusted(2, 2, -2, -2);
        if (colours.classic) {
            painter.fillRect(box, colours.checkedFill);
            DrawBevel(painter, box, LookPalette(), false, 1);
        } else {
            painter.fillRect(box, colours.checkedFill);
            painter.setPen(colours.selectedBorder);
            painter.drawRect(box.adjusted(0, 0, -1, -1));
        }
    }
    if (!icon.isNull()) {
        const QPixmap pixmap =
            icon.pixmap(m_iconSize, devicePixelRatio(), enabled ? QIcon::Normal : QIcon::Disabled);
        const QSize shown = pixmap.deviceIndependentSize().toSize();
        const QPoint at(cell.left() + (cell.width() - shown.width()) / 2,
                        cell.top() + (cell.height() - shown.height()) / 2);
        painter.drawPixmap(at, pixmap);
    } else if (action->isChecked()) {
        // A tick for checked items without a picture.
        const QPoint c = cell.center();
        painter.save();
        painter.setRenderHint(QPainter::Antialiasing);
        painter.setPen(QPen(enabled ? colours.text : colours.disabledText, 1.6));
        painter.drawPolyline(QPolygonF({QPointF(c.x() - 4, c.y()), QPointF(c.x() - 1, c.y() + 3),
                                        QPointF(c.x() + 4, c.y() - 3)}));
        painter.restore();
    }

    const QColor textColour = !enabled   ? colours.disabledText
                              : selected ? colours.selectedText
                                         : colours.text;
    painter.setPen(textColour);
    QFont font = painter.font();
    font.setBold(defaultAction() == action);
    painter.setFont(font);

    const int mnemonic = style()->styleHint(QStyle::SH_UnderlineShortcut, nullptr, this)
                             ? Qt::TextShowMnemonic
                             : Qt::TextHideMnemonic;
    const QRect textRect =
        r.adjusted(column + CIconMenuStyle::kTextGap, 0, -CIconMenuStyle::kArrowSpace, 0);
    QString text = action->text();
    const qsizetype tab = text.indexOf(QLatin1Char('\t'));
    if (tab >= 0) {
        painter.drawText(textRect, Qt::AlignRight | Qt::AlignVCenter | Qt::TextSingleLine,
                         text.mid(tab + 1));
        text.truncate(tab);
    }
    painter.drawText(textRect, Qt::AlignLeft | Qt::AlignVCenter | Qt::TextSingleLine | mnemonic,
                     text);

    if (action->menu()) {
        const int x = r.right() - 9;
        const int y = r.center().y();
        painter.save();
        painter.setRenderHint(QPainter::Antialiasing);
        painter.setPen(Qt::NoPen);
        painter.setBrush(textColour);
        painter.drawPolygon(QPolygonF({QPointF(x, y - 4), QPointF(x + 4, y), QPointF(x, y + 4)}));
        painter.restore();
    }
}
