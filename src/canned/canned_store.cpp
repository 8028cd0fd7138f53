#include "canned_store.h"

#include "result_codes.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <QStandardPaths>

namespace {

const QString kFileName = QStringLiteral("canned.dat");

QString& FilePathOverride()
{
    static QString path;
    return path;
}

} // namespace

QString CannedAnswersFilePath()
{
    if (!FilePathOverride().isEmpty())
        return FilePathOverride();
    return QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation) +
           QStringLiteral("/Parlendo/") + kFileName;
}

void SetCannedAnswersFilePath(const QString& path)
{
    FilePathOverride() = path;
}

QString ShippedCannedAnswersFilePath()
{
    return QCoreApplication::applicationDirPath() + QLatin1Char('/') + kFileName;
}

CannedAnswers LoadCannedAnswers()
{
    return LoadCannedAnswers(CannedAnswersFilePath(), ShippedCannedAnswersFilePath());
}

CannedAnswers LoadCannedAnswers(const QString& userFile, const QString& shippedFile)
{
    const bool useShipped = !QFileInfo::exists(userFile) && QFileInfo::exists(shippedFile);
    QFile file(useShipped ? shippedFile : userFile);
    if (!file.open(QIODevice::ReadOnly))
        return BuiltInCannedAnswers();
    // A read that fails part way leaves what came, which parses as a truncated file.
    const QByteArray bytes = file.readAll();
    return ParseCannedAnswers(
        std::string_view(bytes.constData(), static_cast<size_t>(bytes.size())));
}

int SaveCannedAnswers(const CannedAnswers& categories)
{
    return SaveCannedAnswers(categories, CannedAnswersFilePath());
}

int SaveCannedAnswers(const CannedAnswers& categories, const QString& file)
{
    const std::string bytes = SerializeCannedAnswers(categories);
    return WriteWholeFile(file, QByteArrayView(bytes.data(), static_cast<qsizetype>(bytes.size())))
               ? rc::kOk
               : rc::kFileNotSaved;
}

bool WriteWholeFile(const QString& file, QByteArrayView bytes)
{
    if (!QDir().mkpath(QFileInfo(file).absolutePath()))
        return false;
    QSaveFile out(file);
    if (!out.open(QIODevice::WriteOnly))
        return false;
    // Flushed here, since a QSaveFile of Qt 6.4 still commits when the flush inside commit()
    // fails (a short write on a full disk); cancelled, it removes its temporary file instead.
    if (out.write(bytes.data(), bytes.size()) != bytes.size() || !out.flush()) {
        out.cancelWriting();
        return false;
    }
    return out.commit();
}
