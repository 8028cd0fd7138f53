#pragma once

#include <QMetaType>
#include <QString>
#include <optional>

// An offered chat request (kind 1) or call transfer (kind 2), copied off the receive thread.
// A text the server left out stays absent; the notice shows it as an empty text.
struct CIncomingCall final
{
    static constexpr int kKindCall = 1;
    static constexpr int kKindTransfer = 2;

    int callId = 0;
    int number = 0;
    int kind = 0;
    std::optional<QString> text1;
    std::optional<QString> text2;
    std::optional<QString> text3; // absent for a chat request

    // What the request carries beside the caller's name (a visitor's question): the second text
    // of a chat request, the third of a transfer, whose first two name who transfers it.
    const std::optional<QString>& Carried() const { return kind == kKindTransfer ? text3 : text2; }
};

Q_DECLARE_METATYPE(CIncomingCall)
