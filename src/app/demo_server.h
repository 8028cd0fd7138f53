#pragma once

#include <QString>
#include <QTemporaryDir>
#include <memory>

class CSimServer;

// What "parlendo --demo" runs on: the simulated chat server in this process, on a free
// loopback port, with a reproducible crowd of visitors who come and go and now and then ask for
// a chat; and a settings file and a layout profile of its own in a temporary folder, set to log
// in automatically as demo/demo. The operator's own files, the desktop's autostart entry among
// them, are never read or written. Everything
// goes with the object.
class CDemoServer final
{
public:
    static constexpr char kUser[] = "demo";
    static constexpr char kPassword[] = "demo";

    // A quiet demo keeps its opening crowd: no arrivals, departures or chat requests. Pace
    // multiplies how often they come.
    explicit CDemoServer(int initialVisitors = 12, bool quiet = false, int pace = 1);
    ~CDemoServer();
    CDemoServer(const CDemoServer&) = delete;
    CDemoServer& operator=(const CDemoServer&) = delete;

    // Starts the server and writes the settings. False with Error() telling why.
    bool Start();
    QString Error() const { return m_error; }
    int Port() const { return m_port; }

    // The folder the demo keeps its settings, layout, canned answers, history and missed chats
    // in, by the names ConsolePlaces::InFolder gives them.
    QString Folder() const { return m_folder.path(); }

private:
    int m_initialVisitors;
    bool m_quiet;
    int m_pace;
    QTemporaryDir m_folder;
    std::unique_ptr<CSimServer> m_server;
    int m_port = -1;
    QString m_error;
};
