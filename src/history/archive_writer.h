#pragma once

#include "archive_command.h"
#include "archive_file.h"
#include "archive_updater.h"

#include <QString>
#include <atomic>
#include <chrono>
#include <condition_variable>
#include <deque>
#include <functional>
#include <mutex>
#include <optional>
#include <thread>
#include <vector>

// What the writer tells its owner, from the writer thread.
struct CWriterReport final
{
    enum class Kind
    {
        Opened,     // a file is open for writing; generation names it
        MovedAside, // the file was damaged or unusable: detail is where it went, reason why
        Busy,       // another connection holds the file; what is queued waits (once a spell)
        Failing,    // writing failed: reason (once a spell)
        Off,        // no history is kept from now on: reason
        Committed,  // a batch is in the file
    };
    Kind kind = Kind::Committed;
    QString detail;
    QString reason;
    quint64 generation = 0;
};

// The archive's writer: a thread with its own connection that takes the queued commands in
// order and writes each batch that has gathered in one transaction, so a burst of lines costs
// one sync to disk, while a line said alone is on disk on its own within a sync's time. Posting
// never waits for the disk.
//
// The file is its alone to replace. A damaged or unusable file is moved aside and a fresh one
// started; the chats still going carry on in it. A file that is merely locked by another
// console or program is never moved: the commands wait, queued in order, and are tried again
// every retry interval. When even a fresh file cannot be had, the writer gives up for the
// rest of the process and drops what it is given.
//
// Post and Flush may be called from any thread; Report is called on the writer thread and must
// not block or call back into the writer.
class CArchiveWriter final
{
public:
    using Report = std::function<void(const CWriterReport&)>;

    struct Timing
    {
        int busyTimeoutMs = 2000; // SQLite's own wait for a lock, per statement
        int retryMs = 5000;       // then, the wait before the next try
    };

    CArchiveWriter(QString path, Timing timing, Report report);
    // Writes what is queued when it can (one more try after a lock), then ends the thread.
    ~CArchiveWriter();
    CArchiveWriter(const CArchiveWriter&) = delete;
    CArchiveWriter& operator=(const CArchiveWriter&) = delete;

    void Post(CArchiveCommand command);
    // Waits until everything posted before the call has been written or given up; false when
    // the time ran out first (the file is locked, say).
    bool Flush(std::chrono::milliseconds limit);
    // The file now open for writing, counted from 1; 0 while there is none. A reader holding
    // another generation's file reopens.
    quint64 Generation() const { return m_generation.load(); }
    // Waits until the first attempt to open the file has ended, well or not.
    bool WaitSettled(std::chrono::milliseconds limit);

private:
    using Clock = std::chrono::steady_clock;

    void Run();
    void Attempt();
    bool OpenFile();
    // Moves the file aside and opens a fresh one; false when that failed too (then off).
    bool Replace(const QString& reason);
    void GoOff(const QString& reason);
    // Busy or Transient: the pending commands wait for the next try.
    void RetryLater(const CArchiveProblem& problem);
    void Opened();
    void Settle();
    void Complete(size_t count);
    void Tell(CWriterReport report);

    CArchiveFile m_file;
    Timing m_timing;
    Report m_report;

    // Writer thread only.
    CArchiveUpdater m_updater;
    std::vector<CArchiveCommand> m_pending; // taken from the queue, not yet written
    std::optional<Clock::time_point> m_retryAt;
    bool m_off = false;
    bool m_inSpell = false; // a Busy or Failing has been told and nothing written since

    std::atomic<quint64> m_generation{0};
    quint64 m_opened = 0; // files opened so far

    mutable std::mutex m_mutex;
    std::condition_variable m_wake;     // the writer: work, or stop
    std::condition_variable m_progress; // Flush and WaitSettled
    std::deque<CArchiveCommand> m_queue;
    quint64 m_posted = 0;
    quint64 m_done = 0;
    bool m_settled = false;
    bool m_stopping = false;

    std::thread m_thread; // last: starts once everything above is made
};
