#pragma once

#include "chat_line.h"
#include "qt_operator_session.h"
#include "session_values.h"

#include <QObject>
#include <memory>
#include <vector>

// Carries one call's nine callbacks onto the thread the bridge lives on (the chat window's).
// Each callback copies what it was given into values on the thread that raised it and queues
// the matching signal; the signals are emitted on the bridge's thread in the order the call
// raised the callbacks, whichever of its threads that was. Nothing the call hands out (messages
// and entries valid only during a callback) outlives the callback, and no network thread ever
// touches a widget. A burst is handed over in slices of a few milliseconds per turn of the
// event loop, so the window keeps repainting and answering the operator while it drains.
//
// The callbacks do not point at the bridge: they share a relay with it, which Detach cuts. So
// they may be handed to CCallList::OpenCall before the call exists, and outlive the bridge (a
// call that opens after its window has gone), doing nothing once detached.
class CCallBridge final : public QObject
{
    Q_OBJECT

public:
    explicit CCallBridge(QObject* parent = nullptr);
    // Detaches.
    ~CCallBridge() override;
    CCallBridge(const CCallBridge&) = delete;
    CCallBridge& operator=(const CCallBridge&) = delete;

    // The nine callbacks. A refreshed participant list is read from the call (callId in calls)
    // on the receiver thread, so the signal carries the list exactly as that answer left it.
    CCall::Callbacks Callbacks(CCallList& calls, int callId) const;

    // From its return on, no signal is emitted, including those already queued, and no
    // callback reaches the bridge any more. Bridge's thread; idempotent.
    void Detach();
    bool IsAttached() const;

signals:
    void ChatData(const CChatLine& line);
    void MessageSent(int code);
    void CallClosed(int reason);
    void ParticipantsRefreshed(const std::vector<CUserEntry>& participants);
    void ParticipantAdded(const CUserEntry& entry);
    void ParticipantRemoved(const CUserEntry& entry);
    void Transferred(const CUserEntry& entry);
    void ChannelEvent(int first, int second, int third, int flag);
    // Field 1 and 2 of an unhandled reply or event; (code, -3) for a message the channel could
    // not send.
    void OtherMessage(int first, int second);

private:
    class Relay;
    std::shared_ptr<Relay> m_relay;
};
