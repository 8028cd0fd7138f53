#pragma once

#include <QString>
#include <functional>
#include <memory>

class CChatDlg;
class CDayStage;
class COperatorSession;
class QWidget;

// Ann's day at the console, step by step through the real windows against the simulated
// server: each step does what she does and waits until the windows show its outcome. A step
// that does not get there returns false, and Error() says what did not come.
//
// The hook is called at each moment worth a picture, with the window that shows it; the
// screenshot tool saves them, the end-to-end test checks between the steps instead.
class COperatorDay final
{
public:
    using Hook = std::function<void(const QString& name, QWidget* shown)>;

    static const QString kWelcome;
    static const QString kOnline;
    static const QString kNotConnected;

    COperatorDay(CDayStage& stage, Hook hook = {});
    ~COperatorDay();

    // Bob is signed in; Ann's console starts and logs in by itself, and lists both operators
    // and the five visitors.
    bool StartTheDay();
    // A visitor arrives; a popup announces them and the list shows them.
    bool VisitorArrives();
    // Ann selects that visitor and invites them.
    bool InviteTheVisitor();
    // The visitor asks for a chat; Ann accepts the offer (twice, in her hurry); the chat window
    // is in the call.
    bool AcceptTheCall();
    // The welcome goes out; the visitor writes and types, Ann answers.
    bool Talk();
    // A link through the URL dialog, then a canned answer picked in the panel.
    bool SendLinkAndCannedAnswer();
    // Ann invites Bob into the call from the transfer dialog.
    bool TransferToColleague();
    // The visitor leaves the chat; Ann saves the transcript.
    bool VisitorLeavesAndTranscriptIsSaved();
    // Log-out and log-in by hand, then the server restarts and the console comes back by itself.
    bool LogOutInAndSurviveARestart();
    // Every step in order.
    bool Run();

    const QString& Error() const { return m_error; }
    int VisitorId() const { return m_visitorId; }
    const QString& VisitorName() const { return m_visitorName; }
    int CallId() const { return m_callId; }
    CChatDlg* Chat() const;
    const QString& TranscriptPath() const { return m_transcriptPath; }
    const COperatorSession& Colleague() const { return *m_colleague; }

private:
    bool WaitFor(const std::function<bool()>& done, const QString& what);
    void Show(const QString& name, QWidget* shown) const;
    bool ServerGot(int code, const QString& line, int callId = 0) const;
    QString Title() const;
    int Listed(const char* list) const;
    // The visitors on the server's sites now.
    int Crowd() const;

    CDayStage& m_stage;
    Hook m_hook;
    std::unique_ptr<COperatorSession> m_colleague;
    QString m_error;
    int m_visitorId = 0;
    QString m_visitorName;
    int m_callId = 0;
    QString m_transcriptPath;
};
