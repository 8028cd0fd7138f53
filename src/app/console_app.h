#pragma once

#include "console_options.h"

// The console as a program: settings and layout profile (the operator's, or the demo's),
// the process-wide session, the main window, and the order in which they end.
class CConsoleApp final
{
public:
    explicit CConsoleApp(ConsoleOptions options) : m_options(options) {}

    // Runs until the main window is closed; returns the exit code. Needs a QApplication.
    int Run();

private:
    ConsoleOptions m_options;
};
