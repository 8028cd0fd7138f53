#include "chat_rig.h"

#include "chat_connector.h"
#include "chat_dlg.h"
#include "message_codes.h"
#include "transcript_ctrl.h"

#include <QSignalSpy>
#include <QTest>
#include <QTextBlock>

using namespace testing_support;
using namespace std::chrono_literals;

CChatRig::CChatRig(std::chrono::milliseconds receiveTimeout)
    : settings(folder.filePath(QStringLiteral("Operator.conf"))),
      profile(folder.filePath(QStringLiteral("parlendo.ini"))),
      session(std::make_unique<COperatorSession>(receiveTimeout, receiveTimeout))
{
    settings.m_username = QStringLiteral("Ann");
    settings.m_welcomeMsg.clear();
    const int login = session->Login(server.Host(), server.Port(), FakeChatServer::kUser,
                                     FakeChatServer::kPassword);
    if (login != 0)
        qFatal("the fake server refused the log-in: %d", login);
}

CChatRig::~CChatRig()
{
    // Destroyed, not closed: a close box would store the placement.
    for (const QPointer<QWidget>& window : QList<QPointer<QWidget>>(windows))
        delete window.data();
    if (!CChatConnector::WaitForThreads(10s))
        qFatal("a connect thread did not end");
    session.reset();
}

CChatDlg* CChatRig::Open(int callId)
{
    auto* window = new CChatDlg(settings, callId, windows, *session, profile, notifier);
    window->SetClock([this] { return now; });
    return window;
}

CChatDlg* CChatRig::Connected(int callId)
{
    CChatDlg* window = Open(callId);
    QSignalSpy opened(window, &CChatDlg::CallOpened);
    if (!opened.wait(5000))
        return nullptr;
    return window;
}

std::shared_ptr<FakeConnection> CChatRig::Channel(int callId)
{
    return server.WaitChannel(callId);
}

QStringList CChatRig::ChatReceived(int callId) const
{
    QStringList lines;
    for (const auto& channel : server.Channels()) {
        if (channel->callId != callId)
            continue;
        for (const CSocketMessage& m : channel->Received()) {
            if (m.Code() != msg::kChatData)
                continue;
            QStringList fields;
            for (int f = 1; f <= m.FieldCount(); ++f)
                fields << QString::fromStdString(std::string(m.FieldView(f)));
            lines << fields.join(QLatin1Char('|'));
        }
    }
    return lines;
}

bool CChatRig::WaitReceived(int callId, int code, int count) const
{
    const auto deadline = std::chrono::steady_clock::now() + 5s;
    while (std::chrono::steady_clock::now() < deadline) {
        int n = 0;
        for (const auto& channel : server.Channels()) {
            if (channel->callId != callId)
                continue;
            for (const CSocketMessage& m : channel->Received())
                n += m.Code() == code ? 1 : 0;
        }
        if (n >= count)
            return true;
        QTest::qWait(5);
    }
    return false;
}

std::string ParticipantsReply(const std::vector<CUserEntry>& entries)
{
    std::vector<std::string> fields = {std::to_string(msg::kRequestUsers),
                                       std::to_string(entries.size())};
    for (const CUserEntry& e : entries) {
        for (int n : {e.id, e.number, e.type, e.status})
            fields.push_back(std::to_string(n));
        fields.insert(fields.end(), {e.text1, e.text2, e.text3});
    }
    return PayloadOf(msg::kReplyOk, fields);
}

QStringList TranscriptLines(const CChatDlg& window)
{
    QStringList lines;
    const QTextDocument* document = window.Transcript()->document();
    for (QTextBlock block = document->begin(); block.isValid(); block = block.next()) {
        if (!block.text().isEmpty() || block.next().isValid())
            lines << block.text();
    }
    return lines;
}
