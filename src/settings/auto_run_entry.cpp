#include "auto_run_entry.h"

#include "result_codes.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <QStandardPaths>
#include <algorithm>
#include <utility>

namespace {

// Characters that make the Desktop Entry format require a quoted argument.
bool IsReserved(QChar c)
{
    static const QString reserved = QStringLiteral(" \t\n\"'\\><~|&;$*?#()`");
    return reserved.contains(c);
}

// The Exec value for a program path with no arguments. Three layers of the format apply, in
// this order: '%' starts a field code, so a literal one is doubled; an argument holding a
// reserved character is quoted, with '"', '`', '$' and '\' escaped inside the quotes; then
// the whole value is a string value, whose own escapes double every backslash again.
QString ExecValue(const QString& path)
{
    QString argument = path;
    argument.replace(QLatin1Char('%'), QStringLiteral("%%"));
    if (std::any_of(argument.cbegin(), argument.cend(), IsReserved)) {
        QString quoted = QStringLiteral("\"");
        for (const QChar c : std::as_const(argument)) {
            if (c == u'"' || c == u'`' || c == u'$' || c == u'\\')
                quoted += QLatin1Char('\\');
            quoted += c;
        }
        quoted += QLatin1Char('"');
        argument = quoted;
    }
    QString value;
    for (const QChar c : std::as_const(argument)) {
        if (c == u'\\')
            value += QStringLiteral("\\\\");
        else if (c == u'\n')
            value += QStringLiteral("\\n");
        else if (c == u'\t')
            value += QStringLiteral("\\t");
        else if (c == u'\r')
            value += QStringLiteral("\\r");
        else
            value += c;
    }
    return value;
}

} // namespace

CAutoRunEntry::CAutoRunEntry(QString entryPath, QString executablePath)
    : m_entryPath(entryPath.isEmpty() ? DefaultEntryPath() : std::move(entryPath)),
      m_executablePath(std::move(executablePath))
{
}

QString CAutoRunEntry::DefaultEntryPath()
{
    return QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation) +
           QStringLiteral("/autostart/parlendo.desktop");
}

QByteArray CAutoRunEntry::EntryText(const QString& executablePath)
{
    QString text = QStringLiteral("[Desktop Entry]\n"
                                  "Type=Application\n"
                                  "Name=Parlendo\n"
                                  "Comment=Operator console of the Parlendo live chat\n"
                                  "Exec=%1\n"
                                  "Terminal=false\n")
                       .arg(ExecValue(executablePath));
    return text.toUtf8();
}

int CAutoRunEntry::Update(bool enabled) const
{
    if (!enabled) {
        const QFileInfo entry(m_entryPath);
        if (!entry.exists() && !entry.isSymLink())
            return rc::kOk;
        return QFile::remove(m_entryPath) ? rc::kOk : rc::kFileNotSaved;
    }

    const QString executable =
        m_executablePath.isEmpty() ? QCoreApplication::applicationFilePath() : m_executablePath;
    if (executable.isEmpty() || !QDir().mkpath(QFileInfo(m_entryPath).absolutePath()))
        return rc::kFileNotSaved;
    QSaveFile file(m_entryPath);
    if (!file.open(QIODevice::WriteOnly))
        return rc::kFileNotSaved;
    const QByteArray text = EntryText(executable);
    // Flushed here: a QSaveFile of Qt 6.4 still commits when the flush inside commit() fails.
    if (file.write(text) != text.size() || !file.flush()) {
        file.cancelWriting();
        return rc::kFileNotSaved;
    }
    return file.commit() ? rc::kOk : rc::kFileNotSaved;
}
