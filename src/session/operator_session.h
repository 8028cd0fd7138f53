#pragma once

#include "call_list.h"
#include "callback_table.h"
#include "client_socket.h"
#include "user_list.h"
#include "visitor_list.h"

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <functional>
#include <mutex>
#include <optional>
#include <string>
#include <string_view>
#include <thread>

class CSocketMessage;

// The operator's one connection to the chat server: log-in, a receive thread that keeps the
// visitor and operator lists current and reports every server message through callbacks, and
// the commands the console sends. The console uses the process-wide GetInstance(); tests
// construct sessions of their own.
//
// Threads and callback order:
// - OnLoggedIn runs on the thread that called Login, before Login returns 0. The receive thread
//   starts dispatching only after it, so OnLoggedIn comes before every event of that log-in.
// - Slots 3 to 13 run on the receive thread, one at a time, in the order the messages arrived.
// - OnLoggedOut runs on the thread that called Disconnect (reasons 1, 3, 4, or whatever a caller
//   passes), or on the receive thread with reason 2 when the connection ended under it. It is
//   raised once per Disconnect call, even when nothing was connected; a connection that ends
//   through Disconnect raises no reason 2.
// - Entries handed to callbacks are valid only during the call; texts likewise.
// Callbacks must not block. From a callback on the receive thread, Disconnect and the commands
// may be called (Disconnect then cannot wait for the thread it runs on: the thread ends as soon
// as that callback returns); Login may not (it returns -22), nor may the session be destroyed.
//
// The lists may be read from any thread through their copying accessors; their pointers are
// for the receive thread (callbacks) only.
class COperatorSession final
{
public:
    // Reasons given to OnLoggedOut.
    static constexpr int kReasonLoggedOut = 1;      // log-out, keep-alive failure, new log-in
    static constexpr int kReasonConnectionLost = 2; // the connection ended under the receive thread
    static constexpr int kReasonSendFailed = 3;     // a command could not be sent
    static constexpr int kReasonDestroyed = 4;      // the session is being destroyed

    struct Callbacks
    {
        std::function<void()> OnLoggedIn;
        std::function<void(int reason)> OnLoggedOut;
        std::function<void(int status)> OnStatusChanged;
        std::function<void()> OnOperatorsRefreshed;
        std::function<void(const CUserEntry&)> OnOperatorAdded;
        std::function<void(const CUserEntry&)> OnOperatorRemoved; // destroyed after the call
        std::function<void(const CUserEntry&)> OnOperatorUpdated;
        std::function<void()> OnVisitorsRefreshed;
        std::function<void(const CVisitorEntry&)> OnVisitorAdded;
        std::function<void(const CVisitorEntry&)> OnVisitorRemoved; // destroyed after the call
        std::function<void(const CVisitorEntry&)> OnVisitorInvited;
        // kind 1 a call (text3 absent), 2 a transfer; an empty field arrives absent.
        std::function<void(int callId, int number, int kind, std::optional<std::string_view> text1,
                           std::optional<std::string_view> text2,
                           std::optional<std::string_view> text3)>
            OnIncomingCall;
        std::function<void(int first, int second)> OnOtherMessage;
    };

    // The waits bound each receive (an idle connection loops after receiveTimeout), each send
    // and each connect, here and on every call channel; the console keeps the defaults, tests
    // shorten them.
    explicit COperatorSession(
        std::chrono::milliseconds receiveTimeout = CClientSocket::kDefaultTimeout,
        std::chrono::milliseconds headerWait = CClientSocket::kDefaultHeaderWait);
    explicit COperatorSession(const CSocketWaits& waits);
    // Disconnect(4), then the callbacks are cleared, every open call is closed (each raising its
    // own OnCallClosed(1)), and the lists are freed.
    ~COperatorSession();
    COperatorSession(const COperatorSession&) = delete;
    COperatorSession& operator=(const COperatorSession&) = delete;

    // The process-wide session, created on first use; DestroyInstance ends it (console shutdown).
    static COperatorSession& GetInstance();
    static void DestroyInstance();

    // Replaces every slot; returns once no callback of the previous slots runs any more.
    void SetCallbacks(Callbacks callbacks);
    void ClearCallbacks();

    // 0 once logged in, else a result code: -19 without user or password (no traffic), a wrong
    // echo or an operator id below 1; the server's code from a refusal; -20 for any other reply;
    // connect, send and receive failures as they come (-2 too for a log-in cancelled at any
    // point). Closes a connection still open first (OnLoggedOut(1)). One Login at a time; blocks
    // for at most the connect and reply waits.
    int Login(const std::string& host, std::uint16_t port, std::optional<std::string_view> user,
              std::optional<std::string_view> password);
    // Why the connect of the last Login failed (readable once it returned): None when it
    // connected, Cancelled when the log-in was cancelled at any point.
    ConnectFailure LastConnectFailure() const { return m_connectFailure.load(); }
    // Any thread: makes a Login in progress return promptly (-2, ConnectFailure::Cancelled).
    // False when no log-in was in progress; an established session is never touched.
    bool CancelLogin();
    // Closes the connection, waits until the receive thread has ended (not with reason 2), forgets
    // the log-in and raises OnLoggedOut(reason). Always 0.
    int Disconnect(int reason);
    // 0 when not logged in; 1 after log-in; then the status the server confirmed.
    int GetStatus() const { return m_status.load(); }

    // Each returns the send result: the payload length, or a negative result code. A failed
    // send of the first four also runs Disconnect(3). Replies arrive later as callbacks.
    int SetStatus(int status);
    int RequestOperators();
    int RequestVisitors();
    int InviteVisitor(int visitorId, std::string_view text);
    int KeepAlive();

    CVisitorList& Visitors() { return m_visitors; }
    CUserList& Operators() { return m_operators; }
    const CUserList& Operators() const { return m_operators; }
    // The open calls; their channels connect to the server of the current log-in.
    CCallList& Calls() { return m_calls; }

    // What the log-in gave; read by call channels from their own threads.
    int OperatorId() const { return m_operatorId.load(); }
    // Field 3 of the last log-in reply 9001, kept even when that log-in was refused.
    int ServerVersion() const { return m_serverVersion.load(); }
    // Empty when not logged in.
    std::string ServerHost() const;
    std::uint16_t ServerPort() const;
    const CSocketWaits& Waits() const { return m_waits; }

private:
    int Handshake(const std::string& host, std::uint16_t port, std::string_view user,
                  std::string_view password);
    int ReadLoginReply(const CSocketMessage& reply, const std::string& host, std::uint16_t port);
    // False when the log-in in progress was cancelled; else it can be cancelled no more.
    bool CommitLogin();
    int StartReceiveThread();
    void ReceiveLoop();
    void Dispatch(const CSocketMessage& message);
    void DispatchReply(const CSocketMessage& message);
    void DispatchEvent(const CSocketMessage& message);
    int SendCommand(const CSocketMessage& message, bool disconnectOnFailure);

    // Closes the connection if it is still open; true for the one caller that closed it.
    bool CloseConnection();
    void ForgetLogin();
    bool OnReceiveThread() const;
    void StopReceiveThread();
    void OpenGate();

    const CSocketWaits m_waits;

    CClientSocket m_socket;
    CVisitorList m_visitors;
    CUserList m_operators{"operators", limits::kOperators};
    CCallbackTable<Callbacks> m_callbacks;
    CCallList m_calls{*this}; // after the lists its channels read

    std::atomic<int> m_status{0};
    std::atomic<int> m_operatorId{0};
    std::atomic<int> m_serverVersion{0};
    mutable std::mutex m_serverMutex;
    std::string m_serverHost;
    std::uint16_t m_serverPort = 8080;

    // A Login in progress, and whether it was asked to give up.
    mutable std::mutex m_loginMutex;
    bool m_loggingIn = false;
    bool m_cancelRequested = false;
    std::atomic<ConnectFailure> m_connectFailure{ConnectFailure::None};

    // Serialises "still open? then close" between Disconnect and the receive thread's end, so
    // that exactly one of them reports the end of a connection.
    std::mutex m_closeMutex;

    std::mutex m_threadMutex; // held while joining
    std::thread m_receiver;
    std::atomic<std::thread::id> m_receiverId{};

    // Holds the new receive thread until OnLoggedIn has been raised (or the session stops it).
    std::mutex m_gateMutex;
    std::condition_variable m_gateChanged;
    bool m_gateOpen = true;
};
