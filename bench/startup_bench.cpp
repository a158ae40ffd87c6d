// How long the program takes to start, and how much memory it holds, up to its first painted
// main window, next to a minimal Qt Widgets program built the same way (the floor). Each is a
// whole process on the offscreen platform, started afresh and ended by the program's
// first-paint hook; every program run is paired with a floor run right after it, and the
// medians are compared, so a burst of load on a shared machine moves both sides or neither.
// The counters "x_floor_time" and "x_floor_rss" are the two ratios; start-up should stay
// within twice the floor in both.
#include <QByteArray>
#include <QTemporaryDir>
#include <algorithm>
#include <benchmark/benchmark.h>
#include <chrono>
#include <fcntl.h>
#include <spawn.h>
#include <stdexcept>
#include <string>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

extern char** environ;

namespace {

struct Run {
    double seconds = 0;
    double peakMegabytes = 0;
};

// The environment of every run: offscreen, the first-paint hook on, and per-user folders of
// the benchmark's own, so that no run reads or writes the user's settings.
std::vector<std::string> runEnvironment(const QString& home)
{
    std::vector<std::string> environment;
    for (char** variable = environ; *variable; ++variable)
        environment.emplace_back(*variable);
    const std::string folder = home.toStdString();
    for (const std::string& setting :
         {std::string("QT_QPA_PLATFORM=offscreen"), std::string("VELDRA_EXIT_AFTER_FIRST_PAINT=1"),
          "HOME=" + folder, "XDG_CONFIG_HOME=" + folder + "/config", "XDG_DATA_HOME=" + folder + "/data",
          "XDG_CACHE_HOME=" + folder + "/cache", "XDG_RUNTIME_DIR=" + folder})
        environment.push_back(setting);
    return environment;
}

// Starts the program, waits for its end and reads its wall time and peak resident memory.
Run runToFirstPaint(const char* program, const std::vector<std::string>& environment)
{
    std::vector<char*> variables;
    for (const std::string& variable : environment)
        variables.push_back(const_cast<char*>(variable.c_str()));
    variables.push_back(nullptr);
    char* arguments[] = {const_cast<char*>(program), nullptr};
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, STDOUT_FILENO, "/dev/null", O_WRONLY, 0);
    posix_spawn_file_actions_addopen(&actions, STDERR_FILENO, "/dev/null", O_WRONLY, 0);
    const auto start = std::chrono::steady_clock::now();
    pid_t child = 0;
    const int spawned = posix_spawn(&child, program, &actions, nullptr, arguments, variables.data());
    posix_spawn_file_actions_destroy(&actions);
    if (spawned != 0)
        throw std::runtime_error(std::string("cannot start ") + program);
    int status = 0;
    rusage usage{};
    wait4(child, &status, 0, &usage);
    const auto end = std::chrono::steady_clock::now();
    if (!WIFEXITED(status) || WEXITSTATUS(status) != 0)
        throw std::runtime_error(std::string(program) + " did not end at its first paint");
    return {std::chrono::duration<double>(end - start).count(), double(usage.ru_maxrss) / 1024};
}

double median(std::vector<double> values)
{
    std::sort(values.begin(), values.end());
    const size_t middle = values.size() / 2;
    return values.size() % 2 ? values[middle] : (values[middle - 1] + values[middle]) / 2;
}

void StartToFirstPaint(benchmark::State& state)
{
    QTemporaryDir home;
    const std::vector<std::string> environment = runEnvironment(home.path());
    // A first run of each fills the file cache, as any start after the first finds it.
    runToFirstPaint(VELDRA_PROGRAM_FILE, environment);
    runToFirstPaint(MINIMAL_PROGRAM_FILE, environment);
    std::vector<double> times, floorTimes, memory, floorMemory;
    for (auto _ : state) {
        const Run program = runToFirstPaint(VELDRA_PROGRAM_FILE, environment);
        state.PauseTiming();
        const Run floor = runToFirstPaint(MINIMAL_PROGRAM_FILE, environment);
        state.ResumeTiming();
        times.push_back(program.seconds);
        memory.push_back(program.peakMegabytes);
        floorTimes.push_back(floor.seconds);
        floorMemory.push_back(floor.peakMegabytes);
    }
    state.counters["start_ms"] = median(times) * 1000;
    state.counters["floor_ms"] = median(floorTimes) * 1000;
    state.counters["x_floor_time"] = median(times) / median(floorTimes);
    state.counters["rss_MB"] = median(memory);
    state.counters["floor_rss_MB"] = median(floorMemory);
    state.counters["x_floor_rss"] = median(memory) / median(floorMemory);
}

BENCHMARK(StartToFirstPaint)->Unit(benchmark::kMillisecond)->Iterations(31);

} // namespace

BENCHMARK_MAIN();
