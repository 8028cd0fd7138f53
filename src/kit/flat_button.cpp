#include "flat_button.h"

#include "classic_frame.h"
#include "icon_menu.h"
#include "system_colour.h"
#include "url_launcher.h"
#include "url_warning.h"

#include <QEnterEvent>
#include <QFocusEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QStyleOption>
#include <QStyleOptionFocusRect>

namespace {

constexpr int kPaddingX = 4;
constexpr int kPaddingY = 3;
constexpr int kPictureGap = 4;
constexpr int kArrowWidth = 7;
constexpr int kArrowGap = 4;

} // namespace

// Which pair of colours is in use, and whether the button looks pressed.
struct CFlatButton::Look
{
    bool pressed = false;
    bool hot = false; // flat and under the mouse
    int back = kBackNormal;
    int text = kTextNormal;
};

CFlatButton::CFlatButton(const QString& text, QWidget* parent)
    : QAbstractButton(parent), m_launcher(&CUrlLauncher::Desktop())
{
    setText(text);
    setMouseTracking(true);
    m_theme.Attach(this);
    connect(this, &QAbstractButton::clicked, this, &CFlatButton::OnClicked);
}

CFlatButton::~CFlatButton() = default;

int CFlatButton::SetColour(int index, const CThemeColour& colour, bool repaint)
{
    if (index < 0 || index >= kColourCount)
        return kBadColourIndex;
    m_colours[static_cast<std::size_t>(index)] = colour;
    Refresh(repaint);
    return kOk;
}

QColor CFlatButton::Colour(int index) const
{
    if (index < 0 || index >= kColourCount)
        return {};
    if (const auto& set = m_colours[static_cast<std::size_t>(index)])
        return set->Resolve(palette());
    // Even indices are backgrounds, odd ones texts.
    return SystemColour(index % 2 == 0 ? SysColour::ButtonFace : SysColour::ButtonText, palette());
}

int CFlatButton::SetAlignment(int alignment, bool repaint)
{
    if (alignment < kPictureLeft || alignment > kPictureBelow)
        return kBadAlignment;
    m_alignment = alignment;
    updateGeometry();
    Refresh(repaint);
    return kOk;
}

int CFlatButton::SetIcons(const QIcon& icon, const QIcon& hoverIcon, bool repaint)
{
    m_icon = icon;
    m_hoverIcon = hoverIcon;
    updateGeometry();
    Refresh(repaint);
    return kOk;
}

int CFlatButton::SetFlat(bool flat, bool repaint)
{
    m_flat = flat;
    if (!flat)
        m_over = false;
    updateGeometry();
    Refresh(repaint);
    return kOk;
}

int CFlatButton::SetTrackAlways(bool track, bool repaint)
{
    m_trackAlways = track;
    if (!track && !isActiveWindow())
        m_over = false;
    Refresh(repaint);
    return kOk;
}

int CFlatButton::SetCheckBoxMode(bool on, bool repaint)
{
    setCheckable(on);
    if (!on)
        setChecked(false);
    Refresh(repaint);
    return kOk;
}

int CFlatButton::SetMenu(std::unique_ptr<IconMenu> menu, bool repaint)
{
    delete m_menu;
    m_menu = nullptr;
    m_menuShowing = false;
    if (menu) {
        m_menu = menu.release();
        // Owned through the object tree; the menu stays a popup window of its own.
        m_menu->setParent(this, m_menu->windowFlags());
        connect(m_menu, &QMenu::aboutToHide, this, [this] {
            m_menuShowing = false;
            m_over = m_flat && underMouse();
            update();
        });
        connect(m_menu, &QMenu::triggered, this, [this](QAction* action) {
            const int command = IconMenu::CommandOf(action);
            if (command == 0)
                return;
            // Posted, so that the owner handles the command after the menu has gone, as it
            // would for any other menu command.
            QMetaObject::invokeMethod(
                this, [this, command] { emit MenuCommand(command); }, Qt::QueuedConnection);
        });
    }
    updateGeometry();
    Refresh(repaint);
    return kOk;
}

int CFlatButton::SetTooltip(const QString& text, bool repaint)
{
    setToolTip(text);
    Refresh(repaint);
    return kOk;
}

int CFlatButton::SetUrl(const QString& address, bool repaint)
{
    m_url = address;
    Refresh(repaint);
    return kOk;
}

void CFlatButton::SetLauncher(const CUrlLauncher* launcher)
{
    m_launcher = launcher ? launcher : &CUrlLauncher::Desktop();
}

void CFlatButton::Refresh(bool repaintNow)
{
    if (repaintNow)
        repaint();
}

void CFlatButton::OnClicked()
{
    if (isCheckable()) {
        // The pressed state has already been toggled by the click.
        repaint();
        return;
    }
    if (m_menu) {
        m_menuShowing = true;
        repaint();
        m_menu->popup(mapToGlobal(QPoint(0, height())));
        return;
    }
    if (!m_url.isEmpty()) {
        const int result = m_launcher->OpenUrl(m_url);
        if (result <= 32)
            WarnUrlFailure(this, result);
    }
}

void CFlatButton::SetOver(bool over)
{
    if (m_over == over)
        return;
    m_over = over;
    repaint();
}

void CFlatButton::enterEvent(QEnterEvent* event)
{
    if (m_flat && isEnabled() && (m_trackAlways || isActiveWindow()))
        SetOver(true);
    QAbstractButton::enterEvent(event);
}

void CFlatButton::mouseMoveEvent(QMouseEvent* event)
{
    // Also catches the pointer resting on the button while its window becomes active.
    if (m_flat && isEnabled() && (m_trackAlways || isActiveWindow()))
        SetOver(rect().contains(event->position().toPoint()));
    QAbstractButton::mouseMoveEvent(event);
}

void CFlatButton::leaveEvent(QEvent* event)
{
    SetOver(false);
    QAbstractButton::leaveEvent(event);
}

void CFlatButton::focusInEvent(QFocusEvent* event)
{
    m_focused = true;
    update();
    QAbstractButton::focusInEvent(event);
}

void CFlatButton::focusOutEvent(QFocusEvent* event)
{
    m_focused = false;
    update();
    QAbstractButton::focusOutEvent(event);
}

void CFlatButton::changeEvent(QEvent* event)
{
    if (event->type() == QEvent::EnabledChange && !isEnabled())
        m_over = false;
    if (event->type() == QEvent::ActivationChange && !m_trackAlways && !isActiveWindow())
        SetOver(false);
    QAbstractButton::changeEvent(event);
}

CFlatButton::Look CFlatButton::CurrentLook() const
{
    Look look;
    look.pressed = isDown() || (isCheckable() && isChecked()) || m_menuShowing;
    look.hot = m_flat && m_over && isEnabled();
    if (look.pressed || look.hot) {
        look.back = kBackOver;
        look.text = kTextOver;
    } else if (m_focused) {
        look.back = kBackFocus;
        look.text = kTextFocus;
    }
    return look;
}

QSize CFlatButton::PictureSize() const
{
    if (!m_icon.isNull())
        return m_icon.actualSize(iconSize());
    return {};
}

QPixmap CFlatButton::PictureFor(bool over, bool enabled) const
{
    if (m_icon.isNull())
        return {};
    const QIcon& icon = over && !m_hoverIcon.isNull() ? m_hoverIcon : m_icon;
    return icon.pixmap(iconSize(), devicePixelRatio(), enabled ? QIcon::Normal : QIcon::Disabled);
}

QSize CFlatButton::ContentSize() const
{
    const QSize picture = PictureSize();
    const QSize caption =
        text().isEmpty() ? QSize()
                         : fontMetrics().size(Qt::TextSingleLine | Qt::TextShowMnemonic, text());
    const int gap = picture.isEmpty() || caption.isEmpty() ? 0 : kPictureGap;
    QSize group;
    if (m_alignment == kPictureLeft || m_alignment == kPictureRight)
        group = {picture.width() + gap + caption.width(), qMax(picture.height(), caption.height())};
    else
        group = {qMax(picture.width(), caption.width()), picture.height() + gap + caption.height()};
    if (m_menu)
        group.rwidth() += kArrowGap + kArrowWidth;
    return group;
}

QSize CFlatButton::sizeHint() const
{
    const QSize group = ContentSize();
    const int frame = m_flat ? 1 : 2;
    const int minHeight = fontMetrics().height();
    return {group.width() + 2 * (kPaddingX + frame),
            qMax(group.height(), minHeight) + 2 * (kPaddingY + frame)};
}

QSize CFlatButton::minimumSizeHint() const
{
    return sizeHint();
}

void CFlatButton::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    const QPalette& pal = palette();
    const Look look = CurrentLook();
    const bool enabled = isEnabled();
    const QColor back = Colour(look.back);
    const QColor fore = enabled ? Colour(look.text) : SystemColour(SysColour::GrayText, pal);

    QRect inside = rect();
    if (m_flat) {
        painter.fillRect(rect(), back);
        if (look.pressed)
            inside = DrawBevel(painter, rect(), pal, false, 1);
        else if (look.hot)
            inside = DrawBevel(painter, rect(), pal, true, 1);
        else
            inside = rect().adjusted(1, 1, -1, -1);
    } else if (m_theme.IsThemed()) {
        const auto state = !enabled       ? CThemeHelper::State::Disabled
                           : look.pressed ? CThemeHelper::State::Pressed
                                          : CThemeHelper::State::Normal;
        m_theme.DrawThemedBackground(painter, CThemeHelper::Part::PushButton, state, rect(),
                                     rect());
        inside = m_theme.ContentRect(CThemeHelper::Part::PushButton, state, rect());
    } else {
        painter.fillRect(rect(), back);
        inside = DrawBevel(painter, rect(), pal, !look.pressed, 2);
    }

    if (!m_flat && m_focused) {
        QStyleOptionFocusRect focus;
        focus.initFrom(this);
        focus.rect = inside.adjusted(1, 1, -1, -1);
        style()->drawPrimitive(QStyle::PE_FrameFocusRect, &focus, &painter, this);
    }

    QRect area = inside.adjusted(kPaddingX - 1, kPaddingY - 1, -(kPaddingX - 1), -(kPaddingY - 1));
    if (look.pressed)
        area.translate(1, 1);
    painter.setPen(fore);

    if (m_menu) {
        const int x = area.right() - kArrowWidth + 1;
        const int y = area.center().y() - 1;
        painter.save();
        painter.setRenderHint(QPainter::Antialiasing);
        painter.setPen(Qt::NoPen);
        painter.setBrush(fore);
        painter.drawPolygon(QPolygonF(
            {QPointF(x, y), QPointF(x + kArrowWidth, y), QPointF(x + kArrowWidth / 2.0, y + 4)}));
        painter.restore();
        area.setRight(area.right() - kArrowWidth - kArrowGap);
    }

    const QPixmap picture = PictureFor(look.back == kBackOver, enabled);
    const QSize pictureSize = picture.isNull() ? QSize() : picture.deviceIndependentSize().toSize();
    const QSize caption =
        text().isEmpty() ? QSize()
                         : fontMetrics().size(Qt::TextSingleLine | Qt::TextShowMnemonic, text());
    const int gap = pictureSize.isEmpty() || caption.isEmpty() ? 0 : kPictureGap;
    const int mnemonic = style()->styleHint(QStyle::SH_UnderlineShortcut, nullptr, this)
                             ? Qt::TextShowMnemonic
                             : Qt::TextHideMnemonic;

    QRect pictureRect;
    QRect textRect;
    const bool across = m_alignment == kPictureLeft || m_alignment == kPictureRight;
    if (across) {
        const int width = pictureSize.width() + gap + caption.width();
        int x = area.left() + (area.width() - width) / 2;
        const int pictureY = area.top() + (area.height() - pictureSize.height()) / 2;
        if (m_alignment == kPictureLeft) {
            pictureRect = QRect(QPoint(x, pictureY), pictureSize);
            textRect =
                QRect(x + pictureSize.width() + gap, area.top(), caption.width(), area.height());
        } else {
            textRect = QRect(x, area.top(), caption.width(), area.height());
            x += caption.width() + gap;
            pictureRect = QRect(QPoint(x, pictureY), pictureSize);
        }
    } else {
        const int height = pictureSize.height() + gap + caption.height();
        int y = area.top() + (area.height() - height) / 2;
        const int pictureX = area.left() + (area.width() - pictureSize.width()) / 2;
        if (m_alignment == kPictureAbove) {
            pictureRect = QRect(QPoint(pictureX, y), pictureSize);
            textRect =
                QRect(area.left(), y + pictureSize.height() + gap, area.width(), caption.height());
        } else {
            textRect = QRect(area.left(), y, area.width(), caption.height());
            y += caption.height() + gap;
            pictureRect = QRect(QPoint(pictureX, y), pictureSize);
        }
    }

    if (!picture.isNull())
        painter.drawPixmap(pictureRect.topLeft(), picture);
    if (!caption.isEmpty())
        painter.drawText(textRect, Qt::AlignCenter | Qt::TextSingleLine | mnemonic, text());
}
