#pragma once

#include <QMetaType>
#include <QString>
#include <optional>

class CSocketMessage;

// Chat data 3003 as the chat window reads it, copied off the channel's receiver thread: the
// kind (1 chat text, 2 typing notice, 3 notice; a missing one reads -16) and the speaker and
// text, absent when the server left them out or empty.
struct CChatLine final
{
    int kind = 0;
    std::optional<QString> speaker;
    std::optional<QString> text;

    static CChatLine From(const CSocketMessage& message);
};

Q_DECLARE_METATYPE(CChatLine)
