#include "install_check.h"

#include "about_dlg.h"
#include "url_launcher.h"
#include "web_pane.h"

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

#ifdef PARLENDO_WEBENGINE_MODULE
    const QString module = CWebPane::LoadableModule();
    if (!module.isEmpty()) {
        PrintLine(QStringLiteral("browser module: %1").arg(module));
    } else {
        PrintLine(QStringLiteral("browser module: not found or not loadable (looked in %1)")
                      .arg(CWebPane::ModuleDirectories().join(QStringLiteral(", "))));
        complete = false;
    }
#else
    PrintLine(QStringLiteral("browser module: none in this build (pages open in the desktop's "
                             "browser)"));
#endif
    std::fflush(stdout);
    return complete ? 0 : 1;
}
