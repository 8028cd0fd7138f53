#pragma once

#include <QObject>
#include <functional>

class CCannedTreeModel;
class QAbstractButton;
class QItemSelection;
class QPlainTextEdit;
class QTextEdit;
class QTreeView;

// The canned answers panel of a chat window, on the window's own tree view and input box.
// It reads the canned answers file once, when it is made, so a chat window keeps the answers
// it opened with whatever is saved later. Selecting an answer replaces the whole text of the
// input box with its message, as plain text (HTML stays its source) and undoable; nothing is
// sent. Selecting a category, or clicking the answer that is selected already, changes
// nothing. Lives as long as the tree, its parent.
//
// The panel is the tree, a caption strip and a small hide button, shown and hidden together;
// the window lays itself out again on ShownChanged.
class CCannedPanel final : public QObject
{
    Q_OBJECT

public:
    using InputReplacer = std::function<void(const QString& message)>;

    CCannedPanel(QTreeView* tree, QPlainTextEdit* input);
    CCannedPanel(QTreeView* tree, QTextEdit* input);
    // For an input box of another kind: replaceInput puts the message in place of its text.
    CCannedPanel(QTreeView* tree, InputReplacer replaceInput);

    const CCannedTreeModel& Model() const { return *m_model; }

    // The caption strip and the hide button that go with the tree; a click on the button hides
    // the panel. Either may be null.
    void SetFrame(QWidget* caption, QAbstractButton* hideButton);
    // Shown while the tree is not hidden.
    bool IsShown() const { return m_shown; }
    // The chat window's "Canned Answers" button: hides a shown panel, shows a hidden one.
    void Toggle();
    void Hide();

signals:
    // After the panel was shown or hidden.
    void ShownChanged(bool shown);

private:
    void SetShown(bool shown);
    void OnSelectionChanged(const QItemSelection& selected);

    QTreeView* m_tree;
    QWidget* m_caption = nullptr;
    QAbstractButton* m_hideButton = nullptr;
    bool m_shown;
    CCannedTreeModel* m_model;
    InputReplacer m_replaceInput;
};
