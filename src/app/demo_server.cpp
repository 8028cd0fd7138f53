#include "demo_server.h"

#include "console_assembly.h"

#include "app_settings.h"
#include "sim_server.h"

#include <QDir>

CDemoServer::CDemoServer(int initialVisitors, bool quiet, int pace)
    : m_initialVisitors(initialVisitors), m_quiet(quiet), m_pace(pace),
      m_folder(QStringLiteral("%1/parlendo-demo-XXXXXX").arg(QDir::tempPath()))
{
}

CDemoServer::~CDemoServer()
{
    if (m_server)
        m_server->Stop();
}

bool CDemoServer::Start()
{
    if (!m_folder.isValid()) {
        m_error = QStringLiteral("no temporary folder: %1").arg(m_folder.errorString());
        return false;
    }
    SimOptions options;
    options.initialVisitors = m_initialVisitors;
    options.arrivalPerMinute = m_quiet ? 0.0 : 6.0 * m_pace;
    options.chatPerMinute = m_quiet ? 0.0 : 1.0 * m_pace;
    options.seed = 2026;
    m_server = std::make_unique<CSimServer>(options);
    m_port = m_server->Start();
    if (m_port < 0) {
        m_error = QString::fromStdString(m_server->Error());
        return false;
    }

    const QString settingsPath = ConsolePlaces::InFolder(Folder()).settings;
    CAppSettings settings(settingsPath);
    settings.m_serverAddress = QString::fromStdString(options.host);
    settings.m_serverPort = m_port;
    settings.m_username = QString::fromLatin1(kUser);
    settings.m_password = QString::fromLatin1(kPassword);
    settings.m_saveLogin = 1;
    settings.m_autoLogin = 1;
    if (settings.Save() != 0) {
        m_error = QStringLiteral("cannot write %1").arg(settingsPath);
        return false;
    }
    return true;
}
