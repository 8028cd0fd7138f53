#pragma once

#include <QDialog>

class CCannedTreeModel;
class QPlainTextEdit;
class QPushButton;
class QTreeView;

// "Canned Answers": the operator's canned answers file, edited as a tree. Add, Edit and a
// double-click on an answer open CCannedEditDlg; Delete removes the selected item at once (a
// category with its answers). OK writes the file and closes, even when the file could not be
// written (after saying so); Cancel closes and every change is lost. Chat windows that are
// open keep the answers they read.
class CCannedMsgDlg final : public QDialog
{
    Q_OBJECT

public:
    static constexpr char kIntroText[] =
        "Edit the canned answers that you want to be able to send from the chat window:";

    // Reads the file at once.
    explicit CCannedMsgDlg(QWidget* parent = nullptr);

    void OnAdd();
    void OnEdit();
    void OnDelete();

    void accept() override;

private:
    void OnSelectionChanged();
    QModelIndex SelectedItem() const;
    void Reveal(const QModelIndex& answer);

    CCannedTreeModel* m_model = nullptr;
    QTreeView* m_tree = nullptr;
    QPushButton* m_add = nullptr;
    QPushButton* m_edit = nullptr;
    QPushButton* m_delete = nullptr;
    QPlainTextEdit* m_preview = nullptr;
};
