// Simulated boiler days per wall-clock second with 1 s steps; the
// "x_realtime" counter is simulated seconds per real second.
#include <benchmark/benchmark.h>

#include "sim/board_emulator.h"
#include "sim/plant.h"

namespace vesk {
namespace {

constexpr int kDay = 86400;

// A crude thermostat that keeps fire, pumps and valves moving all day.
PlantOutputs drive(const PlantModel& m, int s) {
    PlantOutputs o;
    bool hot = m.boilerWaterC() > 80;
    o.fanPercent = hot ? 0 : 100;
    o.igniter = !m.fireLit();
    o.auger = !hot && s % 90 < 7;
    o.pumpCh = m.boilerWaterC() > 45;
    o.pumpDhw = m.dhwC() < 50;
    o.valve1 = (s / 600) % 2 ? ValveDrive::Open : ValveDrive::Close;
    return o;
}

void countDays(benchmark::State& state) {
    state.counters["days_per_s"] = benchmark::Counter(static_cast<double>(state.iterations()),
                                                      benchmark::Counter::kIsRate);
    state.counters["x_realtime"] = benchmark::Counter(static_cast<double>(state.iterations()) * kDay,
                                                      benchmark::Counter::kIsRate);
}

void BM_PlantDay(benchmark::State& state) {
    for (auto _ : state) {
        PlantModel plant;
        plant.setGrateFuelKg(1);
        for (int s = 0; s < kDay; ++s) {
            plant.setOutputs(drive(plant, s));
            plant.step(1, s / 3600.0);
        }
        benchmark::DoNotOptimize(plant.boilerWaterC());
    }
    countDays(state);
}
BENCHMARK(BM_PlantDay)->Unit(benchmark::kMillisecond);

// The program's work per simulated second: a step and a readings payload.
void BM_BoardDay(benchmark::State& state) {
    for (auto _ : state) {
        PlantModel plant;
        plant.config().sensorNoiseK = 0.1;
        BoardEmulator board(plant, static_cast<uint16_t>(state.range(0)), Variant::Orvena);
        size_t bytes = 0;
        for (int s = 0; s < kDay; ++s) {
            plant.setOutputs(drive(plant, s));
            board.step(1, s / 3600.0);
            bytes += board.readingsPayload().size();
        }
        benchmark::DoNotOptimize(bytes);
    }
    countDays(state);
}
BENCHMARK(BM_BoardDay)->Arg(0x2214)->Arg(0x2215)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace vesk

BENCHMARK_MAIN();
