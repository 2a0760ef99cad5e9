// vesk-art: draws the panel's pictures, animation files and sounds into a
// program folder, or a contact sheet of them for checking by eye.
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>

#include "tools/art/animations.h"
#include "tools/art/catalogue.h"
#include "tools/art/icons.h"
#include "tools/art/sheet.h"
#include "tools/art/sounds.h"

namespace fs = std::filesystem;

namespace vesk::art {
namespace {

bool writePicture(const Surface& s, const PictureSpec& p, const fs::path& path) {
    // A drawing that drifted from its layout size would shift whole screens.
    if (!s.valid() || s.width() != p.w || s.height() != p.h) {
        std::fprintf(stderr, "vesk-art: picture %d drawn at the wrong size\n", p.number);
        return false;
    }
    if (!writePng(s, path.string())) {
        std::fprintf(stderr, "vesk-art: cannot write %s\n", path.c_str());
        return false;
    }
    return true;
}

bool generate(const fs::path& out) {
    const fs::path res = out / "res";
    std::error_code ec;
    fs::create_directories(res, ec);
    for (Variant v : {Variant::Orvena, Variant::Kestralo})
        fs::create_directories(res / std::string(variantInfo(v).programName), ec);
    if (ec) {
        std::fprintf(stderr, "vesk-art: cannot create %s: %s\n", res.c_str(), ec.message().c_str());
        return false;
    }
    for (const PictureSpec& p : pictures()) {
        const std::string file = std::to_string(p.number) + ".png";
        // A picture that differs per variant is written into each variant's
        // folder; the plain copy is the ORVENA one for loaders without variants.
        if (!writePicture(p.draw(Variant::Orvena), p, res / file)) return false;
        if (!p.perVariant) continue;
        for (Variant v : {Variant::Orvena, Variant::Kestralo})
            if (!writePicture(p.draw(v), p, res / std::string(variantInfo(v).programName) / file)) return false;
    }
    if (!writePng(appIcon(32), (res / "101.png").string())) return false;
    for (const AnimationSpec& a : animations())
        if (!writeMbm(a.file, (out / a.name).string())) {
            std::fprintf(stderr, "vesk-art: cannot write %s\n", a.name.c_str());
            return false;
        }
    for (const Sound& s : panelSounds())
        if (!writeWav(s.samples, (res / (std::to_string(s.number) + ".wav")).string())) {
            std::fprintf(stderr, "vesk-art: cannot write sound %d\n", s.number);
            return false;
        }
    return true;
}

int usage() {
    std::fprintf(stderr,
                 "usage: vesk-art FOLDER\n"
                 "       vesk-art --sheet OUT.png FOLDER [--screens|--pictures] [--scale N]\n");
    return 2;
}

}  // namespace
}  // namespace vesk::art

int main(int argc, char** argv) {
    using namespace vesk::art;
    if (argc == 2 && argv[1][0] != '-') return generate(argv[1]) ? 0 : 1;
    if (argc >= 4 && std::string(argv[1]) == "--sheet") {
        SheetPart part = SheetPart::All;
        int scale = 1;
        for (int i = 4; i < argc; ++i) {
            std::string a = argv[i];
            if (a == "--screens")
                part = SheetPart::Screens;
            else if (a == "--pictures")
                part = SheetPart::Pictures;
            else if (a == "--scale" && i + 1 < argc)
                scale = std::atoi(argv[++i]);
            else
                return usage();
        }
        if (scale < 1 || scale > 8) return usage();
        return makeSheet(argv[2], argv[3], part, scale) ? 0 : 1;
    }
    return usage();
}
