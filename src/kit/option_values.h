#pragma once

#include <QStringView>
#include <cstdint>
#include <limits>
#include <optional>

// Reading the numbers the operator types into the options dialog.

// The largest TCP port.
inline constexpr int kMaxServerPort = 65535;
// The incoming-call dialog runs its timer on NotifyTimeout * 1000 milliseconds in an int, so
// this is the longest timeout it can honour.
inline constexpr int kMaxNotifyTimeout = std::numeric_limits<int>::max() / 1000;

// The decimal number at the start of a text, read as C's atoi reads it: white space, then one
// optional sign, then digits up to the first other character; 0 when no digit follows. A
// magnitude too large for the result saturates instead of wrapping round, so a long row of
// digits stays a very large number.
std::int64_t LeadingDecimal(QStringView text);

// The port a text names: its leading number when that is 1 to kMaxServerPort. "8080x" is 8080
// and " 42" is 42; empty, letters, 0, negative and too large give nothing.
std::optional<int> ServerPortFromText(QStringView text);

// The timeout in seconds a text names: its leading number when that is 1 to kMaxNotifyTimeout.
std::optional<int> NotifyTimeoutFromText(QStringView text);
