#pragma once

#include <QString>
#include <functional>

class QWidget;

// How the console tells the operator something or asks a question. The console's windows go
// through this instead of opening message boxes themselves, so that tests can capture the texts
// and answer the questions.
//
// Neither call blocks: the box stays up while the window goes on receiving server events, and
// what is to happen after it runs from the callback. Window thread only.
class CNotifier
{
public:
    virtual ~CNotifier() = default;

    // A plain box with an OK button, titled with the application's name; done runs once it is
    // closed. A "\r\n" in the text is shown as a line break.
    virtual void Inform(QWidget* owner, const QString& text, std::function<void()> done = {}) = 0;
    // A Yes/No question; answer gets true for Yes. owner may be null (a box of its own).
    virtual void Ask(QWidget* owner, const QString& title, const QString& text,
                     std::function<void(bool yes)> answer) = 0;
};
