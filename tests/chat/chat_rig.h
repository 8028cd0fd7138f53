#pragma once

#include "app_settings.h"
#include "console_rig.h"
#include "fake_chat_server.h"
#include "layout_profile.h"
#include "qt_operator_session.h"

#include <QList>
#include <QPointer>
#include <QTemporaryDir>
#include <QWidget>
#include <chrono>
#include <memory>
#include <string>
#include <vector>

class CChatDlg;

// A session logged in to the fake chat server as operator 7, with a settings record and a
// layout profile in a folder of their own, a recording notifier, the chat window list, and an
// injectable clock for the windows it opens.
class CChatRig final
{
public:
    static constexpr int kOwnId = testing_support::FakeChatServer::kOperatorId;

    explicit CChatRig(std::chrono::milliseconds receiveTimeout = std::chrono::milliseconds(500));
    // Closes the windows still open, waits for their connect threads, then ends the session.
    ~CChatRig();

    // A window for the call, not shown, timed by the rig's clock.
    CChatDlg* Open(int callId);
    // Open, then waits until the window is in its call; null when it did not get there.
    CChatDlg* Connected(int callId);
    // The server's end of the call's channel.
    std::shared_ptr<testing_support::FakeConnection> Channel(int callId);
    // Every chat data 3003 the server received on the call's channel, as "kind|name|text".
    QStringList ChatReceived(int callId) const;
    // Waits until the server has received count messages of that code on the channel.
    bool WaitReceived(int callId, int code, int count) const;

    testing_support::FakeChatServer server;
    QTemporaryDir folder;
    CAppSettings settings;
    CLayoutProfile profile;
    std::unique_ptr<COperatorSession> session;
    CRecordingNotifier notifier;
    QList<QPointer<QWidget>> windows;
    std::int64_t now = 1'000'000;
};

// A participant reply 9001/1006 with one record per entry.
std::string ParticipantsReply(const std::vector<CUserEntry>& entries);
// The lines of the transcript, one per appended line.
QStringList TranscriptLines(const CChatDlg& window);
