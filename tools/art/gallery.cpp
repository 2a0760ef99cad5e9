// The generated files read back from disk, ready to be composed the way the
// panel draws them (keyed pictures with their key made transparent).
#include "tools/art/gallery.h"

#include <cstdint>
#include <cstdio>
#include <fstream>
#include <iterator>

#include "tools/art/animations.h"
#include "tools/art/catalogue.h"

namespace vesk::art {

namespace {
// Keyed pictures become ARGB with the key transparent, as the panel draws them.
Surface toArgb(const Surface& rgb, bool keyed, Rgb key) {
    Surface out(rgb.width(), rgb.height(), CAIRO_FORMAT_ARGB32);
    cairo_surface_flush(out.get());
    unsigned char* data = cairo_image_surface_get_data(out.get());
    int stride = cairo_image_surface_get_stride(out.get());
    for (int y = 0; y < rgb.height(); ++y)
        for (int x = 0; x < rgb.width(); ++x) {
            Rgb c = rgb.at(x, y);
            uint32_t v = keyed && c == key ? 0u : 0xFF000000u | c.packed();
            reinterpret_cast<uint32_t*>(data + y * stride)[x] = v;
        }
    cairo_surface_mark_dirty(out.get());
    return out;
}

// Reads an animation file back by its layout, independently of the writer.
std::vector<Surface> readMbm(const std::string& path) {
    std::ifstream is(path, std::ios::binary);
    std::vector<uint8_t> b((std::istreambuf_iterator<char>(is)), std::istreambuf_iterator<char>());
    std::vector<Surface> frames;
    auto u16 = [&](size_t o) { return uint32_t(b[o] | (b[o + 1] << 8)); };
    auto u32 = [&](size_t o) { return u16(o) | (u16(o + 2) << 16); };
    if (b.size() < 4) return frames;
    uint32_t n = u16(0);
    size_t o = 4;
    for (uint32_t i = 0; i < n && o + 40 <= b.size(); ++i) {
        int w = int(u32(o + 4)), h = int(u32(o + 8));
        uint32_t used = u32(o + 32);
        size_t pal = o + 40, pix = pal + 4 * (used ? used : 256);
        size_t stride = (size_t(w) + 3) & ~size_t(3);
        if (w <= 0 || h <= 0 || pix + stride * size_t(h) > b.size()) break;
        Surface s(w, h, CAIRO_FORMAT_RGB24);
        cairo_surface_flush(s.get());
        for (int y = 0; y < h; ++y)
            for (int x = 0; x < w; ++x) {
                size_t idx = b[pix + size_t(h - 1 - y) * stride + size_t(x)];
                s.set(x, y, {b[pal + 4 * idx + 2], b[pal + 4 * idx + 1], b[pal + 4 * idx]});
            }
        cairo_surface_mark_dirty(s.get());
        frames.push_back(std::move(s));
        o = pix + stride * size_t(h);
    }
    return frames;
}
}  // namespace

bool Gallery::load() {
    for (const PictureSpec& p : pictures()) {
        const std::string n = std::to_string(p.number);
        bool keyed = p.keying != Keying::Opaque, fixed = p.keying == Keying::Fixed;
        if (!loadPicture(n, "res/" + n + ".png", keyed, fixed)) return false;
        if (!p.perVariant) continue;
        for (Variant v : {Variant::Orvena, Variant::Kestralo}) {
            std::string folder(variantInfo(v).programName);
            if (!loadPicture(folder + "/" + n, "res/" + folder + "/" + n + ".png", keyed, fixed)) return false;
        }
    }
    if (!loadPicture(std::to_string(kAppIcon), "res/101.png", false, false)) return false;
    for (const AnimationSpec& a : animations()) {
        std::vector<Surface> frames = readMbm(dir_ + "/" + a.name);
        if (frames.empty()) {
            std::fprintf(stderr, "vesk-art: cannot read %s/%s\n", dir_.c_str(), a.name.c_str());
            return false;
        }
        // The key is frame 0's top-left pixel, as the panel takes it.
        Rgb key = frames[0].at(0, 0);
        std::vector<Surface> argb;
        for (const Surface& s : frames) argb.push_back(toArgb(s, a.keyed, key));
        anims_[a.name] = std::move(argb);
    }
    return true;
}

bool Gallery::loadPicture(const std::string& id, const std::string& rel, bool keyed, bool fixedKey) {
    std::string path = dir_ + "/" + rel;
    Surface png(cairo_image_surface_create_from_png(path.c_str()));
    if (!png.valid()) {
        std::fprintf(stderr, "vesk-art: cannot read %s\n", path.c_str());
        return false;
    }
    Surface rgb(png.width(), png.height(), CAIRO_FORMAT_RGB24);
    cairo_t* cr = cairo_create(rgb.get());
    cairo_set_source_surface(cr, png.get(), 0, 0);
    cairo_paint(cr);
    cairo_destroy(cr);
    cairo_surface_flush(rgb.get());
    pics_[id] = toArgb(rgb, keyed, fixedKey ? kKey : rgb.at(0, 0));
    return true;
}

void Gallery::blit(cairo_t* cr, const std::string& id, double x, double y) const {
    auto it = pics_.find(id);
    if (it == pics_.end()) return;
    cairo_set_source_surface(cr, it->second.get(), x, y);
    cairo_paint(cr);
}

void Gallery::frame(cairo_t* cr, const std::string& file, int index, double x, double y) const {
    auto it = anims_.find(file);
    if (it == anims_.end() || it->second.empty()) return;
    cairo_set_source_surface(cr, it->second[size_t(index) % it->second.size()].get(), x, y);
    cairo_paint(cr);
}

void Gallery::split(cairo_t* cr, int left, int right, int cols, double x, double y) const {
    auto it = pics_.find(std::to_string(left));
    if (it == pics_.end()) return;
    double w = it->second.width(), h = it->second.height();
    cairo_save(cr);
    cairo_rectangle(cr, x, y, cols, h);
    cairo_clip(cr);
    blit(cr, left, x, y);
    cairo_restore(cr);
    cairo_save(cr);
    cairo_rectangle(cr, x + cols, y, w - cols, h);
    cairo_clip(cr);
    blit(cr, right, x, y);
    cairo_restore(cr);
}

}  // namespace vesk::art
