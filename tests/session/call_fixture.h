#pragma once

#include "call.h"
#include "session_fixture.h"
#include "socket_message.h"

#include <chrono>
#include <memory>
#include <string>
#include <thread>

namespace testing_support {

// A logged-in session whose calls report into m_calls.
class CallTest : public SessionTest
{
protected:
    void SetUp() override
    {
        SessionTest::SetUp();
        m_operator = LoggedIn();
        ASSERT_TRUE(m_operator);
    }

    void TearDown() override
    {
        m_calls.SetHook(nullptr);
        SessionTest::TearDown();
    }

    // Opens the call and installs the logging callbacks, as a chat window does.
    std::shared_ptr<CCall> Opened(int callId)
    {
        EXPECT_EQ(m_session->Calls().OpenCall(callId), rc::kOk);
        auto call = m_session->Calls().Find(callId);
        EXPECT_TRUE(call);
        if (call)
            call->SetCallbacks(CallCallbacks(m_calls));
        return call;
    }

    // The server's end of the call's channel, with its opening read.
    std::shared_ptr<FakeConnection> ChannelOf(int callId, int channelId = 0)
    {
        auto channel = m_server.WaitChannel(callId, channelId);
        EXPECT_TRUE(channel);
        if (channel) {
            const auto opening = channel->Next();
            EXPECT_TRUE(opening && (opening->Code() == msg::kOpenMainChannel ||
                                    opening->Code() == msg::kOpenChannel));
        }
        return channel;
    }

    // Waits until nothing holds the call any more: its own threads keep it alive while they
    // finish, after a callback of theirs closed it.
    static bool WaitReleased(const std::weak_ptr<CCall>& call)
    {
        const auto deadline = std::chrono::steady_clock::now() + 5s;
        while (!call.expired() && std::chrono::steady_clock::now() < deadline)
            std::this_thread::yield();
        return call.expired();
    }

    static CSocketMessage ChatLine(const std::string& text)
    {
        CSocketMessage line(msg::kChatData);
        line.AddIntField(msg::chat::kLine);
        line.AddField(FakeChatServer::kUser);
        line.AddField(text);
        return line;
    }

    EventLog m_calls;
    std::shared_ptr<FakeConnection> m_operator;
};

} // namespace testing_support
