// Network benchmarks: the TLS-PSK handshake of the panel's client against
// openssl s_server, next to openssl's own s_client (a whole process per
// handshake); and a GetStatus round trip through the network thread and the
// real protocol session with 32 clients polling at once, next to a bare TCP
// request/answer of the same sizes measured in the same run.
#include <arpa/inet.h>
#include <benchmark/benchmark.h>
#include <fcntl.h>
#include <netinet/in.h>
#include <netinet/tcp.h>
#include <poll.h>
#include <signal.h>
#include <sys/socket.h>
#include <sys/wait.h>
#include <unistd.h>

#include <array>
#include <atomic>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <string>
#include <thread>
#include <vector>

#include "bench/loopback.h"
#include "core/controller_state.h"
#include "net/message.h"
#include "net/network.h"
#include "net/protocol_session.h"
#include "net/tls_session.h"
#include "protocol_panel.h"
#include "platform/manual_clock.h"
#include "platform/network_adapter.h"
#include "platform/real_clock.h"
#include "platform/real_timer_service.h"
#include "settings/param_table.h"
#include "settings/schedule.h"

namespace vesk {
namespace {

using Steady = std::chrono::steady_clock;

// ---- openssl s_server as the peer -------------------------------------

const char* kOpenssl = "/usr/bin/openssl";

struct OpensslServer {
    pid_t pid = -1;
    uint16_t port = 0;
    explicit OpensslServer(Variant v) {
        if (::access(kOpenssl, X_OK) != 0) return;
        char tmpl[] = "/tmp/vesk-net-bench-sserver-XXXXXX";
        int log = ::mkstemp(tmpl);
        int in[2];
        if (log < 0 || ::pipe(in) != 0) return;
        logPath = tmpl;
        const auto& info = variantInfo(v);
        const std::string key(info.pskKeyHex), id(info.pskIdentity);
        pid = ::fork();
        if (pid == 0) {
            // Output goes to a file nobody has to drain.
            ::dup2(in[0], 0);
            ::dup2(log, 1);
            ::dup2(log, 2);
            ::execl(kOpenssl, kOpenssl, "s_server", "-nocert", "-psk", key.c_str(), "-psk_identity", id.c_str(),
                    "-tls1_2", "-cipher", "PSK-AES128-CBC-SHA256", "-accept", "127.0.0.1:0", nullptr);
            ::_exit(127);
        }
        ::close(log);
        ::close(in[0]);
        stdinKeep = in[1];
        const auto deadline = Steady::now() + std::chrono::seconds(10);
        while (port == 0 && Steady::now() < deadline) {
            std::this_thread::sleep_for(std::chrono::milliseconds(10));
            FILE* f = std::fopen(logPath.c_str(), "r");
            char line[256];
            while (f && std::fgets(line, sizeof line, f))
                if (std::strncmp(line, "ACCEPT", 6) == 0 && std::strchr(line, ':') && std::strchr(line, '\n'))
                    port = static_cast<uint16_t>(std::atoi(std::strrchr(line, ':') + 1));
            if (f) std::fclose(f);
        }
    }
    ~OpensslServer() {
        if (pid > 0) {
            ::kill(pid, SIGKILL);
            ::waitpid(pid, nullptr, 0);
        }
        if (stdinKeep >= 0) ::close(stdinKeep);
        if (!logPath.empty()) ::unlink(logPath.c_str());
    }
    int stdinKeep = -1;
    std::string logPath;
};

bool waitFd(int fd, short ev) {
    pollfd p{fd, ev, 0};
    return ::poll(&p, 1, 10000) > 0;
}

bool ourHandshake(TlsSession& tls, uint16_t port) {
    ConnectResult r = connectTcp({0x7F000001, port});
    if (r.status == ConnectStatus::Failed) return false;
    if (r.status == ConnectStatus::InProgress && !waitFd(r.socket.fd(), POLLOUT)) return false;
    tls.reset();
    tls.attach(r.socket.fd());
    for (;;) {
        TlsStep s = tls.handshakeStep();
        if (s == TlsStep::Done) return true;
        if (s == TlsStep::Failed) return false;
        if (!waitFd(r.socket.fd(), s == TlsStep::WantRead ? POLLIN : POLLOUT)) return false;
    }
}

void BM_TlsHandshake_PanelClient(benchmark::State& state) {
    const Variant v = state.range(0) ? Variant::Kestralo : Variant::Orvena;
    OpensslServer server(v);
    if (server.port == 0) {
        state.SkipWithError("openssl s_server is not available");
        return;
    }
    auto tls = TlsSession::remoteClient(v);
    for (auto _ : state)
        if (!ourHandshake(*tls, server.port)) state.SkipWithError("handshake failed");
}
BENCHMARK(BM_TlsHandshake_PanelClient)->Arg(0)->Arg(1)->ArgName("kestralo")->Unit(benchmark::kMillisecond);

void BM_TlsHandshake_OpensslClient(benchmark::State& state) {
    const Variant v = state.range(0) ? Variant::Kestralo : Variant::Orvena;
    OpensslServer server(v);
    if (server.port == 0) {
        state.SkipWithError("openssl s_server is not available");
        return;
    }
    const auto& info = variantInfo(v);
    const std::string key(info.pskKeyHex), id(info.pskIdentity);
    const std::string target = "127.0.0.1:" + std::to_string(server.port);
    for (auto _ : state) {
        pid_t pid = ::fork();
        if (pid == 0) {
            int devnull = ::open("/dev/null", O_RDWR);
            ::dup2(devnull, 0);
            ::dup2(devnull, 1);
            ::dup2(devnull, 2);
            ::execl(kOpenssl, kOpenssl, "s_client", "-connect", target.c_str(), "-psk", key.c_str(),
                    "-psk_identity", id.c_str(), "-tls1_2", "-cipher", "PSK-AES128-CBC-SHA256", nullptr);
            ::_exit(127);
        }
        int status = 0;
        ::waitpid(pid, &status, 0);
    }
}
BENCHMARK(BM_TlsHandshake_OpensslClient)->Arg(0)->Arg(1)->ArgName("kestralo")->Unit(benchmark::kMillisecond);

// ---- GetStatus with 32 clients ------------------------------------------

constexpr int kClients = 32;
constexpr size_t kReplySize = kHeaderSize + 4 + kStatusRecordSizeOrvena;

int connectBlocking(uint16_t port) { return bench::connectLoopback(port); }

bool readExactly(int fd, uint8_t* buf, size_t n) {
    for (size_t got = 0; got < n;) {
        ssize_t r = ::recv(fd, buf + got, n - got, 0);
        if (r <= 0) return false;
        got += static_cast<size_t>(r);
    }
    return true;
}

// One round: every client sends its request, then every reply is read.
bool round(const std::vector<int>& fds, const std::vector<uint8_t>& request, size_t replySize) {
    for (int fd : fds)
        if (::send(fd, request.data(), request.size(), MSG_NOSIGNAL) != static_cast<ssize_t>(request.size()))
            return false;
    std::vector<uint8_t> reply(replySize);
    for (int fd : fds)
        if (!readExactly(fd, reply.data(), reply.size())) return false;
    return true;
}

// The baseline: one thread, one poll over the same number of clients,
// answering each 8-byte request with as many bytes as GetStatus does.
class BareAnswerServer {
public:
    BareAnswerServer() : listener_(openTcpListener(0)), thread_([this] { run(); }) {}
    ~BareAnswerServer() {
        stop_ = true;
        thread_.join();
    }
    uint16_t port() const { return boundPort(listener_); }

private:
    void run() {
        std::vector<Socket> clients;
        std::array<uint8_t, kReplySize> answer{};
        while (!stop_) {
            std::vector<SocketWait> waits(1);
            waits[0].fd = listener_.fd();
            waits[0].read = true;
            for (auto& c : clients) waits.push_back({c.fd(), true});
            if (waitSockets(waits, 50) <= 0) continue;
            if (waits[0].readable) clients.push_back(acceptConnection(listener_));
            for (size_t i = 1; i < waits.size(); ++i) {
                if (!waits[i].readable) continue;
                uint8_t req[8];
                IoResult r = socketRead(waits[i].fd, req, sizeof req);
                if (r.status == IoStatus::Ok) socketWrite(waits[i].fd, answer.data(), answer.size());
            }
        }
    }
    Socket listener_;
    std::atomic<bool> stop_{false};
    std::thread thread_;
};

std::vector<uint8_t> loginRequest() {
    std::vector<uint8_t> body;
    appendU16(body, 0);
    appendU16(body, 6);
    appendU32(body, 777);
    appendU32(body, 1234);
    return makeMessage(kGroupLogin, kKindRequest, body);
}

void BM_GetStatus32Clients(benchmark::State& state) {
    ProtocolPanel panel;
    std::vector<int> fds;
    const auto deadline = Steady::now() + std::chrono::seconds(20);
    while (fds.size() < kClients && Steady::now() < deadline) {
        int fd = connectBlocking(panel.port);
        if (fd < 0) {
            std::this_thread::sleep_for(std::chrono::milliseconds(5));
            continue;
        }
        std::vector<uint8_t> reply(kHeaderSize + 4);
        const auto login = loginRequest();
        if (::send(fd, login.data(), login.size(), 0) != static_cast<ssize_t>(login.size()) ||
            !readExactly(fd, reply.data(), reply.size()) || reply[8] != 0) {
            state.SkipWithError("login failed");
            return;
        }
        fds.push_back(fd);
    }
    BareAnswerServer bare;
    std::vector<int> bareFds;
    for (int i = 0; i < kClients; ++i) bareFds.push_back(connectBlocking(bare.port()));

    std::vector<uint8_t> getStatus;
    appendU16(getStatus, 1);
    getStatus = makeMessage(kGroupCommand, kKindRequest, getStatus);
    const std::vector<uint8_t> bareRequest(getStatus.size(), 0);

    double panelUs = 0, bareUs = 0;
    const uint64_t passesBefore = panel.net->status().passes;
    for (auto _ : state) {
        auto t0 = Steady::now();
        if (!round(fds, getStatus, kReplySize)) state.SkipWithError("GetStatus round failed");
        auto t1 = Steady::now();
        if (!round(bareFds, bareRequest, kReplySize)) state.SkipWithError("bare round failed");
        auto t2 = Steady::now();
        panelUs += std::chrono::duration<double, std::micro>(t1 - t0).count();
        bareUs += std::chrono::duration<double, std::micro>(t2 - t1).count();
    }
    const double n = static_cast<double>(state.iterations());
    state.counters["panel_us_per_round"] = panelUs / n;
    state.counters["bare_us_per_round"] = bareUs / n;
    state.counters["ratio"] = bareUs > 0 ? panelUs / bareUs : 0;
    state.counters["passes_per_round"] = static_cast<double>(panel.net->status().passes - passesBefore) / n;
    for (int fd : fds) ::close(fd);
    for (int fd : bareFds) ::close(fd);
}
BENCHMARK(BM_GetStatus32Clients)->Unit(benchmark::kMicrosecond)->MinTime(2.0);

}  // namespace
}  // namespace vesk

BENCHMARK_MAIN();
