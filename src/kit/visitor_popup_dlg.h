#pragma once

#include "dialog_units.h"
#include "layered_dlg.h"

#include <QFont>
#include <chrono>
#include <cstdint>
#include <functional>
#include <string>

class CAppSettings;
class CFlatButton;
class CLinkStatic;
class CUrlLauncher;
class QLabel;
class QTimer;
struct CVisitorEntry;

// The strip that announces a newly arrived visitor at the bottom right of the screen: the
// visitor's caption as a link to the page, "A visitor has now entered: " with the page address
// (domain-name patterns taken out), "Invite to chat" and a small close button. Translucent,
// frameless, above every other window and without a taskbar entry; it never takes the focus
// from what the operator is doing.
//
// Popups stack upwards, one per slot: the console keeps the number open and how many fit on the
// screen (the slot limit, 0 until a popup has measured itself) and hands both to every popup,
// which counts itself in while it exists. Popups never move once placed.
//
// A popup owns itself: it closes after its lifetime, by its close button, Escape or once
// "Invite to chat" has been sent, and then deletes itself. The invitation goes out through the
// function the console gives, which sends it off the GUI thread and answers later.
class CVisitorPopupDlg final : public CLayeredDlg
{
    Q_OBJECT

public:
    // Sends an invitation of the visitor and later calls done, on the GUI thread, with the
    // send's result (a negative result code on failure).
    using InviteFunction =
        std::function<void(int visitorId, std::function<void(int result)> done)>;

    static constexpr std::chrono::milliseconds kLifetime{6000};
    static constexpr std::uint8_t kOpacity = 210;

    // Opens a popup for the visitor (id, page address text1, caption text2) and returns it, or
    // null when ShowHints is not 1 or every slot is taken. The settings and the two counters
    // belong to the caller and must outlive every popup (see CloseAll).
    static CVisitorPopupDlg* Announce(const CAppSettings* settings, int* openCount, int* slotLimit,
                                      const CVisitorEntry& visitor, InviteFunction invite);

    // Opens the popup at once: counts it in, lays it out, places it and starts its lifetime.
    CVisitorPopupDlg(const CAppSettings* settings, int* openCount, int* slotLimit,
                     std::int32_t visitorId, const std::string& pageAddress,
                     const std::string& caption, InviteFunction invite,
                     std::chrono::milliseconds lifetime = kLifetime);
    ~CVisitorPopupDlg() override;

    // Closes every popup still open; the console calls it before its counters go.
    static void CloseAll();

    // Opens the title link's address through another launcher; it must outlive the popup.
    void SetLauncher(const CUrlLauncher* launcher);
    // Says why the title link opened nothing, where the popup's closing does not take it away.
    void SetLinkFailureHandler(std::function<void(int code)> handler);

    static QString ErrorMessage(int code);

signals:
    // The invitation has been sent; code is what the send returned.
    void InviteSent(int code);

protected:
    void paintEvent(QPaintEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

public slots:
    void reject() override;

private:
    void BuildControls();
    void LayOut();
    void Place();
    void OnInvite();
    void OnInviteSent(int code);

    const CAppSettings* m_settings;
    int* m_openCount;
    int* m_slotLimit;
    std::int32_t m_visitorId;
    std::string m_pageAddress;
    std::string m_caption;
    InviteFunction m_invite;
    bool m_inviting = false;

    CLinkStatic* m_title;
    QLabel* m_message;
    CFlatButton* m_close;
    CFlatButton* m_inviteButton;
    QTimer* m_timer;
    CDialogUnits m_units{QFont()}; // of the popup's own font
};
