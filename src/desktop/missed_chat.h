#pragma once

#include <QDateTime>
#include <QString>

// A chat request or call transfer that closed unanswered: what its event carried, and when the
// offer closed.
struct CMissedChat final
{
    static constexpr int kKindCall = 1;
    static constexpr int kKindTransfer = 2;

    QDateTime time; // UTC
    int callId = 0;
    int number = 0;
    int kind = 0;
    // As the event carried them; a text the server left out is empty. A request's caller is
    // text1, a transfer's the two first texts together.
    QString text1;
    QString text2;
    QString text3;
    bool seen = false; // the operator has looked at the list since it came

    bool operator==(const CMissedChat&) const = default;
};
