// Resource pictures from <N>.png and .mbm files, cached by number and name.
#include "ui/toolkit/resources.h"

#include <cairo.h>

#include <algorithm>
#include <fstream>

#include "platform/files.h"

namespace vesk {

namespace {

bool isFile(const std::string& path) {
    std::ifstream f(path, std::ios::binary);
    return static_cast<bool>(f);
}

// Every picture becomes an opaque RGB24 image, whatever the PNG's layout.
Bitmap loadPng(const std::string& path) {
    if (!isFile(path)) return {};
    cairo_surface_t* s = cairo_image_surface_create_from_png(path.c_str());
    if (cairo_surface_status(s) != CAIRO_STATUS_SUCCESS) {
        cairo_surface_destroy(s);
        return {};
    }
    Bitmap src(s);
    if (cairo_image_surface_get_format(s) == CAIRO_FORMAT_RGB24) return src;
    Bitmap out = Bitmap::create(src.width(), src.height());
    if (out.empty()) return {};
    const bool hasAlpha = cairo_image_surface_get_format(s) == CAIRO_FORMAT_ARGB32;
    for (int y = 0; y < src.height(); ++y) {
        const uint32_t* in = src.row(y);
        uint32_t* o = out.row(y);
        if (!in) return {};
        for (int x = 0; x < src.width(); ++x) {
            uint32_t p = in[x];
            if (hasAlpha) {
                // Un-premultiply so that a translucent pixel keeps its colour.
                const uint32_t a = p >> 24;
                if (a == 0) {
                    p = 0;
                } else if (a < 255) {
                    auto ch = [&](int shift) { return std::min<uint32_t>(255, ((p >> shift) & 0xFF) * 255 / a) << shift; };
                    p = ch(16) | ch(8) | ch(0);
                }
            }
            o[x] = p & 0xFFFFFF;
        }
    }
    out.markDirty();
    return out;
}

}  // namespace

Resources::Resources(std::string resourceDir, std::vector<std::string> animationDirs, std::string programName)
    : resourceDir_(std::move(resourceDir)), animationDirs_(std::move(animationDirs)) {
    if (!programName.empty()) variantDir_ = resourceDir_ + programName + "/";
}

Resources Resources::forProgram(const std::string& home, const std::string& exeFolder,
                                const std::string& programName) {
    std::string res = home + "res/";
    if (home.empty() || !isDirectory(res)) res = exeFolder + "res/";
    std::vector<std::string> dirs;
    dirs.push_back(home);
    if (exeFolder != home) dirs.push_back(exeFolder);
    return Resources(res, dirs, programName);
}

const Bitmap& Resources::bitmap(int id) {
    auto it = opaque_.find(id);
    if (it == opaque_.end()) {
        const std::string name = std::to_string(id) + ".png";
        Bitmap b;
        if (!variantDir_.empty()) b = loadPng(variantDir_ + name);
        if (b.empty()) b = loadPng(resourceDir_ + name);
        it = opaque_.emplace(id, std::move(b)).first;
    }
    return it->second;
}

const Bitmap& Resources::keyed(int id) {
    auto k = std::make_pair(id, int64_t(-1));
    auto it = keyed_.find(k);
    if (it == keyed_.end()) it = keyed_.emplace(k, makeKeyedOnCorner(bitmap(id))).first;
    return it->second;
}

const Bitmap& Resources::keyedOn(int id, Color key) {
    auto k = std::make_pair(id, int64_t(key & 0xFFFFFF));
    auto it = keyed_.find(k);
    if (it == keyed_.end()) it = keyed_.emplace(k, makeKeyed(bitmap(id), key)).first;
    return it->second;
}

std::shared_ptr<const MbmAnimation> Resources::animation(const std::string& fileName) {
    auto it = animations_.find(fileName);
    if (it != animations_.end()) return it->second;
    std::shared_ptr<const MbmAnimation> a;
    for (const std::string& dir : animationDirs_) {
        const std::string path = dir + fileName;
        if (isFile(path)) {
            a = std::make_shared<const MbmAnimation>(loadMbmFile(path));
            break;
        }
    }
    if (!a) a = std::make_shared<const MbmAnimation>();
    animations_.emplace(fileName, a);
    return a;
}

}  // namespace vesk
