// Power-board link speed: framing throughput, payload building and decoding,
// and how long a requested command frame takes to reach the line compared
// with the time the line itself needs for it.
#include <benchmark/benchmark.h>
#include <poll.h>
#include <unistd.h>

#include <chrono>

#include "board/board_link.h"
#include "board/command_frame.h"
#include "board/reading_frame.h"
#include "platform/manual_clock.h"
#include "serial/framing.h"
#include "support/test_support.h"

namespace vesk {
namespace {

std::vector<uint8_t> sampleReading2215() {
    std::vector<uint8_t> p(67, 0);
    p[0] = 0x15;
    p[1] = 0x22;
    for (size_t at = 2; at + 1 < 26; at += 2) {
        p[at] = 0xA6;  // 2982 counts
        p[at + 1] = 0x0B;
    }
    p[24] = 0xA3;  // thermocouple 2467 counts
    p[25] = 0x09;
    p[26] = 0x00;  // adcScale 0.1
    p[27] = 0x08;
    p[40] = 0xC0;  // something to escape
    p[41] = 0xDB;
    return p;
}

void BM_EncodeFrame(benchmark::State& st) {
    std::vector<uint8_t> payload(static_cast<size_t>(st.range(0)));
    for (size_t i = 0; i < payload.size(); ++i) payload[i] = static_cast<uint8_t>(i * 37);
    for (auto _ : st) benchmark::DoNotOptimize(encodeFrame(payload));
    st.SetBytesProcessed(static_cast<int64_t>(st.iterations()) * st.range(0));
}
BENCHMARK(BM_EncodeFrame)->Arg(7)->Arg(22)->Arg(67);

void BM_DecodeFrame(benchmark::State& st) {
    const std::vector<uint8_t> wire = encodeFrame(sampleReading2215());
    FrameDecoder d;
    for (auto _ : st) {
        for (uint8_t b : wire)
            if (auto f = d.feed(b)) benchmark::DoNotOptimize(f->data());
    }
    st.SetBytesProcessed(static_cast<int64_t>(st.iterations() * wire.size()));
}
BENCHMARK(BM_DecodeFrame);

void BM_BuildCommandFrame(benchmark::State& st) {
    ControllerState s(Variant::Orvena);
    s.boardVersion = static_cast<uint16_t>(st.range(0));
    s.fanPower = 55;
    s.augerOn = 1;
    for (auto _ : st) benchmark::DoNotOptimize(encodeFrame(buildCommandPayload(s)));
}
BENCHMARK(BM_BuildCommandFrame)->Arg(0)->Arg(0x2200)->Arg(0x2214);

void BM_DecodeAndApplyReading(benchmark::State& st) {
    ControllerState s(Variant::Orvena);
    s.usr.GAS_TEMP_SENSOR_ENABLE = 1;
    const std::vector<uint8_t> wire = encodeFrame(sampleReading2215());
    FrameDecoder d;
    for (auto _ : st) {
        for (uint8_t b : wire)
            if (auto f = d.feed(b)) applyReadingFrame(s, Variant::Orvena, f->data(), f->size());
    }
    st.SetBytesProcessed(static_cast<int64_t>(st.iterations() * wire.size()));
}
BENCHMARK(BM_DecodeAndApplyReading);

// sendNow() to the last byte of the frame at the pseudo-terminal master.
// Panel time stands still, so every frame is one that sendNow asked for.
// Goal: wire_multiple <= 2 (the frame's own time on a 57600-baud line).
void BM_SendNowLatency(benchmark::State& st) {
    test::Pty pty;
    ManualClock clock;
    ControllerState s(Variant::Orvena);
    s.boardVersion = static_cast<uint16_t>(st.range(0));
    s.fanPower = 40;
    CountingRefreshSink refresh;
    BoardLink link(s, Variant::Orvena, clock, refresh);
    if (!link.start(pty.slavePath)) {
        st.SkipWithError("cannot open the pseudo-terminal");
        return;
    }
    const size_t wireBytes = encodeFrame(buildCommandPayload(s)).size();
    FrameDecoder decoder(256);
    uint8_t buf[512];
    // Reads until one frame is complete.
    auto awaitFrame = [&]() -> bool {
        for (;;) {
            pollfd p{pty.master, POLLIN, 0};
            if (::poll(&p, 1, 5000) <= 0) return false;
            ssize_t r = ::read(pty.master, buf, sizeof buf);
            for (ssize_t i = 0; i < r; ++i)
                if (decoder.feed(buf[i])) return true;
        }
    };
    if (!awaitFrame()) {  // the frame sent at start
        st.SkipWithError("no frame from the link");
        return;
    }
    double totalSeconds = 0;
    for (auto _ : st) {
        const auto t0 = std::chrono::steady_clock::now();
        link.sendNow();
        if (!awaitFrame()) {
            st.SkipWithError("frame lost");
            break;
        }
        const double secs = std::chrono::duration<double>(std::chrono::steady_clock::now() - t0).count();
        st.SetIterationTime(secs);
        totalSeconds += secs;
    }
    link.stop();
    const double wireSeconds = static_cast<double>(wireBytes) * 10.0 / 57600.0;
    if (st.iterations() > 0) {
        st.counters["wire_ms"] = wireSeconds * 1000.0;
        st.counters["wire_multiple"] = totalSeconds / static_cast<double>(st.iterations()) / wireSeconds;
    }
}
BENCHMARK(BM_SendNowLatency)->Arg(0)->Arg(0x2214)->UseManualTime()->Unit(benchmark::kMicrosecond);

}  // namespace
}  // namespace vesk

BENCHMARK_MAIN();
