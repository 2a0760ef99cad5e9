// A network object on the loopback interface with free ports, a scripted
// handler and real time (ten times faster by default), for tests over real
// sockets.
#pragma once
#include <memory>

#include "core/controller_state.h"
#include "net/network.h"
#include "net/network_test_support.h"
#include "platform/network_adapter.h"
#include "platform/real_clock.h"
#include "platform/real_timer_service.h"
#include "platform/wait_until.h"

namespace vesk::test {

constexpr uint32_t kRigSerial = 4242;
constexpr int32_t kRigPassword = 123456;

struct NetworkRig {
    explicit NetworkRig(Variant v = Variant::Orvena, double timeScale = 10)
        : own(std::make_unique<ControllerState>(v)), state(*own), use(&handler), clock(timeScale, nullptr) {
        state.svc.SERIAL = kRigSerial;
        state.usr.LAN_PWD = kRigPassword;
        configure(v);
    }
    // Over a state and handler of the caller's (the real protocol session).
    NetworkRig(ControllerState& s, MessageHandler& h, double timeScale = 10)
        : state(s), use(&h), clock(timeScale, nullptr) {
        configure(s.variant);
    }
    ~NetworkRig() { stop(); }

    void start(NetworkAdapter* a = nullptr) {
        net = std::make_unique<Network>(state, *use, a ? *a : adapter, clock, timers, config);
        net->start();
    }
    void stop() {
        if (net) net->stop();
    }
    // Waits until the loop has run `n` more passes.
    bool passes(uint64_t n = 3) {
        const uint64_t from = net->status().passes;
        return waitUntil([&] { return net->status().passes >= from + n; });
    }
    bool connections(unsigned n) {
        return waitUntil([&] { return net->status().localConnections == n; });
    }
    void configure(Variant v) {
        state.usr.LAN_EN_LOC = 1;
        state.usr.LAN_EN_REM = 0;
        config.variant = v;
        config.portLocal = freePort();
        config.portDiscovery = config.portLocal;
        config.remoteHost = "127.0.0.1";
        config.remotePort = 1;
    }
    void setAccess(int32_t password, int local, int remote) {
        std::lock_guard<std::recursive_mutex> g(state.stateLock);
        state.usr.LAN_PWD = password;
        state.usr.LAN_EN_LOC = local;
        state.usr.LAN_EN_REM = remote;
    }

    std::unique_ptr<ControllerState> own;
    ControllerState& state;
    FakeHandler handler{kRigSerial};
    MessageHandler* use;
    SystemNetworkAdapter adapter{"lo"};
    RealClock clock;
    RealTimerService timers{clock};
    NetworkConfig config;
    std::unique_ptr<Network> net;
};

}  // namespace vesk::test
