#include "canned_store.h"

#include "result_codes.h"
#include "whole_file.h"

#include <QCoreApplication>
#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
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

CannedAnswers LoadCannedAnswers(bool* whole)
{
    return LoadCannedAnswers(CannedAnswersFilePath(), ShippedCannedAnswersFilePath(), whole);
}

CannedAnswers LoadCannedAnswers(const QString& userFile, const QString& shippedFile, bool* whole)
{
    if (whole)
        *whole = true;
    const bool useShipped = !QFileInfo::exists(userFile) && QFileInfo::exists(shippedFile);
    QFile file(useShipped ? shippedFile : userFile);
    if (!file.open(QIODevice::ReadOnly))
        return BuiltInCannedAnswers();
    // A read that fails part way leaves what came, which parses as a truncated file.
    const QByteArray bytes = file.readAll();
    return ParseCannedAnswers(
        std::string_view(bytes.constData(), static_cast<size_t>(bytes.size())), whole);
}

QString KeepDamagedCannedAnswers()
{
    const QString original = CannedAnswersFilePath();
    const QString kept = original + QStringLiteral(".damaged-") +
                         QDateTime::currentDateTime().toString(QStringLiteral("yyyyMMdd-HHmmss"));
    return QFile::copy(original, kept) ? kept : QString();
}

int SaveCannedAnswers(const CannedAnswers& categories)
{
    return SaveCannedAnswers(categories, CannedAnswersFilePath());
}

int SaveCannedAnswers(const CannedAnswers& categories, const QString& file)
{
    const std::string bytes = SerializeCannedAnswers(categories);
    return WriteWholeFile(file, QByteArrayView(bytes.data(), static_cast<qsizetype>(bytes.size())))
                   .isEmpty()
               ? rc::kOk
               : rc::kFileNotSaved;
}
