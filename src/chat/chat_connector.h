#pragma once

#include "qt_operator_session.h"

#include <QObject>
#include <chrono>
#include <functional>
#include <memory>

// Opens a chat window's call on a thread of its own, so the window shows at once and stays
// responsive while a slow server answers, and hands the outcome back to the window's thread.
//
// The thread is never waited for nor killed: it holds only state it shares with the
// connector, and CCallList takes its lock for moments, never across the network wait. When the
// window goes first, Abandon() makes sure the call does not stay open behind it: a call that
// opens afterwards is closed by the thread itself, and one that opened but was not yet handed
// over is closed by Abandon's caller.
//
// The session must outlive every thread started here; WaitForThreads lets its owner make sure
// of that before destroying it.
class CChatConnector final
{
public:
    // result is OpenCall's; call is the opened call, or null when it could not be found after a
    // successful open.
    using Done = std::function<void(int result, std::shared_ptr<CCall> call)>;

    // done runs on context's thread unless the connector was abandoned first.
    CChatConnector(QObject* context, Done done);
    // Abandons.
    ~CChatConnector();
    CChatConnector(const CChatConnector&) = delete;
    CChatConnector& operator=(const CChatConnector&) = delete;

    // Starts the thread: OpenCall(callId, callbacks) on calls, then a look-up of the call.
    // False when no thread could be started.
    bool Start(CCallList& calls, int callId, CCall::Callbacks callbacks);
    // Nothing is reported any more. True when a call opened and was not handed over: the
    // caller closes it (after detaching its callbacks). Context's thread; idempotent.
    [[nodiscard]] bool Abandon();

    // Threads still running, of every connector of the process.
    static int Running();
    // Waits until no thread runs any more; false when some still did after timeout.
    static bool WaitForThreads(std::chrono::milliseconds timeout);

private:
    struct Shared;
    std::shared_ptr<Shared> m_shared;
};
