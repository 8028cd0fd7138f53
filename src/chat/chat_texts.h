#pragma once

// The texts a chat window shows, defined once. "\r\n" ends a first sentence that a result
// code's message follows; message boxes show it as a line break. "conect" in kStatusFailed is
// the product's own wording, kept as operators know it.
namespace ChatText {

inline constexpr char kTitle[] = "Parlendo";
inline constexpr char kTitlePrefix[] = "Parlendo - ";
inline constexpr char kTitleConnecting[] = "Parlendo - Connecting";
inline constexpr char kTitleError[] = "Parlendo - Error";
inline constexpr char kTitleClosed[] = "Parlendo - Chat closed";

inline constexpr char kStatusConnecting[] = "Connecting to the Parlendo server...";
inline constexpr char kStatusConnected[] = "Connected to the Parlendo server.";
inline constexpr char kStatusFailed[] = "Failed to conect to the Parlendo server.";
inline constexpr char kStatusClosed[] = "Chat closed";
inline constexpr char kStatusTyping[] = "%1 is typing a message...";

inline constexpr char kStartFailed[] = "Failed to start the chat.\r\n";
inline constexpr char kCallNotFound[] = "Failed to open call.\r\nUnhandled software exception.";

// Notices in the transcript. %1 is a participant's display name.
inline constexpr char kJoined[] = "%1 has joined this call";
inline constexpr char kLeft[] = "%1 has left this call";
inline constexpr char kInvited[] = "%1 has been invited to join this call";
inline constexpr char kCallClosed[] = "This call has been closed.";
inline constexpr char kYouClosed[] = "You have closed this call.";
// A line the call's connection could not send; %1 is the line as the transcript shows it.
inline constexpr char kNotDelivered[] = "This message could not be delivered: %1";
inline constexpr char kInvitationNotDelivered[] = "The invitation could not be delivered.";

inline constexpr char kSelectOperator[] =
    "You must select the user you want to invite to this call.";
inline constexpr char kTransferText[] = "invitation";

// Captions.
inline constexpr char kCannedAnswers[] = "Canned Answers";
inline constexpr char kTransferChat[] = "Transfer Chat";
inline constexpr char kSendLink[] = "Send Link";
inline constexpr char kSendImage[] = "Send Image";
inline constexpr char kSaveChat[] = "Save Chat";
inline constexpr char kPrintChat[] = "Print Chat";
inline constexpr char kCloseChat[] = "Close Chat";
inline constexpr char kSend[] = "Send";
inline constexpr char kRtfFilter[] = "Rich Text Format(*.rtf)";

} // namespace ChatText
