#include "offer_alerts.h"

#include "desktop_notifier.h"
#include "missed_chats.h"
#include "shown_text.h"
#include "tray_icon.h"

COfferAlerts::COfferAlerts(CCallOffers& offers, CTrayIcon& tray, CDesktopNotifier* notifier,
                           CMissedChats* missed, QObject* parent)
    : QObject(parent), m_offers(offers), m_tray(tray), m_notifier(notifier), m_missed(missed)
{
    connect(&m_offers, &CCallOffers::Taken, this, &COfferAlerts::OnTaken);
    connect(&m_offers, &CCallOffers::Ended, this, &COfferAlerts::OnEnded);
    if (m_notifier) {
        connect(m_notifier, &CDesktopNotifier::AcceptInvoked, &m_offers,
                [this](int callId) { m_offers.Accept(callId); });
        // The notification could not be shown: the tray says it instead.
        connect(m_notifier, &CDesktopNotifier::ShowFailed, this, [this](int callId) {
            for (const CCallOffers::Offer& offer : m_offers.Offers())
                if (offer.call.callId == callId)
                    m_tray.ShowAlert(offer.notice, tr("Parlendo Call"));
        });
    }
}

void COfferAlerts::OnTaken(const CIncomingCall& call, const QString& notice,
                           std::chrono::milliseconds lifetime)
{
    QString body = notice;
    if (const auto& carried = call.Carried(); carried && !carried->trimmed().isEmpty())
        body += QLatin1Char('\n') + ShownLine(*carried, 200);
    if (m_notifier && m_notifier->IsAvailable())
        m_notifier->Show(call.callId, tr("Parlendo Call"), body, lifetime);
    else
        m_tray.ShowAlert(body, tr("Parlendo Call"));
}

void COfferAlerts::OnEnded(const CIncomingCall& call, CCallOffers::End end)
{
    if (m_notifier)
        m_notifier->Withdraw(call.callId);
    if (!m_missed || (end != CCallOffers::End::TimedOut && end != CCallOffers::End::Withdrawn))
        return;
    CMissedChat missed;
    missed.callId = call.callId;
    missed.number = call.number;
    missed.kind = call.kind;
    missed.text1 = call.text1.value_or(QString());
    missed.text2 = call.text2.value_or(QString());
    missed.text3 = call.text3.value_or(QString());
    m_missed->Add(missed);
}
