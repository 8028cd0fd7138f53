#pragma once

#include <QString>
#include <optional>

struct CIncomingCall;

// The sentence an offer shows: who calls, or who hands a call over. The names come from the
// server and may be of any length, while a notice has always fitted in 100 bytes; so a long one
// is kept to kMaxBytes of UTF-8 by shortening the names (cut at whole characters, ended with an
// ellipsis), never the sentence around them.
//
// Names are shown as plain text. Line breaks and other control characters in them become
// blanks, and direction overrides are left out, so a name cannot reorder or break up the
// sentence it stands in.
namespace CallNotice {

inline constexpr int kMaxBytes = 99;

// The notice of a chat request (kind 1, text 1) or a call transfer (kind 2, texts 1 and 2); a
// missing text is an empty one. Nothing for any other kind.
std::optional<QString> Format(const CIncomingCall& call);

// text unchanged when its UTF-8 takes at most maxBytes; otherwise as many whole characters
// (grapheme clusters) from its start as fit together with a closing ellipsis.
QString Elide(const QString& text, int maxBytes);

} // namespace CallNotice
