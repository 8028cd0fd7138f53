// parlendo-sim: the simulated chat server as a program, for scripts, demos and load tests.

#include "sim_command_line.h"
#include "sim_server.h"

#include <csignal>
#include <cstdio>
#include <pthread.h>

int main(int argc, char** argv)
{
    const SimCommandLine command = ParseSimCommandLine({argv + 1, argv + argc});
    if (command.help) {
        std::fputs(SimUsage().c_str(), stdout);
        return 0;
    }
    if (!command.error.empty()) {
        std::fprintf(stderr, "parlendo-sim: %s\nTry 'parlendo-sim --help'.\n",
                     command.error.c_str());
        return 2;
    }

    // Blocked before any thread starts, so every thread inherits the mask and only sigwait
    // below receives the stop request.
    sigset_t stopSignals;
    sigemptyset(&stopSignals);
    sigaddset(&stopSignals, SIGINT);
    sigaddset(&stopSignals, SIGTERM);
    pthread_sigmask(SIG_BLOCK, &stopSignals, nullptr);

    SimOptions options = command.options;
    options.realTime = true;
    CSimServer server(options);
    const int port = server.Start();
    if (port < 0) {
        std::fprintf(stderr, "parlendo-sim: cannot listen: %s\n", server.Error().c_str());
        return 1;
    }
    std::printf("parlendo-sim listening on %s:%d\n", options.host.c_str(), port);
    std::fflush(stdout);

    int received = 0;
    sigwait(&stopSignals, &received);
    server.Stop();
    const SimStats stats = server.World().Stats();
    std::fprintf(stderr,
                 "parlendo-sim: stopped; %llu messages in, %llu out, %llu connections, %llu "
                 "visitors arrived, %llu faults struck, %llu flood events\n",
                 static_cast<unsigned long long>(stats.messagesIn),
                 static_cast<unsigned long long>(stats.messagesOut),
                 static_cast<unsigned long long>(stats.connectionsAccepted),
                 static_cast<unsigned long long>(stats.visitorsArrived),
                 static_cast<unsigned long long>(stats.faultsStruck),
                 static_cast<unsigned long long>(stats.floodEvents));
    return 0;
}
