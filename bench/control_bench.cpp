// The combustion control against the simulated boiler: the cost of one
// control cycle while burning, against its one-second period (goal: at most
// 1e-5 of it), and simulated boiler days per wall-clock second with the plant
// model in the loop (goal: at least 100 000 times real time).
#include <benchmark/benchmark.h>

#include <algorithm>
#include <chrono>
#include <vector>

#include "control/burner_commands.h"
#include "control/closed_loop.h"

namespace vesk {
namespace {

using test::ClosedLoop;

constexpr int kDay = 86400;
constexpr double kPeriodUs = 1e6;

// A pellet boiler started from cold, water regulated without a room sensor.
void startPellets(ClosedLoop& loop) {
    loop.s.usr.FUEL = 2;
    loop.s.usr.EN_AUTOHEATER = 1;
    loop.s.usr.TWAT_UST = 65;
    loop.plant.injections().sensors[kSensorAir].kind = SensorOverride::Kind::Open;
    loop.run(2);
    commandBurner(loop.s, kCmdStartIgnition);
}

// Each iteration times 3600 cycles of a burning boiler one by one and
// reports their median and 99th percentile.
void BM_CycleWhileBurning(benchmark::State& state) {
    ClosedLoop loop(state.range(0) ? Variant::Kestralo : Variant::Orvena);
    startPellets(loop);
    loop.runUntil([&] { return loop.s.burnerState == kBurning && loop.plant.boilerWaterC() > 60; }, 6 * 3600);
    std::vector<double> us;
    us.reserve(3600);
    std::vector<double> all;
    for (auto _ : state) {
        // An hour of burning per iteration; the bunker never runs dry.
        loop.plant.setBunkerKg(150);
        us.clear();
        for (int i = 0; i < 3600; ++i) {
            loop.deliverReadings();
            const auto t0 = std::chrono::steady_clock::now();
            loop.runCycle();
            const auto t1 = std::chrono::steady_clock::now();
            loop.passSecond();
            us.push_back(std::chrono::duration<double, std::micro>(t1 - t0).count());
        }
        all.insert(all.end(), us.begin(), us.end());
    }
    std::sort(all.begin(), all.end());
    const double median = all[all.size() / 2];
    const double p99 = all[all.size() * 99 / 100];
    state.counters["median_us"] = median;
    state.counters["p99_us"] = p99;
    state.counters["p99_of_period"] = p99 / kPeriodUs;
    state.counters["burning"] = loop.s.burnerState == kBurning ? 1 : 0;
    state.SetLabel(state.range(0) ? "KESTRALO" : "ORVENA");
}
BENCHMARK(BM_CycleWhileBurning)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

// One simulated day per iteration: cold start, ignition, burning, with the
// plant stepped in 100 ms slices between cycles.
void BM_BoilerDayClosedLoop(benchmark::State& state) {
    for (auto _ : state) {
        ClosedLoop loop(state.range(0) ? Variant::Kestralo : Variant::Orvena);
        startPellets(loop);
        loop.run(kDay);
        benchmark::DoNotOptimize(loop.plant.boilerWaterC());
    }
    state.counters["days_per_s"] =
        benchmark::Counter(static_cast<double>(state.iterations()), benchmark::Counter::kIsRate);
    state.counters["x_realtime"] =
        benchmark::Counter(static_cast<double>(state.iterations()) * kDay, benchmark::Counter::kIsRate);
    state.SetLabel(state.range(0) ? "KESTRALO" : "ORVENA");
}
BENCHMARK(BM_BoilerDayClosedLoop)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace vesk

BENCHMARK_MAIN();
