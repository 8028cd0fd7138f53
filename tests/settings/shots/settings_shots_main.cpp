// parlendo-settings-shots: pictures of the three settings dialogs, filled with sample values.
//   parlendo-settings-shots --grab DIR    writes options.png, ip-blocking.png and
//                                         domain-names.png to DIR and exits (works offscreen)
//   parlendo-settings-shots               opens the options dialog on the sample values
// The sample record lives in a throw-away folder: the operator's own settings are neither read
// nor written.

#include "app_settings.h"
#include "base_url_dlg.h"
#include "ip_block_dlg.h"
#include "options_dlg.h"

#include <QApplication>
#include <QCommandLineParser>
#include <QDir>
#include <QImage>
#include <QPainter>
#include <QTemporaryDir>
#include <cstdio>

namespace {

void FillSample(CAppSettings& s)
{
    s.m_serverAddress = QStringLiteral("chat.parlendo.net");
    s.m_reconnect = 1;
    s.m_showHints = 1;
    s.m_notifySound = 1;
    s.m_autoLogin = 1;
    s.m_blockIp[0] = QStringLiteral("192.168.1.20");
    s.m_blockIp[1] = QStringLiteral("10.0.0.7");
    s.m_baseUrl[0] = QStringLiteral("http://www.example.com");
    s.m_baseUrl[1] = QStringLiteral("https://*.example.com");
}

// The dialog as it shows, under a plain caption bar with its title: offscreen there is no
// window manager to draw one.
QImage WithTitle(QDialog& dialog)
{
    dialog.adjustSize();
    dialog.show();
    const QImage body = dialog.grab().toImage();
    const QFontMetrics metrics(dialog.font());
    const int bar = metrics.height() + 10;
    QImage picture(body.width(), body.height() + bar, QImage::Format_ARGB32);
    picture.setDevicePixelRatio(body.devicePixelRatio());
    QPainter painter(&picture);
    const QPalette& palette = dialog.palette();
    const QRect caption(0, 0, body.width(), bar);
    painter.fillRect(caption, palette.color(QPalette::Highlight));
    painter.setPen(palette.color(QPalette::HighlightedText));
    painter.setFont(dialog.font());
    painter.drawText(caption.adjusted(8, 0, 0, 0), Qt::AlignLeft | Qt::AlignVCenter,
                     dialog.windowTitle());
    painter.drawImage(0, bar, body);
    dialog.hide();
    return picture;
}

bool Save(const QImage& picture, const QString& path)
{
    if (picture.save(path))
        return true;
    std::fprintf(stderr, "cannot write %s\n", qPrintable(path));
    return false;
}

} // namespace

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    QApplication::setApplicationDisplayName(QStringLiteral("Parlendo"));

    QCommandLineParser parser;
    parser.setApplicationDescription(QStringLiteral("The Parlendo settings dialogs."));
    parser.addHelpOption();
    const QCommandLineOption grab(QStringLiteral("grab"),
                                  QStringLiteral("Write pictures of the dialogs to <folder>."),
                                  QStringLiteral("folder"));
    parser.addOption(grab);
    parser.process(app);

    QTemporaryDir scratch;
    if (!scratch.isValid())
        return 1;
    CAppSettings settings(scratch.filePath(QStringLiteral("Operator.conf")));
    FillSample(settings);

    COptionsDlg options(settings);
    if (!parser.isSet(grab)) {
        options.exec();
        return 0;
    }
    const QDir folder(parser.value(grab));
    if (!QDir().mkpath(folder.path()))
        return 1;
    CIpBlockDlg ipBlock(settings, &options);
    CBaseUrlDlg baseUrl(settings, &options);
    const bool ok = Save(WithTitle(options), folder.filePath(QStringLiteral("options.png"))) &&
                    Save(WithTitle(ipBlock), folder.filePath(QStringLiteral("ip-blocking.png"))) &&
                    Save(WithTitle(baseUrl), folder.filePath(QStringLiteral("domain-names.png")));
    return ok ? 0 : 1;
}
