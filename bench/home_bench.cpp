// The home screen against the 60 Hz frame budget (a full repaint, and the
// partial repaint of a changed temperature), and the running panel's idle
// cost: CPU share and resident memory of each variant with the boiler page
// animating against the simulated boiler.
#include <benchmark/benchmark.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <thread>

#include "bench/frame_budget.h"
#include "bench/screen_rig.h"
#include "ui/screens/boiler_page.h"
#include "ui/screens/home_screen.h"

namespace vesk {
namespace {

// The home screen on the boiler page, burning: fan, auger and fire
// running, every value shown.
struct BurningHome : ScreenRig {
    BurningHome() {
        state.linkOk = 1;
        for (int i = 0; i < kSensorCount; ++i) state.sensors[i] = 40 + i;
        state.sensors[kSensorGas] = 140;
        state.burnerState = kBurning;
        state.burner.powerDisplay = 64;
        state.fanPower = 55;
        state.augerOn = 1;
        home = new HomeScreen(frame.get(), ctx);
        frame->setRoot(home);
        frame->invalidateAll();
        frame->processPending();
    }
    HomeScreen* home = nullptr;
};

bool haveArt(benchmark::State& state) { return haveArtwork(state, 226); }

void BM_HomeFullRepaint(benchmark::State& state) {
    if (!haveArt(state)) return;
    BurningHome h;
    const double start = threadCpuSeconds();
    for (auto _ : state) {
        h.frame->invalidateAll();
        h.frame->processPending();
    }
    reportBudget(state, start);
}
BENCHMARK(BM_HomeFullRepaint)->Unit(benchmark::kMicrosecond);

// One temperature changes: its box is copied back and redrawn in place.
void BM_HomeValueRepaint(benchmark::State& state) {
    if (!haveArt(state)) return;
    BurningHome h;
    TemperaturePanel* panel = h.home->boilerPage()->panel();
    StateSnapshot v = takeSnapshot(h.state);
    int t = 0;
    const double start = threadCpuSeconds();
    for (auto _ : state) {
        v.sensors[kSensorWater] = 40 + (t++ % 50);
        panel->update(v);
        h.frame->processPending();
    }
    reportBudget(state, start);
}
BENCHMARK(BM_HomeValueRepaint)->Unit(benchmark::kMicrosecond);

// What a refresh message costs on the boiler page (snapshot, panel,
// picture, indicator), as it arrives twice a second.
void BM_HomeRefreshMessage(benchmark::State& state) {
    if (!haveArt(state)) return;
    BurningHome h;
    int t = 0;
    const double start = threadCpuSeconds();
    for (auto _ : state) {
        h.state.sensors[kSensorWater] = 40 + (t++ % 50);
        h.frame->postRefresh();
        h.frame->processPending();
    }
    reportBudget(state, start);
}
BENCHMARK(BM_HomeRefreshMessage)->Unit(benchmark::kMicrosecond);

// ---- the running program ------------------------------------------------

struct Child {
    pid_t pid = -1;
    FILE* out = nullptr;
    bool start(const std::string& path, const std::vector<std::string>& args,
               const std::vector<std::pair<std::string, std::string>>& env) {
        int fds[2];
        if (::pipe(fds) != 0) return false;
        pid = ::fork();
        if (pid < 0) return false;
        if (pid == 0) {
            ::dup2(fds[1], STDOUT_FILENO);
            ::dup2(fds[1], STDERR_FILENO);
            ::close(fds[0]);
            ::close(fds[1]);
            for (const auto& [k, v] : env) ::setenv(k.c_str(), v.c_str(), 1);
            std::vector<char*> argv{const_cast<char*>(path.c_str())};
            for (const auto& a : args) argv.push_back(const_cast<char*>(a.c_str()));
            argv.push_back(nullptr);
            ::execv(path.c_str(), argv.data());
            ::_exit(127);
        }
        ::close(fds[1]);
        out = ::fdopen(fds[0], "r");
        return out != nullptr;
    }
    ~Child() {
        if (pid > 0) {
            ::kill(pid, SIGTERM);
            ::waitpid(pid, nullptr, 0);
        }
        if (out) std::fclose(out);
    }
};

// utime + stime in clock ticks.
long long cpuTicks(pid_t pid) {
    std::ifstream f("/proc/" + std::to_string(pid) + "/stat");
    std::string all((std::istreambuf_iterator<char>(f)), std::istreambuf_iterator<char>());
    std::istringstream rest(all.substr(all.rfind(')') + 2));
    std::string field;
    long long utime = 0, stime = 0;
    for (int i = 3; i <= 15 && rest >> field; ++i) {
        if (i == 14) utime = std::stoll(field);
        if (i == 15) stime = std::stoll(field);
    }
    return utime + stime;
}

long residentKb(pid_t pid) {
    std::ifstream f("/proc/" + std::to_string(pid) + "/status");
    std::string line;
    while (std::getline(f, line))
        if (line.rfind("VmRSS:", 0) == 0) return std::stol(line.substr(6));
    return 0;
}

// The variant of the benchmark's argument (0 ORVENA, 1 KESTRALO) at real
// speed, burning (the burner state comes from the EEPROM image), headless;
// CPU over 60 s (the process's times count in 10 ms ticks) and the resident
// set at the end.
void BM_PanelIdleCost(benchmark::State& state) {
    const bool kestralo = state.range(0) == 1;
    const std::string program = kestralo ? "KESTRALO" : "ORVENA";
    const std::string bin = executableFolder();
    if (!std::filesystem::exists(bin + program) || !std::filesystem::exists(bin + "boiler-sim")) {
        state.SkipWithError("the controller and boiler-sim must be built");
        return;
    }
    const auto home = std::filesystem::temp_directory_path() / ("vesk-home-bench-" + std::to_string(::getpid()));
    std::filesystem::create_directories(home / "CFG");
    std::ofstream(home / "CFG/service.cfg") << (kestralo ? "BOILER_TYPE=0\nPOWER=26\n" : "BOILER_TYPE=2\nPOWER=150\n");
    std::string eeprom(4096, '\0');
    eeprom[0] = 2;
    std::ofstream(home / "eeprom.bin", std::ios::binary) << eeprom;
    const std::vector<std::pair<std::string, std::string>> quiet = {{"SDL_AUDIODRIVER", "dummy"}};

    for (auto _ : state) {
        Child sim, panel;
        char line[256] = {};
        if (!sim.start(bin + "boiler-sim",
                       {"--no-stdin", "--print-every", "0", "--variant", kestralo ? "kestralo" : "orvena"}, quiet) ||
            !std::fgets(line, sizeof line, sim.out) || std::string(line).rfind("VESK_COM1=", 0) != 0) {
            state.SkipWithError("boiler-sim did not start");
            break;
        }
        std::string pty = line + 10;
        pty.erase(pty.find_last_not_of("\r\n") + 1);
        auto env = quiet;
        env.insert(env.end(), {{"VESK_HOME", home.string() + "/"}, {"VESK_COM1", pty}, {"VESK_DISPLAY", "headless"}});
        panel.start(bin + program, {}, env);
        std::this_thread::sleep_for(std::chrono::seconds(3));  // start-up and the first frames
        const long long t0 = cpuTicks(panel.pid);
        const auto w0 = std::chrono::steady_clock::now();
        std::this_thread::sleep_for(std::chrono::seconds(60));
        const long long t1 = cpuTicks(panel.pid);
        const double wall = std::chrono::duration<double>(std::chrono::steady_clock::now() - w0).count();
        state.counters["cpu_percent"] = 100.0 * double(t1 - t0) / double(::sysconf(_SC_CLK_TCK)) / wall;
        state.counters["rss_mb"] = double(residentKb(panel.pid)) / 1024.0;
    }
    std::error_code ec;
    std::filesystem::remove_all(home, ec);
}
BENCHMARK(BM_PanelIdleCost)->Arg(0)->Arg(1)->Iterations(1)->Unit(benchmark::kSecond);

}  // namespace
}  // namespace vesk

BENCHMARK_MAIN();
