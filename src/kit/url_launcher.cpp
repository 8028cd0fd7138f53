#include "url_launcher.h"

#include <QCoreApplication>
#include <QDesktopServices>
#include <QDir>
#include <QFileInfo>

namespace {

bool IsWebScheme(const QString& scheme)
{
    return scheme == QLatin1String("http") || scheme == QLatin1String("https") ||
           scheme == QLatin1String("ftp");
}

} // namespace

CUrlLauncher::CUrlLauncher()
    : m_opener([](const QUrl& url) { return QDesktopServices::openUrl(url); })
{
}

CUrlLauncher::CUrlLauncher(Opener opener) : m_opener(std::move(opener)) {}

const CUrlLauncher& CUrlLauncher::Desktop()
{
    static const CUrlLauncher launcher;
    return launcher;
}

void CUrlLauncher::SetShippedFiles(const QStringList& directories, const QStringList& names)
{
    m_directories = directories;
    m_names = names;
}

QStringList CUrlLauncher::Directories() const
{
    if (!m_directories.isEmpty())
        return m_directories;
    // Resolved late: the launcher can exist before the application object does.
    const QString appDir = QCoreApplication::applicationDirPath();
    return {appDir, QDir::cleanPath(QDir(appDir).filePath(
                        QStringLiteral(PARLENDO_DATA_DIR_FROM_BIN)))};
}

QUrl CUrlLauncher::ShippedFile(const QString& name, int* code) const
{
    for (const QString& dir : Directories()) {
        const QFileInfo info(QDir(dir).filePath(name));
        if (info.isFile())
            return QUrl::fromLocalFile(info.canonicalFilePath());
    }
    *code = kFileNotFound;
    return {};
}

bool CUrlLauncher::IsShippedPath(const QString& path) const
{
    const QString wanted = QFileInfo(path).canonicalFilePath();
    if (wanted.isEmpty())
        return false;
    for (const QString& name : m_names) {
        int ignored = 0;
        const QUrl shipped = ShippedFile(name, &ignored);
        if (shipped.isValid() && shipped.toLocalFile() == wanted)
            return true;
    }
    return false;
}

QUrl CUrlLauncher::Resolve(const QString& address, int* code) const
{
    int dummy = 0;
    if (!code)
        code = &dummy;
    *code = kOpened;

    QString text = address.trimmed();
    if (text.isEmpty()) {
        *code = kFileNotFound;
        return {};
    }

    // The shipped files go by their bare names ("license.txt"), as the about box gives them.
    const QString bare = text.startsWith(QLatin1String("./")) ? text.mid(2) : text;
    if (m_names.contains(bare))
        return ShippedFile(bare, code);

    QUrl url(text, QUrl::TolerantMode);
    if (url.scheme().isEmpty()) {
        // Host names typed without a scheme, as visitors' pages are sometimes reported.
        if (text.startsWith(QLatin1String("www."), Qt::CaseInsensitive))
            url = QUrl(QStringLiteral("http://") + text, QUrl::TolerantMode);
        else if (text.startsWith(QLatin1String("ftp."), Qt::CaseInsensitive))
            url = QUrl(QStringLiteral("ftp://") + text, QUrl::TolerantMode);
        else {
            // A bare name that is not one of ours: nothing is looked up on the disk for it.
            *code = kFileNotFound;
            return {};
        }
    }
    if (!url.isValid()) {
        *code = kFileNotFound;
        return {};
    }

    const QString scheme = url.scheme().toLower();
    if (IsWebScheme(scheme)) {
        if (url.host().isEmpty()) {
            *code = kFileNotFound;
            return {};
        }
        return url;
    }
    if (scheme == QLatin1String("mailto"))
        return url;
    if (scheme == QLatin1String("file") && url.isLocalFile() && IsShippedPath(url.toLocalFile()))
        return QUrl::fromLocalFile(QFileInfo(url.toLocalFile()).canonicalFilePath());

    *code = kAccessDenied;
    return {};
}

int CUrlLauncher::OpenUrl(const QString& address, Origin origin) const
{
    int code = kOpened;
    const QUrl url = Resolve(address, &code);
    if (code != kOpened)
        return code;
    const QString scheme = url.scheme().toLower();
    if (origin == Origin::Network && scheme != QLatin1String("http") &&
        scheme != QLatin1String("https"))
        return kAccessDenied;
    if (!m_opener || !m_opener(url))
        return kNoAssociation;
    return kOpened;
}

QString CUrlLauncher::ErrorText(int code)
{
    switch (code) {
    case 0:
        return QCoreApplication::translate("CUrlLauncher", "The operating system is out\nof memory or resources.");
    case 2:
        return QCoreApplication::translate("CUrlLauncher", "The specified file was not found.");
    case 3:
        return QCoreApplication::translate("CUrlLauncher", "The specified path was not found.");
    case 5:
        return QCoreApplication::translate("CUrlLauncher", "The operating system denied\naccess to the specified file.");
    case 8:
        return QCoreApplication::translate("CUrlLauncher", "There was not enough memory to complete the operation.");
    case 11:
        return QCoreApplication::translate("CUrlLauncher", "The .EXE file is invalid\n(non-Win32 .EXE or error in .EXE image).");
    case 26:
        return QCoreApplication::translate("CUrlLauncher", "A sharing violation occurred. ");
    case 27:
        return QCoreApplication::translate("CUrlLauncher", "The filename association is\nincomplete or invalid.");
    case 28:
        return QCoreApplication::translate(
            "CUrlLauncher",
            "The DDE transaction could not\nbe completed because the request timed out.");
    case 29:
        return QCoreApplication::translate("CUrlLauncher", "The DDE transaction failed.");
    case 30:
        return QCoreApplication::translate("CUrlLauncher", "The DDE transaction could not\nbe completed because other DDE "
                              "transactions\nwere being processed.");
    case 31:
        return QCoreApplication::translate(
            "CUrlLauncher",
            "There is no application associated\nwith the given filename extension.");
    case 32:
        return QCoreApplication::translate("CUrlLauncher", "The specified dynamic-link library was not found.");
    default:
        return QCoreApplication::translate("CUrlLauncher", "Unknown Error (%1) occurred.").arg(code);
    }
}

QString CUrlLauncher::FailureMessage(int code)
{
    return QCoreApplication::translate("CUrlLauncher", "Unable to open hyperlink:\n\n") + ErrorText(code);
}
