#pragma once

// Outcomes of every network and file operation: 0 or a positive count is success, a negative
// value names the failure. The server uses the same numbering in its failure replies, so a
// refusal from the server and a local failure reach the operator through the same sentence.

namespace rc {
inline constexpr int kOk = 0;
inline constexpr int kNoSocket = -1;          // socket could not be created
inline constexpr int kNotConnected = -2;      // unresolved host, connect failed, no connection
inline constexpr int kSendFailed = -3;        // frame not sent whole
inline constexpr int kReceiveFailed = -4;     // bad header or length, body time-out, read error
inline constexpr int kPeerClosed = -5;        // the peer closed the connection; close failed
inline constexpr int kIdle = -8;              // nothing arrived within the time-out
inline constexpr int kLockFailed = -10;
inline constexpr int kFileNotOpened = -11;
inline constexpr int kFileNotRead = -12;
inline constexpr int kFileNotSaved = -13;
inline constexpr int kFileCorrupted = -14;
inline constexpr int kBadFormat = -16;        // negative code received; number field missing
inline constexpr int kEmptyMessage = -17;     // field added to, or send asked of, an empty message
inline constexpr int kBadParameters = -19;    // missing credentials, wrong echo, bad operator id
inline constexpr int kBadCommand = -20;       // a reply that is neither success nor failure
inline constexpr int kThreadFailed = -22;
inline constexpr int kBadVersion = -23;
inline constexpr int kBadCredentials = -24;
inline constexpr int kTooManyConnections = -25;
inline constexpr int kUserNotOnline = -27;
inline constexpr int kCallNotFound = -28;     // call id already open, or not open
inline constexpr int kBadInvitation = -29;
inline constexpr int kVisitorNotFound = -32;
inline constexpr int kChannelNotFound = -33;  // no channel 0, or channel id already open
inline constexpr int kChannelAlreadyOpen = -34;
inline constexpr int kAlreadySignedIn = -35;
} // namespace rc

// The sentence shown to the operator for a result code. Unknown codes (0 and positive values
// included) give the default sentence. Returns a static text: never fails, never allocates.
const char* ResultMessage(int code) noexcept;
