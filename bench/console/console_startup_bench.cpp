// Runs "parlendo --demo --exit-after-login" and measures, per run:
// - the time from starting the process to its first shown main window ("shown" on stdout);
// - the time to a logged-in console with the visitors listed, and its resident memory then
//   ("listed <n> <ms> rss-kb <kB>").
// Without DISPLAY and QT_QPA_PLATFORM the console runs on the offscreen platform.
//
//   build/bench/console/console_startup_bench
//   xvfb-run -a build/bench/console/console_startup_bench     (a real X server)

#include <benchmark/benchmark.h>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <optional>
#include <spawn.h>
#include <string>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

extern char** environ;

namespace {

using Clock = std::chrono::steady_clock;

struct Run
{
    double shownMs = -1;  // measured here, from spawn to the line
    double listedMs = -1; // likewise
    long visitors = -1;
    long rssKb = -1;
};

std::optional<Run> RunConsole(int visitors)
{
    int out[2];
    if (::pipe(out) != 0)
        return std::nullopt;
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_adddup2(&actions, out[1], STDOUT_FILENO);
    posix_spawn_file_actions_addclose(&actions, out[0]);
    // Qt's own chatter would run through the benchmark's table.
    posix_spawn_file_actions_addopen(&actions, STDERR_FILENO, "/dev/null", O_WRONLY, 0);

    const std::string count = std::to_string(visitors);
    std::vector<char*> argv = {
        const_cast<char*>(PARLENDO_EXE),         const_cast<char*>("--demo"),
        const_cast<char*>("--demo-visitors"),    const_cast<char*>(count.c_str()),
        const_cast<char*>("--exit-after-login"), nullptr};
    const auto start = Clock::now();
    pid_t pid = 0;
    const int spawned = posix_spawn(&pid, PARLENDO_EXE, &actions, nullptr, argv.data(), environ);
    posix_spawn_file_actions_destroy(&actions);
    ::close(out[1]);
    if (spawned != 0) {
        ::close(out[0]);
        return std::nullopt;
    }

    Run run;
    FILE* lines = ::fdopen(out[0], "r");
    char line[256];
    while (lines && std::fgets(line, sizeof line, lines)) {
        const double ms = std::chrono::duration<double, std::milli>(Clock::now() - start).count();
        long n = 0, at = 0, kb = 0;
        if (std::strncmp(line, "shown ", 6) == 0) {
            run.shownMs = ms;
        } else if (std::sscanf(line, "listed %ld %ld rss-kb %ld", &n, &at, &kb) == 3) {
            run.listedMs = ms;
            run.visitors = n;
            run.rssKb = kb;
        }
    }
    if (lines)
        std::fclose(lines);
    int status = 0;
    ::waitpid(pid, &status, 0);
    if (!WIFEXITED(status) || WEXITSTATUS(status) != 0 || run.shownMs < 0 || run.listedMs < 0)
        return std::nullopt;
    return run;
}

void Prepare()
{
    if (!std::getenv("DISPLAY") && !std::getenv("QT_QPA_PLATFORM"))
        ::setenv("QT_QPA_PLATFORM", "offscreen", 1);
}

void BM_DemoStartupToShown(benchmark::State& state)
{
    Prepare();
    double rss = 0;
    for (auto _ : state) {
        const auto run = RunConsole(12);
        if (!run) {
            state.SkipWithError("the console did not run to the end");
            return;
        }
        state.SetIterationTime(run->shownMs / 1000.0);
        rss = run->rssKb / 1024.0;
    }
    state.counters["rss_MB"] = rss;
}
BENCHMARK(BM_DemoStartupToShown)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(10);

// Time to a logged-in console listing 1,000 visitors, and its resident memory then.
void BM_DemoLoggedInWith1000Visitors(benchmark::State& state)
{
    Prepare();
    double rss = 0;
    long listed = 0;
    for (auto _ : state) {
        const auto run = RunConsole(1000);
        if (!run) {
            state.SkipWithError("the console did not run to the end");
            return;
        }
        state.SetIterationTime(run->listedMs / 1000.0);
        rss = run->rssKb / 1024.0;
        listed = run->visitors;
    }
    state.counters["rss_MB"] = rss;
    state.counters["visitors"] = static_cast<double>(listed);
}
BENCHMARK(BM_DemoLoggedInWith1000Visitors)
    ->UseManualTime()
    ->Unit(benchmark::kMillisecond)
    ->Iterations(5);

} // namespace

BENCHMARK_MAIN();
