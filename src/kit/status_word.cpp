#include "status_word.h"

#include "message_codes.h"

#include <QCoreApplication>

QString StatusWord(int status)
{
    switch (status) {
    case OperatorStatus::kBusy:
        return QCoreApplication::translate("StatusWord", "busy");
    case OperatorStatus::kAway:
        return QCoreApplication::translate("StatusWord", "away");
    default:
        return QCoreApplication::translate("StatusWord", "online");
    }
}
