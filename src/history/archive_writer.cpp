#include "archive_writer.h"

#include <iterator>
#include <utility>

CArchiveWriter::CArchiveWriter(QString path, Timing timing, Report report)
    : m_file(path), m_timing(timing), m_report(std::move(report)),
      m_updater(std::move(path), timing.busyTimeoutMs), m_thread([this] { Run(); })
{
}

CArchiveWriter::~CArchiveWriter()
{
    {
        const std::lock_guard lock(m_mutex);
        m_stopping = true;
    }
    m_wake.notify_all();
    m_thread.join();
}

void CArchiveWriter::Post(CArchiveCommand command)
{
    {
        const std::lock_guard lock(m_mutex);
        m_queue.push_back(std::move(command));
        ++m_posted;
    }
    m_wake.notify_one();
}

bool CArchiveWriter::Flush(std::chrono::milliseconds limit)
{
    std::unique_lock lock(m_mutex);
    const quint64 target = m_posted;
    return m_progress.wait_for(lock, limit, [&] { return m_done >= target; });
}

bool CArchiveWriter::WaitSettled(std::chrono::milliseconds limit)
{
    std::unique_lock lock(m_mutex);
    return m_progress.wait_for(lock, limit, [&] { return m_settled; });
}

void CArchiveWriter::Run()
{
    for (;;) {
        bool stopping = false;
        {
            std::unique_lock lock(m_mutex);
            if (m_retryAt) {
                m_wake.wait_until(lock, *m_retryAt, [&] { return m_stopping; });
            } else {
                m_wake.wait(lock, [&] {
                    return m_stopping || !m_queue.empty() || (!m_off && !m_updater.IsOpen());
                });
            }
            std::move(m_queue.begin(), m_queue.end(), std::back_inserter(m_pending));
            m_queue.clear();
            stopping = m_stopping;
        }
        m_retryAt.reset();
        Attempt();
        if (stopping)
            break;
    }
    Complete(m_pending.size()); // what a lock kept out to the end is lost
    m_pending.clear();
    m_updater.Close();
    Settle();
}

void CArchiveWriter::Attempt()
{
    if (!m_off && !m_updater.IsOpen() && !OpenFile())
        return;
    if (m_off) {
        Complete(m_pending.size());
        m_pending.clear();
        return;
    }
    for (const CArchiveCommand& command : m_pending) {
        const auto* recover = std::get_if<ArchiveCommand::Recover>(&command);
        if (recover && recover->generation == Generation()) {
            if (!Replace(QString()))
                return;
            break;
        }
    }
    if (m_pending.empty())
        return;

    CArchiveProblem problem = m_updater.Apply(m_pending);
    if (problem.failure == ArchiveFailure::Damaged) {
        if (!Replace(problem.reason))
            return;
        problem = m_updater.Apply(m_pending);
    } else if (problem.failure == ArchiveFailure::Unusable) {
        // The connection may have lost its file (removed under it, made read-only): opening
        // again tells a file that cannot serve, which is then replaced, from a passing fault.
        m_updater.Close();
        if (!OpenFile())
            return;
        problem = m_updater.Apply(m_pending);
    }

    switch (problem.failure) {
    case ArchiveFailure::None:
        m_inSpell = false;
        Complete(m_pending.size());
        m_pending.clear();
        Tell({CWriterReport::Kind::Committed, {}, {}, Generation()});
        break;
    case ArchiveFailure::Busy:
    case ArchiveFailure::Transient:
        RetryLater(problem);
        break;
    case ArchiveFailure::Damaged:
    case ArchiveFailure::Unusable:
    case ArchiveFailure::Unsupported:
        // Failed again on a file just opened: these commands themselves cannot be written.
        // Kept, they would block every line after them.
        Tell({CWriterReport::Kind::Failing, {}, problem.reason, Generation()});
        Complete(m_pending.size());
        m_pending.clear();
        break;
    }
}

bool CArchiveWriter::OpenFile()
{
    const CArchiveProblem problem = m_updater.Open();
    switch (problem.failure) {
    case ArchiveFailure::None:
        Opened();
        return true;
    case ArchiveFailure::Busy:
    case ArchiveFailure::Transient:
        RetryLater(problem);
        break;
    case ArchiveFailure::Unsupported:
        GoOff(problem.reason);
        break;
    case ArchiveFailure::Damaged:
    case ArchiveFailure::Unusable:
        return Replace(problem.reason);
    }
    Settle();
    return false;
}

bool CArchiveWriter::Replace(const QString& reason)
{
    m_updater.Close();
    m_generation = 0;
    const QString aside = m_file.MoveAside();
    if (aside.isEmpty()) {
        GoOff(reason);
        return false;
    }
    Tell({CWriterReport::Kind::MovedAside, aside, reason, 0});
    m_updater.ForgetRows();
    const CArchiveProblem problem = m_updater.Open();
    if (!problem.Ok()) {
        GoOff(problem.reason);
        return false;
    }
    Opened();
    return true;
}

void CArchiveWriter::Opened()
{
    m_generation = ++m_opened;
    Tell({CWriterReport::Kind::Opened, {}, {}, m_generation});
    Settle();
}

void CArchiveWriter::GoOff(const QString& reason)
{
    m_off = true;
    m_updater.Close();
    m_generation = 0;
    Tell({CWriterReport::Kind::Off, {}, reason, 0});
    Complete(m_pending.size());
    m_pending.clear();
    Settle();
}

void CArchiveWriter::RetryLater(const CArchiveProblem& problem)
{
    m_retryAt = Clock::now() + std::chrono::milliseconds(m_timing.retryMs);
    if (!m_inSpell) {
        m_inSpell = true;
        const bool busy = problem.failure == ArchiveFailure::Busy;
        Tell({busy ? CWriterReport::Kind::Busy : CWriterReport::Kind::Failing,
              {},
              problem.reason,
              Generation()});
    }
}

void CArchiveWriter::Settle()
{
    {
        const std::lock_guard lock(m_mutex);
        m_settled = true;
    }
    m_progress.notify_all();
}

void CArchiveWriter::Complete(size_t count)
{
    if (count == 0)
        return;
    {
        const std::lock_guard lock(m_mutex);
        m_done += count;
    }
    m_progress.notify_all();
}

void CArchiveWriter::Tell(CWriterReport report)
{
    if (m_report)
        m_report(report);
}
