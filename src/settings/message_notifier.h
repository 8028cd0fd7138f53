#pragma once

#include <QString>
#include <functional>

class QWidget;

// How the settings dialogs tell the operator something: by default a modal box with an OK
// button, titled with the product name, over the dialog that has something to say. Tests give
// a sink of their own to capture the texts without a box waiting for a click.
class CMessageNotifier final
{
public:
    using Sink = std::function<void(QWidget* parent, const QString& text)>;

    static constexpr char kTitle[] = "Parlendo";

    CMessageNotifier();
    explicit CMessageNotifier(Sink sink);

    // Returns once the operator has closed the box.
    void Show(QWidget* parent, const QString& text) const;

private:
    Sink m_sink;
};
