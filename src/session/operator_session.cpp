#include "operator_session.h"

#include "message_codes.h"
#include "result_codes.h"
#include "socket_message.h"

#include <memory>
#include <system_error>

namespace {

std::mutex g_instanceMutex;
std::unique_ptr<COperatorSession> g_instance;

std::optional<std::string_view> OptionalField(const CSocketMessage& message, int n)
{
    if (!message.HasField(n))
        return std::nullopt;
    return message.FieldView(n);
}

CSocketWaits WaitsOf(std::chrono::milliseconds receiveTimeout, std::chrono::milliseconds headerWait)
{
    CSocketWaits waits;
    waits.timeout = receiveTimeout;
    waits.headerWait = headerWait;
    waits.sendTimeout = receiveTimeout;
    return waits;
}

} // namespace

COperatorSession::COperatorSession(std::chrono::milliseconds receiveTimeout,
                                   std::chrono::milliseconds headerWait)
    : COperatorSession(WaitsOf(receiveTimeout, headerWait))
{
}

COperatorSession::COperatorSession(const CSocketWaits& waits)
    : m_waits(waits), m_socket(waits, limits::kOperatorFrame)
{
}

COperatorSession::~COperatorSession()
{
    Disconnect(kReasonDestroyed);
    m_callbacks.Clear();
    m_calls.DestroyAll();
    m_operators.Clear();
    m_visitors.Clear();
    m_socket.Close();
}

COperatorSession& COperatorSession::GetInstance()
{
    std::lock_guard lock(g_instanceMutex);
    if (!g_instance)
        g_instance = std::make_unique<COperatorSession>();
    return *g_instance;
}

void COperatorSession::DestroyInstance()
{
    std::unique_ptr<COperatorSession> doomed;
    {
        std::lock_guard lock(g_instanceMutex);
        doomed = std::move(g_instance);
    }
    // Destroyed outside the lock: its OnLoggedOut(4) may still ask for GetInstance().
}

void COperatorSession::SetCallbacks(Callbacks callbacks)
{
    m_callbacks.Set(std::move(callbacks));
}

void COperatorSession::ClearCallbacks()
{
    m_callbacks.Clear();
}

std::string COperatorSession::ServerHost() const
{
    std::lock_guard lock(m_serverMutex);
    return m_serverHost;
}

std::uint16_t COperatorSession::ServerPort() const
{
    std::lock_guard lock(m_serverMutex);
    return m_serverPort;
}

int COperatorSession::Login(const std::string& host, std::uint16_t port,
                            std::optional<std::string_view> user,
                            std::optional<std::string_view> password)
{
    if (!user || !password)
        return rc::kBadParameters;
    // The receive thread cannot wait for itself to end, nor start its successor.
    if (OnReceiveThread())
        return rc::kThreadFailed;
    {
        std::lock_guard lock(m_loginMutex);
        m_loggingIn = true;
        m_cancelRequested = false;
        m_socket.ClearInterrupt();
    }
    if (m_socket.IsOpen())
        Disconnect(kReasonLoggedOut);
    StopReceiveThread(); // one that ended on its own is joined here

    int result = m_socket.Connect(host, port);
    ConnectFailure failure = m_socket.LastConnectFailure();
    if (result >= 0) {
        result = Handshake(host, port, *user, *password);
        if (result != rc::kOk)
            m_socket.Close();
    }
    std::lock_guard lock(m_loginMutex);
    m_loggingIn = false;
    // However far it got, a cancelled log-in reads as one: the interrupted wait may have
    // reported the shut-down connection as closed by the server.
    if (result != rc::kOk && m_cancelRequested) {
        result = rc::kNotConnected;
        failure = ConnectFailure::Cancelled;
    }
    m_connectFailure = failure;
    return result;
}

bool COperatorSession::CancelLogin()
{
    std::lock_guard lock(m_loginMutex);
    if (!m_loggingIn)
        return false;
    m_cancelRequested = true;
    m_socket.Interrupt();
    return true;
}

bool COperatorSession::CommitLogin()
{
    std::lock_guard lock(m_loginMutex);
    if (m_cancelRequested)
        return false;
    m_loggingIn = false;
    return true;
}

int COperatorSession::Handshake(const std::string& host, std::uint16_t port,
                                std::string_view user, std::string_view password)
{
    CSocketMessage request(msg::kLogin);
    request.AddField(user);
    request.AddField(password);
    int result = request.Send(m_socket);
    if (result <= 0)
        return result;
    // No receive thread yet: the answer is read here, on the caller's thread.
    CSocketMessage reply;
    result = reply.Receive(m_socket);
    return result > 0 ? ReadLoginReply(reply, host, port) : result;
}

int COperatorSession::ReadLoginReply(const CSocketMessage& reply, const std::string& host,
                                     std::uint16_t port)
{
    if (reply.Code() == msg::kReplyFailed) {
        const int code = reply.GetIntField(msg::kLoginFailFieldResult);
        // A refusal that names no failure must not read as success.
        return code < 0 ? code : rc::kBadFormat;
    }
    if (reply.Code() != msg::kReplyOk)
        return rc::kBadCommand;

    const int echo = reply.GetIntField(msg::kFieldRequest);
    const int operatorId = reply.GetIntField(msg::kLoginFieldOperatorId);
    m_serverVersion = reply.GetIntField(msg::kLoginFieldVersion);
    if (echo != msg::kLogin || operatorId < 1)
        return rc::kBadParameters;
    if (!CommitLogin())
        return rc::kNotConnected;

    // The log-in is recorded before the receive thread exists, so nothing that thread reports
    // (a status reply, a lost connection) can be overwritten by it afterwards.
    m_operatorId = operatorId;
    m_status = OperatorStatus::kOnline;
    {
        std::lock_guard lock(m_serverMutex);
        m_serverHost = host;
        m_serverPort = port;
    }
    const int started = StartReceiveThread();
    if (started != rc::kOk) {
        ForgetLogin();
        return started;
    }
    m_callbacks.Raise(&Callbacks::OnLoggedIn);
    OpenGate();
    return rc::kOk;
}

int COperatorSession::StartReceiveThread()
{
    {
        std::lock_guard gate(m_gateMutex);
        m_gateOpen = false;
    }
    std::lock_guard lock(m_threadMutex);
    try {
        m_receiver = std::thread([this] { ReceiveLoop(); });
    } catch (const std::system_error&) {
        OpenGate();
        return rc::kThreadFailed;
    }
    m_receiverId = m_receiver.get_id();
    return rc::kOk;
}

void COperatorSession::OpenGate()
{
    std::lock_guard lock(m_gateMutex);
    m_gateOpen = true;
    m_gateChanged.notify_all();
}

bool COperatorSession::OnReceiveThread() const
{
    return m_receiverId.load() == std::this_thread::get_id();
}

void COperatorSession::StopReceiveThread()
{
    if (OnReceiveThread())
        return; // it ends by itself once the callback that brought us here returns
    OpenGate();
    std::lock_guard lock(m_threadMutex);
    if (m_receiver.joinable()) {
        m_receiver.join();
        m_receiverId = std::thread::id();
    }
}

void COperatorSession::ReceiveLoop()
{
    {
        std::unique_lock lock(m_gateMutex);
        m_gateChanged.wait(lock, [this] { return m_gateOpen; });
    }
    CSocketMessage message;
    int last = rc::kIdle;
    // Idle time-outs (-8) keep the loop going; any other failure ends the connection, since a
    // stream is never resynchronised.
    while (m_socket.IsOpen() && (last > 0 || last == rc::kIdle)) {
        last = message.Receive(m_socket);
        if (last > 0)
            Dispatch(message);
    }
    if (CloseConnection()) {
        ForgetLogin();
        m_callbacks.Raise(&Callbacks::OnLoggedOut, kReasonConnectionLost);
    }
}

bool COperatorSession::CloseConnection()
{
    std::lock_guard lock(m_closeMutex);
    if (!m_socket.IsOpen())
        return false;
    m_socket.Close();
    return true;
}

void COperatorSession::ForgetLogin()
{
    m_operatorId = 0;
    m_status = OperatorStatus::kOffline;
    std::lock_guard lock(m_serverMutex);
    m_serverHost.clear();
}

int COperatorSession::Disconnect(int reason)
{
    // Shutting the socket down wakes a receive thread blocked in its wait; it then leaves its
    // loop without reporting, because the connection is no longer open.
    CloseConnection();
    if (reason != kReasonConnectionLost)
        StopReceiveThread();
    ForgetLogin();
    m_callbacks.Raise(&Callbacks::OnLoggedOut, reason);
    return rc::kOk;
}

void COperatorSession::Dispatch(const CSocketMessage& message)
{
    switch (message.Code()) {
    case msg::kReplyOk:
        DispatchReply(message);
        break;
    case msg::kReplyFailed:
        m_callbacks.Raise(&Callbacks::OnOtherMessage, message.GetIntField(msg::kFailFieldRequest),
                          message.GetIntField(msg::kFailFieldResult));
        break;
    case msg::kEvent:
        DispatchEvent(message);
        break;
    case msg::kKeepAlive:
        break;
    default:
        m_callbacks.Raise(&Callbacks::OnOtherMessage, msg::kUnknownCode,
                          message.GetIntField(msg::kFieldValue));
        break;
    }
}

void COperatorSession::DispatchReply(const CSocketMessage& message)
{
    const int request = message.GetIntField(msg::kFieldRequest);
    const int value = message.GetIntField(msg::kFieldValue);
    switch (request) {
    case msg::kSetStatus:
        m_status = value;
        m_callbacks.Raise(&Callbacks::OnStatusChanged, value);
        break;
    case msg::kRequestUsers:
        m_operators.Load(message);
        m_callbacks.Raise(&Callbacks::OnOperatorsRefreshed);
        break;
    case msg::kRequestVisitors:
        m_visitors.Load(message);
        m_callbacks.Raise(&Callbacks::OnVisitorsRefreshed);
        break;
    case msg::kInviteVisitor:
        // The visitor may have left since the invitation was sent.
        if (const CVisitorEntry* visitor = m_visitors.Find(value))
            m_callbacks.Raise(&Callbacks::OnVisitorInvited, *visitor);
        break;
    default:
        m_callbacks.Raise(&Callbacks::OnOtherMessage, request, value);
        break;
    }
}

void COperatorSession::DispatchEvent(const CSocketMessage& message)
{
    switch (message.GetIntField(msg::kFieldRequest)) {
    case msg::kEvOperatorAdded: {
        namespace f = msg::operatorAdded;
        CUserEntry values;
        values.id = message.GetIntField(f::kId);
        values.number = message.GetIntField(f::kNumber);
        values.type = message.GetIntField(f::kType);
        values.status = message.GetIntField(f::kStatus);
        values.text1 = message.FieldView(f::kText1);
        values.text2 = message.FieldView(f::kText2);
        values.text3 = message.FieldView(f::kText3);
        bool added = false;
        const CUserEntry* entry = m_operators.FindOrAdd(values, &added);
        if (added)
            m_callbacks.Raise(&Callbacks::OnOperatorAdded, *entry);
        break;
    }
    case msg::kEvOperatorRemoved: {
        namespace f = msg::operatorChanged;
        const auto entry =
            m_operators.Remove(message.GetIntField(f::kId), message.GetIntField(f::kType));
        if (entry)
            m_callbacks.Raise(&Callbacks::OnOperatorRemoved, *entry);
        break;
    }
    case msg::kEvOperatorStatus: {
        namespace f = msg::operatorChanged;
        const CUserEntry* entry =
            m_operators.SetStatus(message.GetIntField(f::kId), message.GetIntField(f::kType),
                                  message.GetIntField(f::kStatus));
        if (entry)
            m_callbacks.Raise(&Callbacks::OnOperatorUpdated, *entry);
        break;
    }
    case msg::kEvIncomingCall:
    case msg::kEvCallTransfer: {
        namespace f = msg::incomingCall;
        const bool transfer = message.GetIntField(msg::kFieldRequest) == msg::kEvCallTransfer;
        m_callbacks.Raise(&Callbacks::OnIncomingCall, message.GetIntField(f::kCallId),
                          message.GetIntField(f::kNumber),
                          transfer ? f::kKindTransfer : f::kKindCall,
                          OptionalField(message, f::kText1), OptionalField(message, f::kText2),
                          transfer ? OptionalField(message, f::kText3) : std::nullopt);
        break;
    }
    case msg::kEvVisitorEntered: {
        namespace v = msg::visitor;
        const int b = v::kEventFirstField;
        const int id = message.GetIntField(b + v::kId);
        if (m_visitors.Find(id))
            break;
        // Unlike the bulk load, the time stamp is kept as received.
        CVisitorEntry entry;
        entry.id = id;
        entry.number1 = message.GetIntField(b + v::kNumber1);
        entry.text1 = message.FieldView(b + v::kPage);
        entry.text2 = message.FieldView(b + v::kCaption);
        entry.text3 = message.FieldView(b + v::kText3);
        entry.time = message.FieldView(b + v::kTime);
        entry.text5 = message.FieldView(b + v::kAddress);
        entry.number2 = message.GetIntField(b + v::kNumber2);
        // A full list drops the newcomer (and logs it): no callback for what is not listed.
        if (const CVisitorEntry* added = m_visitors.Add(std::move(entry)))
            m_callbacks.Raise(&Callbacks::OnVisitorAdded, *added);
        break;
    }
    case msg::kEvVisitorLeft: {
        const auto entry = m_visitors.Remove(message.GetIntField(msg::kVisitorLeftFieldId));
        if (entry)
            m_callbacks.Raise(&Callbacks::OnVisitorRemoved, *entry);
        break;
    }
    default:
        break; // events this console does not know are ignored
    }
}

int COperatorSession::SendCommand(const CSocketMessage& message, bool disconnectOnFailure)
{
    // Sends from several threads are serialised frame by frame by the socket.
    const int result = message.Send(m_socket);
    if (disconnectOnFailure && result != message.Length())
        Disconnect(kReasonSendFailed);
    return result;
}

int COperatorSession::SetStatus(int status)
{
    CSocketMessage message(msg::kSetStatus);
    message.AddIntField(status);
    return SendCommand(message, true);
}

int COperatorSession::RequestOperators()
{
    return SendCommand(CSocketMessage(msg::kRequestUsers), true);
}

int COperatorSession::RequestVisitors()
{
    return SendCommand(CSocketMessage(msg::kRequestVisitors), true);
}

int COperatorSession::InviteVisitor(int visitorId, std::string_view text)
{
    CSocketMessage message(msg::kInviteVisitor);
    message.AddIntField(visitorId);
    message.AddField(text);
    return SendCommand(message, true);
}

int COperatorSession::KeepAlive()
{
    // The console retries and decides itself; a keep-alive never ends the session.
    return SendCommand(CSocketMessage(msg::kKeepAlive), false);
}
