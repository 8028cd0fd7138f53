#pragma once

#include <string>
#include <string_view>

// The server writes time stamps in UTC as "Y-M-D H:M:S" (numbers without padding). The visitor
// list shows them in the machine's local time as "HH:MM:SS MM/DD/YYYY". A text that does not
// hold all six numbers, or holds numbers that name no moment (month 13, hour 24, ...), comes
// back unchanged. Safe from any thread; reads the time zone the process last set up (tzset).
std::string ServerTimeToLocal(std::string_view utcText);
