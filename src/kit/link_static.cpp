#include "link_static.h"

#include "colour_math.h"
#include "contrast.h"
#include "desktop_theme.h"
#include "focus_frame.h"
#include "shown_text.h"
#include "url_launcher.h"
#include "url_warning.h"

#include <QAccessibleWidget>
#include <QEnterEvent>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>

namespace {

// Room around the text for the focus frame.
constexpr int kFocusMargin = 3;

const QColor kLinkColour(0, 0, 238);
const QColor kVisitedColour(85, 26, 139);

// The classic link colours are unreadable on a dark window; there they are brought half-way to
// white, which keeps them recognisably blue and purple.
QColor ForPalette(const QColor& c, const QPalette& palette)
{
    return IsDarkPalette(palette) ? Lighten(c, 0.5) : c;
}

// What a screen reader is told: a link, named by its text, whose value is its address, with a
// press action that follows it.
class CLinkAccessible final : public QAccessibleWidget
{
public:
    explicit CLinkAccessible(CLinkStatic* link) : QAccessibleWidget(link, QAccessible::Link) {}

    QString text(QAccessible::Text t) const override
    {
        const auto* link = static_cast<const CLinkStatic*>(widget());
        if (t == QAccessible::Name && link->accessibleName().isEmpty())
            return link->Text();
        if (t == QAccessible::Value ||
            (t == QAccessible::Description && link->accessibleDescription().isEmpty()))
            return link->Url();
        return QAccessibleWidget::text(t);
    }

    QStringList actionNames() const override { return {pressAction()}; }

    void doAction(const QString& action) override
    {
        if (action == pressAction())
            static_cast<CLinkStatic*>(widget())->Follow();
    }
};

QAccessibleInterface* LinkAccessible(const QString& className, QObject* object)
{
    if (className == QLatin1String("CLinkStatic"))
        return new CLinkAccessible(static_cast<CLinkStatic*>(object));
    return nullptr;
}

} // namespace

CLinkStatic::CLinkStatic(const QString& text, QWidget* parent)
    : QWidget(parent), m_text(text), m_launcher(&CUrlLauncher::Desktop())
{
    static const bool accessible = (QAccessible::installFactory(&LinkAccessible), true);
    (void)accessible;
    setCursor(Qt::PointingHandCursor);
    setMouseTracking(true);
    setFocusPolicy(Qt::StrongFocus);
    setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Fixed);
    setToolTip(PlainToolTip(Url()));
    Refit();
}

void CLinkStatic::SetText(const QString& text)
{
    m_text = text;
    setToolTip(PlainToolTip(Url()));
    Refit();
    update();
}

QString CLinkStatic::Text() const
{
    return m_text.isEmpty() ? m_url : m_text;
}

void CLinkStatic::SetUrl(const QString& address)
{
    m_url = address;
    setToolTip(PlainToolTip(Url()));
    Refit();
    update();
}

QString CLinkStatic::Url() const
{
    return m_url.isEmpty() ? m_text : m_url;
}

void CLinkStatic::SetAlignment(Qt::Alignment alignment)
{
    m_alignment = alignment;
    update();
}

void CLinkStatic::SetUnderline(bool underline)
{
    m_underline = underline;
    Refit();
    update();
}

void CLinkStatic::SetAdjustToFit(bool adjust)
{
    m_adjustToFit = adjust;
    setSizePolicy(adjust ? QSizePolicy::Fixed : QSizePolicy::Preferred, QSizePolicy::Fixed);
    Refit();
}

void CLinkStatic::SetLinkColour(const CThemeColour& colour)
{
    m_linkColour = colour;
    update();
}

void CLinkStatic::SetVisitedColour(const CThemeColour& colour)
{
    m_visitedColour = colour;
    update();
}

void CLinkStatic::SetHoverColour(const CThemeColour& colour)
{
    m_hoverColour = colour;
    update();
}

QColor CLinkStatic::Background() const
{
    return palette().color(QPalette::Active, backgroundRole());
}

QColor CLinkStatic::Readable(const QColor& wanted) const
{
    return ReadableOn(wanted, {Background()});
}

QColor CLinkStatic::TextColour() const
{
    if (m_over)
        return Readable(m_hoverColour.Resolve(palette()));
    if (m_visited)
        return Readable(m_visitedColour ? m_visitedColour->Resolve(palette())
                                        : ForPalette(kVisitedColour, palette()));
    return Readable(m_linkColour ? m_linkColour->Resolve(palette())
                                 : ForPalette(kLinkColour, palette()));
}

QList<CColourPair> CLinkStatic::ColourPairs() const
{
    const QColor back = Background();
    const auto colour = [this](const std::optional<CThemeColour>& set, const QColor& fallback) {
        return Readable(set ? set->Resolve(palette()) : ForPalette(fallback, palette()));
    };
    return {{Text(), colour(m_linkColour, kLinkColour), back},
            {Text() + QStringLiteral(" visited"), colour(m_visitedColour, kVisitedColour), back},
            {Text() + QStringLiteral(" under the mouse"),
             Readable(m_hoverColour.Resolve(palette())), back},
            {Text() + QStringLiteral(" focus frame"), FocusFrameColour(palette(), {back}), back,
             kFrameContrast}};
}

void CLinkStatic::SetVisited(bool visited)
{
    m_visited = visited;
    update();
}

void CLinkStatic::SetFailureHandler(std::function<void(int code)> handler)
{
    m_failureHandler = std::move(handler);
}

void CLinkStatic::SetLauncher(const CUrlLauncher* launcher)
{
    m_launcher = launcher ? launcher : &CUrlLauncher::Desktop();
}

int CLinkStatic::OpenUrl(const QString& address) const
{
    return m_launcher->OpenUrl(address, m_fromNetwork ? CUrlLauncher::Origin::Network
                                                      : CUrlLauncher::Origin::Own);
}

QFont CLinkStatic::LinkFont() const
{
    QFont f = font();
    f.setUnderline(m_underline);
    return f;
}

QSize CLinkStatic::sizeHint() const
{
    const QFontMetrics metrics(LinkFont());
    return {metrics.horizontalAdvance(Text()) + 2 * kFocusMargin,
            metrics.height() + 2 * kFocusMargin};
}

QSize CLinkStatic::minimumSizeHint() const
{
    return sizeHint();
}

void CLinkStatic::Refit()
{
    updateGeometry();
    if (!m_adjustToFit)
        return;
    const QRect old = geometry();
    const QSize size = sizeHint();
    int x = old.x();
    if (m_alignment & Qt::AlignHCenter)
        x = old.x() + (old.width() - size.width()) / 2;
    else if (m_alignment & Qt::AlignRight)
        x = old.x() + old.width() - size.width();
    int y = old.y();
    if (m_alignment & Qt::AlignVCenter)
        y = old.y() + (old.height() - size.height()) / 2;
    setGeometry(x, y, size.width(), size.height());
}

void CLinkStatic::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    painter.setFont(LinkFont());
    painter.setPen(TextColour());
    const QRect inside = rect().adjusted(kFocusMargin, kFocusMargin, -kFocusMargin, -kFocusMargin);
    painter.drawText(inside, static_cast<int>(m_alignment) | Qt::TextSingleLine, Text());
    if (hasFocus())
        DrawFocusFrame(painter, rect(), palette(), {Background()});
}

void CLinkStatic::keyPressEvent(QKeyEvent* event)
{
    switch (event->key()) {
    case Qt::Key_Space:
    case Qt::Key_Return:
    case Qt::Key_Enter:
        if (event->modifiers() == Qt::NoModifier || event->modifiers() == Qt::KeypadModifier) {
            Follow();
            return;
        }
        break;
    default:
        break;
    }
    QWidget::keyPressEvent(event);
}

void CLinkStatic::focusInEvent(QFocusEvent* event)
{
    update();
    QWidget::focusInEvent(event);
}

void CLinkStatic::focusOutEvent(QFocusEvent* event)
{
    update();
    QWidget::focusOutEvent(event);
}

void CLinkStatic::SetOver(bool over)
{
    if (m_over == over)
        return;
    m_over = over;
    repaint();
}

void CLinkStatic::enterEvent(QEnterEvent*)
{
    SetOver(true);
}

void CLinkStatic::leaveEvent(QEvent*)
{
    SetOver(false);
}

void CLinkStatic::mouseMoveEvent(QMouseEvent* event)
{
    // While a button is held the leave event waits for the release; follow the pointer anyway.
    SetOver(rect().contains(event->position().toPoint()));
}

void CLinkStatic::mousePressEvent(QMouseEvent* event)
{
    m_pressed = event->button() == Qt::LeftButton;
}

void CLinkStatic::mouseReleaseEvent(QMouseEvent* event)
{
    const bool click = m_pressed && event->button() == Qt::LeftButton &&
                       rect().contains(event->position().toPoint());
    m_pressed = false;
    if (click)
        Follow();
}

void CLinkStatic::Follow()
{
    const int result = OpenUrl(Url());
    if (result > 32) {
        m_visited = true;
        update();
    } else {
        m_visited = false;
        update();
        if (m_failureHandler)
            m_failureHandler(result);
        else
            WarnUrlFailure(this, result);
    }
    emit Followed(result);
}

void CLinkStatic::changeEvent(QEvent* event)
{
    if (event->type() == QEvent::FontChange)
        Refit();
    QWidget::changeEvent(event);
}
