#pragma once

// The texts the console shows the operator, defined once. "\r\n" ends a first sentence that a
// result code's message follows; message boxes show it as a line break.
namespace ConsoleText {

inline constexpr char kProduct[] = "Parlendo";

// Window titles; %1 is the server address, and for a confirmed status %1 is the status word and
// %2 the server address.
inline constexpr char kTitleNotConnected[] = "Parlendo - Not connected";
inline constexpr char kTitleConnecting[] = "Parlendo - Connecting [%1]";
inline constexpr char kTitleOnline[] = "Parlendo - Online [%1]";
inline constexpr char kTitleStatus[] = "Parlendo - %1 [%2]";

inline constexpr char kStatusOnline[] = "online";
inline constexpr char kStatusBusy[] = "busy";
inline constexpr char kStatusAway[] = "away";

inline constexpr char kNoServerAddress[] =
    "You must first set the Parlendo server address and port in the Options dialog.";
inline constexpr char kReconnecting[] = "Parlendo is trying to reconnect to the Parlendo server "
                                        "now.\r\nIf it fails, please try again in a few seconds.";
inline constexpr char kConnectFailed[] = "Failed to connect to the Parlendo server.\r\n";
inline constexpr char kStatusFailed[] = "Failed to change your status.\r\n";
inline constexpr char kInviteFailed[] = "Failed to invite selected users to chat.\r\n";
inline constexpr char kCommandBusy[] = "There is already a similar command in progress.\r\nPlease "
                                       "wait for the previous command to finish first.";
inline constexpr char kInviteQuestion[] =
    "Do you want to send a chat invitation to the visitor browsing the selected web page?";

inline constexpr char kNewVersionTitle[] = "New Parlendo version";
inline constexpr char kNewVersionQuestion[] =
    "There is a new version of Parlendo available for download.\r\nWould you like to download "
    "and install the new version?";

// Balloons of the tray icon.
inline constexpr char kNotificationTitle[] = "Parlendo Notification";
inline constexpr char kLoggedInNote[] = "You are now logged in to the Parlendo server";
inline constexpr char kLoggedOutNote[] = "You are now logged out from the Parlendo server";
inline constexpr char kStatusNote[] = "Your status has now been changed to %1";

// The offer of a chat request or call transfer; %1 is the caller's name, or %1 and %2 the two
// parts of the name of whoever transfers the call.
inline constexpr char kCallTitle[] = "Parlendo Call";
inline constexpr char kCallNotice[] = "You have received a Parlendo call from %1.";
inline constexpr char kTransferNotice[] = "You have received a Parlendo call transfer from %1 %2.";
inline constexpr char kAccept[] = "Accept";
inline constexpr char kCancel[] = "Cancel";

// Pane captions; each starts with a blank.
inline constexpr char kPaneVisitors[] = " Website Visitors";
inline constexpr char kPaneOperators[] = " Website Operators";
inline constexpr char kPaneReports[] = " Website reports";
inline constexpr char kPaneAccount[] = " Account Settings";
inline constexpr char kPaneTutorial[] = " Quick Tutorial";

} // namespace ConsoleText
