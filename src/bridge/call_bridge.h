#pragma once

#include "chat_line.h"
#include "event_relay.h"
#include "session_values.h"

#include <QObject>
#include <QString>
#include <memory>
#include <vector>

class COperatorSession;
class CSocketMessage;
class CWorkerPool;

// A chat window's one door to its call, both ways.
//
// Up: the call's callbacks become signals on the bridge's thread (the window's), in the order
// the call raised them, through the relay, which hands a burst over in slices so the window keeps
// repainting while it drains.
//
// Down: the window's commands. Opening and closing the call block on the network and run on the
// application's worker pool; chat lines, typing notices and transfers are only queued on the
// call's channel, which sends them from its own thread. Each queued message gets a ticket, and
// the channel's report of it comes back for that ticket: Delivered, or Undelivered when the
// message could not be sent, so the window can say which line was lost.
//
// A window that goes detaches: nothing is emitted after that, and a call still held (or one that
// opens afterwards) is closed in the background.
class CCallBridge final : public QObject
{
    Q_OBJECT

public:
    // The session and the pool must outlive the bridge, and the pool must be waited for before
    // the session goes.
    CCallBridge(COperatorSession& session, CWorkerPool& pool, int callId,
                QObject* parent = nullptr);
    // Detaches.
    ~CCallBridge() override;

    int CallId() const { return m_callId; }
    // Opens the call; Opened or OpenFailed follows. False when no job could be started.
    bool Open();
    // Opened and not closed since, from either side.
    bool IsHeld() const;

    // Queue chat data on the call. Each returns its ticket (1 or more), or 0 when nothing was
    // queued (no call held, or it has no channel 0).
    int SendLine(const QString& speaker, const QString& text);
    int SendTyping(const QString& speaker);
    // Invites that operator into the call.
    int Transfer(int operatorId);
    // Asks for the participants; the answer arrives as ParticipantsRefreshed.
    int RequestParticipants();

    // Ends the call; its closing events still arrive. Idempotent.
    void Close();
    // No signal after this; the call, held now or opened later, is closed in the background.
    void Detach();

    int OperatorId() const;
    // The session's operators as they stand now, for choosing whom to transfer to.
    std::vector<CUserEntry> Operators() const;

signals:
    void Opened();
    // result: OpenCall's code; 0 when the call opened but was gone before it could be held.
    void OpenFailed(int result);
    void ChatData(const CChatLine& line);
    void CallClosed(int reason);
    void ParticipantsRefreshed(const std::vector<CUserEntry>& participants);
    void ParticipantAdded(const CUserEntry& entry);
    void ParticipantRemoved(const CUserEntry& entry);
    void Transferred(const CUserEntry& entry);
    void ChannelEvent(int first, int second, int third, int flag);
    void OtherMessage(int first, int second);
    void Delivered(int ticket);
    void Undelivered(int ticket);

private:
    struct Shared;
    int Queue(const CSocketMessage& message);

    COperatorSession& m_session;
    CWorkerPool& m_pool;
    const int m_callId;
    std::shared_ptr<CEventRelay> m_relay;
    std::shared_ptr<Shared> m_shared;
    int m_nextTicket = 1;
};
