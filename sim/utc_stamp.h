#pragma once

#include <chrono>
#include <string>

// The server's time stamp text: UTC as "Y-M-D H:M:S" without zero padding ("2005-3-7 9:5:0").
std::string UtcStamp(std::chrono::system_clock::time_point when);
