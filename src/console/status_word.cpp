#include "status_word.h"

#include "message_codes.h"

QString StatusWord(int status)
{
    switch (status) {
    case OperatorStatus::kBusy:
        return QStringLiteral("busy");
    case OperatorStatus::kAway:
        return QStringLiteral("away");
    default:
        return QStringLiteral("online");
    }
}
