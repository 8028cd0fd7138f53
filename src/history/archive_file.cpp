#include "archive_file.h"

#include <QCoreApplication>
#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStandardPaths>
#include <utility>

namespace {

constexpr QFile::Permissions kPrivateFile = QFile::ReadOwner | QFile::WriteOwner;
constexpr QFile::Permissions kPrivateFolder = kPrivateFile | QFile::ExeOwner;

} // namespace

CArchiveFile::CArchiveFile(QString path) : m_path(std::move(path)) {}

QString CArchiveFile::DefaultPath()
{
    return QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation) +
           QStringLiteral("/Parlendo/history.sqlite");
}

QString CArchiveFile::Prepare() const
{
    const QFileInfo folder(QFileInfo(m_path).absolutePath());
    if (!folder.isDir()) {
        QDir().mkpath(folder.absolutePath());
        QDir(folder.absolutePath()).mkdir(folder.fileName(), kPrivateFolder);
        if (!QFileInfo(folder.filePath()).isDir())
            return QCoreApplication::translate("CArchiveFile", "The folder %1 could not be made.")
                .arg(QDir::toNativeSeparators(folder.filePath()));
    } else if (folder.filePath() == QFileInfo(DefaultPath()).absolutePath()) {
        QFile::setPermissions(folder.filePath(), kPrivateFolder); // ours, whoever made it
    }
    QFile file(m_path);
    if (!file.exists()) {
        if (!file.open(QIODevice::WriteOnly | QIODevice::NewOnly, kPrivateFile) && !file.exists())
            return file.errorString();
        file.close();
    }
    // A file copied in from elsewhere keeps its mode; the history is the operator's alone.
    QFile::setPermissions(m_path, kPrivateFile);
    return {};
}

QString CArchiveFile::MoveAside() const
{
    const QString stamp = QDateTime::currentDateTime().toString(QStringLiteral("yyyyMMdd-HHmmss"));
    QString aside = m_path + QStringLiteral(".damaged-") + stamp;
    for (int n = 2; QFileInfo::exists(aside); ++n)
        aside =
            m_path + QStringLiteral(".damaged-") + stamp + QLatin1Char('-') + QString::number(n);
    if (!QFile::rename(m_path, aside))
        return {};
    // Under its new name SQLite finds the WAL again, should anyone try to read what is left.
    QFile::rename(m_path + QStringLiteral("-wal"), aside + QStringLiteral("-wal"));
    QFile::remove(m_path + QStringLiteral("-shm"));
    return aside;
}
