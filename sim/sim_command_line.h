#pragma once

#include "sim_options.h"

#include <string>
#include <vector>

// What the command line of parlendo-sim asks for.
struct SimCommandLine
{
    SimOptions options;
    bool help = false;
    std::string error; // not empty: the command line is unusable, and why
};

// Parses the arguments after the program name. Accepts "--flag value" and "--flag=value".
SimCommandLine ParseSimCommandLine(const std::vector<std::string>& args);
// One account from "USER:PASSWORD[:FIRST[:LAST]]"; false when user or password is empty.
bool ParseSimAccount(const std::string& text, SimAccount& account);
std::string SimUsage();
