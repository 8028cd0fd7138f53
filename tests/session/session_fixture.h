#pragma once

#include "event_log.h"
#include "fake_chat_server.h"
#include "message_codes.h"
#include "operator_session.h"
#include "result_codes.h"

#include <gtest/gtest.h>
#include <memory>

namespace testing_support {

// A session with short waits, its callbacks logged, and a fake server to talk to.
class SessionTest : public ::testing::Test
{
protected:
    static constexpr auto kReceiveTimeout = 100ms;

    void SetUp() override
    {
        m_session = std::make_unique<COperatorSession>(m_timeout, m_timeout);
        m_session->SetCallbacks(SessionCallbacks(m_log));
    }
    void TearDown() override
    {
        // Hooks capture test locals, which are gone by now; the session's last callbacks follow.
        m_log.SetHook(nullptr);
        m_session.reset();
        EXPECT_TRUE(m_server.Violations().empty());
    }

    int Login(const char* password = FakeChatServer::kPassword)
    {
        return m_session->Login(m_server.Host(), m_server.Port(), FakeChatServer::kUser, password);
    }
    // Logs in and returns the server's end of the new connection, with the log-in read.
    std::shared_ptr<FakeConnection> LoggedIn()
    {
        const size_t index = m_server.ConnectionCount();
        EXPECT_EQ(Login(), rc::kOk);
        auto connection = m_server.WaitConnection(index);
        EXPECT_TRUE(connection);
        if (connection) {
            const auto login = connection->Next();
            EXPECT_TRUE(login && login->Code() == msg::kLogin);
        }
        return connection;
    }

    // Short, so that silent-server cases end quickly; stress cases under a sanitizer need more.
    std::chrono::milliseconds m_timeout = kReceiveTimeout;
    FakeChatServer m_server;
    EventLog m_log;
    std::unique_ptr<COperatorSession> m_session;
};

using Events = std::vector<std::string>;

} // namespace testing_support
