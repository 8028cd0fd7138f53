#include "raw_client.h"

#include "message_codes.h"
#include "result_codes.h"

using Clock = std::chrono::steady_clock;

namespace {
// Short receive slices, so that every wait ends soon after its deadline.
constexpr std::chrono::milliseconds kSlice{50};
} // namespace

CRawClient::CRawClient() : m_socket(kSlice, kWait) {}

bool CRawClient::Connect(std::uint16_t port)
{
    m_ended = false;
    m_kept.clear();
    return m_socket.Connect("127.0.0.1", port) >= 0;
}

int CRawClient::Send(int code, const std::vector<std::string>& fields)
{
    CSocketMessage m(code);
    for (const std::string& field : fields)
        m.AddField(std::string_view(field));
    return m.Send(m_socket);
}

bool CRawClient::ReceiveOne()
{
    CSocketMessage m;
    const int result = m.Receive(m_socket);
    if (result > 0) {
        m_kept.push_back(std::move(m));
        return true;
    }
    if (result == rc::kIdle)
        return true;
    m_ended = true;
    return false;
}

std::optional<CSocketMessage>
CRawClient::Expect(const std::function<bool(const CSocketMessage&)>& match,
                   std::chrono::milliseconds wait)
{
    const auto deadline = Clock::now() + wait;
    std::size_t checked = 0;
    for (;;) {
        for (; checked < m_kept.size(); ++checked) {
            if (match(m_kept[checked])) {
                CSocketMessage found = std::move(m_kept[checked]);
                m_kept.erase(m_kept.begin() + static_cast<std::ptrdiff_t>(checked));
                return found;
            }
        }
        if (m_ended || Clock::now() >= deadline || !ReceiveOne())
            return std::nullopt;
    }
}

std::optional<CSocketMessage> CRawClient::Expect(int code, int field1,
                                                 std::chrono::milliseconds wait)
{
    return Expect(
        [&](const CSocketMessage& m) { return m.Code() == code && m.GetIntField(1) == field1; },
        wait);
}

bool CRawClient::ExpectClosed(std::chrono::milliseconds wait)
{
    const auto deadline = Clock::now() + wait;
    while (!m_ended && Clock::now() < deadline)
        ReceiveOne();
    return m_ended;
}

bool CRawClient::SeesWithin(const std::function<bool(const CSocketMessage&)>& match,
                            std::chrono::milliseconds wait)
{
    const auto deadline = Clock::now() + wait;
    while (!m_ended && Clock::now() < deadline)
        ReceiveOne();
    return Drain(match) > 0;
}

int CRawClient::Drain(const std::function<bool(const CSocketMessage&)>& match)
{
    const auto before = m_kept.size();
    std::erase_if(m_kept, match);
    return static_cast<int>(before - m_kept.size());
}

int CRawClient::Login(const std::string& user, const std::string& password, int* version)
{
    Send(msg::kLogin, {user, password});
    const auto reply = Expect([](const CSocketMessage& m) {
        return (m.Code() == msg::kReplyOk || m.Code() == msg::kReplyFailed) &&
               m.GetIntField(1) == msg::kLogin;
    });
    if (!reply)
        return rc::kReceiveFailed;
    if (reply->Code() == msg::kReplyFailed)
        return reply->GetIntField(msg::kLoginFailFieldResult);
    if (version)
        *version = reply->GetIntField(msg::kLoginFieldVersion);
    return reply->GetIntField(msg::kLoginFieldOperatorId);
}

int CRawClient::OpenCall(std::int32_t callId, std::int32_t operatorId)
{
    Send(msg::kOpenMainChannel, {std::to_string(callId), std::to_string(operatorId), "0",
                                 std::to_string(UserType::kOperator)});
    // The answer is the first message on a channel connection.
    const auto reply = Expect([](const CSocketMessage&) { return true; });
    if (!reply)
        return rc::kReceiveFailed;
    if (reply->Code() == msg::kReplyFailed)
        return reply->GetIntField(msg::kChannelFailFieldResult);
    return reply->Code() == msg::kReplyOk && reply->GetIntField(1) == msg::kOpenMainChannel
               ? rc::kOk
               : rc::kBadCommand;
}
