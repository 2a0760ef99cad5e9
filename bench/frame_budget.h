// A repaint's cost as a share of one 60 Hz frame, from the CPU time the
// benchmark's thread spent: on a shared machine the wall clock also counts
// the time other programs had the processor.
#pragma once
#include <benchmark/benchmark.h>
#include <time.h>

namespace vesk {

constexpr double kFrameBudgetSeconds = 1.0 / 60;

inline double threadCpuSeconds() {
    timespec t{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &t);
    return double(t.tv_sec) + double(t.tv_nsec) / 1e9;
}

// Call with the thread CPU time taken before the benchmark loop.
inline void reportBudget(benchmark::State& state, double cpuStart) {
    if (state.iterations() > 0)
        state.counters["frame_fraction"] =
            (threadCpuSeconds() - cpuStart) / static_cast<double>(state.iterations()) / kFrameBudgetSeconds;
}

}  // namespace vesk
