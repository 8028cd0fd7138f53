#include "call_offers.h"

#include "call_notice.h"
#include "incoming_call.h"
#include "ring_player.h"
#include "session_bridge.h"

#include <QGuiApplication>
#include <QScreen>

namespace {

// The cascade starts over after this many, rather than walking off the screen.
constexpr int kCascadeSteps = 8;

} // namespace

CCallOffers::CCallOffers(const CAppSettings& settings, std::chrono::milliseconds second,
                         QObject* parent)
    : QObject(parent), m_settings(settings), m_second(second), m_ring(new CRingPlayer(this))
{
}

CCallOffers::~CCallOffers()
{
    CloseAll();
}

void CCallOffers::Follow(const CSessionBridge& bridge)
{
    connect(&bridge, &CSessionBridge::IncomingCall, this, [this](const CIncomingCall& call) {
        // The offer opens on the desktop even while the console is in the tray.
        if (!m_stopped)
            Offer(call);
    });
    // Offers came on the connection that has just ended.
    connect(&bridge, &CSessionBridge::LoggedOut, this, &CCallOffers::CloseAll);
}

void CCallOffers::Stop()
{
    m_stopped = true;
    CloseAll();
}

void CCallOffers::SetChatWindowFactory(CCallDlg::ChatWindowFactory factory)
{
    m_openChat = std::move(factory);
}

CCallDlg* CCallOffers::Offer(const CIncomingCall& call)
{
    const std::optional<QString> notice = CallNotice::Format(call);
    if (!notice)
        return nullptr;
    m_offers.removeIf([](const QPointer<CCallDlg>& offer) { return offer.isNull(); });
    // Looked up at Accept, so that a factory set later applies; and an offer outliving this
    // object opens nothing.
    QPointer<CCallOffers> self(this);
    auto openChat = [self](const CIncomingCall& accepted) {
        if (self && self->m_openChat)
            self->m_openChat(accepted);
    };
    auto* offer = new CCallDlg(m_settings, *notice, call, openChat, m_ring, m_second);
    Place(offer);
    m_offers.append(offer);
    offer->show();
    emit Offered(offer);
    return offer;
}

void CCallOffers::Place(CCallDlg* offer) const
{
    const QScreen* screen = QGuiApplication::primaryScreen();
    if (!screen)
        return;
    offer->adjustSize();
    const QRect area = screen->availableGeometry();
    const int step = offer->fontMetrics().height() + 8;
    const int index = static_cast<int>(Open().size()) % kCascadeSteps;
    QRect frame(QPoint(), offer->size());
    frame.moveCenter(area.center());
    offer->move(frame.topLeft() + QPoint(step, step) * index);
}

QList<CCallDlg*> CCallOffers::Open() const
{
    QList<CCallDlg*> open;
    for (const QPointer<CCallDlg>& offer : m_offers)
        if (offer && offer->isVisible())
            open.append(offer);
    return open;
}

void CCallOffers::CloseAll()
{
    const QList<QPointer<CCallDlg>> offers = std::exchange(m_offers, {});
    for (const QPointer<CCallDlg>& offer : offers)
        if (offer)
            offer->reject();
}
