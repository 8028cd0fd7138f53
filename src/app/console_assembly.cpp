#include "console_assembly.h"

#include "active_chats.h"
#include "alert_check.h"
#include "app_settings.h"
#include "auto_run_entry.h"
#include "call_bridge.h"
#include "canned_msg_dlg.h"
#include "canned_store.h"
#include "chat_archive.h"
#include "chat_dlg.h"
#include "chat_tabs_dlg.h"
#include "credential_store.h"
#include "credentials.h"
#include "desktop_notifier.h"
#include "incoming_call.h"
#include "layout_profile.h"
#include "line_sound.h"
#include "missed_chats.h"
#include "notifier.h"
#include "operator_dlg.h"
#include "operator_session.h"
#include "options_dlg.h"
#include "session_bridge.h"
#include "worker_pool.h"

#include <QDir>

ConsolePlaces ConsolePlaces::InFolder(const QString& folder)
{
    const QDir dir(folder);
    ConsolePlaces places;
    places.settings = dir.filePath(QStringLiteral("Operator.conf"));
    places.layout = dir.filePath(QStringLiteral("parlendo.ini"));
    places.canned = dir.filePath(QStringLiteral("canned.dat"));
    places.missed = dir.filePath(QStringLiteral("missed-chats.json"));
    places.history = dir.filePath(QStringLiteral("history.sqlite"));
    places.autoRun = dir.filePath(QStringLiteral("autostart/parlendo.desktop"));
    places.keyring = false;
    places.desktop = false;
    return places;
}

CConsoleAssembly::CConsoleAssembly(CAppSettings& settings, const CLayoutProfile& profile,
                                   COperatorSession& session, CNotifier& notifier,
                                   const ConsolePlaces& places, ConsoleTimings timings)
    : m_session(session), m_notifier(notifier), m_settings(&settings), m_profile(&profile),
      m_pool(std::make_unique<CWorkerPool>()),
      m_bridge(std::make_unique<CSessionBridge>(session, *m_pool)),
      m_archive(std::make_unique<CChatArchive>(places.history)),
      m_activeChats(std::make_unique<CActiveChats>()),
      m_missed(std::make_unique<CMissedChats>(
          places.missed.isEmpty() ? CMissedChatsFile::DefaultPath() : places.missed)),
      m_lineSound(std::make_unique<CLineSound>()),
      m_window(
          std::make_unique<COperatorDlg>(*m_settings, *m_profile, *m_bridge, notifier, timings))
{
    if (!places.canned.isEmpty())
        SetCannedAnswersFilePath(places.canned);
    Wire(places);
}

CConsoleAssembly::~CConsoleAssembly()
{
    Shutdown();
    // With a job still inside the session, nothing it may touch goes.
    if (!m_clean) {
        (void)m_window.release();
        (void)m_bridge.release();
        (void)m_pool.release();
    }
}

void CConsoleAssembly::Wire(const ConsolePlaces& places)
{
    COperatorDlg& window = *m_window;
    CAppSettings& settings = *m_settings;

    // The password in the desktop's keyring, where there is one to use.
    if (places.keyring)
        m_keyring = std::make_unique<CCredentialStore>([&settings](const QString& password) {
            settings.m_passwordInFile = !password.isEmpty();
            if (!password.isEmpty())
                settings.m_password = password;
            return settings.Save() == 0;
        });
    if (m_keyring)
        QObject::connect(
            m_keyring.get(), &CCredentialStore::FileNotice, &window,
            [this, &window](const QString& text) { m_notifier.Inform(&window, text); });
    m_credentials = std::make_unique<CCredentials>(settings, m_keyring.get());
    window.SetCredentials(m_credentials.get());

    // Every chat, kept as it happens.
    m_archive->ApplyRetention(settings.m_historyDays);
    window.SetArchive(m_archive.get());
    window.SetSettingsEditor(
        [this, autoRun = places.autoRun](CAppSettings& edited, QWidget* parent) {
            COptionsDlg dialog(edited, m_notifier, parent);
            if (!autoRun.isEmpty())
                dialog.SetAutoRunEntry(CAutoRunEntry(autoRun));
            dialog.exec();
            m_archive->ApplyRetention(edited.m_historyDays);
        });
    window.SetCannedAnswersEditor([](QWidget* parent) {
        CCannedMsgDlg dialog(parent);
        dialog.exec();
    });

    window.SetActiveChats(m_activeChats.get());
    QObject::connect(m_activeChats.get(), &CActiveChats::UnseenLine, m_lineSound.get(), [this] {
        if (m_settings->m_lineSound == 1)
            m_lineSound->Play();
    });

    m_missed->Load();
    if (places.desktop)
        m_desktopNotifier = std::make_unique<CDesktopNotifier>();
    window.SetDesktopServices(m_desktopNotifier.get(),
                              places.desktop ? CAlertCheck::ForDesktop(&window) : nullptr,
                              m_missed.get());

    window.SetChatWindowFactory([this](const CIncomingCall& call) { OpenChat(call); });
    // The operator has agreed to end the open chats by quitting: the windows Qt closes on the
    // way out must not ask again, or the quit would stop at the first of them.
    QObject::connect(&window, &COperatorDlg::Closed, &window, [this] {
        for (CChatDlg* chat : ChatWindows())
            chat->ConfirmEnd();
    });
    QObject::connect(m_bridge.get(), &CSessionBridge::LoggedOut, &window, [this](int reason) {
        if (reason == CSessionBridge::kReasonConnectionLost)
            for (CChatDlg* chat : ChatWindows())
                chat->ConnectionLost();
    });
    window.SetChatWindows([this] {
        QList<QWidget*> open;
        for (CChatDlg* chat : ChatWindows())
            if (!open.contains(chat->window()))
                open.append(chat->window());
        return open;
    });
}

QList<CChatDlg*> CConsoleAssembly::ChatWindows() const
{
    QList<CChatDlg*> open;
    for (const QPointer<CChatDlg>& chat : m_chats)
        if (chat)
            open.append(chat);
    return open;
}

CChatDlg* CConsoleAssembly::OpenChat(const CIncomingCall& call)
{
    m_chats.removeAll(nullptr);
    auto* callBridge = new CCallBridge(m_session, *m_pool, call.callId);
    if (m_settings->m_chatTabs != 1) {
        CChatDlg* chat = CChatDlg::Open(*m_settings, call, callBridge, *m_profile, m_notifier,
                                        m_activeChats.get(), m_archive.get());
        m_chats.append(chat);
        return chat;
    }
    // Chats as tabs of one window, made with the first of them.
    if (!m_tabs)
        m_tabs = new CChatTabsDlg(*m_activeChats, *m_profile);
    auto* chat = new CChatDlg(*m_settings, call, callBridge, *m_profile, m_notifier);
    chat->SetActiveChats(m_activeChats.get());
    chat->SetArchive(m_archive.get());
    m_tabs->AddChat(chat);
    m_chats.append(chat);
    return chat;
}

bool CConsoleAssembly::Shutdown(std::chrono::milliseconds bound)
{
    if (std::exchange(m_shutDown, true))
        return m_clean;
    for (CChatDlg* chat : ChatWindows())
        delete chat;
    delete m_tabs.data();
    m_window->Shutdown();
    m_bridge->Detach();
    // No new work from here on, and every wait of a job is cut short; closing the connection
    // wakes a job blocked on it.
    m_pool->Stop();
    m_session.Disconnect(COperatorSession::kReasonDestroyed);
    m_clean = m_pool->WaitAll(bound) == 0;
    SetCannedAnswersFilePath(QString());
    return m_clean;
}
