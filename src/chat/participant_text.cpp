#include "participant_text.h"

#include "message_codes.h"
#include "shown_text.h"

#include <QCoreApplication>
#include <algorithm>
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

void RemoveParticipant(std::vector<CUserEntry>& participants, const CUserEntry& participant)
{
    const auto it =
        std::find_if(participants.begin(), participants.end(), [&](const CUserEntry& p) {
            return p.id == participant.id && p.type == participant.type;
        });
    if (it != participants.end())
        participants.erase(it);
}

QString VisitorName(const CIncomingCall& offer, const std::vector<CUserEntry>& participants)
{
    for (const CUserEntry& participant : participants)
        if (participant.type == UserType::kVisitor)
            return ParticipantName(participant);
    if (offer.kind == CIncomingCall::kKindCall && offer.text1)
        return ShownLine(*offer.text1, kNameLength);
    return QCoreApplication::translate("CChatDlg", "Transferred chat");
}

QString OfferInfo(const CIncomingCall& offer, const std::vector<CUserEntry>& participants)
{
    const auto& carried = offer.Carried();
    const QString question =
        carried && !carried->trimmed().isEmpty() ? ShownLine(*carried, 300) : QString();
    if (offer.kind == CIncomingCall::kKindTransfer) {
        const QString by = ShownLine(offer.text1.value_or(QString()) + QLatin1Char(' ') +
                                         offer.text2.value_or(QString()),
                                     kNameLength)
                               .trimmed();
        return question.isEmpty()
                   ? QCoreApplication::translate("CChatDlg", "Transferred to you by %1").arg(by)
                   : QCoreApplication::translate("CChatDlg", "Transferred to you by %1: %2")
                         .arg(by, question);
    }
    if (question.isEmpty())
        return {};
    return QCoreApplication::translate("CChatDlg", "%1 asks: %2")
        .arg(VisitorName(offer, participants), question);
}
