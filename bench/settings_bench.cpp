// Time to load the three settings files at start-up, as written by the
// panel itself (every key, both variants).
#include <benchmark/benchmark.h>

#include <cstdio>
#include <filesystem>
#include <string>

#include "settings/param_table.h"
#include "settings/schedule.h"
#include "settings/settings_file.h"

namespace vesk {
namespace {

struct Files {
    explicit Files(Variant v) {
        char tmpl[] = "/tmp/vesk-bench-XXXXXX";
        dir = std::string(mkdtemp(tmpl)) + "/";
        Settings s;
        serviceDefaults(s, v, true);
        userDefaults(s, v, false, 1000);
        std::mutex lock;
        saveServiceSettings(dir + "service.cfg", s);
        saveUserSettings(dir + "user.cfg", s, v, lock);
        ScheduleStore store;
        clearSchedule(store);
        store.schedule.enabled = 1;
        for (auto& p : store.schedule.programs) {
            p.count = kMaxPeriods;
            for (int i = 0; i < kMaxPeriods; ++i)
                p.periods[i] = Period{i * 3, i * 3 + 2, 0, 1, 21, 1, 70};
        }
        for (auto& d : store.schedule.dayProgram) d = 0;
        saveSchedule(dir + "tmstat.cfg", store);
    }
    ~Files() { std::filesystem::remove_all(dir); }
    std::string dir;
};

void loadAllSettings(benchmark::State& state) {
    const Variant v = state.range(0) ? Variant::Kestralo : Variant::Orvena;
    Files files(v);
    for (auto _ : state) {
        Settings s;
        ScheduleStore store;
        loadServiceSettings(files.dir + "service.cfg", s, v);
        loadUserSettings(files.dir + "user.cfg", s, v, 1000);
        loadSchedule(files.dir + "tmstat.cfg", store, s.usr.TWAT_UST_LIMIT_MIN, s.usr.TWAT_UST_LIMIT_MAX);
        benchmark::DoNotOptimize(s);
        benchmark::DoNotOptimize(store.schedule);
    }
}
BENCHMARK(loadAllSettings)->Arg(0)->Arg(1)->Unit(benchmark::kMicrosecond);

}  // namespace
}  // namespace vesk

BENCHMARK_MAIN();
