#pragma once

#include <QPlainTextEdit>
#include <QPointer>
#include <QWidget>

class CCannedTreeModel;
class CFlatButton;
class CGradientLabel;
class QItemSelection;
class QTreeView;

// The canned answers panel of a chat window: a caption strip with a small hide button above the
// tree of answers. It reads the canned answers file once, when it is made, so a chat window
// keeps the answers it opened with whatever is saved later.
//
// Selecting an answer replaces the whole text of the input box with its message, as plain text
// (HTML stays its source) and undoable; nothing is sent. Selecting a category, or clicking the
// answer that is selected already, changes nothing. A double click or Enter on an answer takes
// that replacement back and asks for the answer to be put in at the cursor instead
// (AnswerChosen), so that what the operator had typed stays.
//
// The panel shows and hides itself as a whole; the window's layout gives its width to the
// transcript while it is hidden.
class CCannedPanel final : public QWidget
{
    Q_OBJECT

public:
    // The width the panel keeps beside the transcript.
    static constexpr int kWidth = 155;

    CCannedPanel(QPlainTextEdit* input, QWidget* parent = nullptr);

    const CCannedTreeModel& Model() const { return *m_model; }

    // The chat window's "Canned Answers" button: hides a shown panel, shows a hidden one.
    void Toggle();
    // Its key (Ctrl+K): into the list of answers, shown if hidden; from the list, the panel is
    // hidden again and the focus goes back to the input box.
    void ToggleFocus();

signals:
    void AnswerChosen(const QString& category, const QString& title, const QString& message);

private:
    void OnSelectionChanged(const QItemSelection& selected);
    void ReplaceInput(const QString& message);
    void Choose(const QModelIndex& item);

    QPointer<QPlainTextEdit> m_input;
    CGradientLabel* m_caption;
    CFlatButton* m_hide;
    QTreeView* m_tree;
    CCannedTreeModel* m_model;
    // The input box's text is an answer's, put there by selecting it; one undo brings back what
    // was typed.
    bool m_replaced = false;
};
