// Writes the seed corpora of the fuzz targets from valid messages and files
// made by the panel's own encoders: reading frames of every firmware, the
// module's requests, a login and every command, the settings files of both
// variants, an SD copy, automation lines. `make_seeds DIR [MBM...]` fills
// DIR/<target>/ (the .mbm files given are copied as that target's seeds).
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "fuzz/fuzz_support.h"
#include "net/message.h"
#include "serial/framing.h"
#include "settings/sd_transfer.h"
#include "settings/settings_file.h"
#include "sim/board_emulator.h"
#include "sim/plant.h"

namespace {

using namespace vesk;
using Bytes = std::vector<uint8_t>;
namespace fs = std::filesystem;

struct Corpus {
    fs::path dir;
    int n = 0;
    void add(const Bytes& b) {
        std::ofstream(dir / ("seed" + std::to_string(n++)), std::ios::binary)
            .write(reinterpret_cast<const char*>(b.data()), static_cast<std::streamsize>(b.size()));
    }
    void add(uint8_t lead, const std::string& text) {
        Bytes b{lead};
        b.insert(b.end(), text.begin(), text.end());
        add(b);
    }
};

Corpus corpus(const fs::path& root, const char* name) {
    fs::create_directories(root / name);
    return Corpus{root / name};
}

void boardFrames(const fs::path& root) {
    Corpus c = corpus(root, "fuzz_board_frames");
    const uint16_t firmwares[] = {0x1000, 0x1100, 0x2200, 0x2214, 0x2215};
    for (int v = 0; v < 2; ++v)
        for (size_t f = 0; f < std::size(firmwares); ++f) {
            PlantModel plant;
            BoardEmulator board(plant, firmwares[f], fuzz::variantOf(static_cast<uint8_t>(v)));
            Bytes b{static_cast<uint8_t>(v | f << 1)};
            const Bytes frame = encodeFrame(board.readingsPayload());
            for (int i = 0; i < 3; ++i) b.insert(b.end(), frame.begin(), frame.end());
            c.add(b);
        }
}

void expansion(const fs::path& root) {
    Corpus c = corpus(root, "fuzz_expansion");
    const Bytes login = {102, 0, 0, 6, 0, 0x40, 0xE2, 0x01, 0, 0xE1, 0x10, 0, 0};
    const std::vector<Bytes> requests = {
        {1}, {3}, {4}, {5, 0x1F, 101, 80, 70, 22, 20}, {6}, {7}, {8, 80}, {100}, {101}, login,
        {103, 1, 0}, {103, 3, 0, 70, 0}, {103, 21, 0}, {104, 1, 0, 192, 168, 0, 7, 0, 2, 1},
    };
    for (int v = 0; v < 2; ++v)
        for (const Bytes& r : requests) {
            const Bytes frame = encodeFrame(r);
            Bytes b{static_cast<uint8_t>(v), static_cast<uint8_t>(frame.size() - 1)};
            b.insert(b.end(), frame.begin(), frame.end());
            c.add(b);
        }
}

void protocol(const fs::path& root) {
    Corpus c = corpus(root, "fuzz_protocol");
    const Bytes loginBody = {0, 0, 6, 0, 0x40, 0xE2, 0x01, 0, 0xE1, 0x10, 0, 0};
    // Data of the right length for each code (zeros, then a few real ones).
    const size_t lengths[] = {0, 0, 2, 2, 2, 3, 2, 2, 2, 3, 6, 5, 18, 3, 4, 4, 5, 2, 3, 4, 3, 0, 2, 2};
    for (int lead = 0; lead < 4; ++lead)
        for (uint16_t code = 0; code <= 24; ++code) {
            Bytes b{static_cast<uint8_t>(lead)};
            const Bytes login = makeMessage(kGroupLogin, kKindRequest, loginBody.data(), loginBody.size());
            b.insert(b.end(), login.begin(), login.end());
            Bytes body = {static_cast<uint8_t>(code), 0};
            body.resize(2 + (code < std::size(lengths) ? lengths[code] : 0), 1);
            const uint16_t sent = code == 24 ? 128 : code;
            body[0] = static_cast<uint8_t>(sent);
            const Bytes m = makeMessage(kGroupCommand, kKindRequest, body.data(), body.size());
            b.insert(b.end(), m.begin(), m.end());
            c.add(b);
        }
}

Schedule sampleSchedule() {
    Schedule s;
    resetSchedule(s);
    s.enabled = 1;
    s.dayProgram[0] = 0;
    s.dayProgram[6] = 1;
    s.programs[0].periods[0] = Period{6, 9, 0, 1, 22, 0, 0};
    s.programs[0].periods[1] = Period{17, 23, 0, 1, 21, 1, 70};
    s.programs[0].count = 2;
    s.programs[1].periods[0] = Period{8, 20, 1, 0, 0, 1, 65};
    s.programs[1].count = 1;
    return s;
}

void settingsFiles(const fs::path& root) {
    Corpus c = corpus(root, "fuzz_settings_files");
    for (int v = 0; v < 2; ++v) {
        fuzz::Panel p(fuzz::variantOf(static_cast<uint8_t>(v)));
        c.add(static_cast<uint8_t>(v), formatServiceFile(p.state.settings));
        c.add(static_cast<uint8_t>(v | 2), formatUserFile(p.state.settings, p.state.variant));
        c.add(static_cast<uint8_t>(v | 4), formatSchedule(sampleSchedule()));
    }
}

void sdImport(const fs::path& root) {
    Corpus c = corpus(root, "fuzz_sd_import");
    fuzz::Panel p(Variant::Orvena);
    for (const std::string& text : {formatUserFile(p.state.settings, Variant::Orvena), formatServiceFile(p.state.settings)}) {
        KeyStream keys;
        const std::string sd = scrambleForSd(text, keys);
        c.add(Bytes(sd.begin(), sd.end()));
    }
}

void automation(const fs::path& root) {
    Corpus c = corpus(root, "fuzz_automation");
    for (const char* line : {"tap 10 20", "down 0 0", "move 319 239", "up 5 5", "hold 100 100 1500", "shot /tmp/s.png",
                             "sync", "sounds"})
        c.add(Bytes(line, line + std::char_traits<char>::length(line)));
}

void mbm(const fs::path& root, int argc, char** argv) {
    Corpus c = corpus(root, "fuzz_mbm");
    for (int i = 2; i < argc; ++i) {
        std::ifstream in(argv[i], std::ios::binary);
        c.add(Bytes(std::istreambuf_iterator<char>(in), {}));
    }
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 2) return 2;
    const fs::path root = argv[1];
    boardFrames(root);
    expansion(root);
    protocol(root);
    settingsFiles(root);
    sdImport(root);
    automation(root);
    mbm(root, argc, argv);
    return 0;
}
