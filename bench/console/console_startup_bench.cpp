// Runs "parlendo --demo --exit-after-login" and measures, per run:
// - the time from starting the process to its first shown main window ("shown" on stdout);
// - the time to a logged-in console with the visitors listed, and its resident memory then
//   ("listed <n> <ms> rss-kb <kB>");
// - for the idle figures (--stay), the processor time the whole process (console and the demo's
//   simulated server) uses over ten seconds of sitting logged in, read from /proc/<pid>/stat
//   (utime + stime) before and after, and its resident memory at the end. Measured with the
//   demo's crowd quiet (--demo-quiet: nobody comes, goes or asks for a chat) and lively.
// Without DISPLAY and QT_QPA_PLATFORM the console runs on the offscreen platform. PARLENDO_CONSOLE
// names another console program to measure (an older build, side by side with this one).
//
//   build/bench/console/console_startup_bench
//   xvfb-run -a build/bench/console/console_startup_bench     (a real X server)

#include <benchmark/benchmark.h>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <dirent.h>
#include <fcntl.h>
#include <optional>
#include <spawn.h>
#include <string>
#include <sys/wait.h>
#include <thread>
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
    double idleCpuMs = -1;   // over the idle time, from stat
    double idleOnCpuMs = -1; // likewise, from the threads' schedstat
    long idleRssKb = -1;     // at its end
    long idlePssKb = -1;     // likewise, the shared pages counted by the share
};

// How a run sits logged in before quitting: for how long it is measured, and whether the
// demo's crowd is quiet.
struct Idle
{
    std::chrono::seconds measured{0};
    bool quiet = false;
};

// Before the idle time is measured: the first paints and the lists' settling.
constexpr std::chrono::seconds kSettle{2};

// utime + stime of a process in milliseconds, from /proc/<pid>/stat; -1 when unreadable.
double ProcessorMs(pid_t pid)
{
    const std::string path = "/proc/" + std::to_string(pid) + "/stat";
    FILE* file = std::fopen(path.c_str(), "r");
    if (!file)
        return -1;
    char text[1024] = {};
    const size_t n = std::fread(text, 1, sizeof text - 1, file);
    std::fclose(file);
    // The command name may hold blanks and parentheses: the fields start after the last ')'.
    const char* rest = std::strrchr(text, ')');
    if (n == 0 || !rest)
        return -1;
    unsigned long long utime = 0, stime = 0;
    // Fields 3 to 13 are skipped; 14 and 15 are utime and stime, in clock ticks.
    if (std::sscanf(rest + 1, " %*c %*d %*d %*d %*d %*d %*u %*u %*u %*u %*u %llu %llu", &utime,
                    &stime) != 2)
        return -1;
    return static_cast<double>(utime + stime) * 1000.0 /
           static_cast<double>(::sysconf(_SC_CLK_TCK));
}

// The same to the nanosecond: the time on a processor of every thread, from the scheduler's
// statistics (/proc/<pid>/task/<tid>/schedstat); the clock ticks of stat are ten milliseconds.
double ThreadsOnCpuMs(pid_t pid)
{
    const std::string tasks = "/proc/" + std::to_string(pid) + "/task";
    DIR* dir = ::opendir(tasks.c_str());
    if (!dir)
        return -1;
    unsigned long long total = 0;
    while (const dirent* entry = ::readdir(dir)) {
        if (entry->d_name[0] == '.')
            continue;
        FILE* file = std::fopen((tasks + "/" + entry->d_name + "/schedstat").c_str(), "r");
        unsigned long long ns = 0;
        if (file && std::fscanf(file, "%llu", &ns) == 1)
            total += ns;
        if (file)
            std::fclose(file);
    }
    ::closedir(dir);
    return static_cast<double>(total) / 1e6;
}

// The first "<field> <n> kB" line of a file in /proc/<pid>, in kB; -1 when none.
long ProcKb(pid_t pid, const char* file, const char* field)
{
    const std::string path = "/proc/" + std::to_string(pid) + "/" + file;
    FILE* in = std::fopen(path.c_str(), "r");
    if (!in)
        return -1;
    const std::string format = std::string(field) + " %ld";
    char line[256];
    long kb = -1;
    while (std::fgets(line, sizeof line, in))
        if (std::sscanf(line, format.c_str(), &kb) == 1)
            break;
    std::fclose(in);
    return kb;
}

long ResidentKb(pid_t pid)
{
    return ProcKb(pid, "status", "VmRSS:");
}

// The proportional share: a library mapped by other processes too (Qt by a desktop's other Qt
// programs) counts by its share, as the memory the console really adds to the machine.
long ProportionalKb(pid_t pid)
{
    return ProcKb(pid, "smaps_rollup", "Pss:");
}

const char* ConsoleProgram()
{
    const char* other = std::getenv("PARLENDO_CONSOLE");
    return other && *other ? other : PARLENDO_EXE;
}

std::optional<Run> RunConsole(int visitors, Idle idle = {})
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
    const std::string stay = std::to_string((idle.measured + 2 * kSettle).count());
    std::vector<char*> argv = {
        const_cast<char*>(ConsoleProgram()),  const_cast<char*>("--demo"),
        const_cast<char*>("--demo-visitors"), const_cast<char*>(count.c_str()),
        const_cast<char*>("--exit-after-login")};
    if (idle.measured.count() > 0) {
        argv.push_back(const_cast<char*>("--stay"));
        argv.push_back(const_cast<char*>(stay.c_str()));
    }
    if (idle.quiet)
        argv.push_back(const_cast<char*>("--demo-quiet"));
    argv.push_back(nullptr);
    const auto start = Clock::now();
    pid_t pid = 0;
    const int spawned = posix_spawn(&pid, ConsoleProgram(), &actions, nullptr, argv.data(), environ);
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
            if (idle.measured.count() > 0) {
                // The console stays for the settling, the measured time and as long again
                // as the settling; it prints nothing more meanwhile.
                std::this_thread::sleep_for(kSettle);
                const double before = ProcessorMs(pid);
                const double onCpuBefore = ThreadsOnCpuMs(pid);
                std::this_thread::sleep_for(idle.measured);
                const double after = ProcessorMs(pid);
                const double onCpuAfter = ThreadsOnCpuMs(pid);
                run.idleRssKb = ResidentKb(pid);
                run.idlePssKb = ProportionalKb(pid);
                if (before >= 0 && after >= 0)
                    run.idleCpuMs = after - before;
                if (onCpuBefore >= 0 && onCpuAfter >= 0)
                    run.idleOnCpuMs = onCpuAfter - onCpuBefore;
            }
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

// Ten seconds logged in with nothing to do: the processor time per second (should be about
// zero; cpu_ms_per_s from stat in 10 ms ticks, on_cpu_ms_per_s from schedstat to the
// nanosecond) and the resident memory. Arguments: visitors listed, 1 for a quiet crowd.
void BM_DemoIdleLoggedIn(benchmark::State& state)
{
    Prepare();
    const Idle idle{std::chrono::seconds(10), state.range(1) == 1};
    Run run;
    for (auto _ : state) {
        const auto result = RunConsole(static_cast<int>(state.range(0)), idle);
        if (!result || result->idleCpuMs < 0) {
            state.SkipWithError("the console did not run to the end");
            return;
        }
        run = *result;
        state.SetIterationTime(static_cast<double>(idle.measured.count()));
    }
    const double seconds = static_cast<double>(idle.measured.count());
    state.counters["cpu_ms_per_s"] = run.idleCpuMs / seconds;
    state.counters["cpu_percent"] = run.idleCpuMs / seconds / 10.0;
    state.counters["on_cpu_ms_per_s"] = run.idleOnCpuMs / seconds;
    state.counters["rss_MB"] = static_cast<double>(run.idleRssKb) / 1024.0;
    state.counters["pss_MB"] = static_cast<double>(run.idlePssKb) / 1024.0;
    state.counters["visitors"] = static_cast<double>(run.visitors);
}
BENCHMARK(BM_DemoIdleLoggedIn)
    ->ArgNames({"visitors", "quiet"})
    ->Args({12, 1})
    ->Args({12, 0})
    ->Args({1'000, 1})
    ->Args({10'000, 1})
    ->UseManualTime()
    ->Unit(benchmark::kSecond)
    ->Iterations(1);

} // namespace

BENCHMARK_MAIN();
