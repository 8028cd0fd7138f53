#pragma once

#include <QStringList>
#include <optional>

// What the parlendo command line asks for. Apart from the demo, the console takes all its
// configuration from the settings file.
struct ConsoleOptions
{
    bool demo = false;
    // Developer options, for measuring the console: how many visitors the demo server starts
    // with, and quitting once logged in with the visitors listed (printing start-up figures).
    int demoVisitors = 12;
    // The demo's crowd stays as it is: nobody arrives, leaves or asks for a chat (idle figures).
    bool demoQuiet = false;
    // How many times the demo's normal pace its visitors arrive, leave and ask for chats (a
    // long day at ten times the pace, for leaks).
    int demoPace = 1;
    bool exitAfterLogin = false;
    // With exitAfterLogin: seconds to stay logged in after the listing before quitting.
    int staySeconds = 0;
    // Packaging check: report where the shipped files are found and quit.
    bool checkInstall = false;

    // Parses the arguments (the program name first). Returns an exit code when the program is
    // to end at once: 0 after --help or --version (printed to stdout), 1 after a bad argument
    // (explained on stderr).
    static std::optional<int> Parse(const QStringList& arguments, ConsoleOptions& options);
};
