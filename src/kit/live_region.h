#pragma once

#include <QWidget>

// Says a short text to screen readers without moving the keyboard focus: a new line in a chat,
// a new chat request. It is exposed as a notification whose name is the text, and shows itself
// anew with each text: Qt 6.4's bridge to the Linux screen readers passes on no announcement
// (it drops QAccessible::Alert) but does pass on an object's showing, and a notification that
// shows is read out. The Alert event is sent as well, for the bridges that do take it.
//
// One pixel large and painted by nobody: it is not seen, and takes no clicks and no focus.
class CLiveRegion final : public QWidget
{
    Q_OBJECT

public:
    explicit CLiveRegion(QWidget* parent);

    void Announce(const QString& text);
    const QString& Text() const { return m_text; }

private:
    QString m_text;
};
