// Takes the chat window's screenshots for docs/screenshots against the simulated server: a
// short conversation with the canned-answers panel (chat-window.png), the same without the
// panel (chat-window-no-panel.png), and the invite dialog (invite.png). Each picture gets a
// plain title bar with the window's own title drawn above it, since a grab holds only the
// window's inside.
//
//   parlendo-chat-shots <folder>
//
// The canned tree is filled here with the built-in answers, to show the panel as it looks in
// use; in the console the canned answers code fills it.

#include "window_shot.h"
#include "app_settings.h"
#include "canned_answers.h"
#include "chat_connector.h"
#include "chat_dlg.h"
#include "invite_dlg.h"
#include "layout_profile.h"
#include "message_box_notifier.h"
#include "qt_operator_session.h"
#include "sim_server.h"
#include "transcript_ctrl.h"
#include "url_dlg.h"

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QLabel>
#include <QLineEdit>
#include <QPainter>
#include <QPlainTextEdit>
#include <QStandardItemModel>
#include <QTemporaryDir>
#include <QTreeView>
#include <cstdio>

using testing_support::Save;
using testing_support::WaitFor;

namespace {

QStandardItemModel* CannedModel(QObject* parent)
{
    auto* model = new QStandardItemModel(parent);
    for (const CannedCategory& category : BuiltInCannedAnswers()) {
        auto* item = new QStandardItem(QString::fromStdString(category.name));
        for (const CannedAnswer& answer : category.answers)
            item->appendRow(new QStandardItem(QString::fromStdString(answer.title)));
        model->appendRow(item);
    }
    return model;
}

bool SayAndWait(CSimWorld& world, CChatDlg& window, int callId, const std::string& text)
{
    world.VisitorSays(callId, text);
    return WaitFor(
        [&] { return window.Transcript()->toPlainText().endsWith(QString::fromStdString(text)); });
}

void Type(CChatDlg& window, const QString& text)
{
    window.InputBox()->setPlainText(text);
    window.OnSend();
}

} // namespace

int main(int argc, char* argv[])
{
    QApplication app(argc, argv);
    const QString folder = argc > 1 ? QString::fromLocal8Bit(argv[1]) : QStringLiteral(".");
    QDir().mkpath(folder);

    SimOptions options;
    options.accounts = {{"demo", "demo", "Dana", "Moreau"},
                        {"sam", "pw", "Sam", "Okafor"},
                        {"kim", "pw", "Kim", "Baptiste"}};
    options.initialVisitors = 6;
    options.arrivalPerMinute = 0;
    options.chatPerMinute = 0;
    options.realTime = false;
    options.seed = 2026;
    CSimServer server(options);
    const int port = server.Start();
    if (port < 0)
        return 1;
    const auto host = std::string("127.0.0.1");
    const auto p = static_cast<std::uint16_t>(port);

    // Two colleagues: one to invite into the call, one away.
    COperatorSession sam;
    COperatorSession kim;
    sam.Login(host, p, "sam", "pw");
    kim.Login(host, p, "kim", "pw");
    kim.SetStatus(3);

    QTemporaryDir dir;
    CAppSettings settings(dir.filePath(QStringLiteral("Operator.conf")));
    settings.m_username = QStringLiteral("Dana");
    const CLayoutProfile profile(dir.filePath(QStringLiteral("parlendo.ini")));
    CMessageBoxNotifier notifier;
    COperatorSession session;
    QList<QPointer<QWidget>> windows;
    bool ok = session.Login(host, p, "demo", "demo") == 0;
    session.RequestOperators();
    ok &= WaitFor([&] { return session.Operators().Count() == 3; });

    CSimWorld& world = server.World();
    const SimVisitor visitor = world.Visitors().front();
    const int callId = world.RequestChat(visitor.id, session.OperatorId());
    {
        auto* window = new CChatDlg(settings, callId, windows, session, profile, notifier);
        // Away from the pointer, which the offscreen platform keeps at the screen's corner.
        window->setGeometry(60, 60, 720, 500);
        window->CannedTree()->setModel(CannedModel(window));
        window->CannedTree()->expandAll();
        window->show();
        ok &= WaitFor(
            [&] { return window->windowTitle().contains(QString::fromStdString(visitor.name)); });

        ok &= SayAndWait(world, *window, callId, "Hi, I'd like to know when my order ships.");
        Type(*window, QStringLiteral("Sure, let me check that for you. Is it the 4-person tent?"));
        ok &= SayAndWait(world, *window, callId, "Yes, the Basecamp 4P.");
        window->OnSendLink();
        if (auto* url = window->findChild<CUrlDlg*>()) {
            url->findChild<QLineEdit*>()->setText(
                QStringLiteral("www.example.com/tents/basecamp-4p"));
            url->accept();
        }
        ok &= SayAndWait(world, *window, callId, "Thanks, that's the one!");

        window->OnTransferChat();
        auto* invite = window->findChild<CInviteDlg*>();
        ok &= invite && WaitFor([invite] { return invite->isVisible(); });
        if (invite) {
            QTreeView* list = invite->List();
            list->setCurrentIndex(list->model()->index(1, 0));
            ok &= Save(invite, folder + QStringLiteral("/invite.png"));
            invite->accept();
        }
        ok &= WaitFor(
            [&] { return window->Transcript()->toPlainText().contains(QLatin1String("invited")); });
        ok &= sam.Calls().OpenCall(callId) == 0;
        ok &= WaitFor([&] { return window->windowTitle().contains(QLatin1String("Sam Okafor")); });
        world.VisitorTypes(callId);
        ok &=
            WaitFor([&] { return window->StatusLine()->text().contains(QLatin1String("typing")); });
        window->InputBox()->setPlainText(QStringLiteral("Sam will tell you the delivery date."));
        window->CannedTree()->setCurrentIndex(window->CannedTree()->model()->index(0, 0));
        ok &= Save(window, folder + QStringLiteral("/chat-window.png"));

        window->OnHideCanned();
        ok &= Save(window, folder + QStringLiteral("/chat-window-no-panel.png"));
        delete window;
    }
    ok &= CChatConnector::WaitForThreads(std::chrono::seconds(10));
    sam.Calls().DestroyAll();
    return ok ? 0 : 1;
}
