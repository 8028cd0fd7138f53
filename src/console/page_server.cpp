#include "page_server.h"

#include "explorer1.h"
#include "page_protocol.h"

#include <QChildEvent>
#include <QCoreApplication>
#include <QSocketNotifier>
#include <QUrl>
#include <cerrno>
#include <unistd.h>

CPageServer::CPageServer(int commandFd, int reportFd, QObject* parent)
    : QObject(parent), m_commandFd(commandFd), m_reportFd(reportFd),
      m_commands(new QSocketNotifier(commandFd, QSocketNotifier::Read, this))
{
    connect(m_commands, &QSocketNotifier::activated, this, &CPageServer::ReadCommands);
}

CPageServer::~CPageServer()
{
    delete m_view;
    delete m_host;
}

bool CPageServer::Embed(WId hostId)
{
    // Null where the display cannot hold windows of other programs (Wayland, offscreen).
    m_host = QWindow::fromWinId(hostId);
    if (!m_host)
        return false;
    m_view = new CExplorer1;
    connect(m_view, &CExplorer1::LinkOutside, this,
            [this](const QUrl& url) { Report(PageProtocol::kMail, url.toEncoded()); });
    // The engine gives the view the child widget it draws in once it has a page to draw. Were
    // the view's window made before, it would be made again then, for OpenGL, as a window of
    // its own on the desktop. So it is made, inside the console's window, once that child is
    // there.
    m_view->installEventFilter(this);
    m_view->setUrl(QUrl(QStringLiteral("about:blank")));
    return true;
}

bool CPageServer::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == m_view && event->type() == QEvent::ChildPolished &&
        static_cast<QChildEvent*>(event)->child()->isWidgetType()) {
        m_view->removeEventFilter(this);
        // After the engine has finished setting up its child.
        QMetaObject::invokeMethod(this, &CPageServer::ShowInHost, Qt::QueuedConnection);
    }
    return QObject::eventFilter(watched, event);
}

void CPageServer::ShowInHost()
{
    // A child of the console's window from before it is first mapped: it never shows up on the
    // desktop as a window of its own, and the window manager never sees it.
    m_view->winId();
    m_view->windowHandle()->setParent(m_host);
    m_view->move(0, 0);
    m_view->show();
    Report(PageProtocol::kReady);
}

void CPageServer::ReadCommands()
{
    char buffer[4096];
    const ssize_t n = ::read(m_commandFd, buffer, sizeof buffer);
    if (n < 0 && (errno == EINTR || errno == EAGAIN))
        return;
    if (n <= 0) {
        // The console closed the pipe, or is gone.
        m_commands->setEnabled(false);
        QCoreApplication::quit();
        return;
    }
    m_pending.append(buffer, n);
    for (qsizetype end = m_pending.indexOf('\n'); end >= 0; end = m_pending.indexOf('\n')) {
        const QByteArray line = m_pending.left(end);
        m_pending.remove(0, end + 1);
        Run(line);
    }
}

void CPageServer::Run(const QByteArray& line)
{
    const qsizetype blank = line.indexOf(' ');
    const QByteArray word = blank < 0 ? line : line.left(blank);
    const QByteArray argument = blank < 0 ? QByteArray() : line.mid(blank + 1);
    if (!m_view)
        return;
    if (word == PageProtocol::kSize) {
        const QList<QByteArray> numbers = argument.split(' ');
        const int width = numbers.value(0).toInt();
        const int height = numbers.value(1).toInt();
        if (width > 0 && height > 0)
            m_view->setGeometry(0, 0, width, height);
    } else if (word == PageProtocol::kLoad) {
        // The view itself refuses what is not a web address.
        m_view->setUrl(QUrl::fromEncoded(argument, QUrl::StrictMode));
    }
}

void CPageServer::Report(const QByteArray& word, const QByteArray& argument)
{
    QByteArray line = word;
    if (!argument.isEmpty())
        line += ' ' + argument;
    line += '\n';
    for (qsizetype sent = 0; sent < line.size();) {
        const ssize_t n = ::write(m_reportFd, line.constData() + sent,
                                  static_cast<size_t>(line.size() - sent));
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            return; // the console is gone; the command pipe says so next
        sent += n;
    }
}
