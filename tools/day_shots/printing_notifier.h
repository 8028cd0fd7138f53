#pragma once

#include "notifier.h"

#include <cstdio>

// For programs that run the windows unattended (the screenshot tool, the benchmarks): what a
// message box would say goes to standard error, and every question is answered no.
class CPrintingNotifier final : public CNotifier
{
public:
    void Inform(QWidget*, const QString& text, std::function<void()> done = {}) override
    {
        std::fprintf(stderr, "message: %s\n", qPrintable(text));
        if (done)
            done();
    }
    void Ask(QWidget*, const QString&, const QString& text,
             std::function<void(bool yes)> answer) override
    {
        std::fprintf(stderr, "question, answered no: %s\n", qPrintable(text));
        if (answer)
            answer(false);
    }
};
