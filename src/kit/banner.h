#pragma once

#include <QFrame>
#include <functional>

class QLabel;
class QPushButton;

// A strip across a window that says what the operator should know now (the connection is
// lost, chat requests are waiting, an alert path is dead), with at most one action. It hides
// itself while it has nothing to say.
class CBanner final : public QFrame
{
    Q_OBJECT

public:
    enum class Tone
    {
        Information,
        Warning,
    };

    explicit CBanner(const QString& name, QWidget* parent = nullptr);

    // Shows the text (plain) in the tone; an empty text hides the banner.
    void Say(const QString& text, Tone tone = Tone::Information);
    // The button at the right end; an empty caption removes it.
    void SetAction(const QString& caption, std::function<void()> action);

protected:
    void changeEvent(QEvent* event) override;

private:
    void ApplyTone();

    QLabel* m_text;
    QPushButton* m_button;
    std::function<void()> m_action;
    Tone m_tone = Tone::Information;
};
