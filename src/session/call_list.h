#pragma once

#include "call.h"
#include "semaphore_lock.h"

#include <memory>
#include <vector>

class COperatorSession;

// The open calls of an operator session, oldest first, keyed by call id. The list's lock is
// taken only to look up, add or take out a call: connecting, sending and waiting for a channel
// all happen outside it, so a slow server delays only the call it serves.
class CCallList final
{
public:
    explicit CCallList(COperatorSession& session);
    ~CCallList();
    CCallList(const CCallList&) = delete;
    CCallList& operator=(const CCallList&) = delete;

    // Creates the call and opens its channel 0. 0, -28 when that call id is open (or being
    // opened) already, without any traffic, or the channel's open result; a call that failed
    // to open is not listed (and has raised OnCallClosed(1)).
    // Callbacks given here are in place before the channel can report anything, so even a
    // server that hangs up at once is seen; callbacks set after OpenCall may miss that.
    int OpenCall(int callId, CCall::Callbacks callbacks = {});
    // Takes the call out, closes its channels oldest first, raises its OnCallClosed(1) (more
    // than once) and shuts it down. 0, or -28 when no call with that id is listed.
    int CloseCall(int callId);
    // The call, or nothing. The caller may keep it; a closed call stays valid but inert.
    std::shared_ptr<CCall> Find(int callId) const;
    int Count() const;
    // CloseCall for every listed call, oldest first.
    void DestroyAll();

private:
    COperatorSession& m_session;
    mutable CSemaphoreLock m_lock;
    std::vector<std::shared_ptr<CCall>> m_calls;
    std::vector<int> m_opening; // ids whose channel 0 is being opened
};
