#include "popup_summary.h"

#include <QGuiApplication>
#include <QHBoxLayout>
#include <QPushButton>
#include <QScreen>
#include <QTimer>

CPopupSummary::CPopupSummary(std::function<void()> open, std::chrono::milliseconds lifetime)
    : CLayeredDlg(nullptr, Qt::Tool | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint),
      m_text(new QPushButton(this)), m_timer(new QTimer(this)), m_open(std::move(open))
{
    setObjectName(QStringLiteral("popupSummary"));
    setAttribute(Qt::WA_DeleteOnClose);
    setAttribute(Qt::WA_ShowWithoutActivating);
    m_text->setObjectName(QStringLiteral("popupSummaryText"));
    m_text->setFlat(true);
    m_text->setCursor(Qt::PointingHandCursor);
    m_text->setToolTip(tr("Show the visitors list"));
    auto* row = new QHBoxLayout(this);
    row->setContentsMargins(6, 3, 6, 3);
    row->addWidget(m_text);
    connect(m_text, &QPushButton::clicked, this, [this] {
        if (m_open)
            m_open();
        close();
    });
    m_timer->setSingleShot(true);
    m_timer->setInterval(lifetime);
    connect(m_timer, &QTimer::timeout, this, &QWidget::close);
}

void CPopupSummary::SetCount(int count)
{
    m_text->setText(tr("%n more visitor(s) entered", nullptr, count));
    adjustSize();
    m_timer->start();
}

void CPopupSummary::PlaceAbove(const QWidget* below)
{
    if (below) {
        move(below->x() + below->width() - width(), below->y() - height() - 1);
    } else if (const QScreen* screen = QGuiApplication::primaryScreen()) {
        const QRect area = screen->availableGeometry();
        move(area.right() - width(), area.bottom() - height());
    }
    show();
}
