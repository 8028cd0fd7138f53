#pragma once

#include "sim_records.h"
#include "socket_message.h"

#include <cstdint>
#include <string_view>

// Builders for what the server sends, so that each layout is written down once.
namespace simmsg {

// 9001: field 1 echoes the request, field 2 the value.
CSocketMessage Reply(int request, std::int32_t value);
// 9002 for a command: field 1 the request, field 2 the result code.
CSocketMessage Refusal(int request, int result);
// 9002 for a channel opening: the result code stands in field 1.
CSocketMessage ChannelRefusal(int result);

// The eight visitor fields, as in a list record and in event 4001.
void AddVisitorRecord(CSocketMessage& message, const SimVisitor& visitor);
// The seven user fields of a list record.
void AddUserRecord(CSocketMessage& message, std::int32_t id, std::int32_t number, int type,
                   int status, std::string_view text1, std::string_view text2,
                   std::string_view text3);

CSocketMessage VisitorEntered(const SimVisitor& visitor);
CSocketMessage VisitorLeft(std::int32_t visitorId);
CSocketMessage OperatorAdded(const SimOperatorInfo& op, std::int32_t number);
CSocketMessage OperatorRemoved(std::int32_t operatorId);
CSocketMessage OperatorStatus(std::int32_t operatorId, int status);
CSocketMessage IncomingCall(std::int32_t visitorId, std::int32_t callId, std::string_view name,
                            std::string_view text);
CSocketMessage CallTransfer(std::int32_t visitorId, std::int32_t callId,
                            const SimOperatorInfo& from, std::string_view text);
CSocketMessage ParticipantJoined(std::int32_t id, int type, std::int32_t number,
                                 std::string_view text2, std::string_view text3);
CSocketMessage ParticipantLeft(std::int32_t id, int type);
// 3003 kind 1 (line) or 2 (typing, text ignored).
CSocketMessage Chat(int kind, std::string_view sender, std::string_view text = {});
// 3003 kind 3: the client reads only the text.
CSocketMessage Notice(std::string_view text);

} // namespace simmsg
