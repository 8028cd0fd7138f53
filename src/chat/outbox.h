#pragma once

#include <QString>
#include <deque>
#include <optional>

// What a chat window has queued on its call's channel and not yet seen reported. The channel
// reports every queued message exactly once, in queue order: sent, or not sent (its code with
// -3). Matching the reports against this queue tells the window which message was lost, so it
// can say so instead of letting a line vanish.
class COutbox final
{
public:
    // A message just queued; lostNotice is what the transcript says if it is not sent, empty
    // when its loss need not be shown (a typing notice, a list request). Its report cannot
    // overtake this: reports reach the window as queued events of its own thread.
    void Queued(int code, QString lostNotice);
    // The oldest waiting message with that code was reported; returns its notice, or nothing
    // when no such message waits (a report for a message this window did not queue).
    std::optional<QString> Reported(int code);
    bool IsEmpty() const { return m_waiting.empty(); }

private:
    struct Waiting
    {
        int code;
        QString lostNotice;
    };
    std::deque<Waiting> m_waiting;
};
