#include "visitor_announcer.h"

#include "app_settings.h"
#include "notifier.h"
#include "popup_summary.h"
#include "session_bridge.h"
#include "url_launcher.h"
#include "visitor_popup_dlg.h"

CVisitorAnnouncer::CVisitorAnnouncer(const CAppSettings& settings, CSessionBridge& bridge,
                                     CNotifier& notifier, QWidget* window)
    : QObject(window), m_settings(settings), m_bridge(bridge), m_notifier(notifier),
      m_window(window)
{
}

CVisitorAnnouncer::~CVisitorAnnouncer()
{
    Stop();
}

void CVisitorAnnouncer::Stop()
{
    m_stopped = true;
    // The popups point at the counters of this object.
    CVisitorPopupDlg::CloseAll();
    delete m_summary.data();
}

void CVisitorAnnouncer::Announce(const CVisitorEntry& entry)
{
    if (m_stopped || m_settings.m_showHints != 1)
        return;
    m_popups.removeAll(nullptr);
    if (m_popups.size() >= kMaxPopups) {
        ++m_unannounced;
        Summarise();
        emit Announced(entry.id, nullptr);
        return;
    }
    // Sent through the bridge, off the GUI thread; a failure is told over the main window.
    auto invite = [this, window = QPointer<QWidget>(m_window)](int visitorId,
                                                               std::function<void(int)> done) {
        m_bridge.InviteOne(visitorId, m_settings.m_username,
                           [this, window, done = std::move(done)](int result) {
                               if (window && result < 0)
                                   m_notifier.Inform(window,
                                                     CVisitorPopupDlg::ErrorMessage(result));
                               done(result);
                           });
    };
    CVisitorPopupDlg* popup = CVisitorPopupDlg::Announce(&m_settings, &m_popupsOpen,
                                                         &m_popupSlots, entry, std::move(invite));
    if (popup) {
        m_popups.append(popup);
        if (m_launcher)
            popup->SetLauncher(m_launcher);
        popup->SetLinkFailureHandler([this, window = QPointer<QWidget>(m_window)](int code) {
            if (window)
                m_notifier.Inform(window, CUrlLauncher::FailureMessage(code));
        });
    }
    emit Announced(entry.id, popup);
}

void CVisitorAnnouncer::Summarise()
{
    if (!m_summary) {
        m_summary = new CPopupSummary([this] { emit VisitorsListWanted(); },
                                      CVisitorPopupDlg::kLifetime);
        connect(m_summary, &QObject::destroyed, this, [this] { m_unannounced = 0; });
    }
    m_summary->SetCount(m_unannounced);
    const CVisitorPopupDlg* top = nullptr;
    for (const QPointer<CVisitorPopupDlg>& popup : std::as_const(m_popups))
        if (!top || popup->y() < top->y())
            top = popup;
    m_summary->PlaceAbove(top);
}
