#pragma once

#include <QList>
#include <QObject>
#include <QPointer>

class CAppSettings;
class CNotifier;
class CPopupSummary;
class CSessionBridge;
class CUrlLauncher;
class CVisitorPopupDlg;
class QWidget;
struct CVisitorEntry;

// Announces visitors who arrive while the console runs, in the popups at the bottom right of
// the screen. At most kMaxPopups are up at once; the rest are counted in one summary above them
// ("4 more visitors entered"), which opens the visitors list. A popup's invitation goes out
// through the session bridge; a failure, or a link that opened nothing, is told over the main
// window, since the popup may be gone by the time it is known.
class CVisitorAnnouncer final : public QObject
{
    Q_OBJECT

public:
    static constexpr int kMaxPopups = 3;

    // None is owned; all must outlive the announcer. window owns the boxes.
    CVisitorAnnouncer(const CAppSettings& settings, CSessionBridge& bridge, CNotifier& notifier,
                      QWidget* window);
    ~CVisitorAnnouncer() override;

    void SetLauncher(const CUrlLauncher* launcher) { m_launcher = launcher; }
    void Announce(const CVisitorEntry& entry);
    // Every popup and the summary close; nothing is announced after it.
    void Stop();

signals:
    // popup is the announcement, or null when none opened (hints off, no room on the screen,
    // or counted in the summary).
    void Announced(int visitorId, QWidget* popup);
    // The operator clicked the summary.
    void VisitorsListWanted();

private:
    void Summarise();

    const CAppSettings& m_settings;
    CSessionBridge& m_bridge;
    CNotifier& m_notifier;
    QWidget* m_window;
    const CUrlLauncher* m_launcher = nullptr;
    // The popups' shared counters: how many are open, and how many fit on the screen (0 until
    // the first popup has measured itself). Every popup is closed before they go.
    int m_popupsOpen = 0;
    int m_popupSlots = 0;
    QList<QPointer<CVisitorPopupDlg>> m_popups;
    QPointer<CPopupSummary> m_summary;
    int m_unannounced = 0;
    bool m_stopped = false;
};
