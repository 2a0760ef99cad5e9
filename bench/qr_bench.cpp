// Encoding time of the pairing QR code against libqrencode on the same
// texts: the panel's own texts and longer ones up to version 26.
#include <benchmark/benchmark.h>
#include <qrencode.h>

#include <string>

#include "net/qr/qr_draw.h"
#include "net/qr/qr_encoder.h"
#include "net/qr/qr_text.h"

namespace vesk {
namespace {

std::string mixedText(size_t n) {
    std::string s;
    for (size_t i = 0; i < n; ++i) s += "Vesk boiler 0123456789 PAIRING\n"[i % 31];
    return s;
}

const std::string& sample(int which) {
    static const std::string kTexts[] = {
        std::string(buildQrText(2, 200, 1234, 123456).view()),  // ORVENA panel
        std::string(buildQrText(0, 16, 7654321, 999999).view()),  // KESTRALO panel
        mixedText(150),
        mixedText(400),
        mixedText(700),
    };
    return kTexts[which];
}

void sampleArgs(benchmark::internal::Benchmark* b) {
    for (int i = 0; i < 5; ++i) b->Arg(i);
}

void BM_VeskEncode(benchmark::State& state) {
    const std::string& text = sample(static_cast<int>(state.range(0)));
    QrSymbol symbol;
    for (auto _ : state) {
        QrStatus status = encodeQr(text, symbol);
        benchmark::DoNotOptimize(status);
        benchmark::DoNotOptimize(symbol);
    }
    state.SetLabel("version " + std::to_string(symbol.version()));
}
BENCHMARK(BM_VeskEncode)->Apply(sampleArgs);

void BM_LibQrencode(benchmark::State& state) {
    const std::string& text = sample(static_cast<int>(state.range(0)));
    int version = 0;
    for (auto _ : state) {
        QRcode* code = QRcode_encodeString(text.c_str(), 0, QR_ECLEVEL_Q, QR_MODE_8, 1);
        if (!code) {
            state.SkipWithError("libqrencode failed");
            break;
        }
        version = code->version;
        benchmark::DoNotOptimize(code->data);
        QRcode_free(code);
    }
    state.SetLabel("version " + std::to_string(version));
}
BENCHMARK(BM_LibQrencode)->Apply(sampleArgs);

// What the screen's paint costs on top of the encoding.
void BM_VeskRenderScreen(benchmark::State& state) {
    const std::string& text = sample(0);
    std::string rgb(size_t{kQrScreenWidth} * kQrScreenHeight * 3, '\0');
    for (auto _ : state) {
        bool drawn = renderQrRgb(text, reinterpret_cast<uint8_t*>(rgb.data()), rgb.size());
        benchmark::DoNotOptimize(drawn);
        benchmark::ClobberMemory();
    }
}
BENCHMARK(BM_VeskRenderScreen);

}  // namespace
}  // namespace vesk

BENCHMARK_MAIN();
