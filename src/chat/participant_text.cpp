#include "participant_text.h"

#include "message_codes.h"
#include "shown_text.h"

#include <QCoreApplication>
#include <QStringList>

namespace {

constexpr int kNameLength = 100;
constexpr int kTitleLength = 300;

QString FromUtf8(const std::string& text)
{
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

} // namespace

QString ParticipantName(const CUserEntry& participant)
{
    if (participant.type == UserType::kOperator)
        return ShownLine(FromUtf8(participant.text2) + QLatin1Char(' ') +
                         FromUtf8(participant.text3), kNameLength);
    return ShownLine(FromUtf8(participant.text2), kNameLength);
}

bool IsOwnRecord(const CUserEntry& participant, int ownOperatorId)
{
    return participant.type == UserType::kOperator && participant.id == ownOperatorId;
}

bool IsShownParticipant(const CUserEntry& participant, int ownOperatorId)
{
    return !IsOwnRecord(participant, ownOperatorId) &&
           participant.status >= OperatorStatus::kOnline;
}

QString ChatTitle(const std::vector<CUserEntry>& participants, int ownOperatorId)
{
    QStringList names;
    for (const CUserEntry& participant : participants) {
        if (IsShownParticipant(participant, ownOperatorId))
            names.append(ParticipantName(participant));
    }
    if (names.isEmpty())
        return QCoreApplication::translate("CChatDlg", "Parlendo");
    // A call with hundreds of participants still gets a title a window manager can show.
    return QCoreApplication::translate("CChatDlg", "Parlendo - %1")
        .arg(ShownLine(names.join(QStringLiteral(", ")), kTitleLength));
}
