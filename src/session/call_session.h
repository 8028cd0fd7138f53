#pragma once

#include "callback_table.h"
#include "client_socket.h"
#include "message_queue.h"
#include "semaphore_lock.h"

#include <atomic>
#include <functional>
#include <memory>
#include <mutex>
#include <thread>

class CCall;
class CSocketMessage;

// One channel of a call: a connection of its own with a receiver thread that dispatches the
// server's messages and a sender thread that drains the outgoing queue, so that posting never
// blocks on the network. Channel 0 reports to its call's callbacks; a further channel reports
// messages, sends, closing and errors to callbacks of its own, and everything else to the call.
//
// Threads and order:
// - The receiver raises, one at a time in message order: received messages, list and
//   participant events, channel events, other messages, and closed(2) when the connection
//   ended under it.
// - The sender raises, in queue order: sent(message) when a queued message went out whole, else
//   the error path (its code, -3). A message still queued when the channel stops, or posted
//   after it stopped, is reported on the error path too, by the sender as it ends or by Post on
//   the posting thread: no message disappears without a report. A message that went out only in
//   part ends the connection (the socket shuts it down), so the receiver reports the loss and
//   everything behind it is reported unsent rather than swallowed by the server as its rest.
// Frames are capped at limits::kChannelFrame both ways: a longer message is reported unsent, a
// longer frame from the server ends the connection as broken.
// - The two threads run at the same time, so a sent report may come between two received
//   messages. closed(1) comes from the thread that called Close (or destroyed the channel).
// Callbacks must not block. From a callback a thread may close its own channel or call (it then
// does not wait for the threads of that channel, which end as soon as their callbacks return
// and keep the channel and its call alive until then), but must not close another call whose
// callbacks might close this one.
class CCallSession final : public std::enable_shared_from_this<CCallSession>
{
public:
    static constexpr int kReasonClosed = 1; // closed by this side: open failure, reset, close
    static constexpr int kReasonLost = 2;   // the connection ended under the receiver
    // How long the sender sleeps between looks at an empty queue when no signal comes.
    static constexpr std::uint32_t kSenderWaitMs = 500;

    // The own callbacks of a channel other than 0.
    struct Callbacks
    {
        std::function<void(const CSocketMessage&)> OnMessage;
        std::function<void(const CSocketMessage&)> OnMessageSent;
        std::function<void(int reason)> OnClosed;
        std::function<void(int code, int result)> OnError;
    };

    // The channel belongs to owner, which must be held by a std::shared_ptr while it runs.
    CCallSession(CCall& owner, int channelId);
    // Clears the own callbacks, then Close(1) (channel 0 raises OnCallClosed(1) once more).
    ~CCallSession();
    CCallSession(const CCallSession&) = delete;
    CCallSession& operator=(const CCallSession&) = delete;

    // Connects to the operator session's server, sends the opening (2003 for channel 0, 3001
    // for others), reads the answer and starts both threads. 0, or a result code: -2 without a
    // logged-in session, connect, send and receive failures, -19 wrong echo, the server's code
    // from a refusal, -20 any other answer, -22 no thread. A failed open runs Close(1), and so
    // does the open of a channel that ran before (a reset).
    int Open();
    // Stops the channel and raises closed(reason). With a reason other than 2, returns once both
    // threads have ended (unless called on one of them). Always 0.
    int Close(int reason);
    // Queues a copy of the message and wakes the sender. 0, or -17 for an empty message.
    int Post(const CSocketMessage& message);

    int ChannelId() const { return m_channelId; }
    bool IsStopped() const { return m_stopped.load(); }

    // Replaces the own callbacks; returns once no callback of the previous ones runs any more.
    void SetCallbacks(Callbacks callbacks);
    void ClearCallbacks();

private:
    int Handshake();
    bool HasRun();
    int StartThreads();
    // Waits for both threads to end and joins them; not on one of them.
    void StopThreads();
    bool OnOwnThread() const;
    void ReceiverLoop();
    void SenderLoop();
    void Dispatch(const CSocketMessage& message);
    void DispatchReply(const CSocketMessage& message);
    void DispatchEvent(const CSocketMessage& message);
    void ReportUnsent();

    void RaiseReceived(const CSocketMessage& message);
    void RaiseSent(const CSocketMessage& message);
    void RaiseError(int code, int result);
    void RaiseClosed(int reason);

    CCall& m_owner;
    const int m_channelId;
    CMessageQueue m_queue;
    CSemaphoreLock m_wake; // one permit: a burst of posts wakes the sender once
    std::atomic<bool> m_stopped{true};
    CClientSocket m_socket;
    CCallbackTable<Callbacks> m_callbacks;

    std::mutex m_threadMutex; // held while joining
    std::thread m_sender;
    std::thread m_receiver;
    std::atomic<std::thread::id> m_senderId{};
    std::atomic<std::thread::id> m_receiverId{};
};
