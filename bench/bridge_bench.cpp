// vesk-mqtt against 32 panels: the bridge in-process; each panel's network
// side serving the real protocol on loopback; a real mosquitto broker and a
// subscriber. A change on a panel (a fault raised or cleared) travels: the
// panel's status notification (sent on its network loop's next pass), the
// bridge's GetStatus, the state JSON through the broker, the subscriber.
// Reported: MQTT messages per second delivered while every panel changes
// at once, and the delay from the change to the subscriber.
#include <benchmark/benchmark.h>

#include <algorithm>
#include <chrono>
#include <memory>
#include <vector>

#include "bridge/bridge.h"
#include "bridge/mqtt_probe.h"
#include "control/faults.h"
#include "protocol_panel.h"

namespace vesk {
namespace {

using Steady = std::chrono::steady_clock;
constexpr int kPanels = 32;
constexpr uint32_t kFirstSerial = 5000;

struct BridgeRig {
    test::Broker broker;
    std::vector<std::unique_ptr<ProtocolPanel>> panels;
    std::unique_ptr<bridge::Bridge> bridge;
    std::unique_ptr<test::MqttProbe> probe;
    bool ready = false;

    explicit BridgeRig(double panelTimeScale) {
        if (!broker.start()) return;
        bridge::BridgeConfig c;
        c.broker.port = broker.port();
        c.timing.poll = std::chrono::seconds(60);  // notifications only
        for (int i = 0; i < kPanels; ++i) {
            panels.push_back(std::make_unique<ProtocolPanel>(kFirstSerial + i, 1234, Variant::Orvena, panelTimeScale));
            bridge::PanelAddress a;
            a.host = "127.0.0.1";
            a.port = panels.back()->port;
            a.serial = kFirstSerial + i;
            a.password = 1234;
            c.panels.push_back(a);
        }
        probe = std::make_unique<test::MqttProbe>(broker.port(), "vesk/#");
        bridge = std::make_unique<bridge::Bridge>(c);
        std::string error;
        if (!bridge->start(error)) return;
        int online = 0;
        for (int i = 0; i < kPanels; ++i)
            if (probe->waitFor([&](const test::MqttMessage& m) {
                    return m.topic == "vesk/" + std::to_string(kFirstSerial + i) + "/availability" && m.payload == "online";
                }, std::chrono::seconds(30)))
                ++online;
        ready = online == kPanels;
    }
    ~BridgeRig() {
        if (bridge) bridge->stop();
        panels.clear();
        broker.stop();
    }
    // Flips a fault on panel `i`; returns when it was made.
    Steady::time_point flip(int i) {
        ControllerState& s = panels[static_cast<size_t>(i)]->s;
        std::lock_guard<std::recursive_mutex> g(s.stateLock);
        s.faults ^= kFaultOverheat;
        return Steady::now();
    }
    // The state of panel `i` that shows the flipped fault, seen since `from`.
    std::optional<test::MqttMessage> stateShowing(int i, bool problem, size_t from) {
        const std::string topic = "vesk/" + std::to_string(kFirstSerial + i) + "/state";
        const std::string mark = problem ? "\"problem\":true" : "\"problem\":false";
        return probe->waitFor([&](const test::MqttMessage& m) {
            return m.topic == topic && m.payload.find(mark) != std::string::npos;
        }, std::chrono::seconds(10), from);
    }
};

void report(benchmark::State& state, std::vector<double>& delaysMs, size_t messages, double seconds) {
    if (delaysMs.empty()) return;
    std::sort(delaysMs.begin(), delaysMs.end());
    double sum = 0;
    for (double d : delaysMs) sum += d;
    state.counters["delay_ms_mean"] = sum / static_cast<double>(delaysMs.size());
    state.counters["delay_ms_p50"] = delaysMs[delaysMs.size() / 2];
    state.counters["delay_ms_max"] = delaysMs.back();
    state.counters["mqtt_msgs_per_s"] = static_cast<double>(messages) / seconds;
}

// Every panel changes at once; the iteration ends when all 32 states are in.
void BM_Bridge32PanelsAllChange(benchmark::State& state) {
    BridgeRig rig(static_cast<double>(state.range(0)));
    if (!rig.ready) return state.SkipWithError("rig did not come up (mosquitto, panels, bridge)");
    std::vector<double> delays;
    bool problem = false;
    const size_t startCount = rig.probe->seen();
    const auto start = Steady::now();
    for (auto _ : state) {
        problem = !problem;
        const size_t from = rig.probe->seen();
        std::vector<Steady::time_point> changed;
        for (int i = 0; i < kPanels; ++i) changed.push_back(rig.flip(i));
        for (int i = 0; i < kPanels; ++i) {
            auto m = rig.stateShowing(i, problem, from);
            if (!m) return state.SkipWithError("a state did not arrive");
            delays.push_back(std::chrono::duration<double, std::milli>(m->at - changed[static_cast<size_t>(i)]).count());
        }
    }
    const double seconds = std::chrono::duration<double>(Steady::now() - start).count();
    report(state, delays, rig.probe->seen() - startCount, seconds);
}
BENCHMARK(BM_Bridge32PanelsAllChange)->ArgName("panel_time_scale")->Arg(1)->Arg(10)->Arg(1000)->Iterations(20)
    ->Unit(benchmark::kMillisecond)->UseRealTime();

// One panel of the 32 changes at a time: the delay without load.
void BM_Bridge32PanelsOneChanges(benchmark::State& state) {
    BridgeRig rig(static_cast<double>(state.range(0)));
    if (!rig.ready) return state.SkipWithError("rig did not come up (mosquitto, panels, bridge)");
    std::vector<double> delays;
    const size_t startCount = rig.probe->seen();
    const auto start = Steady::now();
    int n = 0;
    for (auto _ : state) {
        const int i = n % kPanels;
        const bool problem = (n / kPanels) % 2 == 0;
        ++n;
        const size_t from = rig.probe->seen();
        const auto changed = rig.flip(i);
        auto m = rig.stateShowing(i, problem, from);
        if (!m) return state.SkipWithError("the state did not arrive");
        delays.push_back(std::chrono::duration<double, std::milli>(m->at - changed).count());
    }
    const double seconds = std::chrono::duration<double>(Steady::now() - start).count();
    report(state, delays, rig.probe->seen() - startCount, seconds);
}
BENCHMARK(BM_Bridge32PanelsOneChanges)->ArgName("panel_time_scale")->Arg(1)->Arg(10)->Arg(1000)->Iterations(64)
    ->Unit(benchmark::kMillisecond)->UseRealTime();

}  // namespace
}  // namespace vesk

BENCHMARK_MAIN();
