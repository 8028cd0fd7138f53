// parlendo: the operator console.

#include "console_app.h"
#include "console_options.h"
#include "install_check.h"

#include <QApplication>
#include <QIcon>
#include <unistd.h>

int main(int argc, char* argv[])
{
    // The embedded browser's sandbox refuses to run as root; without it the web pane stays
    // empty. Only set when the user has not decided otherwise.
    if (::geteuid() == 0 && qEnvironmentVariableIsEmpty("QTWEBENGINE_DISABLE_SANDBOX"))
        qputenv("QTWEBENGINE_DISABLE_SANDBOX", "1");
    // The embedded browser draws through OpenGL contexts that share with one global context,
    // which Qt makes only when asked to before the application object exists.
    QCoreApplication::setAttribute(Qt::AA_ShareOpenGLContexts);

    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("parlendo"));
    QApplication::setApplicationVersion(QStringLiteral("1.2"));
    // Ties the windows to the installed desktop entry (its icon and name on Wayland).
    QGuiApplication::setDesktopFileName(QStringLiteral("net.parlendo.Console"));
    QApplication::setWindowIcon(QIcon(QStringLiteral(":/console/parlendo.svg")));

    ConsoleOptions options;
    if (const auto exitCode = ConsoleOptions::Parse(QApplication::arguments(), options))
        return *exitCode;
    if (options.checkInstall)
        return CheckInstall();
    return CConsoleApp(options).Run();
}
