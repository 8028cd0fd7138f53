#pragma once

#include "notifier.h"

// The console's notifier: window-modal message boxes over their owner, titled "Parlendo".
class CMessageBoxNotifier final : public CNotifier
{
public:
    void Inform(QWidget* owner, const QString& text, std::function<void()> done = {}) override;
    void Ask(QWidget* owner, const QString& title, const QString& text,
             std::function<void(bool yes)> answer) override;

    // The text as a box shows it: "\r\n" becomes one line break.
    static QString DisplayText(const QString& text);
};
