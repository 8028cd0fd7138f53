// parlendo-day-shots DIR: runs Ann's day in the real windows against the simulated server and
// saves the README's pictures into DIR: each window of the day at its step, then the options
// dialogs and the canned answers editor as the day left them.
#include "app_settings.h"
#include "base_url_dlg.h"
#include "canned_msg_dlg.h"
#include "day_stage.h"
#include "ip_block_dlg.h"
#include "operator_day.h"
#include "options_dlg.h"
#include "printing_notifier.h"

#include <QApplication>
#include <QDir>
#include <cstdio>

int main(int argc, char* argv[])
{
    QApplication app(argc, argv);
    if (QApplication::arguments().size() != 2) {
        std::fprintf(stderr, "usage: parlendo-day-shots FOLDER\n");
        return 2;
    }
    const QDir folder(QApplication::arguments().at(1));
    bool allSaved = true;
    const auto save = [&](const QString& name, QWidget* window) {
        QCoreApplication::processEvents();
        const QString path = folder.filePath(name + QStringLiteral(".png"));
        const bool saved = window->grab().save(path);
        allSaved = allSaved && saved;
        std::printf("%s %s\n", saved ? "wrote" : "could not write", qPrintable(path));
    };
    const auto show = [&](QDialog& dialog, const char* name) {
        dialog.show();
        CDayStage::WaitFor([&dialog] { return dialog.isVisible(); });
        save(QString::fromLatin1(name), &dialog);
        dialog.reject();
    };

    CPrintingNotifier notifier;
    CDayStage stage(notifier);
    COperatorDay day(stage, save);
    if (!day.Run()) {
        std::fprintf(stderr, "the day stopped: %s\n", qPrintable(day.Error()));
        return 1;
    }
    stage.settings.m_blockIp[0] = QStringLiteral("203.0.113.7");
    stage.settings.m_baseUrl[0] = QStringLiteral("http://*example.com");
    COptionsDlg options(stage.settings, notifier);
    show(options, "options");
    CIpBlockDlg blocking(stage.settings);
    show(blocking, "ip-blocking");
    CBaseUrlDlg domains(stage.settings);
    show(domains, "domain-names");
    CCannedMsgDlg canned;
    show(canned, "canned-answers");
    return allSaved ? 0 : 1;
}
