#pragma once

#include <QCoreApplication>

class CCannedPanel;
class CFlatButton;
class CTranscriptCtrl;
class QLabel;
class QPlainTextEdit;
class QWidget;

// The controls of a chat window, made and laid out in it: the toolbar along the top, what the
// offer said, the canned answers panel (a fixed width) beside the transcript, the input box with
// the Send button (a fixed size) below it, and the status line at the bottom. The window wires
// them to its commands.
struct CChatParts final
{
    Q_DECLARE_TR_FUNCTIONS(CChatParts)

public:
    CFlatButton* cannedAnswers = nullptr;
    CFlatButton* transferChat = nullptr;
    CFlatButton* sendLink = nullptr;
    CFlatButton* sendImage = nullptr;
    CFlatButton* saveChat = nullptr;
    CFlatButton* printChat = nullptr;
    CFlatButton* closeChat = nullptr;
    QLabel* offerInfo = nullptr;
    CCannedPanel* cannedPanel = nullptr;
    CTranscriptCtrl* transcript = nullptr;
    QPlainTextEdit* input = nullptr;
    CFlatButton* send = nullptr;
    QLabel* statusLine = nullptr;
    // The width the whole toolbar needs.
    int toolbarWidth = 0;

    static CChatParts Build(QWidget* window);
};
