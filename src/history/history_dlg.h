#pragma once

#include "archive_records.h"

#include "shortcut_table.h"

#include <QDialog>
#include <QList>

class CChatArchive;
class CHistoryChatModel;
class QLabel;
class QLineEdit;
class QPushButton;
class QTextEdit;
class QTimer;
class QTreeView;

// "Chat History": the archived chats, newest first, filtered by visitor or operator and
// searched by their words; the chosen chat's transcript, read-only, with the matches marked;
// the chosen chats exported as rich text, a web page or PDF, or copied.
//
// Modeless; it reads the archive on the GUI thread and follows its changes while open, so a
// chat going on in a chat window grows here too. Everything runs on the GUI thread.
class CHistoryDlg final : public QDialog
{
    Q_OBJECT

public:
    // Typing in a filter field waits this long for the next key before the list is read again.
    static constexpr int kFilterDelayMs = 250;
    // Changes of the archive are taken in at most this often.
    static constexpr int kReloadDelayMs = 500;

    // The archive is not owned and must outlive the window.
    explicit CHistoryDlg(CChatArchive& archive, QWidget* parent = nullptr);

    // Its keyboard shortcuts, installed by the window and shown in the list of them.
    static CShortcutTable Shortcuts();

protected:
    void changeEvent(QEvent* event) override;

private:
    void BuildControls();
    void ApplyFilter();
    void OnArchiveChanged();
    void OnCurrentChanged();
    void ShowTranscript();
    void UpdateState();
    void OnExport();
    void ExportTo(const QString& path, const QList<CArchivedChat>& chats);
    void OnCopy();
    void OnDeleteHistory();
    void Warn(const QString& text);
    QList<CArchivedChat> SelectedChats() const;

    CChatArchive& m_archive;
    CHistoryChatModel* m_model = nullptr;
    QLineEdit* m_search = nullptr;
    QLineEdit* m_visitor = nullptr;
    QLineEdit* m_operator = nullptr;
    QTreeView* m_list = nullptr;
    QTextEdit* m_transcript = nullptr;
    QLabel* m_status = nullptr;
    QPushButton* m_export = nullptr;
    QPushButton* m_copy = nullptr;
    QPushButton* m_delete = nullptr;
    QTimer* m_filterTimer = nullptr;
    QTimer* m_reloadTimer = nullptr;
    qint64 m_shownChat = 0; // the chat in the transcript pane, 0 for none
    QString m_notice;       // the archive's last notice, shown until the list is filtered again
};
