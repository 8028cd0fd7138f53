#include "archive_connection.h"

#include <QCoreApplication>
#include <QSqlQuery>
#include <QStringList>
#include <atomic>

namespace {

QString UniqueName()
{
    static std::atomic<int> count{0};
    return QStringLiteral("parlendo-history-%1").arg(count.fetch_add(1));
}

} // namespace

CArchiveConnection::CArchiveConnection(const QString& path, Mode mode, int busyTimeoutMs)
    : m_name(UniqueName()), m_path(path), m_mode(mode), m_busyTimeoutMs(busyTimeoutMs)
{
}

CArchiveConnection::~CArchiveConnection()
{
    if (!m_db.isValid())
        return;
    m_db.close();
    m_db = QSqlDatabase();
    QSqlDatabase::removeDatabase(m_name);
}

CArchiveProblem CArchiveConnection::Open()
{
    if (!QSqlDatabase::isDriverAvailable(QStringLiteral("QSQLITE"))) {
        return {ArchiveFailure::Unsupported,
                QCoreApplication::translate(
                    "CArchiveConnection",
                    "Qt's SQLite driver is not installed (Debian: libqt6sql6-sqlite).")};
    }
    m_db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), m_name);
    m_db.setDatabaseName(m_path);
    if (m_mode == Mode::Read)
        m_db.setConnectOptions(QStringLiteral("QSQLITE_OPEN_READONLY"));
    if (!m_db.open())
        return ProblemOf(m_db.lastError());

    // The wait comes first, so that the statements after it wait for a lock too.
    QStringList pragmas = {QStringLiteral("PRAGMA busy_timeout = %1").arg(m_busyTimeoutMs)};
    // WAL: readers (the history window, another console) never wait for the writer, and a
    // commit appends to the log instead of rewriting pages. FULL syncs the log at every commit,
    // so a power cut loses nothing that was committed; the writer thread pays for it, not the
    // window. Deleted chats are overwritten on disk, not only unlinked, whatever the default of
    // the SQLite build.
    if (m_mode == Mode::Write)
        pragmas << QStringLiteral("PRAGMA journal_mode = WAL")
                << QStringLiteral("PRAGMA synchronous = FULL")
                << QStringLiteral("PRAGMA secure_delete = ON");
    for (const QString& pragma : pragmas) {
        const CArchiveProblem problem = ProblemOf(Exec(pragma));
        if (!problem.Ok())
            return problem;
    }
    return {};
}

QSqlError CArchiveConnection::Exec(const QString& sql, QVariant* value)
{
    QSqlQuery query(m_db);
    if (!query.exec(sql))
        return query.lastError();
    if (value)
        *value = query.next() ? query.value(0) : QVariant();
    return {};
}

CArchiveProblem RunQuery(QSqlQuery& query, const QVariantList& values)
{
    for (qsizetype i = 0; i < values.size(); ++i) {
        // The driver binds a null QString as NULL; an empty name or text is still a text.
        const QVariant& value = values[i];
        const bool nullText = value.typeId() == QMetaType::QString && value.toString().isNull();
        query.bindValue(static_cast<int>(i), nullText ? QVariant(QStringLiteral("")) : value);
    }
    return query.exec() ? CArchiveProblem{} : ProblemOf(query.lastError());
}
