#pragma once

#include <QByteArray>
#include <QObject>
#include <QWindow>

class CExplorer1;
class QSocketNotifier;

// The page helper's side of the console's pane: shows the embedded browser (CExplorer1) inside
// a window of the console and does what the console's lines say (PageProtocol).
//
// The helper lives only as long as the console wants it: when the console closes its end of the
// command pipe, or dies, the read side sees the end and the helper quits.
class CPageServer final : public QObject
{
    Q_OBJECT

public:
    // commandFd and reportFd are the two ends of the pipes to the console; not owned.
    CPageServer(int commandFd, int reportFd, QObject* parent = nullptr);
    ~CPageServer() override;

    // Makes the view, to be shown inside the console's window hostId, which Ready reports.
    // False when this display cannot take a window into another program's window.
    bool Embed(WId hostId);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void ShowInHost();
    void ReadCommands();
    void Run(const QByteArray& line);
    void Report(const QByteArray& word, const QByteArray& argument = {});

    int m_commandFd;
    int m_reportFd;
    QSocketNotifier* m_commands;
    QByteArray m_pending;
    QWindow* m_host = nullptr; // the console's window, foreign here
    CExplorer1* m_view = nullptr;
};
