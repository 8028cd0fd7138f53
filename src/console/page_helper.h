#pragma once

#include <QByteArray>
#include <QObject>
#include <QProcess>
#include <QSize>
#include <QStringList>
#include <QUrl>
#include <QWindow>

// The console's end of the page helper (parlendo-pages): the process that draws the service's
// web pages into a window of the console's pane (see CPageServer for the other end, and
// PageProtocol for the lines between them).
//
// The helper never outlives the console: it is told to die with it (the kernel's parent-death
// signal, armed between fork and exec), and it quits by itself when the command pipe closes.
// Destroying this object ends it.
class CPageHelper final : public QObject
{
    Q_OBJECT

public:
    // Why the helper ended without being asked to.
    enum class End
    {
        NotStarted,  // no such program, or it could not run
        CannotEmbed, // this display cannot show it inside the console
        Stopped,     // it crashed, was killed or quit
    };
    Q_ENUM(End)

    explicit CPageHelper(QString program, QObject* parent = nullptr);
    ~CPageHelper() override;

    // parlendo-pages beside the program (the build tree), then in the installed library folder
    // relative to it (../lib/parlendo, or ../lib/<multiarch>/parlendo for a /usr install).
    static QStringList Directories();
    // The first of those that has the program; empty when none has.
    static QString FindProgram(const QStringList& directories = Directories());

    // Starts the helper on the window host, at that size; Ready follows once its view is in.
    void Start(WId host, const QSize& size);
    bool IsRunning() const;
    void Load(const QUrl& url);
    void Resize(const QSize& size);

signals:
    void Ready();
    // A page asked for this mail address (not yet checked: any line the helper writes).
    void MailLink(const QUrl& url);
    void Ended(CPageHelper::End why);

private:
    void Send(const char* word, const QByteArray& argument);
    void ReadReports();
    void OnFinished(int exitCode, QProcess::ExitStatus status);

    QString m_program;
    QProcess m_process;
    QByteArray m_pending;
};
