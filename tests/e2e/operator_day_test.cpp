// Ann's day end to end through the real windows against the simulated server, step by step as
// tools/day_shots runs it for the README's pictures, with what the server received, what the
// transcript shows, the saved file and the history checked between the steps.
#include "chat_archive.h"
#include "chat_dlg.h"
#include "day_stage.h"
#include "message_codes.h"
#include "operator_day.h"
#include "recording_notifier.h"
#include "visitor_list_model.h"

#include <QProcess>
#include <QStandardPaths>
#include <QTest>
#include <QTextDocumentFragment>
#include <QTextEdit>
#include <QTreeView>

class OperatorDayTest final : public QObject
{
    Q_OBJECT

private slots:
    void operatorsDay()
    {
        CRecordingNotifier notifier;
        CDayStage stage(notifier);
        COperatorDay day(stage);
        const auto chatLines = [&] {
            return day::ServerReceived(stage.World(), msg::kChatData, day.CallId());
        };

        QVERIFY2(day.StartTheDay(), qPrintable(day.Error()));
        QVERIFY2(day.VisitorArrives(), qPrintable(day.Error()));
        QVERIFY2(day.InviteTheVisitor(), qPrintable(day.Error()));
        const QAbstractItemModel* visitors =
            stage.window->findChild<QAbstractItemView*>(QStringLiteral("visitors"))->model();
        bool invitedShown = false;
        for (int row = 0; row < visitors->rowCount(); ++row) {
            const QModelIndex index = visitors->index(row, 0);
            if (index.data(CVisitorListModel::IdRole).toInt() == day.VisitorId())
                invitedShown = index.data(CVisitorListModel::InvitedRole).toBool();
        }
        QVERIFY(invitedShown);

        QVERIFY2(day.AcceptTheCall(), qPrintable(day.Error()));
        QCOMPARE(stage.Chats().size(), 1); // accepted twice, one window
        QVERIFY2(day.Talk(), qPrintable(day.Error()));
        QCOMPARE(chatLines().filter(QStringLiteral("1|ann|")),
                 (QStringList{QStringLiteral("1|ann|") + COperatorDay::kWelcome, // as stored
                              QStringLiteral("1|ann|Let`s have a look at it.")}));
        QVERIFY(chatLines().contains(QStringLiteral("2|ann")));

        QVERIFY2(day.SendLinkAndCannedAnswer(), qPrintable(day.Error()));
        QCOMPARE(chatLines().filter(QStringLiteral("1|ann|")).mid(2),
                 (QStringList{"1|ann|<a href='http://shop.example.com/track' target='_blank'>"
                              "http://shop.example.com/track</a>",
                              "1|ann|Sorry for the wait, it`s on its way."}));

        QVERIFY2(day.TransferToColleague(), qPrintable(day.Error()));
        QCOMPARE(day::ServerReceived(stage.World(), msg::kTransferCall, day.CallId()),
                 QStringList{QStringLiteral("%1|invitation").arg(day.Colleague().OperatorId())});

        QVERIFY2(day.VisitorLeavesAndTranscriptIsSaved(), qPrintable(day.Error()));
        const QString shown =
            day.Chat()->findChild<QTextEdit*>(QStringLiteral("transcript"))->toPlainText();
        const QStringList lines = {COperatorDay::kWelcome,
                                   QStringLiteral("My parcel hasn't arrived."),
                                   QStringLiteral("Let`s have a look at it."),
                                   QStringLiteral("http://shop.example.com/track"),
                                   QStringLiteral("Sorry for the wait, it`s on its way."),
                                   QStringLiteral("Bob Stone has been invited to join this call"),
                                   day.VisitorName() + QStringLiteral(" has left this call"),
                                   QStringLiteral("This call has been closed.")};
        for (const QString& line : lines)
            QVERIFY2(shown.contains(line), qPrintable(line));
        const QString unrtf = QStandardPaths::findExecutable(QStringLiteral("unrtf"));
        if (!unrtf.isEmpty()) {
            QProcess reader;
            reader.start(unrtf, {QStringLiteral("--html"), day.TranscriptPath()});
            QVERIFY(reader.waitForFinished(30000));
            const QString saved =
                QTextDocumentFragment::fromHtml(QString::fromUtf8(reader.readAllStandardOutput()))
                    .toPlainText();
            for (const QString& line : lines)
                QVERIFY2(saved.contains(line), qPrintable(line + QStringLiteral(" not saved")));
        } else {
            qInfo("unrtf is not installed: the saved transcript is not read back");
        }

        // The history holds the chat as it was shown: both sides and the notices, in order,
        // the transfer once, and a word of it found.
        CChatArchive& archive = stage.Console().Archive();
        QVERIFY(archive.Flush());
        const QList<CArchivedChat> kept = archive.Chats({}, 10);
        QCOMPARE(kept.size(), 1);
        QVERIFY(kept.front().transferred && kept.front().ended > 0);
        QStringList archived;
        qint64 last = 0;
        for (const CArchivedLine& line : archive.Lines(kept.front().id)) {
            archived << line.line.text;
            QVERIFY(line.line.at >= last);
            last = line.line.at;
        }
        qsizetype from = 0;
        for (const QString& line : lines) {
            from = archived.indexOf(line, from);
            QVERIFY2(from >= 0, qPrintable(line + QStringLiteral(" not in the history, in order")));
        }
        QCOMPARE(archived.count(lines[5]), 1);
        QCOMPARE(archive.Chats({{}, {}, QStringLiteral("parcel")}, 10).size(), 1);
        QCOMPARE(archive.Chats({{}, {}, QStringLiteral("\"on its way\"")}, 10).size(), 1);

        QVERIFY2(day.LogOutInAndSurviveARestart(), qPrintable(day.Error()));
        QVERIFY(day.Chat()); // the closed chat keeps its window and transcript
        QCOMPARE(notifier.informed, QStringList()); // nothing of the day needed a message box
    }
};

QTEST_MAIN(OperatorDayTest)
#include "operator_day_test.moc"
