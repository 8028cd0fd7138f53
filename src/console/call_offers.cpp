#include "call_offers.h"

#include "call_notice.h"
#include "ring_player.h"
#include "session_bridge.h"

#include <QGuiApplication>
#include <QScreen>
#include <QTimer>

namespace {

constexpr std::chrono::milliseconds kClockTick{500};

} // namespace

CCallOffers::CCallOffers(const CAppSettings& settings, std::chrono::milliseconds second,
                         QObject* parent)
    : QObject(parent), m_settings(settings), m_second(second), m_ring(new CRingPlayer(this)),
      m_clock(new QTimer(this))
{
    m_clock->setInterval(std::min(kClockTick, m_second));
    connect(m_clock, &QTimer::timeout, this, &CCallOffers::OnTick);
}

CCallOffers::~CCallOffers()
{
    m_stopped = true;
    WithdrawAll();
}

void CCallOffers::Follow(const CSessionBridge& bridge)
{
    // The offer opens on the desktop even while the console is in the tray.
    connect(&bridge, &CSessionBridge::IncomingCall, this, &CCallOffers::Take);
    connect(&bridge, &CSessionBridge::LoggedOut, this, &CCallOffers::WithdrawAll);
}

void CCallOffers::Stop()
{
    m_stopped = true;
    WithdrawAll();
}

void CCallOffers::SetKeepClear(std::function<QRect()> keepClear)
{
    m_keepClear = std::move(keepClear);
}

void CCallOffers::SetChatWindowFactory(CCallDlg::ChatWindowFactory factory)
{
    m_openChat = std::move(factory);
}

int CCallOffers::IndexOf(int callId) const
{
    for (qsizetype i = 0; i < m_offers.size(); ++i)
        if (m_offers[i].call.callId == callId)
            return static_cast<int>(i);
    return -1;
}

int CCallOffers::Waiting() const
{
    int waiting = 0;
    for (const Offer& offer : m_offers)
        if (!offer.window)
            ++waiting;
    return waiting;
}

bool CCallOffers::Take(const CIncomingCall& call)
{
    if (m_stopped || IndexOf(call.callId) >= 0)
        return false;
    const std::optional<QString> notice = CallNotice::Format(call);
    if (!notice)
        return false;
    const QDateTime now = QDateTime::currentDateTime();
    const auto lifetime = CCallDlg::Lifetime(m_settings, m_second);
    m_offers.append({call, *notice, now, now.addMSecs(lifetime.count()), {}});
    OpenWindows();
    emit Taken(call, *notice, lifetime);
    emit Changed();
    return true;
}

void CCallOffers::OpenWindows()
{
    int open = 0;
    for (const Offer& offer : std::as_const(m_offers))
        if (offer.window)
            ++open;
    for (Offer& offer : m_offers) {
        if (open >= kMaxWindows)
            break;
        if (!offer.window) {
            OpenWindow(offer);
            ++open;
        }
    }
    // Offers without a window are timed here.
    if (Waiting() > 0)
        m_clock->start();
    else
        m_clock->stop();
}

void CCallOffers::OpenWindow(Offer& offer)
{
    const auto left = std::chrono::milliseconds(
        std::max<qint64>(1, QDateTime::currentDateTime().msecsTo(offer.deadline)));
    const int callId = offer.call.callId;
    // The chat window is opened here, not by the window: an accepted offer ends as accepted
    // whatever becomes of the factory.
    auto* window = new CCallDlg(m_settings, offer.notice, offer.call, {}, m_ring, left);
    connect(window, &QDialog::finished, this, [this, callId](int result) {
        Finish(callId, result == QDialog::Accepted       ? End::Accepted
                       : result == CCallDlg::kTimedOut ? End::TimedOut
                                                       : End::Declined);
    });
    offer.window = window;
    Place(window);
    window->show();
}

bool CCallOffers::AcceptOldest()
{
    return !m_offers.isEmpty() && Accept(m_offers.constFirst().call.callId);
}

bool CCallOffers::Accept(int callId)
{
    const int at = IndexOf(callId);
    if (at < 0)
        return false;
    if (CCallDlg* window = m_offers[at].window) {
        window->accept(); // finishes the offer through the window's result
        return true;
    }
    Finish(callId, End::Accepted);
    return true;
}

void CCallOffers::Finish(int callId, End end)
{
    const int at = IndexOf(callId);
    if (at < 0)
        return; // the window of an offer already finished
    const Offer offer = m_offers.takeAt(at);
    if (offer.window && offer.window->isVisible())
        offer.window->done(end == End::Accepted ? QDialog::Accepted : QDialog::Rejected);
    if (end == End::Accepted && m_openChat)
        m_openChat(offer.call);
    emit Ended(offer.call, end);
    if (!m_stopped)
        OpenWindows();
    emit Changed();
}

void CCallOffers::WithdrawAll()
{
    while (!m_offers.isEmpty())
        Finish(m_offers.constFirst().call.callId, End::Withdrawn);
    m_clock->stop();
}

void CCallOffers::OnTick()
{
    const QDateTime now = QDateTime::currentDateTime();
    QList<int> late;
    for (const Offer& offer : std::as_const(m_offers))
        if (!offer.window && offer.deadline <= now)
            late.append(offer.call.callId);
    for (const int callId : late)
        Finish(callId, End::TimedOut);
}

void CCallOffers::Place(CCallDlg* window) const
{
    const QScreen* screen = QGuiApplication::primaryScreen();
    if (!screen)
        return;
    window->adjustSize();
    const QRect area = screen->availableGeometry();
    const QRect keepClear = m_keepClear ? m_keepClear() : QRect();
    const int gap = window->fontMetrics().height() / 2;
    const QSize size = window->frameGeometry().size().expandedTo(window->size());
    // A column of offers down one side of the screen, on the side that hides less of what must
    // stay visible (the main window's lists), each below the one before.
    const QRect right(area.right() - size.width() - gap, area.top() + gap, size.width(),
                      area.height() - 2 * gap);
    const QRect left(area.left() + gap, area.top() + gap, size.width(), area.height() - 2 * gap);
    const auto hidden = [&keepClear](const QRect& column) {
        const QRect overlap = column.intersected(keepClear);
        return overlap.isEmpty() ? 0 : overlap.width() * overlap.height();
    };
    const QRect column = hidden(left) < hidden(right) ? left : right;
    int shown = 0;
    for (const Offer& offer : m_offers)
        if (offer.window && offer.window != window)
            ++shown;
    // A short screen fills a second column beside the first, further in, rather than stacking
    // one offer on another.
    const int perColumn = std::max(1, column.height() / (size.height() + gap));
    const int row = shown % perColumn;
    const int inward = (shown / perColumn) * (size.width() + gap) * (column == left ? 1 : -1);
    window->move(column.left() + inward, column.top() + row * (size.height() + gap));
}
