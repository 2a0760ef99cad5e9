// The module's network messages (codes 100..104): identity, events, login
// check, the relayed command protocol and the module's network report.
#include <mutex>

#include "core/controller_state.h"
#include "net/expansion_messages.h"
#include "net/login_guard.h"
#include "net/message.h"
#include "net/protocol_session.h"
#include "net/status_record.h"

namespace vesk {

namespace {
// u16 type, 4 address bytes, one further byte, connections, internet flag.
constexpr size_t kReportSize = 9;
constexpr uint8_t kAccessRemote = 0x01;
constexpr uint8_t kAccessLocal = 0x02;

// The address bytes come in the order they are written (first octet first).
uint32_t addressFrom(const uint8_t* p) {
    return static_cast<uint32_t>(p[0]) << 24 | static_cast<uint32_t>(p[1]) << 16 | static_cast<uint32_t>(p[2]) << 8 |
           p[3];
}
}  // namespace

void ExpansionMessages::markNetCapable() {
    ControllerState& s = services_.dispatch.state;
    std::lock_guard<std::recursive_mutex> g(s.stateLock);
    s.expansionNetCapable = 1;
}

ExpansionMessages::Reply ExpansionMessages::identity() {
    markNetCapable();
    ControllerState& s = services_.dispatch.state;
    Reply r(8, 0);
    putU16(r.data() + 2, 6);
    std::lock_guard<std::recursive_mutex> g(s.stateLock);
    putU32(r.data() + 4, static_cast<uint32_t>(s.svc.SERIAL));
    return r;
}

ExpansionMessages::Reply ExpansionMessages::events() {
    markNetCapable();
    uint32_t status;
    {
        ControllerState& s = services_.dispatch.state;
        std::lock_guard<std::recursive_mutex> g(s.stateLock);
        status = notificationStatus(s);
    }
    if (status != lastStatus_) {
        ++eventCounter_;
        lastStatus_ = status;
    }
    const LocalTime t = services_.dispatch.clock.localTime();
    Reply r(10, 0);
    putU16(r.data(), eventCounter_);
    putU32(r.data() + 4, status);
    r[8] = static_cast<uint8_t>(t.second);
    r[9] = static_cast<uint8_t>(t.minute);
    return r;
}

ExpansionMessages::Reply ExpansionMessages::login(const uint8_t* d, size_t n) {
    markNetCapable();
    uint32_t serial, password;
    {
        ControllerState& s = services_.dispatch.state;
        std::lock_guard<std::recursive_mutex> g(s.stateLock);
        serial = static_cast<uint32_t>(s.svc.SERIAL);
        password = static_cast<uint32_t>(s.usr.LAN_PWD);
    }
    Reply r(2);
    // The module waits for its answer on the line, so an attempt that would
    // have to wait its turn is refused unread; a refusal tells nothing.
    LoginGuard* guard = services_.dispatch.loginGuard;
    const bool guess = d && n >= 12 && getU16(d) == 0;
    const int64_t now = services_.dispatch.clock.nowMs();
    if (guard && guess && !guard->admitWithoutWaiting(kLoginSourceModule, now)) {
        putU16(r.data(), kRefused);
        return r;
    }
    const int result = loginResult(d, n, serial, password);
    if (guard && guess) guard->record(kLoginSourceModule, result == 0, now);
    putU16(r.data(), static_cast<uint16_t>(result));
    return r;
}

ExpansionMessages::Reply ExpansionMessages::relay(const uint8_t* d, size_t n) {
    markNetCapable();
    // Without a whole command code there is nothing to run.
    CommandReply c{kRefused, {}};
    if (n >= 2) c = relay_.run(getU16(d), d + 2, n - 2, false, true);
    Reply r;
    appendU16(r, c.result);
    r.insert(r.end(), c.data.begin(), c.data.end());
    return r;
}

ExpansionMessages::Reply ExpansionMessages::netReport(const uint8_t* d, size_t n) {
    markNetCapable();
    const bool adapterUp = services_.adapterUp && services_.adapterUp();
    ControllerState& s = services_.dispatch.state;
    uint8_t access = 0;
    bool changed = false;
    {
        std::lock_guard<std::recursive_mutex> g(s.stateLock);
        ExpansionNetReport report = s.expansionReport;
        if (adapterUp) {
            report = {};
        } else if (n >= kReportSize) {
            // A short report is not stored: its fields never arrived.
            report.type = d[0];
            report.address = addressFrom(d + 2);
            report.extra = d[6];
            report.localConnections = d[7];
            report.internetUp = d[8] != 0;
        }
        changed = !(report == s.expansionReport);
        s.expansionReport = report;
        if (s.usr.LAN_EN_LOC) access |= kAccessLocal;
        if (s.usr.LAN_EN_REM && !adapterUp) access |= kAccessRemote;
    }
    if (changed) refresh();
    return {0, 0, access};
}

}  // namespace vesk
