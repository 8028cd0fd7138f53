#pragma once

#include <cstdint>

// How much one peer can make this program hold. Each cap is far above anything a real account
// reaches, so only a broken or hostile server meets one; what lies beyond it is refused or
// dropped (and logged), never allocated.
namespace limits {

// A frame on the operator connection; the largest real one, a visitor list of kVisitors
// records, stays below 5 MB.
inline constexpr std::uint32_t kOperatorFrame = 64u * 1024u * 1024u;
// A frame on a call channel. A chat line is a few KB (links and images travel as markup, not as
// bytes), and the largest reply a channel gets, the participant list, holds at most
// kParticipants records of a few hundred bytes: some 150 KB. 1 MiB leaves room for unusually
// long lines while a lying header costs a channel little.
inline constexpr std::uint32_t kChannelFrame = 1024u * 1024u;

// Entries one list holds, whether they came in one reply or one event at a time.
inline constexpr int kVisitors = 20'000;
inline constexpr int kOperators = 2'000;
inline constexpr int kParticipants = 500;

} // namespace limits
