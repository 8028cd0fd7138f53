#pragma once

#include "incoming_call.h"
#include "user_entry.h"

#include <QString>
#include <vector>

// How a chat window names the participants of its call.

// An operator is named by both parts of the name joined by one blank; anyone else (a visitor)
// by the first part only.
QString ParticipantName(const CUserEntry& participant);

// Whether the entry is the operator's own record: the operator's id on an operator entry. A
// visitor may carry the same number, as the two kinds are counted apart.
bool IsOwnRecord(const CUserEntry& participant, int ownOperatorId);

// Whether the title and the joined notices of a list answer show the participant: anyone but
// the operator, present (status 1 or more).
bool IsShownParticipant(const CUserEntry& participant, int ownOperatorId);

// "Parlendo - " and the shown participants' names joined by ", ", in list order; "Parlendo"
// when no one is shown.
QString ChatTitle(const std::vector<CUserEntry>& participants, int ownOperatorId);

// Takes the first entry of that participant (id and type) out of the list, if there is one.
void RemoveParticipant(std::vector<CUserEntry>& participants, const CUserEntry& participant);

// Whom the chat is with: the visitor among the participants, or until they are known the
// caller's name as the offer gave it.
QString VisitorName(const CIncomingCall& offer, const std::vector<CUserEntry>& participants);

// What the offer said beside the caller's name, for the top of the chat window: the visitor's
// question, or who transferred the chat. Empty when there is nothing to say.
QString OfferInfo(const CIncomingCall& offer, const std::vector<CUserEntry>& participants);
