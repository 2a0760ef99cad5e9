// boiler-sim: the power board and the boiler behind it, on a serial line,
// in real time scaled by VESK_TIME_SCALE.
#include <poll.h>
#include <sys/signalfd.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cmath>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <ctime>

#include "tools/common/tool_text.h"
#include "control_server.h"
#include "options.h"
#include "serial_end.h"
#include "sim/board_emulator.h"
#include "sim/sim_console.h"
#include "sim/sim_link.h"

namespace vesk {
namespace {

using SteadyClock = std::chrono::steady_clock;

double localHourNow() {
    std::time_t t = std::time(nullptr);
    std::tm tm{};
    localtime_r(&t, &tm);
    return tm.tm_hour + tm.tm_min / 60.0 + tm.tm_sec / 3600.0;
}

std::string clockText(double simSeconds) {
    long s = std::lround(simSeconds);
    char buf[32];
    std::snprintf(buf, sizeof buf, "%02ld:%02ld:%02ld", s / 3600, (s / 60) % 60, s % 60);
    return buf;
}

// Readings queued for the line beyond this are dropped, not buffered.
constexpr size_t kMaxQueued = 1024;
// Unread bytes in the pty above this are stale readings.
constexpr size_t kStaleBytes = 512;
// Fast time scales still leave the panel a little room between frames.
constexpr double kMinFrameGapRealS = 0.002;

int run(const SimOptions& opt) {
    std::setvbuf(stdout, nullptr, _IOLBF, 0);
    std::signal(SIGPIPE, SIG_IGN);
    sigset_t sigs;
    sigemptyset(&sigs);
    sigaddset(&sigs, SIGINT);
    sigaddset(&sigs, SIGTERM);
    sigprocmask(SIG_BLOCK, &sigs, nullptr);
    int sigFd = signalfd(-1, &sigs, SFD_CLOEXEC | SFD_NONBLOCK);

    const double scale = timeScaleFromEnv();
    PlantConfig cfg;
    cfg.seed = opt.seed;
    cfg.sensorNoiseK = opt.noise;
    cfg.sensor9IsAuger = opt.sensor9Auger;
    cfg.hydraulicSeparator = opt.hydraulicSeparator;
    if (opt.outdoor) cfg.outdoorBaseC = *opt.outdoor;
    PlantModel plant(cfg);
    BoardEmulator board(plant, opt.firmware, opt.variant);
    board.setSilenceSeconds(opt.silence);
    SimLink link(board);
    SimConsole console(board);

    std::string error;
    SerialEnd line;
    if (!(opt.device.empty() ? line.openPty(error) : line.openDevice(opt.device, error))) {
        std::fprintf(stderr, "boiler-sim: %s\n", error.c_str());
        return 1;
    }
    ControlServer control;
    if (!opt.control.empty() && !control.listen(opt.control, error)) {
        std::fprintf(stderr, "boiler-sim: %s\n", error.c_str());
        return 1;
    }
    std::printf("VESK_COM1=%s\n", line.path().c_str());
    std::printf("boiler-sim: firmware 0x%04x (%s), variant %s, time scale %g%s%s\n", opt.firmware,
                firmwareText(opt.firmware).c_str(), isKestralo(opt.variant) ? "kestralo" : "orvena", scale,
                opt.control.empty() ? "" : ", control socket ", opt.control.c_str());
    std::fflush(stdout);

    const auto start = SteadyClock::now();
    auto realSince = [&](SteadyClock::time_point t) { return std::chrono::duration<double>(SteadyClock::now() - t).count(); };
    const double startHour = localHourNow();
    double simDone = 0;
    double nextFrame = 0;
    double nextPrint = opt.printEvery;
    SteadyClock::time_point lastFrameReal = start - std::chrono::seconds(1);
    SteadyClock::time_point lastPrintReal = start - std::chrono::seconds(1);
    SteadyClock::time_point lastHousekeeping = start;
    std::vector<uint8_t> outQ;
    bool stdinOpen = opt.readStdin;
    LineBuffer stdinLines;
    bool wasSafe = false;
    bool quit = false;

    auto runCommand = [&](const std::string& cmd) { return console.execute(cmd); };

    while (!quit) {
        double simNow = realSince(start) * scale;
        while (simDone < simNow) {
            double dt = std::min(1.0, simNow - simDone);
            board.step(dt, std::fmod(startHour + simDone / 3600, 24.0));
            simDone += dt;
        }
        if (board.safeState() != wasSafe) {
            wasSafe = board.safeState();
            if (wasSafe)
                std::printf("[%s] board: no command for %g s, auger, fans and igniter stopped\n",
                            clockText(simDone).c_str(), board.silenceSeconds());
            else
                std::printf("[%s] board: commands resumed\n", clockText(simDone).c_str());
        }
        if (simDone >= nextFrame && realSince(lastFrameReal) >= kMinFrameGapRealS) {
            line.dropStale(kStaleBytes);
            if (outQ.size() < kMaxQueued) {
                std::vector<uint8_t> f = link.readingsFrame();
                outQ.insert(outQ.end(), f.begin(), f.end());
            }
            lastFrameReal = SteadyClock::now();
            nextFrame += 1;
            if (nextFrame <= simDone) nextFrame = simDone + 1;  // catch up without a burst
        }
        if (opt.printEvery > 0 && simDone >= nextPrint && realSince(lastPrintReal) >= 1.0) {
            std::printf("[%s] %s | command: %s\n", clockText(simDone).c_str(), plant.describe().c_str(),
                        board.describeLastCommand().c_str());
            lastPrintReal = SteadyClock::now();
            nextPrint = simDone + opt.printEvery;
        }
        if (realSince(lastHousekeeping) >= 1.0) {
            line.releaseExclusive();
            lastHousekeeping = SteadyClock::now();
        }

        std::vector<pollfd> fds;
        fds.push_back({line.fd(), static_cast<short>(POLLIN | (outQ.empty() ? 0 : POLLOUT)), 0});
        fds.push_back({sigFd, POLLIN, 0});
        if (stdinOpen) fds.push_back({STDIN_FILENO, POLLIN, 0});
        size_t controlFrom = fds.size();
        control.addPollFds(fds);
        double waitS = std::max(0.0, (nextFrame - simDone) / scale);
        int timeoutMs = std::clamp(static_cast<int>(waitS * 1000), 1, 50);
        if (::poll(fds.data(), fds.size(), timeoutMs) < 0) continue;

        if (fds[0].revents & POLLIN) {
            uint8_t buf[512];
            ssize_t n = ::read(line.fd(), buf, sizeof buf);
            if (n > 0) link.receive(buf, static_cast<size_t>(n));
        }
        if ((fds[0].revents & POLLOUT) && !outQ.empty()) {
            ssize_t n = ::write(line.fd(), outQ.data(), outQ.size());
            if (n > 0) outQ.erase(outQ.begin(), outQ.begin() + n);
        }
        if (fds[0].revents & (POLLHUP | POLLERR)) {
            // A given tty that went away; keep the model running and retry later.
            outQ.clear();
            ::usleep(20000);
        }
        if (fds[1].revents & POLLIN) {
            signalfd_siginfo si;
            if (::read(sigFd, &si, sizeof si) > 0) quit = true;
        }
        if (stdinOpen && (fds[2].revents & (POLLIN | POLLHUP | POLLERR))) {
            char buf[1024];
            ssize_t n = ::read(STDIN_FILENO, buf, sizeof buf);
            if (n <= 0) {
                stdinOpen = false;
            } else {
                stdinLines.append(buf, static_cast<size_t>(n));
                while (auto cmd = stdinLines.next()) {
                    ConsoleReply r = runCommand(*cmd);
                    std::printf("%s\n", r.text.c_str());
                    quit = quit || r.quit;
                }
            }
        }
        std::vector<pollfd> controlFds(fds.begin() + static_cast<long>(controlFrom), fds.end());
        if (control.serve(controlFds, runCommand)) quit = true;
        std::fflush(stdout);
    }
    std::printf("[%s] boiler-sim: stopped\n", clockText(simDone).c_str());
    return 0;
}

}  // namespace
}  // namespace vesk

int main(int argc, char** argv) {
    vesk::SimOptions opt;
    std::string error;
    if (!vesk::parseOptions(argc, argv, opt, error)) {
        std::fprintf(stderr, "boiler-sim: %s\n%s", error.c_str(), vesk::usageText());
        return 2;
    }
    if (opt.help) {
        std::fputs(vesk::usageText(), stdout);
        return 0;
    }
    return vesk::run(opt);
}
