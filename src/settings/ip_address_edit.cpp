#include "ip_address_edit.h"

#include <QApplication>
#include <QClipboard>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPainter>
#include <QRegularExpression>
#include <QRegularExpressionValidator>
#include <QStyle>
#include <QStyleOptionFrame>
#include <algorithm>
#include <optional>

namespace {

constexpr int kMaxPartValue = 255;
constexpr int kPartDigits = 3;
constexpr int kAtEnd = -1;

using Parts = std::array<int, CIpAddressEdit::kPartCount>;

// Four dot-separated parts of one to three ASCII digits, each 0 to 255, blanks around the
// whole allowed.
std::optional<Parts> ParseAddress(const QString& text)
{
    static const QRegularExpression dotted(
        QStringLiteral("^([0-9]{1,3})\\.([0-9]{1,3})\\.([0-9]{1,3})\\.([0-9]{1,3})$"));
    const QRegularExpressionMatch match = dotted.match(text.trimmed());
    if (!match.hasMatch())
        return std::nullopt;
    Parts parts{};
    for (int i = 0; i < CIpAddressEdit::kPartCount; ++i) {
        parts[i] = match.captured(i + 1).toInt();
        if (parts[i] > kMaxPartValue)
            return std::nullopt;
    }
    return parts;
}

} // namespace

CIpAddressEdit::CIpAddressEdit(QWidget* parent) : QWidget(parent)
{
    const int frame = style()->pixelMetric(QStyle::PM_DefaultFrameWidth, nullptr, this);
    auto* layout = new QHBoxLayout(this);
    layout->setContentsMargins(frame + 1, frame, frame + 1, frame);
    layout->setSpacing(0);

    static const QRegularExpression digits(QStringLiteral("[0-9]{0,3}"));
    const int partWidth = fontMetrics().horizontalAdvance(QStringLiteral("0000"));
    for (int i = 0; i < kPartCount; ++i) {
        if (i > 0)
            layout->addWidget(new QLabel(QStringLiteral("."), this));
        auto* part = new QLineEdit(this);
        part->setFrame(false);
        part->setMaxLength(kPartDigits);
        part->setValidator(new QRegularExpressionValidator(digits, part));
        part->setAlignment(Qt::AlignCenter);
        part->setFixedWidth(partWidth);
        // Only the first part is reached with Tab; the others are entered from it.
        part->setFocusPolicy(i == 0 ? Qt::StrongFocus : Qt::ClickFocus);
        part->installEventFilter(this);
        connect(part, &QLineEdit::textEdited, this, [this, i] { OnPartEdited(i); });
        layout->addWidget(part);
        m_parts[i] = part;
    }
    setFocusProxy(m_parts[0]);
    setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Fixed);
}

QString CIpAddressEdit::Text() const
{
    QStringList parts;
    bool blank = true;
    for (const QLineEdit* part : m_parts) {
        blank = blank && part->text().isEmpty();
        parts << QString::number(part->text().toInt());
    }
    return blank ? QString() : parts.join(QLatin1Char('.'));
}

void CIpAddressEdit::SetText(const QString& text)
{
    const std::optional<Parts> parts = ParseAddress(text);
    for (int i = 0; i < kPartCount; ++i)
        m_parts[i]->setText(parts ? QString::number((*parts)[i]) : QString());
}

void CIpAddressEdit::SetAccessibleName(const QString& name)
{
    setAccessibleName(name);
    for (int i = 0; i < kPartCount; ++i)
        m_parts[i]->setAccessibleName(tr("%1, part %2 of %3").arg(name).arg(i + 1).arg(kPartCount));
}

int CIpAddressEdit::PartIndex(const QObject* object) const
{
    for (int i = 0; i < kPartCount; ++i) {
        if (m_parts[i] == object)
            return i;
    }
    return -1;
}

void CIpAddressEdit::FocusPart(int index, int cursor)
{
    QLineEdit* part = m_parts[index];
    part->setFocus(Qt::OtherFocusReason);
    if (cursor == kAtEnd)
        part->end(false);
    else
        part->setCursorPosition(cursor);
}

bool CIpAddressEdit::eventFilter(QObject* watched, QEvent* event)
{
    const int index = PartIndex(watched);
    if (index < 0)
        return QWidget::eventFilter(watched, event);
    switch (event->type()) {
    case QEvent::KeyPress:
        return OnPartKey(index, static_cast<const QKeyEvent&>(*event));
    case QEvent::FocusIn:
    case QEvent::FocusOut:
        update(); // the frame shows the focus of any part
        break;
    default:
        break;
    }
    return QWidget::eventFilter(watched, event);
}

bool CIpAddressEdit::OnPartKey(int index, const QKeyEvent& key)
{
    QLineEdit* part = m_parts[index];
    const bool last = index == kPartCount - 1;
    if (key.matches(QKeySequence::Paste)) {
        const QString pasted = QApplication::clipboard()->text();
        if (!ParseAddress(pasted))
            return false; // digits go in the usual way, anything else is refused by the part
        SetText(pasted);
        FocusPart(kPartCount - 1, kAtEnd);
        return true;
    }
    const bool backtab = key.key() == Qt::Key_Backtab ||
                         (key.key() == Qt::Key_Tab && (key.modifiers() & Qt::ShiftModifier));
    if (backtab) {
        if (index == 0)
            return false;
        // From the first part, the usual focus chain leads out of the field.
        m_parts[0]->setFocus(Qt::BacktabFocusReason);
        focusNextPrevChild(false);
        return true;
    }
    // A separator is known by the text it types as well, as keyboard layouts differ in keys.
    if (key.key() == Qt::Key_Period || key.key() == Qt::Key_Space ||
        key.text() == QStringLiteral(".") || key.text() == QStringLiteral(" ")) {
        if (!last && !part->text().isEmpty()) {
            FocusPart(index + 1, 0);
            m_parts[index + 1]->selectAll();
        }
        return true;
    }
    switch (key.key()) {
    case Qt::Key_Backspace:
    case Qt::Key_Left:
        if (index > 0 && part->cursorPosition() == 0 && !part->hasSelectedText() &&
            key.modifiers() == Qt::NoModifier) {
            FocusPart(index - 1, kAtEnd);
            return true;
        }
        return false;
    case Qt::Key_Right:
        if (!last && part->cursorPosition() == part->text().size() && !part->hasSelectedText() &&
            key.modifiers() == Qt::NoModifier) {
            FocusPart(index + 1, 0);
            return true;
        }
        return false;
    default:
        return false;
    }
}

void CIpAddressEdit::OnPartEdited(int index)
{
    QLineEdit* part = m_parts[index];
    if (part->text().toInt() > kMaxPartValue) {
        QApplication::beep();
        part->setText(QString::number(kMaxPartValue));
    }
    if (part->text().size() == kPartDigits && part->cursorPosition() == kPartDigits &&
        index < kPartCount - 1) {
        FocusPart(index + 1, 0);
        m_parts[index + 1]->selectAll();
    }
}

void CIpAddressEdit::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    QStyleOptionFrame option;
    option.initFrom(this);
    option.lineWidth = style()->pixelMetric(QStyle::PM_DefaultFrameWidth, &option, this);
    option.midLineWidth = 0;
    option.state |= QStyle::State_Sunken;
    const bool focused = std::any_of(m_parts.cbegin(), m_parts.cend(),
                                     [](const QLineEdit* part) { return part->hasFocus(); });
    if (focused)
        option.state |= QStyle::State_HasFocus;
    else
        option.state &= ~QStyle::State_HasFocus;
    style()->drawPrimitive(QStyle::PE_PanelLineEdit, &option, &painter, this);
}

void CIpAddressEdit::mousePressEvent(QMouseEvent* event)
{
    // A click between the parts or beside them enters the nearest part to its left.
    int index = 0;
    for (int i = 0; i < kPartCount; ++i) {
        if (m_parts[i]->geometry().left() <= event->position().x())
            index = i;
    }
    FocusPart(index, kAtEnd);
    event->accept();
}
