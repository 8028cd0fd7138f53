// parlendo-canned-shots: pictures of the canned answers dialogs and of the chat window's panel,
// on sample answers.
//   parlendo-canned-shots --grab DIR    writes canned-answers.png, canned-edit.png and
//                                       canned-panel.png to DIR and exits (works offscreen)
//   parlendo-canned-shots               opens the canned answers dialog on the sample answers
// The sample file lives in a throw-away folder: the operator's own answers are neither read
// nor written.

#include "canned_edit_dlg.h"
#include "canned_msg_dlg.h"
#include "canned_panel.h"
#include "canned_store.h"
#include "canned_tree_model.h"

#include <QApplication>
#include <QCommandLineParser>
#include <QDir>
#include <QHBoxLayout>
#include <QImage>
#include <QPainter>
#include <QPlainTextEdit>
#include <QTemporaryDir>
#include <QTreeView>
#include <cstdio>

namespace {

CannedAnswers Sample()
{
    CannedAnswers answers = BuiltInCannedAnswers();
    answers[1].expanded = true;
    answers.push_back(
        {"Orders",
         {{"Delivery times", "Orders placed before 2 pm leave our warehouse the same day."},
          {"Returns",
           "You can return any item within 30 days.\nPlease keep the receipt with the parcel."},
          {"Where is my parcel? Tracking links and what the carrier's status words mean",
           "<a href=\"https://track.example.com\" target=\"_blank\">Track your parcel</a>"}},
         true});
    return answers;
}

// The window as it shows, under a plain caption bar with its title: offscreen there is no
// window manager to draw one.
QImage WithTitle(QWidget& window)
{
    window.show();
    const QImage body = window.grab().toImage();
    const QFontMetrics metrics(window.font());
    const int bar = metrics.height() + 10;
    QImage picture(body.width(), body.height() + bar, QImage::Format_ARGB32);
    picture.setDevicePixelRatio(body.devicePixelRatio());
    QPainter painter(&picture);
    const QPalette& palette = window.palette();
    const QRect caption(0, 0, body.width(), bar);
    painter.fillRect(caption, palette.color(QPalette::Highlight));
    painter.setPen(palette.color(QPalette::HighlightedText));
    painter.setFont(window.font());
    painter.drawText(caption.adjusted(8, 0, 0, 0), Qt::AlignLeft | Qt::AlignVCenter,
                     window.windowTitle());
    painter.drawImage(0, bar, body);
    window.hide();
    return picture;
}

bool Save(const QImage& picture, const QString& path)
{
    if (picture.save(path))
        return true;
    std::fprintf(stderr, "cannot write %s\n", qPrintable(path));
    return false;
}

QModelIndex Find(const QAbstractItemModel& model, const QString& category, const QString& title)
{
    for (int row = 0; row < model.rowCount(); ++row) {
        const QModelIndex parent = model.index(row, 0);
        if (parent.data().toString() != category)
            continue;
        for (int child = 0; child < model.rowCount(parent); ++child) {
            if (model.index(child, 0, parent).data().toString() == title)
                return model.index(child, 0, parent);
        }
    }
    return {};
}

} // namespace

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    QApplication::setApplicationDisplayName(QStringLiteral("Parlendo"));

    QCommandLineParser parser;
    parser.setApplicationDescription(QStringLiteral("The Parlendo canned answers dialogs."));
    parser.addHelpOption();
    const QCommandLineOption grab(QStringLiteral("grab"),
                                  QStringLiteral("Write pictures of the dialogs to <folder>."),
                                  QStringLiteral("folder"));
    parser.addOption(grab);
    parser.process(app);

    QTemporaryDir scratch;
    if (!scratch.isValid())
        return 1;
    SetCannedAnswersFilePath(scratch.filePath(QStringLiteral("canned.dat")));
    if (SaveCannedAnswers(Sample()) != 0)
        return 1;

    CCannedMsgDlg dialog;
    if (!parser.isSet(grab)) {
        dialog.exec();
        return 0;
    }
    const QDir folder(parser.value(grab));
    if (!QDir().mkpath(folder.path()))
        return 1;

    auto* tree = dialog.findChild<QTreeView*>();
    tree->setCurrentIndex(
        Find(*tree->model(), QStringLiteral("Orders"), QStringLiteral("Returns")));
    tree->setFocus();

    CCannedEditDlg edit(
        QStringList{QStringLiteral("Links"), QStringLiteral("Greetings"), QStringLiteral("Orders")},
        QStringLiteral("Orders"), QStringLiteral("Returns"),
        QStringLiteral("You can return any item within 30 days.\nPlease keep "
                       "the receipt with the parcel."),
        &dialog);

    // The chat window's panel, beside an input box, after a click on "Welcome".
    QWidget chat;
    chat.setWindowTitle(QStringLiteral("Parlendo - Ann Lee"));
    auto* panelTree = new QTreeView(&chat);
    auto* input = new QPlainTextEdit(&chat);
    auto* row = new QHBoxLayout(&chat);
    panelTree->setFixedWidth(155);
    row->addWidget(panelTree);
    row->addWidget(input, 1);
    new CCannedPanel(panelTree, input);
    panelTree->setCurrentIndex(
        Find(*panelTree->model(), QStringLiteral("Greetings"), QStringLiteral("Welcome")));
    chat.resize(460, 240);

    const bool ok =
        Save(WithTitle(dialog), folder.filePath(QStringLiteral("canned-answers.png"))) &&
        Save(WithTitle(edit), folder.filePath(QStringLiteral("canned-edit.png"))) &&
        Save(WithTitle(chat), folder.filePath(QStringLiteral("canned-panel.png")));
    return ok ? 0 : 1;
}
