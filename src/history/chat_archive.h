#pragma once

#include "archive_reader.h"
#include "archive_records.h"
#include "archive_writer.h"

#include <QList>
#include <QObject>
#include <QString>
#include <atomic>
#include <memory>

// The history of every chat, kept as it happens in an SQLite file with a full-text index:
// $XDG_DATA_HOME/Parlendo/history.sqlite, private to the operator (folder 0700, file 0600).
//
// Writing: any thread may call the writing functions; each only queues its change and returns,
// never waiting for the disk. A writer thread with a connection of its own puts the changes in
// the file in order, each batch in one transaction synced to disk before the next one starts:
// a crash or a power cut loses at most what was queued in the last moment, normally the last
// line. Several consoles may share the file: SQLite serialises their writes, and one that
// finds the file locked for long keeps its lines queued and tries again (see CArchiveWriter).
//
// Reading: on the thread that made the archive (the GUI thread), through a read-only
// connection that never waits for the writer. A read that finds the file damaged gets it
// replaced by the writer; a read while no file is open finds nothing.
//
// Nothing here asks the operator anything: what they should know comes as Notice, in the order
// it happened, for the console to show.
class CChatArchive final : public QObject
{
    Q_OBJECT

public:
    // A chat of this process, from BeginChat; 0 names none (every call with it is ignored).
    using ChatKey = quint64;

    // An empty path means the per-user file.
    explicit CChatArchive(QString path = {}, CArchiveWriter::Timing timing = {},
                          QObject* parent = nullptr);
    // Writes what is queued when it can, waiting at most about the timing's lock wait.
    ~CChatArchive() override;

    static qint64 Now();
    const QString& Path() const { return m_path; }

    // --- Writing (any thread) ---
    ChatKey BeginChat(int callId, const QString& operatorName, qint64 at = Now());
    // The visitor's name, as soon as the participants are known; may change later.
    void SetVisitor(ChatKey chat, const QString& visitor);
    // Lines after EndChat still belong to the chat (the window's closing notices).
    void AddLine(ChatKey chat, const CTranscriptLine& line);
    // As often as the chat is transferred: the chat is marked once.
    void MarkTransferred(ChatKey chat);
    void EndChat(ChatKey chat, qint64 at = Now());
    // Deletes the chats that ended more than days days before now, with their lines and index
    // entries; days 0 keeps everything. The chats of this process stay.
    void ApplyRetention(int days, qint64 now = Now());
    // Deletes every chat, and rewrites the file so that nothing of them stays on the disk.
    void DeleteAll();
    // Waits until everything queued so far is written (or given up); false on time-out.
    bool Flush(int timeoutMs = 5000);

    // --- Reading (the thread that made the archive) ---
    QList<CArchivedChat> Chats(const CChatFilter& filter, int limit,
                               const CArchivedChat* after = nullptr);
    QList<CArchivedLine> Lines(qint64 chat, const QString& search = {});

signals:
    // Something the operator should know: the file was moved aside, is locked, cannot be kept.
    void Notice(const QString& text);
    // The file changed (a batch written, a fresh file started): lists may be out of date.
    void Changed();

private:
    void OnReport(const CWriterReport& report);
    bool ReadyToRead();
    void ReadFailed(const CArchiveProblem& problem);

    QString m_path;
    std::atomic<quint64> m_nextKey{1};
    CArchiveReader m_reader;
    quint64 m_readerGeneration = 0;
    bool m_readFailureTold = false;
    std::unique_ptr<CArchiveWriter> m_writer; // last: its thread reports into the members above
};
