#include "whole_file.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QSaveFile>
#include <cerrno>

#ifdef Q_OS_UNIX
#include <unistd.h>
#endif

QString WriteWholeFile(const QString& path, QByteArrayView bytes)
{
    if (!QDir().mkpath(QFileInfo(path).absolutePath()))
        return QCoreApplication::translate("WholeFile", "The folder could not be made.");
    QSaveFile file(path);
    // Unbuffered, so a short write (full disk, size limit) shows here: the buffered path lets
    // commit() succeed after flushing only part of the data.
    if (!file.open(QIODevice::WriteOnly | QIODevice::Unbuffered))
        return file.errorString();
    for (qint64 written = 0; written < bytes.size();) {
        const qint64 n = file.write(bytes.data() + written, bytes.size() - written);
        if (n <= 0) {
            const QString reason = file.errorString();
            file.cancelWriting();
            return reason;
        }
        written += n;
    }
#ifdef Q_OS_UNIX
    // On disk before the rename, or a crash right after it could leave an empty file behind.
    if (::fsync(file.handle()) != 0) {
        const QString reason = qt_error_string(errno);
        file.cancelWriting();
        return reason;
    }
#endif
    if (!file.commit())
        return file.errorString();
    return {};
}
