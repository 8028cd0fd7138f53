// parlendo-pages: the service's web pages for the console, drawn into the console's pane from a
// process of its own. The browser engine needs an OpenGL context shared by the whole process,
// made as the application starts; kept here, neither it nor the engine costs the console
// anything until the operator first asks for a page. The console starts this program then
// (CPageHelper) and speaks to it by lines on its standard input and output (PageProtocol).

#include "page_protocol.h"
#include "page_server.h"

#include <QApplication>
#include <cstdio>
#include <cstring>
#include <fcntl.h>
#include <unistd.h>

namespace {

// A private copy of fd, closed in the browser's own child processes; fd itself is pointed at
// target. The engine's children inherit the standard streams: what they print must not mix with
// the report lines, and their copies must not keep the console's pipes open.
int TakeOver(int fd, int target)
{
    const int own = ::fcntl(fd, F_DUPFD_CLOEXEC, 3);
    if (own >= 0)
        ::dup2(target, fd);
    return own;
}

} // namespace

int main(int argc, char* argv[])
{
    if (argc == 2 && std::strcmp(argv[1], PageProtocol::kCheckOption) == 0)
        return 0;
    WId host = 0;
    for (int i = 1; i + 1 < argc; ++i)
        if (std::strcmp(argv[i], PageProtocol::kIntoOption) == 0)
            host = static_cast<WId>(std::strtoull(argv[i + 1], nullptr, 10));
    if (host == 0) {
        std::fprintf(stderr, "usage: parlendo-pages %s WINDOW-ID  (started by parlendo)\n",
                     PageProtocol::kIntoOption);
        return 2;
    }

    const int nothing = ::open("/dev/null", O_RDONLY | O_CLOEXEC);
    const int commands = TakeOver(STDIN_FILENO, nothing);
    const int reports = TakeOver(STDOUT_FILENO, STDERR_FILENO);
    if (nothing >= 0)
        ::close(nothing);
    if (commands < 0 || reports < 0)
        return 1;

    // The engine's sandbox refuses to run as root; without it the pages stay empty. Only set
    // when the user has not decided otherwise.
    if (::geteuid() == 0 && qEnvironmentVariableIsEmpty("QTWEBENGINE_DISABLE_SANDBOX"))
        qputenv("QTWEBENGINE_DISABLE_SANDBOX", "1");
    QCoreApplication::setAttribute(Qt::AA_ShareOpenGLContexts);
    QApplication app(argc, argv);
    QApplication::setQuitOnLastWindowClosed(false);

    CPageServer server(commands, reports);
    if (!server.Embed(host))
        return PageProtocol::kCannotEmbed;
    return QApplication::exec();
}
