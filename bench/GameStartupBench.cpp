#include <benchmark/benchmark.h>

#include <cstdio>
#include <cstdlib>
#include <fcntl.h>
#include <filesystem>
#include <string>
#include <sys/wait.h>
#include <unistd.h>

// The game's start-up from the program's start to the first presented frame of the logos
// scene, and its resident memory then, beside the floor beneath it: a window of the same
// window layer whose OpenGL context presents one cleared frame (loading SDL, Mesa and a GL
// context). Each iteration starts a fresh probe process (bench/startup/StartupProbe.cpp) in the
// folder of the built content archive, under SDL's offscreen video and OpenAL-soft's null
// output, with data folders of its own; the time is the wall clock from before the process is
// made until it has reported.
namespace {

// The probe's resident kilobytes, or -1 when it failed.
long runProbe(const char* mode, const std::filesystem::path& dataFolder) {
    int ends[2];
    if (::pipe(ends) != 0)
        return -1;
    const pid_t child = ::fork();
    if (child == 0) {
        ::close(ends[0]);
        // The probe reports on descriptor 3; its log lines go nowhere.
        ::dup2(ends[1], 3);
        const int nowhere = ::open("/dev/null", O_WRONLY);
        ::dup2(nowhere, STDOUT_FILENO);
        const std::string data = dataFolder.string();
        ::setenv("XDG_DATA_HOME", data.c_str(), 1);
        ::setenv("XDG_STATE_HOME", data.c_str(), 1);
        ::setenv("XDG_RUNTIME_DIR", data.c_str(), 1);
        ::setenv("SDL_VIDEODRIVER", "offscreen", 1);
        ::setenv("ALSOFT_DRIVERS", "null", 1);
        if (::chdir(std::filesystem::path(VELMORA_CONTENT_ARCHIVE).parent_path().c_str()) == 0)
            ::execl(VANTOR_STARTUP_PROBE, VANTOR_STARTUP_PROBE, mode, static_cast<char*>(nullptr));
        ::_exit(127);
    }
    ::close(ends[1]);
    char text[32] = {};
    const ssize_t got = ::read(ends[0], text, sizeof(text) - 1);
    ::close(ends[0]);
    int status = 0;
    ::waitpid(child, &status, 0);
    return got > 0 && WIFEXITED(status) && WEXITSTATUS(status) == 0 ? std::atol(text) : -1;
}

void startup(benchmark::State& state, const char* mode) {
    char pattern[] = "/tmp/vantor-startup-XXXXXX";
    if (!::mkdtemp(pattern)) {
        state.SkipWithError("no temporary folder");
        return;
    }
    long kilobytes = 0;
    for (auto _ : state) {
        const long resident = runProbe(mode, pattern);
        if (resident < 0) {
            state.SkipWithError("the probe failed");
            break;
        }
        kilobytes += resident;
    }
    std::filesystem::remove_all(pattern);
    if (state.iterations() > 0)
        state.counters["resident_MB"] = double(kilobytes) / 1024.0 / double(state.iterations());
}

void BM_GameStartup(benchmark::State& state) {
    startup(state, "game");
}

void BM_WindowStartup(benchmark::State& state) {
    startup(state, "window");
}

BENCHMARK(BM_GameStartup)
    ->Name("GameStartup/vantor")
    ->Iterations(5)
    ->UseRealTime()
    ->Unit(benchmark::kMillisecond);
BENCHMARK(BM_WindowStartup)
    ->Name("GameStartup/window_floor")
    ->Iterations(5)
    ->UseRealTime()
    ->Unit(benchmark::kMillisecond);

} // namespace
