#include "install_check.h"

#include "about_dlg.h"
#include "url_launcher.h"
#include "page_helper.h"
#include "page_protocol.h"

#include <QProcess>
#include <QStringList>
#include <cstdio>

namespace {

void PrintLine(const QString& text)
{
    std::fputs(qPrintable(text + QLatin1Char('\n')), stdout);
}

} // namespace

int CheckInstall()
{
    bool complete = true;

    // The same launcher and name the about box's link uses.
    int code = 0;
    const QUrl licence =
        CUrlLauncher::Desktop().Resolve(QString::fromLatin1(CAboutDlg::kLicenceFile), &code);
    if (code == CUrlLauncher::kOpened) {
        PrintLine(QStringLiteral("licence: %1").arg(licence.toLocalFile()));
    } else {
        PrintLine(QStringLiteral("licence: %1 not found")
                      .arg(QString::fromLatin1(CAboutDlg::kLicenceFile)));
        complete = false;
    }

#ifdef PARLENDO_PAGE_HELPER
    // Run, not only found: a helper whose libraries are missing would fail at the first page.
    const QString helper = CPageHelper::FindProgram();
    QProcess check;
    if (!helper.isEmpty()) {
        check.start(helper, {QLatin1String(PageProtocol::kCheckOption)});
        check.waitForFinished();
    }
    const bool runs = !helper.isEmpty() && check.error() == QProcess::UnknownError &&
                      check.exitStatus() == QProcess::NormalExit && check.exitCode() == 0;
    if (runs) {
        PrintLine(QStringLiteral("page helper: %1").arg(helper));
    } else {
        PrintLine(QStringLiteral("page helper: not found or does not run (looked in %1)")
                      .arg(CPageHelper::Directories().join(QStringLiteral(", "))));
        complete = false;
    }
#else
    PrintLine(QStringLiteral("page helper: none in this build (pages open in the desktop's "
                             "browser)"));
#endif
    std::fflush(stdout);
    return complete ? 0 : 1;
}
