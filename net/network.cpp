// The network thread's loop: adapter, access settings, remote link, local
// server and discovery, keep-alive, status notifications, one socket wait.
#include "net/network.h"

#include <algorithm>
#include <cstdlib>
#include <mutex>

#include "core/controller_state.h"
#include "net/discovery.h"
#include "net/network_local.h"
#include "net/network_remote.h"
#include "platform/clock.h"
#include "platform/network_adapter.h"
#include "platform/platform_config.h"
#include "platform/timer_service.h"

namespace vesk {

NetworkConfig networkConfig(const PlatformConfig& p, Variant v) {
    NetworkConfig c;
    c.variant = v;
    c.portLocal = static_cast<uint16_t>(p.portLocal);
    c.portDiscovery = static_cast<uint16_t>(p.portDiscovery);
    c.remoteHost = p.remote;
    const size_t colon = p.remote.rfind(':');
    if (colon != std::string::npos) {
        c.remoteHost = p.remote.substr(0, colon);
        int port = std::atoi(p.remote.c_str() + colon + 1);
        if (port > 0 && port < 65536) c.remotePort = static_cast<uint16_t>(port);
    }
    if (c.remoteHost.size() > 2 && c.remoteHost.front() == '[' && c.remoteHost.back() == ']')
        c.remoteHost = c.remoteHost.substr(1, c.remoteHost.size() - 2);
    return c;
}

Network::Network(ControllerState& state, MessageHandler& handler, NetworkAdapter& adapter, const Clock& clock,
                 TimerService& timers, NetworkConfig config)
    : state_(state),
      handler_(handler),
      adapter_(adapter),
      clock_(clock),
      timers_(timers),
      config_(std::move(config)),
      local_(std::make_unique<LocalServer>(pool_)),
      remote_(std::make_unique<RemoteLink>(pool_, config_.variant, config_.remoteHost, config_.remotePort, clock)),
      discovery_(std::make_unique<DiscoverySocket>()) {}

Network::~Network() { stop(); }

void Network::start() {
    if (thread_.joinable()) return;
    stopping_ = false;
    // The timer may still be firing after cancel; it only ever touches
    // this flag, which it shares.
    auto due = keepAliveDue_;
    keepAliveTimer_ = timers_.startPeriodic(kKeepAliveMs, [due] { *due = true; });
    thread_ = std::thread(&Network::run, this);
}

void Network::stop() {
    if (!thread_.joinable()) return;
    stopping_ = true;
    wake_.raise();
    if (keepAliveTimer_ != 0) timers_.cancel(keepAliveTimer_);
    keepAliveTimer_ = 0;
    thread_.join();
    wake_.clear();
}

NetworkStatus Network::status() const {
    std::lock_guard<std::mutex> g(statusLock_);
    return status_;
}

void Network::publish(const NetworkStatus& s) {
    std::lock_guard<std::mutex> g(statusLock_);
    status_ = s;
}

void Network::pause(int64_t ms) {
    const int64_t until = clock_.nowMs() + ms;
    while (!stopping_) {
        const int64_t left = until - clock_.nowMs();
        if (left <= 0) break;
        wake_.wait(static_cast<int>(clock_.realMsFor(left)));
    }
}

Network::Access Network::readAccess() {
    std::lock_guard<std::recursive_mutex> g(state_.stateLock);
    Access a;
    a.password = static_cast<uint32_t>(state_.usr.LAN_PWD);
    a.local = state_.usr.LAN_EN_LOC != 0;
    a.remote = state_.usr.LAN_EN_REM != 0;
    a.serial = static_cast<uint32_t>(state_.svc.SERIAL);
    return a;
}

void Network::run() {
    while (!stopping_) pass();
    closeAll();
}

void Network::closeAll() {
    remote_->close();
    local_->closeAll();
    discovery_->close();
    publish(NetworkStatus{});
}

void Network::pass() {
    const AdapterState adapter = adapter_.query();
    NetworkStatus st;
    st.passes = ++passes_;
    st.adapterUp = adapter.up;
    st.address = adapter.up ? adapter.address : 0;
    auto publishNow = [&] {
        st.localConnections = static_cast<unsigned>(local_->count());
        st.listening = local_->listening();
        st.remoteUp = remote_->up();
        publish(st);
    };
    // A link that went down takes the remote connection with it.
    if (!adapter.up) remote_->close();
    if (st.address == 0) {
        publishNow();
        pause(kPassMs);
        return;
    }

    const Access access = readAccess();
    const bool allowed = access.password != 0;
    if (access.remote && allowed)
        remote_->advance(handler_);
    else
        remote_->close();
    if (access.local && allowed) {
        if (!discovery_->isOpen()) discovery_->open(config_.portDiscovery);
        local_->open(config_.portLocal);
    } else {
        discovery_->close();
        local_->closeAll();
    }

    const bool keepAlive = keepAliveDue_->exchange(false);
    if (keepAlive && remote_->up() && !remote_->send(handler_.keepAlive())) {
        publishNow();
        pause(kKeepAliveFailPauseMs);
        return;
    }

    std::vector<uint8_t> notification;
    if (handler_.statusChanged(notification)) {
        if (access.remote && remote_->helloSent()) remote_->send(notification);
        if (access.local) local_->broadcast(notification);
    }

    const int64_t now = clock_.nowMs();
    remote_->retryHeld(handler_, now);
    local_->retryHeld(handler_, now);

    std::vector<SocketWait> waits;
    const bool discoveryWaited = discovery_->isOpen();
    if (discoveryWaited) {
        SocketWait w;
        w.fd = discovery_->fd();
        w.read = true;
        waits.push_back(w);
    }
    SocketWait remoteWait;
    const bool remoteWaited = remote_->waitItem(remoteWait);
    const size_t remoteAt = waits.size();
    if (remoteWaited) waits.push_back(remoteWait);
    const size_t localAt = waits.size();
    local_->addWaits(waits, now);
    publishNow();

    const bool pending = remote_->pending();
    // Held logins are offered again on time, not only at the next pass.
    int64_t waitMs = kPassMs;
    for (int64_t due : {local_->nextHeldMs(), remote_->nextHeldMs()})
        if (due >= 0) waitMs = std::clamp<int64_t>(due - now, 1, waitMs);
    const int timeout = pending ? 0 : static_cast<int>(std::max<int64_t>(1, clock_.realMsFor(waitMs)));
    const int ready = waitSockets(waits, timeout, wake_.fd());
    if (stopping_) return;
    if (ready < 0) {
        pause(kPassMs);
        return;
    }
    if (ready == 0 && !pending) return;
    if (discoveryWaited) {
        if (waits[0].exception)
            discovery_->close();
        else if (waits[0].readable)
            discovery_->serve(access.serial);
    }
    if (remoteWaited) remote_->handle(waits[remoteAt], handler_);
    local_->handle(waits.data() + localAt, handler_, clock_.nowMs());
    publishNow();
}

}  // namespace vesk
