// Contact sheet: every generated picture and animation on one PNG, plus mock-up
// screens composed from them, for checking the artwork by eye.
#include "tools/art/sheet.h"

#include <pango/pangocairo.h>

#include <cstdint>
#include <cstdio>
#include <fstream>
#include <iterator>
#include <map>
#include <vector>

#include "tools/art/animations.h"
#include "tools/art/boiler.h"
#include "tools/art/catalogue.h"
#include "tools/art/draw.h"
#include "tools/art/raster.h"

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

struct Frames {
    std::vector<Surface> frames;
    int period = 0;
};

// Reads an animation file back, independently of how it was written.
Frames readMbm(const std::string& path) {
    std::ifstream is(path, std::ios::binary);
    std::vector<uint8_t> b((std::istreambuf_iterator<char>(is)), std::istreambuf_iterator<char>());
    Frames f;
    auto u16 = [&](size_t o) { return uint32_t(b[o] | (b[o + 1] << 8)); };
    auto u32 = [&](size_t o) { return u16(o) | (u16(o + 2) << 16); };
    if (b.size() < 4) return f;
    uint32_t n = u16(0);
    f.period = int(u16(2));
    size_t o = 4;
    for (uint32_t i = 0; i < n && o + 40 <= b.size(); ++i) {
        int w = int(u32(o + 4)), h = int(u32(o + 8));
        uint32_t used = u32(o + 32);
        size_t colours = used ? used : 256;
        size_t pal = o + 40, pix = pal + 4 * colours;
        size_t stride = (size_t(w) + 3) & ~size_t(3);
        if (pix + stride * size_t(h) > b.size()) break;
        Surface s(w, h, CAIRO_FORMAT_RGB24);
        cairo_surface_flush(s.get());
        for (int y = 0; y < h; ++y)
            for (int x = 0; x < w; ++x) {
                size_t idx = b[pix + size_t(h - 1 - y) * stride + size_t(x)];
                s.set(x, y, {b[pal + 4 * idx + 2], b[pal + 4 * idx + 1], b[pal + 4 * idx]});
            }
        cairo_surface_mark_dirty(s.get());
        f.frames.push_back(std::move(s));
        o = pix + stride * size_t(h);
    }
    return f;
}

class Sheet {
public:
    Sheet(const std::string& dir) : dir_(dir) {}

    bool load() {
        for (const PictureSpec& p : pictures()) {
            if (!loadPicture(std::to_string(p.number), "res/" + std::to_string(p.number) + ".png",
                             p.keying))
                return false;
            if (p.perVariant) {
                for (Variant v : {Variant::Orvena, Variant::Kestralo}) {
                    std::string name = std::string(variantInfo(v).programName);
                    if (!loadPicture(name + "/" + std::to_string(p.number),
                                     "res/" + name + "/" + std::to_string(p.number) + ".png", p.keying))
                        return false;
                }
            }
        }
        if (!loadPicture("101", "res/101.png", Keying::Opaque)) return false;
        for (const AnimationSpec& a : animations()) {
            Frames f = readMbm(dir_ + "/" + a.name);
            if (f.frames.empty()) {
                std::fprintf(stderr, "vesk-art: cannot read %s/%s\n", dir_.c_str(), a.name.c_str());
                return false;
            }
            Rgb key = f.frames[0].at(0, 0);
            std::vector<Surface> argb;
            for (const Surface& s : f.frames) argb.push_back(toArgb(s, a.keyed, key));
            anims_[a.name] = std::move(argb);
        }
        return true;
    }

    void draw(cairo_t* cr, SheetPart part, double& height, double width);

private:
    bool loadPicture(const std::string& id, const std::string& rel, Keying k) {
        std::string path = dir_ + "/" + rel;
        Surface s(cairo_image_surface_create_from_png(path.c_str()));
        if (!s.valid()) {
            std::fprintf(stderr, "vesk-art: cannot read %s\n", path.c_str());
            return false;
        }
        Surface rgb(s.width(), s.height(), CAIRO_FORMAT_RGB24);
        cairo_t* cr = cairo_create(rgb.get());
        cairo_set_source_surface(cr, s.get(), 0, 0);
        cairo_paint(cr);
        cairo_destroy(cr);
        Rgb key = k == Keying::Fixed ? kKey : rgb.at(0, 0);
        pics_[id] = toArgb(rgb, k != Keying::Opaque, key);
        return true;
    }

    void blit(cairo_t* cr, const std::string& id, double x, double y) {
        auto it = pics_.find(id);
        if (it == pics_.end()) return;
        cairo_set_source_surface(cr, it->second.get(), x, y);
        cairo_paint(cr);
    }
    void blit(cairo_t* cr, int n, double x, double y) { blit(cr, std::to_string(n), x, y); }
    // The first `cols` columns of one picture, then the rest from another.
    void split(cairo_t* cr, int left, int right, int cols, double x, double y) {
        cairo_save(cr);
        cairo_rectangle(cr, x, y, cols, 12);
        cairo_clip(cr);
        blit(cr, left, x, y);
        cairo_restore(cr);
        cairo_save(cr);
        cairo_rectangle(cr, x + cols, y, 47 - cols, 12);
        cairo_clip(cr);
        blit(cr, right, x, y);
        cairo_restore(cr);
    }
    void frame(cairo_t* cr, const std::string& anim, int i, double x, double y) {
        const auto& f = anims_[anim];
        if (f.empty()) return;
        cairo_set_source_surface(cr, f[size_t(i) % f.size()].get(), x, y);
        cairo_paint(cr);
    }

    void screenHome(cairo_t* cr, Variant v, int page);
    void screenMenu(cairo_t* cr);
    void screenEditor(cairo_t* cr);
    void screenOptions(cairo_t* cr);
    void screenThermostat(cairo_t* cr);
    void screenCode(cairo_t* cr);
    void tabs(cairo_t* cr, int current, int alert);

    std::string dir_;
    std::map<std::string, Surface> pics_;
    std::map<std::string, std::vector<Surface>> anims_;
};

// DrawText-like text: pixel height, bold or normal, GDI-style rectangle.
enum Align { kLeft = 0, kCentre = 1, kVCentre = 4, kWrap = 16 };

void text(cairo_t* cr, const char* s, double x, double y, double w, double h, int px, bool bold, Rgb c,
          int align) {
    PangoLayout* layout = pango_cairo_create_layout(cr);
    PangoFontDescription* d = pango_font_description_from_string("Arial");
    pango_font_description_set_absolute_size(d, px * PANGO_SCALE);
    pango_font_description_set_weight(d, bold ? PANGO_WEIGHT_BOLD : PANGO_WEIGHT_NORMAL);
    pango_layout_set_font_description(layout, d);
    pango_layout_set_text(layout, s, -1);
    pango_layout_set_width(layout, int(w * PANGO_SCALE));
    pango_layout_set_wrap(layout, PANGO_WRAP_WORD);
    pango_layout_set_alignment(layout, align & kCentre ? PANGO_ALIGN_CENTER : PANGO_ALIGN_LEFT);
    PangoRectangle logical;
    pango_layout_get_pixel_extents(layout, nullptr, &logical);
    double ty = align & kVCentre ? y + (h - logical.height) / 2.0 : y;
    setColour(cr, c);
    cairo_move_to(cr, x, ty);
    pango_cairo_show_layout(cr, layout);
    pango_font_description_free(d);
    g_object_unref(layout);
}

constexpr Rgb kCaptionBlue = hex(0x007CC3);
constexpr Rgb kBlack = hex(0x000000);
constexpr Rgb kDarkBlueText = hex(0x0C1C8C);  // GDI 0x8C1C0C

void Sheet::tabs(cairo_t* cr, int current, int alert) {
    static const char* kTabs[] = {"КОТЕЛ", "НАСОСЫ", "ДАННЫЕ", "ИНФО"};
    for (int i = 0; i < 4; ++i) {
        int n = i == current ? 170 : (i == 3 && alert ? alert : 171);
        blit(cr, n, 80 * i, 0);
        text(cr, kTabs[i], 80 * i, 7, 80, 21, 12, true, i == current ? kBlack : kWhite, kCentre);
    }
    blit(cr, 173, 0, 188);
    text(cr, "МЕНЮ", 0, 188, 94, 48, 20, true, kCaptionBlue, kCentre | kVCentre);
}

void Sheet::screenHome(cairo_t* cr, Variant v, int page) {
    blit(cr, 167, 0, 0);
    if (page == 0) {
        BoilerLayout l = boilerLayout(v);
        std::string name(variantInfo(v).programName);
        blit(cr, 292, 171, 165);
        blit(cr, 287, 102, 215);
        blit(cr, 302, 98, 190);
        double bx = 132, by = 44;
        blit(cr, name + "/226", bx, by);
        frame(cr, "fan.mbm", 1, bx + l.fan.x, by + l.fan.y);
        frame(cr, isKestralo(v) ? "worm.mbm" : "wormORVENA.mbm", 1, bx + l.auger.x, by + l.auger.y);
        frame(cr, v == Variant::Orvena ? "fire.mbm" : "smoke.mbm", 2, bx + l.fire.x, by + l.fire.y);
        blit(cr, 217, bx + l.plate.x, by + l.plate.y);
        text(cr, "148°C", bx + l.plate.x + 5, by + l.plate.y, 36, 16, 12, true, hex(0xBA0000),
             kCentre | kVCentre);
        text(cr, isKestralo(v) ? "БУНКЕР ОТКРЫТ!" : "БУНКЕР ПУСТ!", bx + l.label.x, by + l.label.y,
             l.label.w, l.label.h, 14, true, hex(0xC80000), kCentre | kWrap);
        double px = 7, py = 45;
        blit(cr, 225, px, py);
        static const char* kCaps[] = {"t воды", "t воздуха", "t обратки", "t улицы"};
        static const char* kVals[] = {"65°C", "21°C", "--°C", "-12°C"};
        static const double kCap[4][2] = {{3, 3}, {59, 3}, {3, 59}, {59, 59}};
        for (int i = 0; i < 4; ++i) {
            text(cr, kCaps[i], px + kCap[i][0], py + kCap[i][1], 49, 16, 10, false, kBlack, kCentre | kVCentre);
            text(cr, kVals[i], px + kCap[i][0], py + kCap[i][1] + 16, 48, 25, 16, true, kBlack,
                 kCentre | kVCentre);
        }
        text(cr, "ГОРЕНИЕ", px + 1, py + 117, 62, 12, 10, false, kBlack, kCentre | kVCentre);
        split(cr, 284, 283, 60 * 45 / 100 + 1, px + 63, py + 117);
        tabs(cr, 0, 243);
    } else if (page == 1) {
        static const char* kRows[] = {"ЦЕНТРАЛЬНОE ОТОПЛЕНИE", "ГОРЯЧЕЕ ВОДОСНАБЖЕНИЕ", "РЕЦИРКУЛЯЦИЯ"};
        static const int kPlates[] = {195, 197, 199};
        for (int i = 0; i < 3; ++i) {
            double y = 56 + 41 * i;
            if (i == 1)
                frame(cr, "pumpon.mbm", 1, 24, y);
            else
                blit(cr, i == 0 ? 203 : 202, 24, y);
            blit(cr, 201, 54, y + 5);
            text(cr, "65°C", 59, y + 5, 34, 18, 14, true, kBlack, kVCentre);
            blit(cr, kPlates[i], 103, y);
            text(cr, kRows[i], 108, y, 180, 26, 11, true, kBlack, kVCentre);
        }
        blit(cr, 275, 103, 178);
        text(cr, "КЛАПАН №1", 108, 178, 70, 24, 11, true, kBlack, kVCentre);
        blit(cr, 274, 103, 204);
        text(cr, "КЛАПАН №2", 108, 204, 70, 24, 11, true, kBlack, kVCentre);
        blit(cr, 205, 184, 183);
        blit(cr, 204, 184, 209);
        blit(cr, 201, 210, 183);
        text(cr, "42°C", 215, 183, 34, 18, 14, true, kBlack, kVCentre);
        blit(cr, 201, 210, 209);
        text(cr, "--°C", 215, 209, 34, 18, 14, true, kBlack, kVCentre);
        blit(cr, 273, 254, 178);
        blit(cr, 201, 276, 196);
        text(cr, "-5°C", 281, 196, 34, 18, 14, true, kBlack, kVCentre);
        tabs(cr, 1, 244);
    } else if (page == 2 && v == Variant::Orvena) {
        text(cr, "РАСХОД ТОПЛИВА", 0, 40, 160, 15, 11, true, kBlack, kCentre);
        text(cr, "БУНКЕР", 160, 40, 160, 15, 11, true, kBlack, kCentre);
        static const char* kRows[] = {"СУТКИ", "НЕДЕЛЯ", "МЕСЯЦ", "ВСЕГО", "СВОЙ"};
        for (int i = 0; i < 5; ++i) {
            blit(cr, 288, 10, 55 + 26 * i);
            text(cr, kRows[i], 15, 55 + 26 * i, 90, 24, 11, true, kBlack, kVCentre);
            text(cr, "1234", 10 + 99, 55 + 26 * i + 4, 42, 16, 11, true, kBlack, kCentre | kVCentre);
        }
        blit(cr, 288, 165, 55);
        text(cr, "ОСТАТОК", 170, 55, 90, 24, 11, true, kBlack, kVCentre);
        blit(cr, 288, 165, 81);
        text(cr, "ОБЪЁМ", 170, 81, 90, 24, 11, true, kBlack, kVCentre);
        blit(cr, 290, 165, 107);
        text(cr, "ЗАПОЛНЕН", 165, 107, 92, 56, 15, true, kCaptionBlue, kCentre | kVCentre);
        blit(cr, 210, 260, 107);
        blit(cr, 212, 260, 137);
        tabs(cr, 2, 0);
    } else if (page == 2) {
        static const int kPics[] = {216, 214, 215};
        static const int kPlates[] = {195, 196, 197};
        static const char* kRows[] = {"УСТАНОВЛЕННАЯ МОЩНОСТЬ", "ЗАДАННАЯ Т ТЕПЛОНОСИТЕЛЯ", "ЗАДАННАЯ Т ПОМЕЩЕНИЯ"};
        static const char* kVals[] = {"80%", "65°C", "21°C"};
        for (int i = 0; i < 3; ++i) {
            double y = 48 + 26 * i;
            blit(cr, kPics[i], 24, y + 1);
            blit(cr, 201, 54, y + 5);
            text(cr, kVals[i], 59, y + 5, 34, 18, 14, true, kBlack, kVCentre);
            blit(cr, kPlates[i], 103, y);
            text(cr, kRows[i], 108, y, 180, 26, 11, true, kBlack, kVCentre);
        }
        blit(cr, 209, 22, 126);
        text(cr, "РЕЖИМ ОБОГРЕВА: ПАРАЛЛЕЛЬНЫЕ НАСОСЫ", 27, 126, 270, 26, 11, true, kBlack, kVCentre);
        blit(cr, 207, 22, 152);
        text(cr, "ТИП ТОПЛИВА: ПЕЛЛЕТЫ ЛП", 27, 152, 270, 26, 11, true, kBlack, kVCentre);
        tabs(cr, 2, 0);
    } else {
        text(cr, "ВНИМАНИЕ!\n", 0, 40, 320, 65, 14, true, hex(0xFF0000), kCentre);
        text(cr, "Низкая температура воды. Проверьте подачу топлива.", 20, 65, 280, 120, 14, true,
             kDarkBlueText, kWrap);
        blit(cr, 242, 133, 190);
        tabs(cr, 3, 0);
    }
}

void Sheet::screenMenu(cairo_t* cr) {
    blit(cr, 189, 0, 0);
    static const char* kItems[] = {"МОЩНОСТЬ КОТЛА", "ТЕМПЕРАТУРА КОТЛА", "ТЕМПЕРАТУРА ПОМЕЩЕНИЯ",
                                   "КОРРЕКЦИЯ ГОРЕНИЯ", "ПУСК/СТОП КОТЛА"};
    for (int i = 0; i < 5; ++i) {
        bool pressed = i == 1;
        blit(cr, pressed ? 182 : 183, 12, 15 + 42 * i);
        text(cr, kItems[i], 22, 15 + 42 * i, 174, 36, 12, true, pressed ? kWhite : kCaptionBlue, kVCentre);
    }
    blit(cr, 187, 217, 17);
    blit(cr, 186, 217, 80);
    blit(cr, 173, 217, 175);
    text(cr, "НАЗАД", 217, 175, 94, 48, 20, true, kCaptionBlue, kCentre | kVCentre);
}

void Sheet::screenEditor(cairo_t* cr) {
    blit(cr, 193, 0, 0);
    text(cr, "АНТИЗАМОРОЗКА", 0, 0, 320, 25, 14, true, kBlack, kCentre | kVCentre);
    blit(cr, 218, 10, 25);
    text(cr, "ВКЛЮЧИТЬ", 56, 25, 180, 32, 12, true, kBlack, kVCentre);
    blit(cr, 228, 10, 65);
    text(cr, "ТЕМПЕРАТУРА\nВКЛЮЧЕНИЯ", 15, 65, 180, 36, 12, true, kBlack, kVCentre);
    text(cr, "5°C", 10 + 235 - 47, 65 + 6, 41, 24, 14, true, kBlack, kCentre | kVCentre);
    blit(cr, 229, 10, 110);
    text(cr, "ГИСТЕРЕЗИС", 15, 110, 180, 36, 12, true, kBlack, kVCentre);
    text(cr, "3", 10 + 235 - 47, 110 + 6, 41, 24, 14, true, kBlack, kCentre | kVCentre);
    blit(cr, 230, 255, 47);
    blit(cr, 231, 255, 110);
    blit(cr, 173, 44, 185);
    text(cr, "ОК", 44, 185, 94, 48, 20, true, kCaptionBlue, kCentre | kVCentre);
    blit(cr, 172, 182, 185);
    text(cr, "ОТМЕНА", 182, 185, 94, 48, 20, true, kWhite, kCentre | kVCentre);
}

void Sheet::screenOptions(cairo_t* cr) {
    blit(cr, 193, 0, 0);
    text(cr, "РЕЖИМ РАБОТЫ КОТЛА", 0, 0, 320, 25, 14, true, kBlack, kCentre | kVCentre);
    static const char* kOpts[] = {"АВТОМАТ", "ПЕЛЛЕТЫ", "ПАРАЛЛЕЛЬНЫЕ НАСОСЫ"};
    for (int i = 0; i < 3; ++i) {
        double y = 24 + 36 * i;
        blit(cr, i == 1 ? 248 : 247, 20, y);
        blit(cr, 268, 66, y);
        text(cr, kOpts[i], 66, y, 187, 34, 13, true, kBlack, kCentre | kVCentre);
        blit(cr, i == 2 ? 250 : 249, 263, y);
    }
    blit(cr, 219, 20, 132);
    text(cr, "ЛЕТНИЙ РЕЖИМ", 66, 132, 180, 32, 12, true, kBlack, kVCentre);
    blit(cr, 173, 44, 185);
    text(cr, "ОК", 44, 185, 94, 48, 20, true, kCaptionBlue, kCentre | kVCentre);
    blit(cr, 173, 182, 185);
    text(cr, "ОТМЕНА", 182, 185, 94, 48, 20, true, kCaptionBlue, kCentre | kVCentre);
}

void Sheet::screenThermostat(cairo_t* cr) {
    blit(cr, 193, 0, 0);
    text(cr, "ТЕРМОСТАТ", 0, 0, 320, 25, 14, true, kBlack, kCentre | kVCentre);
    static const char* kDays[] = {"ПН", "ВТ", "СР", "ЧТ", "ПТ", "СБ", "ВС"};
    for (int i = 0; i < 7; ++i) {
        double y = 28 + 30 * i;
        bool pressed = i == 2;
        blit(cr, pressed ? 257 : 258, 216, y);
        text(cr, kDays[i], 216, y, 55, 28, 12, true, pressed ? kBlack : kWhite, kCentre | kVCentre);
        blit(cr, 259, 275, y);
        text(cr, "П2", 275, y, 40, 28, 12, true, kBlack, kCentre | kVCentre);
    }
    blit(cr, 247, 34, 55);
    blit(cr, 260, 81, 59);
    text(cr, "СР", 81, 59, 57, 24, 14, true, kBlack, kCentre | kVCentre);
    blit(cr, 249, 149, 55);
    blit(cr, 247, 34, 126);
    blit(cr, 260, 81, 131);
    text(cr, "П2", 81, 131, 57, 24, 14, true, kBlack, kCentre | kVCentre);
    blit(cr, 250, 149, 126);
    blit(cr, 173, 12, 175);
    text(cr, "ОК", 12, 175, 94, 48, 20, true, kCaptionBlue, kCentre | kVCentre);
    blit(cr, 173, 113, 175);
    text(cr, "ОТМЕНА", 113, 175, 94, 48, 20, true, kCaptionBlue, kCentre | kVCentre);
}

void Sheet::screenCode(cairo_t* cr) {
    blit(cr, 193, 0, 0);
    text(cr, "ВВЕДИТЕ ПАРОЛЬ", 0, 0, 320, 25, 14, true, kBlack, kCentre | kVCentre);
    for (int i = 0; i < 4; ++i) {
        double x = 45 + 60 * i;
        blit(cr, i == 1 ? 210 : 213, x, 43);
        text(cr, i == 1 ? "8" : "#", x, 70, 50, 60, 50, true, kBlack, kCentre | kVCentre);
        blit(cr, i == 2 ? 212 : 211, x, 130);
    }
    blit(cr, 173, 44, 175);
    text(cr, "ОК", 44, 175, 94, 48, 20, true, kCaptionBlue, kCentre | kVCentre);
    blit(cr, 173, 182, 175);
    text(cr, "ОТМЕНА", 182, 175, 94, 48, 20, true, kCaptionBlue, kCentre | kVCentre);
}

void Sheet::draw(cairo_t* cr, SheetPart part, double& height, double width) {
    double y = 8;
    if (part != SheetPart::Pictures) {
        // Mock-up screens, two to a row, each framed so the screen edge shows.
        std::vector<std::function<void(cairo_t*)>> screens = {
            [this](cairo_t* c) { screenHome(c, Variant::Orvena, 0); },
            [this](cairo_t* c) { screenHome(c, Variant::Kestralo, 0); },
            [this](cairo_t* c) { screenHome(c, Variant::Orvena, 1); },
            [this](cairo_t* c) { screenHome(c, Variant::Orvena, 2); },
            [this](cairo_t* c) { screenHome(c, Variant::Kestralo, 2); },
            [this](cairo_t* c) { screenHome(c, Variant::Orvena, 3); },
            [this](cairo_t* c) { screenMenu(c); },
            [this](cairo_t* c) { screenEditor(c); },
            [this](cairo_t* c) { screenOptions(c); },
            [this](cairo_t* c) { screenThermostat(c); },
            [this](cairo_t* c) { screenCode(c); },
        };
        for (size_t i = 0; i < screens.size(); ++i) {
            double x = 8 + (i % 2) * 336;
            if (i % 2 == 0 && i > 0) y += 248;
            cairo_save(cr);
            cairo_translate(cr, x, y);
            cairo_rectangle(cr, 0, 0, 320, 240);
            cairo_clip(cr);
            screens[i](cr);
            cairo_restore(cr);
        }
        y += 256;
    }
    if (part != SheetPart::Screens) {
        // Every picture at its own size with its number, packed in rows.
        double x = 8, rowH = 0;
        auto place = [&](const std::string& label, const Surface* s, const std::vector<Surface>* frames) {
            int w = s ? s->width() : (*frames)[0].width() * int(frames->size()) + 2 * int(frames->size() - 1);
            int h = s ? s->height() : (*frames)[0].height();
            double cellW = std::max(w, 60) + 10;
            if (x + cellW > width) {
                x = 8;
                y += rowH + 22;
                rowH = 0;
            }
            text(cr, label.c_str(), x, y, cellW, 12, 10, true, kNavy, kLeft);
            if (s) {
                cairo_set_source_surface(cr, s->get(), x, y + 13);
                cairo_paint(cr);
            } else {
                for (size_t i = 0; i < frames->size(); ++i) {
                    cairo_set_source_surface(cr, (*frames)[i].get(), x + double(i) * ((*frames)[0].width() + 2), y + 13);
                    cairo_paint(cr);
                }
            }
            rowH = std::max(rowH, double(h));
            x += cellW;
        };
        for (const auto& [id, s] : pics_)
            if (s.width() < 320) place(id, &s, nullptr);
        for (const auto& [name, frames] : anims_) place(name, nullptr, &frames);
        y += rowH + 22;
        x = 8;
        for (int n : {167, 189, 193}) {
            text(cr, std::to_string(n).c_str(), x, y, 100, 12, 10, true, kNavy, kLeft);
            blit(cr, n, x, y + 13);
            x += 336;
            if (x + 320 > width) {
                x = 8;
                y += 260;
            }
        }
        y += 260;
    }
    height = y;
}

}  // namespace

bool makeSheet(const std::string& out, const std::string& dir, SheetPart part, int scale) {
    Sheet sheet(dir);
    if (!sheet.load()) return false;
    constexpr double kWidth = 680;
    // Measure on a scratch surface first, then draw at the final height.
    double height = 0;
    {
        Surface scratch(1, 1, CAIRO_FORMAT_RGB24);
        cairo_t* cr = cairo_create(scratch.get());
        sheet.draw(cr, part, height, kWidth);
        cairo_destroy(cr);
    }
    Surface one(int(kWidth), int(height), CAIRO_FORMAT_RGB24);
    cairo_t* cr = cairo_create(one.get());
    cairo_set_source_rgb(cr, 0.62, 0.66, 0.70);
    cairo_paint(cr);
    sheet.draw(cr, part, height, kWidth);
    cairo_destroy(cr);
    // Enlarged pixel for pixel, so what the panel shows is what is judged.
    Surface s(int(kWidth) * scale, int(height) * scale, CAIRO_FORMAT_RGB24);
    cr = cairo_create(s.get());
    cairo_scale(cr, scale, scale);
    cairo_set_source_surface(cr, one.get(), 0, 0);
    cairo_pattern_set_filter(cairo_get_source(cr), CAIRO_FILTER_NEAREST);
    cairo_paint(cr);
    cairo_destroy(cr);
    if (!writePng(s, out)) {
        std::fprintf(stderr, "vesk-art: cannot write %s\n", out.c_str());
        return false;
    }
    return true;
}

}  // namespace vesk::art
