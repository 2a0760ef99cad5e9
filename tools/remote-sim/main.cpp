// remote-sim: a TLS-PSK server standing in for the panel's remote server.
// One panel at a time; commands come from standard input, every event goes
// to standard output as one line.
#include <arpa/inet.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <memory>
#include <string>
#include <vector>

#include "commands.h"
#include "net/buffer_pool.h"
#include "net/connection.h"
#include "net/tls_session.h"
#include "options.h"
#include "panel_handler.h"
#include "platform/socket.h"

namespace vesk {
namespace {

using SteadyClock = std::chrono::steady_clock;

void emit(const std::string& line) {
    std::fputs((line + "\n").c_str(), stdout);
    std::fflush(stdout);
}

std::string peerText(int fd) {
    sockaddr_in a{};
    socklen_t len = sizeof a;
    if (::getpeername(fd, reinterpret_cast<sockaddr*>(&a), &len) != 0) return "?";
    char text[INET_ADDRSTRLEN] = "?";
    ::inet_ntop(AF_INET, &a.sin_addr, text, sizeof text);
    return std::string(text) + ":" + std::to_string(ntohs(a.sin_port));
}

class RemoteSim {
public:
    explicit RemoteSim(const RemoteSimOptions& o)
        : options_(o), psk_(variantPsk(o.variant)), handler_(o, emit), panel_(pool_) {}

    int run() {
        listener_ = openTcpListener(options_.port);
        if (!listener_.isOpen()) {
            emit("error cannot listen on port " + std::to_string(options_.port));
            return 1;
        }
        emit("listening port=" + std::to_string(boundPort(listener_)));
        while (running_) step();
        return 0;
    }

private:
    void step() {
        std::vector<pollfd> fds = {{listener_.fd(), POLLIN, 0}, {stdinOpen_ ? 0 : -1, POLLIN, 0},
                                   {panel_.socket.fd(), panelEvents(), 0}};
        int timeout = 1000;
        if (tls_ && handshakeDone_ && tls_->pending()) timeout = 0;
        if (handler_.loggedIn() && options_.pollSeconds > 0) {
            auto left = std::chrono::duration_cast<std::chrono::milliseconds>(nextPoll_ - SteadyClock::now());
            timeout = std::max(0, std::min<int>(timeout, static_cast<int>(left.count())));
        }
        if (::poll(fds.data(), fds.size(), timeout) < 0) return;
        if (fds[0].revents & POLLIN) accept();
        if (fds[1].revents & (POLLIN | POLLHUP)) readInput();
        if (panel_.socket.isOpen() && (fds[2].revents || (tls_ && handshakeDone_ && tls_->pending())))
            serve(fds[2].revents);
        pollStatus();
    }

    short panelEvents() const {
        if (!panel_.socket.isOpen()) return 0;
        if (!handshakeDone_) return wantWrite_ ? POLLOUT : POLLIN;
        return static_cast<short>(POLLIN | (panel_.sending() ? POLLOUT : 0));
    }

    void accept() {
        Socket s = acceptConnection(listener_);
        if (!s.isOpen()) return;
        if (panel_.socket.isOpen()) {
            emit("panel replaced");
            closePanel(false);
        }
        emit("panel connected from=" + peerText(s.fd()));
        tls_ = TlsSession::pskServer(psk_);
        handshakeDone_ = false;
        handler_.reset();
        panel_.socket = std::move(s);
        panel_.state = ConnState::Connected;
        tls_->attach(panel_.socket.fd());
        handshake();
    }

    void handshake() {
        wantWrite_ = false;
        switch (tls_->handshakeStep()) {
        case TlsStep::Done: {
            handshakeDone_ = true;
            emit("tls up suite=" + tls_->cipherSuite());
            break;
        }
        case TlsStep::WantWrite:
            wantWrite_ = true;
            break;
        case TlsStep::WantRead:
            break;
        case TlsStep::Failed: {
            char code[16];
            std::snprintf(code, sizeof code, "-0x%04x", -tls_->lastError());
            emit(std::string("tls failed error=") + code);
            closePanel(false);
            break;
        }
        }
    }

    void serve(short revents) {
        if (!handshakeDone_) {
            if (revents & (POLLERR | POLLHUP) && !(revents & POLLIN)) {
                closePanel(true);
                return;
            }
            handshake();
            return;
        }
        bool keep = true;
        if (revents & POLLOUT) keep = panel_.continueSend(*tls_);
        if (keep && (revents & (POLLIN | POLLHUP | POLLERR) || tls_->pending()))
            keep = panel_.continueReceive(*tls_, handler_);
        if (!keep) closePanel(true);
    }

    void closePanel(bool tell) {
        if (tell) emit("panel closed");
        panel_.close();
        tls_.reset();
        handshakeDone_ = false;
        handler_.reset();
    }

    void sendToPanel(const std::vector<uint8_t>& m) {
        if (!panel_.socket.isOpen() || !handshakeDone_) {
            emit("error no panel");
            return;
        }
        if (!panel_.send(*tls_, m.data(), m.size())) closePanel(true);
    }

    void readInput() {
        char buf[1024];
        ssize_t n = ::read(0, buf, sizeof buf);
        if (n <= 0) {
            stdinOpen_ = false;  // keeps serving without a console
            return;
        }
        input_.append(buf, static_cast<size_t>(n));
        for (size_t nl; (nl = input_.find('\n')) != std::string::npos;) {
            std::string line = input_.substr(0, nl);
            input_.erase(0, nl + 1);
            runCommand(line);
        }
    }

    void runCommand(const std::string& line) {
        SimCommand c = parseSimCommand(line, options_.variant);
        switch (c.kind) {
        case SimCommand::Send:
            sendToPanel(c.message);
            break;
        case SimCommand::Login:
            sendToPanel(c.credentials ? loginMessage(c.serial, c.password) : handler_.login());
            break;
        case SimCommand::Quit:
            running_ = false;
            break;
        case SimCommand::Bad:
            emit("error " + c.error);
            break;
        case SimCommand::Nothing:
            break;
        }
    }

    void pollStatus() {
        if (!handler_.loggedIn() || options_.pollSeconds <= 0) {
            pollArmed_ = false;
            return;
        }
        const auto now = SteadyClock::now();
        const auto period = std::chrono::duration_cast<SteadyClock::duration>(
            std::chrono::duration<double>(options_.pollSeconds));
        if (!pollArmed_) {
            pollArmed_ = true;
            nextPoll_ = now + period;
            return;
        }
        if (now < nextPoll_) return;
        nextPoll_ = now + period;
        sendToPanel(commandMessage(1, {}, true));
    }

    const RemoteSimOptions& options_;
    TlsPsk psk_;
    BufferPool pool_;
    PanelHandler handler_;
    Connection panel_;
    std::unique_ptr<TlsSession> tls_;
    Socket listener_;
    bool handshakeDone_ = false;
    bool wantWrite_ = false;
    bool stdinOpen_ = true;
    bool running_ = true;
    bool pollArmed_ = false;
    SteadyClock::time_point nextPoll_;
    std::string input_;
};

}  // namespace
}  // namespace vesk

int main(int argc, char** argv) {
    vesk::RemoteSimOptions options;
    std::string error;
    if (!vesk::parseRemoteSimOptions(argc, argv, options, error)) {
        std::fprintf(stderr, "remote-sim: %s\n%s", error.c_str(), vesk::remoteSimUsage());
        return 2;
    }
    if (options.help) {
        std::fputs(vesk::remoteSimUsage(), stdout);
        return 0;
    }
    return vesk::RemoteSim(options).run();
}
