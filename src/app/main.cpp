// parlendo: the operator console.

#include "console_app.h"
#include "console_options.h"
#include "install_check.h"
#include "translator_set.h"

#include <QApplication>
#include <QIcon>

int main(int argc, char* argv[])
{
    // No Qt::AA_ShareOpenGLContexts here: it makes Qt load the OpenGL stack and create a
    // context as the application starts (on X11 about 55 MB and a fifth of a second). The
    // embedded browser, which needs it, runs in its own process (parlendo-pages).
    QCoreApplication::setApplicationName(QStringLiteral("parlendo"));
    QCoreApplication::setApplicationVersion(QStringLiteral("1.2"));

    // The options are read before any window system is asked for: --help and --version work on
    // a machine without a display, and so does the packaging check.
    ConsoleOptions options;
    QStringList arguments;
    for (int i = 0; i < argc; ++i)
        arguments.append(QString::fromLocal8Bit(argv[i]));
    if (const auto exitCode = ConsoleOptions::Parse(arguments, options))
        return *exitCode;
    if (options.checkInstall) {
        const QCoreApplication core(argc, argv);
        return CheckInstall();
    }

    QApplication app(argc, argv);
    // The windows in the system's language where the console has a catalogue for it.
    CTranslatorSet translations;
    translations.Install(QLocale::system());
    // Ties the windows to the installed desktop entry (its icon and name on Wayland).
    QGuiApplication::setDesktopFileName(QStringLiteral("net.parlendo.Console"));
    QApplication::setWindowIcon(QIcon(QStringLiteral(":/console/parlendo.svg")));
    return CConsoleApp(options).Run();
}
