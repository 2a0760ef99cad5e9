// module-sim: the SMS and network expansion module on the panel's second
// serial line. One request at a time; periodic signal reports and event
// polls between the requests typed on its input.
#include <fcntl.h>
#include <poll.h>
#include <sys/signalfd.h>
#include <sys/stat.h>
#include <termios.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <cmath>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <deque>
#include <optional>

#include "tools/common/tool_text.h"
#include "options.h"
#include "requests.h"
#include "serial/framing.h"
#include "serial_end.h"

namespace vesk {
namespace {

using SteadyClock = std::chrono::steady_clock;

// The module's line runs at 9600 baud; on a pseudo-terminal it makes no
// difference.
void setModuleSpeed(int fd) {
    termios t{};
    if (tcgetattr(fd, &t) != 0) return;
    cfsetispeed(&t, B9600);
    cfsetospeed(&t, B9600);
    tcsetattr(fd, TCSANOW, &t);
}

// Lines of one input (stdin or the FIFO).
class InputLines {
public:
    explicit InputLines(int fd) : fd_(fd) {}
    int fd() const { return fd_; }
    bool open() const { return fd_ >= 0; }
    // Reads what is there; false at the end of the input.
    bool fill() {
        char buf[1024];
        const ssize_t n = ::read(fd_, buf, sizeof buf);
        if (n < 0 && (errno == EAGAIN || errno == EINTR)) return true;
        if (n <= 0) {
            fd_ = -1;
            return false;
        }
        pending_.append(buf, static_cast<size_t>(n));
        return true;
    }
    std::optional<std::string> next() {
        const size_t nl = pending_.find('\n');
        if (nl == std::string::npos) return std::nullopt;
        std::string line = pending_.substr(0, nl);
        pending_.erase(0, nl + 1);
        if (!line.empty() && line.back() == '\r') line.pop_back();
        return line;
    }

private:
    int fd_;
    std::string pending_;
};

struct Request {
    ModuleMessage message;
    bool periodic = false;  // the module's own traffic: printed only when it matters
};

class ModuleSim {
public:
    ModuleSim(const ModuleSimOptions& opt, SerialEnd& line, double scale)
        : opt_(opt), line_(line), scale_(scale), start_(SteadyClock::now()) {}

    int run(int sigFd, std::vector<InputLines>& inputs);

private:
    double realNow() const { return std::chrono::duration<double>(SteadyClock::now() - start_).count(); }
    void queuePeriodic(double now);
    void sendNext(double now);
    void onFrame(const std::vector<uint8_t>& reply);
    void onTimeout();
    bool onLine(const std::string& line);
    void setAnswering(bool answering);

    const ModuleSimOptions& opt_;
    SerialEnd& line_;
    const double scale_;
    const SteadyClock::time_point start_;
    std::deque<Request> queue_;
    std::optional<Request> outstanding_;
    double replyDeadline_ = 0;
    double nextSignal_ = 0;
    double nextPoll_ = 0;
    FrameDecoder decoder_{600};
    std::optional<uint16_t> lastCounter_;
    bool answering_ = true;
};

void ModuleSim::queuePeriodic(double now) {
    auto due = [&](double every, double& next) {
        if (every <= 0 || now < next) return false;
        next = now + every / scale_;
        return true;
    };
    auto queued = [&](uint8_t code) {
        return std::any_of(queue_.begin(), queue_.end(), [&](const Request& r) { return r.message[0] == code; });
    };
    if (due(opt_.signalEvery, nextSignal_) && !queued(signalRequest(0)[0]))
        queue_.push_back({signalRequest(opt_.signalValue), true});
    if (due(opt_.pollEvery, nextPoll_) && !queued(eventsRequest()[0])) queue_.push_back({eventsRequest(), true});
}

void ModuleSim::sendNext(double now) {
    if (outstanding_ || queue_.empty()) return;
    Request r = std::move(queue_.front());
    queue_.pop_front();
    const std::vector<uint8_t> wire = encodeFrame(r.message);
    size_t done = 0;
    while (done < wire.size()) {
        const ssize_t w = ::write(line_.fd(), wire.data() + done, wire.size() - done);
        if (w > 0) {
            done += static_cast<size_t>(w);
        } else if (w < 0 && errno != EINTR && errno != EAGAIN) {
            std::printf("module: cannot write to the line: %s\n", std::strerror(errno));
            return;
        } else {
            pollfd p{line_.fd(), POLLOUT, 0};
            ::poll(&p, 1, 100);
        }
    }
    outstanding_ = std::move(r);
    replyDeadline_ = now + opt_.replyTimeout;
}

void ModuleSim::setAnswering(bool answering) {
    if (answering == answering_) return;
    answering_ = answering;
    std::printf(answering ? "module: the panel answers again\n" : "module: the panel does not answer\n");
}

void ModuleSim::onFrame(const std::vector<uint8_t>& reply) {
    if (!outstanding_) {
        std::printf("module: reply without a request: %zu bytes\n", reply.size());
        return;
    }
    const Request r = std::move(*outstanding_);
    outstanding_.reset();
    setAnswering(true);
    if (!r.periodic) {
        std::printf("%s\n", describeReply(r.message, reply).c_str());
        return;
    }
    if (r.message[0] != eventsRequest()[0]) return;
    const std::optional<EventReply> e = parseEventReply(reply);
    if (!e) return;
    if (lastCounter_ != e->counter)
        std::printf("event: counter=%u a=0x%04x b=0x%04x\n", e->counter, e->wordA, e->wordB);
    lastCounter_ = e->counter;
}

void ModuleSim::onTimeout() {
    const Request r = std::move(*outstanding_);
    outstanding_.reset();
    decoder_.reset();
    if (r.periodic)
        setAnswering(false);
    else
        std::printf("no reply\n");
}

bool ModuleSim::onLine(const std::string& text) {
    const ModuleCommand c = parseModuleCommand(text);
    switch (c.kind) {
    case ModuleCommand::Send:
        for (const ModuleMessage& m : c.requests) queue_.push_back({m, false});
        break;
    case ModuleCommand::Help: std::printf("%s", moduleSimUsage()); break;
    case ModuleCommand::Quit: return false;
    case ModuleCommand::Bad: std::printf("error %s\n", c.error.c_str()); break;
    case ModuleCommand::Nothing: break;
    }
    return true;
}

int ModuleSim::run(int sigFd, std::vector<InputLines>& inputs) {
    double lastHousekeeping = 0;
    for (bool quit = false; !quit;) {
        double now = realNow();
        queuePeriodic(now);
        sendNext(now);
        if (now - lastHousekeeping >= 1) {
            line_.releaseExclusive();
            lastHousekeeping = now;
        }

        std::vector<pollfd> fds{{line_.fd(), POLLIN, 0}, {sigFd, POLLIN, 0}};
        for (const InputLines& in : inputs)
            if (in.open()) fds.push_back({in.fd(), POLLIN, 0});
        double wait = 0.05;
        if (outstanding_) wait = std::min(wait, replyDeadline_ - now);
        ::poll(fds.data(), fds.size(), std::max(1, static_cast<int>(wait * 1000)));

        if (fds[0].revents & POLLIN) {
            uint8_t buf[512];
            const ssize_t n = ::read(line_.fd(), buf, sizeof buf);
            for (ssize_t i = 0; i < n; ++i)
                if (auto f = decoder_.feed(buf[i])) onFrame(*f);
        } else if (fds[0].revents & (POLLHUP | POLLERR)) {
            ::usleep(20000);  // a given tty that went away; try again later
        }
        if (fds[1].revents & POLLIN) quit = true;
        for (size_t i = 2; i < fds.size(); ++i) {
            if (!(fds[i].revents & (POLLIN | POLLHUP | POLLERR))) continue;
            for (InputLines& in : inputs) {
                if (in.fd() != fds[i].fd) continue;
                in.fill();
                while (auto l = in.next())
                    if (!onLine(*l)) quit = true;
            }
        }
        if (outstanding_ && realNow() >= replyDeadline_) onTimeout();
        std::fflush(stdout);
    }
    std::printf("module: stopped\n");
    return 0;
}

int run(const ModuleSimOptions& opt) {
    std::setvbuf(stdout, nullptr, _IOLBF, 0);
    std::signal(SIGPIPE, SIG_IGN);
    sigset_t sigs;
    sigemptyset(&sigs);
    sigaddset(&sigs, SIGINT);
    sigaddset(&sigs, SIGTERM);
    sigprocmask(SIG_BLOCK, &sigs, nullptr);
    const int sigFd = signalfd(-1, &sigs, SFD_CLOEXEC | SFD_NONBLOCK);

    std::string error;
    SerialEnd line;
    if (!(opt.device.empty() ? line.openPty(error) : line.openDevice(opt.device, error))) {
        std::fprintf(stderr, "module-sim: %s\n", error.c_str());
        return 1;
    }
    setModuleSpeed(line.fd());

    std::vector<InputLines> inputs;
    if (opt.readStdin) inputs.emplace_back(STDIN_FILENO);
    if (!opt.input.empty()) {
        if (::mkfifo(opt.input.c_str(), 0600) != 0 && errno != EEXIST) {
            std::fprintf(stderr, "module-sim: cannot make %s: %s\n", opt.input.c_str(), std::strerror(errno));
            return 1;
        }
        // Held open for writing too, so that writers coming and going never
        // end the input.
        const int fd = ::open(opt.input.c_str(), O_RDWR | O_NONBLOCK | O_CLOEXEC);
        if (fd < 0) {
            std::fprintf(stderr, "module-sim: cannot open %s: %s\n", opt.input.c_str(), std::strerror(errno));
            return 1;
        }
        inputs.emplace_back(fd);
    }

    const double scale = timeScaleFromEnv();
    std::printf("VESK_COM4=%s\n", line.path().c_str());
    std::printf("module-sim: signal %d every %g s, event poll every %g s, time scale %g%s%s\n", opt.signalValue,
                opt.signalEvery, opt.pollEvery, scale, opt.input.empty() ? "" : ", commands also from ",
                opt.input.c_str());
    std::fflush(stdout);
    ModuleSim sim(opt, line, scale);
    return sim.run(sigFd, inputs);
}

}  // namespace
}  // namespace vesk

int main(int argc, char** argv) {
    vesk::ModuleSimOptions opt;
    std::string error;
    if (!vesk::parseModuleSimOptions(argc, argv, opt, error)) {
        std::fprintf(stderr, "module-sim: %s\n%s", error.c_str(), vesk::moduleSimUsage());
        return 2;
    }
    if (opt.help) {
        std::printf("%s", vesk::moduleSimUsage());
        return 0;
    }
    return vesk::run(opt);
}
