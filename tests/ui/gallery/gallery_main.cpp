// parlendo-gallery: shows the widget kit in every state.
//   parlendo-gallery                 opens the gallery window
//   parlendo-gallery --grab FILE     writes a picture of it and exits (works offscreen)

#include "gallery_window.h"

#include <QApplication>
#include <QCommandLineParser>
#include <QPixmap>
#include <cstdio>

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    QApplication::setApplicationDisplayName(QStringLiteral("Parlendo"));

    QCommandLineParser parser;
    parser.setApplicationDescription(
        QStringLiteral("Every widget of the Parlendo kit in every state."));
    parser.addHelpOption();
    const QCommandLineOption grab(
        QStringLiteral("grab"),
        QStringLiteral("Write a picture of the gallery to <file> and exit."),
        QStringLiteral("file"));
    parser.addOption(grab);
    parser.process(app);

    CGalleryWindow window;
    if (parser.isSet(grab)) {
        window.adjustSize();
        const QString file = parser.value(grab);
        if (!window.grab().save(file)) {
            std::fprintf(stderr, "cannot write %s\n", qPrintable(file));
            return 1;
        }
        return 0;
    }
    window.show();
    return app.exec();
}
