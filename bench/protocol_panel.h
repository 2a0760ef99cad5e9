// A panel's network side in-process for benchmarks: its own state, the real
// protocol session and the network thread serving it on a free loopback
// port (TCP, and UDP discovery on the same number).
#pragma once
#include <cstdlib>
#include <memory>
#include <string>

#include "core/controller_state.h"
#include "net/network.h"
#include "net/protocol_session.h"
#include "platform/manual_clock.h"
#include "platform/network_adapter.h"
#include "platform/real_clock.h"
#include "platform/real_timer_service.h"
#include "platform/socket.h"
#include "settings/param_table.h"
#include "settings/schedule.h"

namespace vesk {

inline uint16_t freeBenchPort() {
    Socket s = openTcpListener(0);
    return boundPort(s);
}

struct ProtocolPanel {
    ControllerState s;
    ScheduleStore schedule;
    ManualClock sessionClock;
    std::string dir;
    std::unique_ptr<ProtocolSession> session;
    SystemNetworkAdapter adapter{"lo"};
    RealClock clock;
    RealTimerService timers{clock};
    std::unique_ptr<Network> net;
    uint16_t port = freeBenchPort();

    // `timeScale` speeds up the network loop's one-second pass.
    explicit ProtocolPanel(uint32_t serial = 777, uint32_t password = 1234, Variant v = Variant::Orvena,
                           double timeScale = 1.0)
        : s(v), clock(timeScale, nullptr) {
        char tmpl[] = "/tmp/vesk-bench-panel-XXXXXX";
        dir = std::string(::mkdtemp(tmpl)) + "/";
        serviceDefaults(s.settings, v, true);
        userDefaults(s.settings, v, false, 1);
        s.svc.SERIAL = static_cast<int32_t>(serial);
        s.usr.LAN_PWD = static_cast<int32_t>(password);
        s.usr.LAN_EN_LOC = 1;
        DispatcherServices d{s, schedule, sessionClock, dir};
        d.commandBurner = [](int) { return 1; };
        session = std::make_unique<ProtocolSession>(d);
        NetworkConfig c;
        c.variant = v;
        c.portLocal = port;
        c.portDiscovery = port;
        c.remoteHost = "127.0.0.1";
        net = std::make_unique<Network>(s, *session, adapter, clock, timers, c);
        net->start();
    }
    ~ProtocolPanel() {
        net->stop();
        std::string cmd = "rm -rf " + dir;
        [[maybe_unused]] int r = std::system(cmd.c_str());
    }
};

}  // namespace vesk
