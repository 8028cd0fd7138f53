#pragma once

#include <QWidget>

class CFlatButton;
class CToolbarBand;
class QAction;

// The main window's toolbar: seven flat buttons, each with a 16x16 picture beside its text, on
// a band in the scroll-bar colour. My Status drops down the status menu; its choice comes out
// as StatusChosen with the status value (1 online, 2 busy, 3 away).
class CConsoleToolbar final : public QWidget
{
    Q_OBJECT

public:
    explicit CConsoleToolbar(QWidget* parent = nullptr);

    CFlatButton* Login() const { return m_login; }
    CFlatButton* Logout() const { return m_logout; }
    CFlatButton* MyStatus() const { return m_status; }
    CFlatButton* Invite() const { return m_invite; }
    CFlatButton* ViewSettings() const { return m_settings; }
    CFlatButton* CannedAnswers() const { return m_canned; }
    CFlatButton* About() const { return m_about; }

    // The check mark of the mute item.
    void SetMuted(bool muted);

signals:
    void StatusChosen(int status);
    void MuteChosen(bool muted);

private:
    void OnMenuCommand(int command);

    CToolbarBand* m_band;
    CFlatButton* m_login;
    CFlatButton* m_logout;
    CFlatButton* m_status;
    CFlatButton* m_invite;
    CFlatButton* m_settings;
    CFlatButton* m_canned;
    CFlatButton* m_about;
    QAction* m_mute = nullptr;
};
