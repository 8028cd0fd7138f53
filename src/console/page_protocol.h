#pragma once

// The lines the console and its page helper (parlendo-pages) exchange: one command or report a
// line, its word, a blank, then its argument. The console writes to the helper's standard input
// and reads the helper's standard output. Addresses travel here, never on a command line, because
// some carry the operator's name and password.
namespace PageProtocol {

// The helper's arguments: where its view goes (a native window id of the console, in decimal).
inline constexpr char kIntoOption[] = "--into";
// Only checks that the helper's libraries load, then exits 0; needs no display.
inline constexpr char kCheckOption[] = "--check";
// The helper's exit code when the display cannot take a window of another program.
inline constexpr int kCannotEmbed = 3;

// Console to helper.
inline constexpr char kLoad[] = "load";  // load <encoded URL>
inline constexpr char kSize[] = "size";  // size <width> <height>, device-independent pixels

// Helper to console.
inline constexpr char kReady[] = "ready"; // the view is in the console's window
inline constexpr char kMail[] = "mail";   // mail <encoded URL>: a page asked for a mail address

} // namespace PageProtocol
