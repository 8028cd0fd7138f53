#pragma once

#include "app_settings.h"
#include "console_timings.h"
#include "layout_profile.h"
#include "notifier.h"
#include "operator_dlg.h"
#include "qt_operator_session.h"
#include "sim_server.h"
#include "url_launcher.h"

#include <QStringList>
#include <QTemporaryDir>
#include <QUrl>
#include <memory>

// Captures what the console would show in message boxes and answers its questions.
class CRecordingNotifier final : public CNotifier
{
public:
    void Inform(QWidget* owner, const QString& text, std::function<void()> done = {}) override;
    void Ask(QWidget* owner, const QString& title, const QString& text,
             std::function<void(bool yes)> answer) override;

    QStringList informed;
    QStringList asked; // "title|text"
    bool answer = false;
};

// A main window wired to a session with short waits, a settings file and a layout profile in a
// folder of its own, a recording notifier and a launcher that only records, and (when started)
// the simulated server on a manual clock.
class CConsoleRig final
{
public:
    static constexpr char kUser[] = "ann";
    static constexpr char kPassword[] = "pw-ann";

    CConsoleRig();
    ~CConsoleRig();

    static SimOptions ServerOptions();
    // Starts the server and points the settings at it, with the account's credentials.
    void StartServer(SimOptions options = ServerOptions());
    // Saves the settings, then builds the window (not shown).
    COperatorDlg& MakeWindow(ConsoleTimings timings = Timings());
    // Shows the window and waits until its first display has run.
    void ShowWindow();
    static ConsoleTimings Timings();

    // The id the server gave the logged-in account; 0 when it is not signed in.
    int OperatorId() const;
    int Received(int code) const;
    // Connections the server has accepted so far.
    int Accepted() const;

    QTemporaryDir folder;
    std::unique_ptr<CSimServer> server;
    std::unique_ptr<CAppSettings> settings;
    std::unique_ptr<CLayoutProfile> profile;
    std::unique_ptr<COperatorSession> session;
    CRecordingNotifier notifier;
    QList<QUrl> opened;
    CUrlLauncher launcher;
    std::unique_ptr<COperatorDlg> window;
};
