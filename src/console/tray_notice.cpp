#include "tray_notice.h"

#include "system_colour.h"

#include <QGuiApplication>
#include <QLabel>
#include <QPainter>
#include <QScreen>
#include <QTimer>
#include <QVBoxLayout>

namespace {

constexpr int kWidth = 320;
constexpr int kMargin = 8; // from the edges of the work area

} // namespace

CTrayNotice::CTrayNotice(QWidget* parent)
    : QWidget(parent, Qt::Tool | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint |
                          Qt::WindowDoesNotAcceptFocus),
      m_title(new QLabel(this)), m_text(new QLabel(this)), m_timer(new QTimer(this))
{
    setAttribute(Qt::WA_ShowWithoutActivating);
    setFocusPolicy(Qt::NoFocus);
    m_title->setObjectName(QStringLiteral("title"));
    m_text->setObjectName(QStringLiteral("text"));
    QFont bold = m_title->font();
    bold.setBold(true);
    m_title->setFont(bold);
    for (QLabel* label : {m_title, m_text}) {
        label->setTextFormat(Qt::PlainText);
        label->setWordWrap(true);
    }
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(10, 8, 10, 10);
    layout->setSpacing(4);
    layout->addWidget(m_title);
    layout->addWidget(m_text);
    setFixedWidth(kWidth);

    m_timer->setSingleShot(true);
    connect(m_timer, &QTimer::timeout, this, &QWidget::hide);
}

void CTrayNotice::Show(const QString& title, const QString& text, std::chrono::milliseconds time)
{
    m_title->setText(title);
    m_title->setVisible(!title.isEmpty());
    m_text->setText(text);
    adjustSize();
    Place();
    show();
    raise();
    m_timer->start(time);
}

QString CTrayNotice::Title() const
{
    return m_title->text();
}

QString CTrayNotice::Text() const
{
    return m_text->text();
}

void CTrayNotice::Place()
{
    const QScreen* screen = QGuiApplication::primaryScreen();
    if (!screen)
        return;
    const QRect area = screen->availableGeometry();
    move(area.right() + 1 - width() - kMargin, area.top() + kMargin);
}

void CTrayNotice::paintEvent(QPaintEvent* event)
{
    Q_UNUSED(event);
    QPainter painter(this);
    painter.fillRect(rect(), SystemColour(SysColour::Window, palette()));
    painter.setPen(SystemColour(SysColour::ButtonShadow, palette()));
    painter.drawRect(rect().adjusted(0, 0, -1, -1));
}

void CTrayNotice::mousePressEvent(QMouseEvent* event)
{
    Q_UNUSED(event);
    m_timer->stop();
    hide();
}
