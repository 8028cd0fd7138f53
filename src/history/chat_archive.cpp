#include "chat_archive.h"

#include "archive_file.h"

#include <QDateTime>
#include <QThread>
#include <utility>

namespace {

constexpr qint64 kDayMs = 24LL * 60 * 60 * 1000;
// Reads wait for a lock only briefly: the window must stay responsive.
constexpr int kReadBusyTimeoutMs = 250;

} // namespace

CChatArchive::CChatArchive(QString path, CArchiveWriter::Timing timing, QObject* parent)
    : QObject(parent), m_path(path.isEmpty() ? CArchiveFile::DefaultPath() : std::move(path)),
      m_reader(m_path, kReadBusyTimeoutMs)
{
    qRegisterMetaType<CArchivedChat>();
    m_writer = std::make_unique<CArchiveWriter>(m_path, timing, [this](const CWriterReport& r) {
        // The writer's thread must not wait: the report goes to this object's thread.
        QMetaObject::invokeMethod(
            this, [this, r] { OnReport(r); }, Qt::QueuedConnection);
    });
}

CChatArchive::~CChatArchive()
{
    m_writer.reset();
}

qint64 CChatArchive::Now()
{
    return QDateTime::currentMSecsSinceEpoch();
}

CChatArchive::ChatKey CChatArchive::BeginChat(int callId, const QString& operatorName, qint64 at)
{
    const ChatKey key = m_nextKey.fetch_add(1);
    m_writer->Post(ArchiveCommand::Begin{key, callId, operatorName, at});
    return key;
}

void CChatArchive::SetVisitor(ChatKey chat, const QString& visitor)
{
    m_writer->Post(ArchiveCommand::Visitor{chat, visitor});
}

void CChatArchive::AddLine(ChatKey chat, const CTranscriptLine& line)
{
    m_writer->Post(ArchiveCommand::Line{chat, line});
}

void CChatArchive::MarkTransferred(ChatKey chat)
{
    m_writer->Post(ArchiveCommand::Transferred{chat});
}

void CChatArchive::EndChat(ChatKey chat, qint64 at)
{
    m_writer->Post(ArchiveCommand::End{chat, at});
}

void CChatArchive::ApplyRetention(int days, qint64 now)
{
    if (days > 0)
        m_writer->Post(ArchiveCommand::Retain{now - days * kDayMs});
}

void CChatArchive::DeleteAll()
{
    m_writer->Post(ArchiveCommand::DeleteAll{});
}

bool CChatArchive::Flush(int timeoutMs)
{
    return m_writer->Flush(std::chrono::milliseconds(timeoutMs));
}

QList<CArchivedChat> CChatArchive::Chats(const CChatFilter& filter, int limit,
                                         const CArchivedChat* after)
{
    QList<CArchivedChat> chats;
    if (ReadyToRead())
        ReadFailed(m_reader.Chats(filter, limit, after, chats));
    return chats;
}

QList<CArchivedLine> CChatArchive::Lines(qint64 chat, const QString& search)
{
    QList<CArchivedLine> lines;
    if (ReadyToRead())
        ReadFailed(m_reader.Lines(chat, search, lines));
    return lines;
}

bool CChatArchive::ReadyToRead()
{
    Q_ASSERT_X(QThread::currentThread() == thread(), "CChatArchive",
               "reads run on the archive's thread");
    // Right after start the writer may still be making the file; reading first would find none.
    m_writer->WaitSettled(std::chrono::seconds(5));
    const quint64 generation = m_writer->Generation();
    if (generation != m_readerGeneration) {
        m_reader.Close(); // a file that has been replaced since
        m_readerGeneration = generation;
    }
    return generation != 0;
}

void CChatArchive::ReadFailed(const CArchiveProblem& problem)
{
    switch (problem.failure) {
    case ArchiveFailure::None:
        m_readFailureTold = false;
        return;
    case ArchiveFailure::Damaged:
        // The writer owns the file: it moves it aside, once, and says so.
        m_reader.Close();
        m_writer->Post(ArchiveCommand::Recover{m_readerGeneration});
        return;
    case ArchiveFailure::Busy:
        return; // the next read will do
    default:
        m_reader.Close();
        if (!m_readFailureTold) {
            m_readFailureTold = true;
            emit Notice(tr("The chat history could not be read: %1").arg(problem.reason));
        }
        return;
    }
}

void CChatArchive::OnReport(const CWriterReport& report)
{
    switch (report.kind) {
    case CWriterReport::Kind::Opened:
    case CWriterReport::Kind::Committed:
        emit Changed();
        break;
    case CWriterReport::Kind::MovedAside:
        emit Notice(report.reason.isEmpty()
                        ? tr("The chat history was damaged and has been moved to %1; a new one "
                             "has been started.")
                              .arg(report.detail)
                        : tr("The chat history could not be used (%1) and has been moved to %2; "
                             "a new one has been started.")
                              .arg(report.reason, report.detail));
        break;
    case CWriterReport::Kind::Busy:
        emit Notice(tr("The chat history is in use by another program. New lines are kept and "
                       "written as soon as it is free."));
        break;
    case CWriterReport::Kind::Failing:
        emit Notice(tr("Lines could not be written to the chat history: %1").arg(report.reason));
        break;
    case CWriterReport::Kind::Off:
        emit Notice(tr("No chat history is kept in this session: %1").arg(report.reason));
        break;
    }
}
