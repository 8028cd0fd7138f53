#pragma once

// Every message code and field position of the chat protocol, named once. Fields are numbered
// from 1 (the first field after the four-digit code). A missing number field reads as -16.

namespace msg {

// Replies and events share these three codes; field 1 of a reply echoes the request code.
inline constexpr int kReplyOk = 9001;
inline constexpr int kReplyFailed = 9002;
inline constexpr int kEvent = 9003;

// Operator connection, client to server.
inline constexpr int kLogin = 1001;            // 1 user name, 2 password
inline constexpr int kSetStatus = 1003;        // 1 status
inline constexpr int kRequestUsers = 1006;     // operators (session) or participants (channel 0)
inline constexpr int kRequestVisitors = 1007;
inline constexpr int kInviteVisitor = 4003;    // 1 visitor id, 2 invitation text
inline constexpr int kKeepAlive = 5001;        // no fields, no answer

// Call channel, client to server.
inline constexpr int kOpenMainChannel = 2003;  // 1 call id, 2 operator id, 3 channel id 0, 4 user type
inline constexpr int kOpenChannel = 3001;      // the same for a channel other than 0
inline constexpr int kChatData = 3003;         // 1 kind, 2 sender name, 3 text
inline constexpr int kTransferCall = 2002;     // 1 operator id, 2 text

// Events (field 1 of a 9003 message) on the operator connection.
inline constexpr int kEvOperatorAdded = 1001;   // 2 id, 3 number, 4 type, 5 status, 6-8 texts
inline constexpr int kEvOperatorRemoved = 1002; // 2 id, 3 type
inline constexpr int kEvOperatorStatus = 1003;  // 2 id, 3 type, 4 status
inline constexpr int kEvIncomingCall = 2001;    // 2 number, 3 call id, 4 caller name, 5 text
inline constexpr int kEvCallTransfer = 2002;    // 2 number, 3 call id, 4-5 name parts, 6 text
inline constexpr int kEvVisitorEntered = 4001;  // 2-9: a visitor record
inline constexpr int kEvVisitorLeft = 4002;     // 2 id

// Events (field 1 of a 9003 message) on a call channel.
inline constexpr int kEvParticipantJoined = 2003; // 2 id, 3 type, 4 number, 5-6 name parts
inline constexpr int kEvParticipantLeft = 2004;   // 2 id, 3 type
inline constexpr int kEvChannelOpened = 3001;     // 2-4 numbers
inline constexpr int kEvChannelClosed = 3002;     // 2-4 numbers

// Unknown codes on the operator connection reach OnOtherMessage with this in place of field 1.
inline constexpr int kUnknownCode = 9999;

// Field positions shared by all replies and events.
inline constexpr int kFieldRequest = 1; // echoed request code (9001), event code (9003)
inline constexpr int kFieldValue = 2;   // first value after it: count, id, status, result code

// Login reply 9001/1001.
inline constexpr int kLoginFieldOperatorId = 2;
inline constexpr int kLoginFieldVersion = 3;
// Login refusal 9002: the result code stands in field 2; a channel refusal carries it in field 1.
inline constexpr int kLoginFailFieldResult = 2;
inline constexpr int kChannelFailFieldResult = 1;

// List replies: field 2 is the record count, records start at field 3.
inline constexpr int kListFieldCount = 2;
inline constexpr int kListFirstField = 3;

// Visitor record (reply 9001/1007, and fields 2-9 of event 4001), offsets within a record.
namespace visitor {
inline constexpr int kId = 0;
inline constexpr int kNumber1 = 1;
inline constexpr int kPage = 2;     // text1: page address
inline constexpr int kCaption = 3;  // text2: caption shown for the visitor
inline constexpr int kText3 = 4;    // text3: not shown
inline constexpr int kTime = 5;     // "Y-M-D H:M:S" in UTC
inline constexpr int kAddress = 6;  // text5: IP address text
inline constexpr int kNumber2 = 7;  // group key
inline constexpr int kFields = 8;
inline constexpr int kEventFirstField = 2; // where the record starts in event 4001
} // namespace visitor

// User record (reply 9001/1006 on either connection), offsets within a record.
namespace user {
inline constexpr int kId = 0;
inline constexpr int kNumber = 1;
inline constexpr int kType = 2;
inline constexpr int kStatus = 3;
inline constexpr int kText1 = 4; // operator's host
inline constexpr int kText2 = 5; // first name
inline constexpr int kText3 = 6; // last name
inline constexpr int kFields = 7;
} // namespace user

// Log-in request 1001.
namespace login {
inline constexpr int kFieldUser = 1;
inline constexpr int kFieldPassword = 2;
} // namespace login

// Status request 1003: 1 status. The reply 9001/1003 carries the status now in force in field 2.
inline constexpr int kStatusFieldStatus = 1;

// Invitation 4003: 1 visitor id, 2 invitation text. The reply 9001/4003 echoes the id in field 2.
namespace invite {
inline constexpr int kFieldVisitor = 1;
inline constexpr int kFieldText = 2;
} // namespace invite

// Failure reply 9002 on the operator connection: 1 request code, 2 result code.
inline constexpr int kFailFieldRequest = 1;
inline constexpr int kFailFieldResult = 2;

// Event 9003/1001, an operator signed in.
namespace operatorAdded {
inline constexpr int kId = 2;
inline constexpr int kNumber = 3;
inline constexpr int kType = 4;
inline constexpr int kStatus = 5;
inline constexpr int kText1 = 6;
inline constexpr int kText2 = 7;
inline constexpr int kText3 = 8;
} // namespace operatorAdded

// Events 9003/1002 (operator removed) and 9003/1003 (operator status).
namespace operatorChanged {
inline constexpr int kId = 2;
inline constexpr int kType = 3;
inline constexpr int kStatus = 4; // 1003 only
} // namespace operatorChanged

// Events 9003/2001 (incoming call) and 9003/2002 (call transfer).
namespace incomingCall {
inline constexpr int kNumber = 2;
inline constexpr int kCallId = 3;
inline constexpr int kText1 = 4; // 2001: the caller's name; 2002: first part of who transfers
inline constexpr int kText2 = 5;
inline constexpr int kText3 = 6; // 2002 only
inline constexpr int kKindCall = 1;
inline constexpr int kKindTransfer = 2;
} // namespace incomingCall

// Event 9003/4002, a visitor left.
inline constexpr int kVisitorLeftFieldId = 2;

// Opening of a call channel (2003 or 3001); the reply 9001 echoes the code sent in field 1.
namespace channelOpen {
inline constexpr int kFieldCallId = 1;
inline constexpr int kFieldOperatorId = 2;
inline constexpr int kFieldChannelId = 3;
inline constexpr int kFieldUserType = 4;
} // namespace channelOpen

// Transfer request 2002: 1 operator id, 2 text. The reply 9001/2002 echoes the id in field 2.
namespace transfer {
inline constexpr int kFieldOperator = 1;
inline constexpr int kFieldText = 2;
inline constexpr int kReplyFieldOperator = 2;
} // namespace transfer

// Event 9003/2003, a participant joined a call.
namespace participantJoined {
inline constexpr int kId = 2;
inline constexpr int kType = 3;
inline constexpr int kNumber = 4;
inline constexpr int kText2 = 5;
inline constexpr int kText3 = 6;
} // namespace participantJoined

// Event 9003/2004, a participant left a call.
namespace participantLeft {
inline constexpr int kId = 2;
inline constexpr int kType = 3;
} // namespace participantLeft

// Events 9003/3001 and 9003/3002: three numbers whose meaning is the server's.
namespace channelEvent {
inline constexpr int kFirst = 2;
inline constexpr int kSecond = 3;
inline constexpr int kThird = 4;
} // namespace channelEvent

// Chat data 3003.
namespace chat {
inline constexpr int kFieldKind = 1;
inline constexpr int kFieldSender = 2;
inline constexpr int kFieldText = 3;
inline constexpr int kLine = 1;
inline constexpr int kTyping = 2;
inline constexpr int kNotice = 3;
} // namespace chat

} // namespace msg

// Who a user record describes; (id, type) is the key of a user list.
namespace UserType {
inline constexpr int kVisitor = 1;
inline constexpr int kOperator = 2;
} // namespace UserType

// Operator status values; anything else is shown as online.
namespace OperatorStatus {
inline constexpr int kOffline = 0;
inline constexpr int kOnline = 1;
inline constexpr int kBusy = 2;
inline constexpr int kAway = 3;
} // namespace OperatorStatus
