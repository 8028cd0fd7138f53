#include "page_helper.h"

#include "page_protocol.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <csignal>
#include <sys/prctl.h>
#include <unistd.h>

namespace {

constexpr char kProgramName[] = "parlendo-pages";
// A line longer than any address the helper may report: the rest is dropped.
constexpr qsizetype kMaxLine = 64 * 1024;
// How long the helper gets to quit on its own when the console is done with it, then to die.
constexpr int kQuitMs = 1500;
constexpr int kKillMs = 1000;

} // namespace

CPageHelper::CPageHelper(QString program, QObject* parent)
    : QObject(parent), m_program(std::move(program))
{
    // Its warnings belong with the console's.
    m_process.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    connect(&m_process, &QProcess::readyReadStandardOutput, this, &CPageHelper::ReadReports);
    connect(&m_process, &QProcess::finished, this, &CPageHelper::OnFinished);
    connect(&m_process, &QProcess::errorOccurred, this, [this](QProcess::ProcessError error) {
        if (error == QProcess::FailedToStart)
            emit Ended(End::NotStarted);
    });
}

CPageHelper::~CPageHelper()
{
    disconnect(&m_process, nullptr, this, nullptr);
    if (m_process.state() == QProcess::NotRunning)
        return;
    // The end of its command pipe tells the helper to quit; one that takes too long is ended.
    m_process.closeWriteChannel();
    if (!m_process.waitForFinished(kQuitMs)) {
        m_process.kill();
        m_process.waitForFinished(kKillMs);
    }
}

QStringList CPageHelper::Directories()
{
    const QString appDir = QCoreApplication::applicationDirPath();
    return {appDir, QDir::cleanPath(QDir(appDir).filePath(
                        QStringLiteral(PARLENDO_MODULE_DIR_FROM_BIN)))};
}

QString CPageHelper::FindProgram(const QStringList& directories)
{
    for (const QString& dir : directories) {
        const QFileInfo program(QDir(dir).filePath(QLatin1String(kProgramName)));
        if (program.isFile() && program.isExecutable())
            return program.absoluteFilePath();
    }
    return {};
}

void CPageHelper::Start(WId host, const QSize& size)
{
    if (m_process.state() != QProcess::NotRunning)
        return;
    m_pending.clear();
    const pid_t console = ::getpid();
    m_process.setChildProcessModifier([console] {
        // In the child between fork and exec. The signal comes when the thread that forked
        // ends; that is the GUI thread, which lasts as long as the console.
        ::prctl(PR_SET_PDEATHSIG, SIGKILL);
        // The console died before the signal was armed: nobody would ever send it.
        if (::getppid() != console)
            ::_exit(1);
    });
    m_process.start(m_program,
                    {QLatin1String(PageProtocol::kIntoOption), QString::number(host)});
    Resize(size);
}

bool CPageHelper::IsRunning() const
{
    return m_process.state() != QProcess::NotRunning;
}

void CPageHelper::Load(const QUrl& url)
{
    Send(PageProtocol::kLoad, url.toEncoded());
}

void CPageHelper::Resize(const QSize& size)
{
    Send(PageProtocol::kSize, QByteArray::number(size.width()) + ' ' +
                                  QByteArray::number(size.height()));
}

void CPageHelper::Send(const char* word, const QByteArray& argument)
{
    if (!IsRunning())
        return;
    m_process.write(QByteArray(word) + ' ' + argument + '\n');
}

void CPageHelper::ReadReports()
{
    m_pending.append(m_process.readAllStandardOutput());
    for (qsizetype end = m_pending.indexOf('\n'); end >= 0; end = m_pending.indexOf('\n')) {
        const QByteArray line = m_pending.left(end);
        m_pending.remove(0, end + 1);
        const qsizetype blank = line.indexOf(' ');
        const QByteArray word = blank < 0 ? line : line.left(blank);
        if (word == PageProtocol::kReady)
            emit Ready();
        else if (word == PageProtocol::kMail && blank > 0)
            emit MailLink(QUrl::fromEncoded(line.mid(blank + 1), QUrl::StrictMode));
    }
    if (m_pending.size() > kMaxLine)
        m_pending.clear();
}

void CPageHelper::OnFinished(int exitCode, QProcess::ExitStatus status)
{
    const bool cannotEmbed =
        status == QProcess::NormalExit && exitCode == PageProtocol::kCannotEmbed;
    emit Ended(cannotEmbed ? End::CannotEmbed : End::Stopped);
}
