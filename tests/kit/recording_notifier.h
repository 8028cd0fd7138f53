#pragma once

#include "notifier.h"

#include <QStringList>

// Keeps what the windows would show in message boxes, and answers their questions with yes.
class CRecordingNotifier final : public CNotifier
{
public:
    void Inform(QWidget*, const QString& text, std::function<void()> done = {}) override
    {
        informed << text;
        if (done)
            done();
    }
    void Ask(QWidget*, const QString& title, const QString& text,
             std::function<void(bool yes)> answer) override
    {
        asked << title + QLatin1Char('|') + text;
        if (answer)
            answer(yes);
    }

    QStringList informed;
    QStringList asked; // "title|text"
    bool yes = false;
};
