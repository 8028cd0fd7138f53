#pragma once

// The main window on a stage against the simulated server, what it told the operator, and the
// operator's ways of using it: its buttons, the login dialog, the status menu, the lists.

#include "day_stage.h"
#include "flat_button.h"
#include "login_dlg.h"
#include "recording_notifier.h"
#include "result_text.h"

#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QTest>
#include <QTreeView>

class CConsoleRig final
{
public:
    CRecordingNotifier notifier;
    CDayStage stage{notifier};

    static QString Online() { return QStringLiteral("Parlendo - Online [127.0.0.1]"); }
    // The box of a log-in that failed after connecting: the server's address and its reason.
    QString ConnectFailed(int result)
    {
        return QStringLiteral("Failed to connect to the Parlendo server.\r\n127.0.0.1:%1: ")
                   .arg(stage.settings.m_serverPort) +
               ResultText(result);
    }
    // What the connection banner says now.
    QString Banner()
    {
        auto* text = Window().findChild<QLabel*>(QStringLiteral("connectionBannerText"));
        return text && text->isVisibleTo(&Window()) ? text->text() : QString();
    }
    static QString NotConnected() { return QStringLiteral("Parlendo - Not connected"); }

    // The server, then the window made and shown with the settings as they are by then.
    bool Start(SimOptions options = day::ServerOptions(),
               ConsoleTimings timings = CDayStage::Timings())
    {
        if (!stage.StartServer(std::move(options)))
            return false;
        Adjust(stage.settings);
        stage.MakeWindow(timings);
        QObject::connect(stage.window, &QWidget::windowTitleChanged,
                         [this](const QString& title) { titles << title; });
        return stage.ShowWindow();
    }
    // Every title the window has shown.
    QStringList titles;
    // What a test changes in the settings before the window is made.
    std::function<void(CAppSettings&)> Adjust = [](CAppSettings&) {};

    COperatorDlg& Window() { return *stage.window; }
    QString Title() { return Window().windowTitle(); }
    CFlatButton* Button(const char* name)
    {
        return Window().findChild<CFlatButton*>(QLatin1String(name));
    }
    // Which of Login, Logout, My Status and Invite to Chat are open, as "1000".
    QString Buttons()
    {
        QString open;
        for (const char* name : {"login", "logout", "status", "invite"})
            open += Button(name)->isEnabled() ? QLatin1Char('1') : QLatin1Char('0');
        return open;
    }
    QAbstractItemView* List(const char* name)
    {
        return Window().findChild<QAbstractItemView*>(QLatin1String(name));
    }
    int Listed(const char* name) { return List(name)->model()->rowCount(); }
    int OperatorId() { return day::SignedInId(stage.World()); }

    // Login, the dialog filled in and confirmed; true once the window says it is connecting.
    bool LogIn(const char* user = day::kUser, const char* password = day::kPassword)
    {
        Button("login")->click();
        auto* dialog = Window().findChild<CLoginDlg*>();
        if (!dialog || !dialog->isVisible())
            return false;
        dialog->findChild<QLineEdit*>(QStringLiteral("username"))->setText(QLatin1String(user));
        dialog->findChild<QLineEdit*>(QStringLiteral("password"))->setText(QLatin1String(password));
        dialog->accept();
        return Title() == QStringLiteral("Parlendo - Connecting [127.0.0.1]");
    }
    // LogIn, then until both lists are in.
    bool LogInAndList()
    {
        return LogIn() && QTest::qWaitFor([this] {
                   return Title() == Online() && Listed("operators") > 0 &&
                          Listed("visitors") == int(stage.World().Visitors().size());
               });
    }
    // My Status, and the item of its menu.
    void ChooseStatus(const QString& item)
    {
        for (QAction* action : Button("status")->findChild<QMenu*>()->actions())
            if (QString(action->text()).remove(QLatin1Char('&')) == item)
                action->trigger();
    }
};
