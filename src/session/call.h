#pragma once

#include "call_session.h"
#include "callback_table.h"
#include "channel_list.h"
#include "user_list.h"
#include "wire_limits.h"

#include <functional>
#include <memory>
#include <string_view>

class COperatorSession;
class CSocketMessage;

// One accepted call: its id, its participants, its channels and the callbacks of the chat
// window that shows it. Calls are created by CCallList::OpenCall and always held by
// std::shared_ptr; a chat window keeps the one it found for as long as it shows the call.
//
// Threads and order (channel 0):
// - On its receiver thread, one at a time in message order: OnChatData, OnParticipantsRefreshed,
//   OnParticipantAdded, OnParticipantRemoved, OnTransferred, OnChannelEvent, OnOtherMessage, and
//   OnCallClosed(2) when the connection ended under it.
// - On its sender thread, in queue order: OnMessageSent, or OnOtherMessage(code, -3) for a
//   message that could not be sent (also raised by Post for one posted after the channel
//   stopped).
// - OnCallClosed(1) on the thread closing the call, several times while it closes: handlers
//   must tolerate repeats.
// Messages and entries are valid only during the callback. Callbacks must not block; see
// CCallSession for which calls they may make.
class CCall final : public std::enable_shared_from_this<CCall>
{
public:
    struct Callbacks
    {
        std::function<void(const CSocketMessage&)> OnChatData;
        std::function<void(const CSocketMessage&)> OnMessageSent;
        std::function<void(int reason)> OnCallClosed;
        std::function<void()> OnParticipantsRefreshed;
        std::function<void(const CUserEntry&)> OnParticipantAdded;
        std::function<void(const CUserEntry&)> OnParticipantRemoved; // destroyed after the call
        std::function<void(const CUserEntry&)> OnTransferred; // a copy of the operator's entry
        // flag 0 for event 3001, 1 for 3002
        std::function<void(int first, int second, int third, int flag)> OnChannelEvent;
        std::function<void(int first, int second)> OnOtherMessage;
    };

    CCall(COperatorSession& session, int callId);
    // Closes what is still open (OnCallClosed(1) once more), clears the callbacks.
    ~CCall();
    CCall(const CCall&) = delete;
    CCall& operator=(const CCall&) = delete;

    int CallId() const { return m_callId; }
    CUserList& Participants() { return m_participants; }
    CChannelList& Channels() { return m_channels; }

    // Replaces every slot; returns once no callback of the previous slots runs any more, so a
    // window that clears them may go away afterwards.
    void SetCallbacks(Callbacks callbacks);
    void ClearCallbacks();

    // Opens a channel of this call with its own callbacks (none for channel 0). 0, -33 when
    // that channel id is listed already, or the result of CCallSession::Open.
    int OpenChannel(int channelId, CCallSession::Callbacks callbacks = {});
    // Queues the message on channel 0. 0, -33 without channel 0, -17 for an empty message.
    int Post(const CSocketMessage& message);
    // 1006 on channel 0; the answer arrives as OnParticipantsRefreshed.
    int RequestParticipants();
    // 2002 inviting that operator into the call; the answer arrives as OnTransferred.
    int TransferCall(int operatorId, std::string_view text);

    // Closes and removes every channel (oldest first), raises OnCallClosed(1), then shuts the
    // call down as its destruction does. For CCallList::CloseCall.
    void Close();

private:
    friend class CCallSession;

    // Closes and drops the channels still listed, raises OnCallClosed(1), clears the callbacks
    // and the participants.
    void ShutDown();

    COperatorSession& m_session;
    const int m_callId;
    CUserList m_participants{"participants", limits::kParticipants};
    CChannelList m_channels;
    CCallbackTable<Callbacks> m_callbacks;
};
