#include "console_options.h"

#include "app_settings.h"
#include "layout_profile.h"

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QFileInfo>
#include <cstdio>

namespace {

void Print(std::FILE* stream, const QString& text)
{
    const QByteArray bytes = text.toLocal8Bit();
    std::fwrite(bytes.constData(), 1, static_cast<size_t>(bytes.size()), stream);
    std::fflush(stream);
}

} // namespace

std::optional<int> ConsoleOptions::Parse(const QStringList& arguments, ConsoleOptions& options)
{
    QCommandLineParser parser;
    parser.setApplicationDescription(
        QStringLiteral("Parlendo operator console.\n\n"
                       "Settings (server, credentials, automatic log-in): %1\n"
                       "Window layout: %2\n"
                       "With AutoLogin=1, SaveLogin=1, Username and Password set there, the "
                       "console logs in as it starts.")
            .arg(CAppSettings::DefaultFilePath(), CLayoutProfile::DefaultFilePath()));
    const QCommandLineOption help = parser.addHelpOption();
    const QCommandLineOption version = parser.addVersionOption();
    const QCommandLineOption demo(
        QStringLiteral("demo"),
        QStringLiteral("Run on a simulated chat server inside the console, with settings and "
                       "layout of its own (your files are not touched); logs in as demo/demo."));
    const QCommandLineOption demoVisitors(
        QStringLiteral("demo-visitors"),
        QStringLiteral("Developer: visitors the demo server starts with (default 12)."),
        QStringLiteral("n"));
    const QCommandLineOption exitAfterLogin(
        QStringLiteral("exit-after-login"),
        QStringLiteral("Developer: print start-up figures (\"shown <ms>\", then \"listed "
                       "<visitors> <ms> rss-kb <kB>\") and quit once logged in with the "
                       "visitors listed."));
    const QCommandLineOption demoQuiet(
        QStringLiteral("demo-quiet"),
        QStringLiteral("Developer: the demo's visitors neither come, go nor ask for chats."));
    const QCommandLineOption stay(
        QStringLiteral("stay"),
        QStringLiteral("Developer: with --exit-after-login, stay logged in this many seconds "
                       "after the visitors are listed before quitting (default 0)."),
        QStringLiteral("seconds"));
    const QCommandLineOption checkInstall(
        QStringLiteral("check-install"),
        QStringLiteral("Developer: print where the licence text and the page helper (the "
                       "embedded browser) are found, and quit (exit code 1 when one is missing)."));
    parser.addOption(demo);
    parser.addOption(demoVisitors);
    parser.addOption(demoQuiet);
    const QCommandLineOption demoPace(
        QStringLiteral("demo-pace"),
        QStringLiteral("Developer: the demo's visitors arrive, leave and ask for chats n times "
                       "as often (default 1)."),
        QStringLiteral("n"));
    parser.addOption(demoPace);
    parser.addOption(exitAfterLogin);
    parser.addOption(stay);
    parser.addOption(checkInstall);

    if (!parser.parse(arguments)) {
        Print(stderr, parser.errorText() + QLatin1Char('\n'));
        return 1;
    }
    if (parser.isSet(help)) {
        // Read before the application object exists, which would name the program itself.
        QString text = parser.helpText();
        text.replace(QLatin1String("<executable_name>"),
                     QFileInfo(arguments.value(0, QStringLiteral("parlendo"))).fileName());
        Print(stdout, text);
        return 0;
    }
    if (parser.isSet(version)) {
        Print(stdout, QCoreApplication::applicationName() + QLatin1Char(' ') +
                          QCoreApplication::applicationVersion() + QLatin1Char('\n'));
        return 0;
    }
    if (!parser.positionalArguments().isEmpty()) {
        Print(stderr, QStringLiteral("unexpected argument: %1\n")
                          .arg(parser.positionalArguments().constFirst()));
        return 1;
    }
    options.demo = parser.isSet(demo);
    options.demoQuiet = parser.isSet(demoQuiet);
    options.exitAfterLogin = parser.isSet(exitAfterLogin);
    if (parser.isSet(stay)) {
        bool ok = false;
        const int seconds = parser.value(stay).toInt(&ok);
        if (!ok || seconds < 0 || seconds > 86'400) {
            Print(stderr, QStringLiteral("--stay takes a number of seconds from 0 to 86400\n"));
            return 1;
        }
        options.staySeconds = seconds;
    }
    options.checkInstall = parser.isSet(checkInstall);
    if (parser.isSet(demoVisitors)) {
        bool ok = false;
        const int n = parser.value(demoVisitors).toInt(&ok);
        if (!ok || n < 0 || n > 100'000) {
            Print(stderr, QStringLiteral("--demo-visitors takes a number from 0 to 100000\n"));
            return 1;
        }
        options.demoVisitors = n;
    }
    if (parser.isSet(demoPace)) {
        bool ok = false;
        const int n = parser.value(demoPace).toInt(&ok);
        if (!ok || n < 1 || n > 1'000) {
            Print(stderr, QStringLiteral("--demo-pace takes a number from 1 to 1000\n"));
            return 1;
        }
        options.demoPace = n;
    }
    return std::nullopt;
}
