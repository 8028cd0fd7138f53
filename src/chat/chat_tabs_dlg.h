#pragma once

#include <QPointer>
#include <QWidget>

class CActiveChats;
class CLayoutProfile;
class QTabWidget;
class QTimer;

// One window that holds every chat as a tab, for operators who prefer that to a window per
// chat. Each tab is a whole chat window (transcript, canned answers, typing notices, save,
// print, transfer) and keeps its behaviour; the tab shows the visitor's name and the lines not
// yet seen. Closing a tab closes that chat; the window closes with its last tab and stores its
// placement, as a chat window does, when closed by its close box.
class CChatTabsDlg final : public QWidget
{
    Q_OBJECT

public:
    // Neither is owned; both must outlive the window.
    CChatTabsDlg(CActiveChats& chats, const CLayoutProfile& profile, QWidget* parent = nullptr);

    // Takes the chat window as a tab and shows it.
    void AddChat(QWidget* chat);

protected:
    void closeEvent(QCloseEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    // The tabs of the chats at these places in the active chats list, now or (Later) at the
    // next turn of the tabs' clock.
    void UpdateTabs(int firstPlace, int lastPlace);
    void UpdateTabsLater(int firstPlace, int lastPlace);
    void UpdateTitle();

    CActiveChats& m_chats;
    const CLayoutProfile& m_profile;
    QTabWidget* m_tabs;
    QTimer* m_tabClock;
    int m_dirtyFirst = -1;
    int m_dirtyLast = -1;
};
