// The figures of the command line as a user runs them: the whole process
// `ornelle FILE --export OUT` with no display, from start to exit, for a
// six-point polygon's Chaikin curve at level 20 (6,291,456 points, the
// point budget), into each kind of file.
#include <benchmark/benchmark.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <string>

#include <spawn.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

extern char **environ;

namespace {

const std::string program = ORNELLE_PROGRAM;
std::string folder;

// Runs the program with arguments and no display; its exit code, and its
// peak resident memory in MB in peak.
int run(const std::string &file, const std::string &out, double &peak)
{
    std::string path = folder + "/" + out;
    const char *argv[] = {program.c_str(), file.c_str(), "--export", path.c_str(), nullptr};
    pid_t pid = 0;
    if (posix_spawn(&pid, program.c_str(), nullptr, nullptr, const_cast<char **>(argv), environ) != 0)
        return -1;
    int status = 0;
    rusage usage{};
    wait4(pid, &status, 0, &usage);
    peak = static_cast<double>(usage.ru_maxrss) / 1024.0;
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

void Figure(benchmark::State &state, const char *suffix)
{
    const std::string file = folder + "/hexagon.ornelle";
    double peak = 0;
    for (auto _ : state) {
        const auto start = std::chrono::steady_clock::now();
        if (run(file, std::string("figure.") + suffix, peak) != 0) {
            state.SkipWithError("the export failed");
            return;
        }
        state.SetIterationTime(std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count());
    }
    state.counters["points"] = 6 << 20;
    state.counters["peak_MB"] = peak;
}

} // namespace

int main(int argc, char **argv)
{
    char name[] = "/tmp/ornelle-figure-bench-XXXXXX";
    if (!mkdtemp(name))
        return 1;
    folder = name;
    if (std::FILE *file = std::fopen((folder + "/hexagon.ornelle").c_str(), "w")) {
        std::fputs("{\"format\": \"ornelle\", \"version\": 1, \"closed\": true,\n"
                   " \"points\": [[-8, 0], [-4, 7], [4, 7], [8, 0], [4, -7], [-4, -7]],\n"
                   " \"scheme\": \"chaikin\", \"schemes\": {\"chaikin\": {\"u\": 0.75, \"level\": 20}}}\n",
                   file);
        std::fclose(file);
    }
    // The environment of a batch job: no display, no platform named.
    unsetenv("DISPLAY");
    unsetenv("WAYLAND_DISPLAY");
    unsetenv("QT_QPA_PLATFORM");
    for (const char *suffix : {"pdf", "svg", "eps", "png", "csv"})
        benchmark::RegisterBenchmark((std::string("Export/process/Chaikin6/level20/") + suffix).c_str(), Figure,
                                     suffix)
            ->UseManualTime()
            ->Unit(benchmark::kMillisecond)
            ->Iterations(3);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    std::system(("rm -rf " + folder).c_str());
    return 0;
}
