#pragma once

#include <QDialog>

class CCannedFilterModel;
class CCannedTreeModel;
class QLineEdit;
class QPlainTextEdit;
class QPushButton;
class QTreeView;

// "Canned Answers": the operator's canned answers file, edited as a tree. Add, Edit and a
// double-click on an answer open CCannedEditDlg; Rename renames a category; Delete removes the
// selected item, asking first when it is a category that still holds answers. The search field
// filters the tree. Import takes in the answers of a file (see CCannedExchange), Export writes
// the tree as it stands to one. OK writes the file and closes (a failed write is reported and
// the dialog stays, so nothing is lost); Cancel closes and every change, imports included, is
// lost. Chat windows that are open keep the answers they read.
class CCannedMsgDlg final : public QDialog
{
    Q_OBJECT

public:
    static constexpr char kIntroText[] = QT_TR_NOOP(
        "Edit the canned answers that you want to be able to send from the chat window:");

    // Reads the file at once.
    explicit CCannedMsgDlg(QWidget* parent = nullptr);

    void OnAdd();
    void OnEdit();
    void OnRename();
    void OnDelete();
    // Ask for the file, then ImportFrom or ExportTo.
    void OnImport();
    void OnExport();

    // A damaged file is refused with a message that says why and changes nothing. True when
    // the answers were taken in (see CCannedTreeModel::Merge).
    bool ImportFrom(const QString& file);
    // Text, or the canned answers file's own format for a name ending in ".dat".
    bool ExportTo(const QString& file);

    void accept() override;

private:
    void OnSelectionChanged();
    void OnSearch(const QString& text);
    // Indexes of the answers model, whatever the search field hides.
    QModelIndex SelectedItem() const;
    void Select(const QModelIndex& item);
    // Clears the search when it hides the item.
    void Reveal(const QModelIndex& item);
    void Warn(const QString& text);

    CCannedTreeModel* m_model = nullptr;
    CCannedFilterModel* m_filter = nullptr;
    QLineEdit* m_search = nullptr;
    QTreeView* m_tree = nullptr;
    QPushButton* m_add = nullptr;
    QPushButton* m_edit = nullptr;
    QPushButton* m_rename = nullptr;
    QPushButton* m_delete = nullptr;
    QPlainTextEdit* m_preview = nullptr;
    // The file was not read whole: it is kept aside before it is written.
    bool m_damaged = false;
};
