// Mock-up screens composed from the generated files at the layouts' positions,
// with sample captions, to judge the artwork as the panel will show it.
#include "tools/art/mockups.h"

#include "tools/art/boiler.h"
#include "tools/art/mock_text.h"

namespace vesk::art {

namespace {
constexpr Rgb kCaptionBlue = hex(0x007CC3);
constexpr Rgb kBlack = hex(0x000000);
constexpr Rgb kDarkBlueText = hex(0x0C1C8C);  // GDI 0x8C1C0C

void tabs(cairo_t* cr, const Gallery& g, int current, int alert) {
    static const char* kTabs[] = {"КОТЕЛ", "НАСОСЫ", "ДАННЫЕ", "ИНФО"};
    for (int i = 0; i < 4; ++i) {
        int n = i == current ? 170 : (i == 3 && alert ? alert : 171);
        g.blit(cr, n, 80 * i, 0);
        mockText(cr, kTabs[i], 80 * i, 7, 80, 21, 12, true, i == current ? kBlack : kWhite, kCentre);
    }
    g.blit(cr, 173, 0, 188);
    mockText(cr, "МЕНЮ", 0, 188, 94, 48, 20, true, kCaptionBlue, kCentre | kVCentre);
}

void boilerWithChildren(cairo_t* cr, const Gallery& g, Variant v, double bx, double by, const char* fire) {
    BoilerLayout l = boilerLayout(v);
    std::string name(variantInfo(v).programName);
    g.blit(cr, name + "/226", bx, by);
    g.frame(cr, "fan.mbm", 1, bx + l.fan.x, by + l.fan.y);
    g.frame(cr, isKestralo(v) ? "worm.mbm" : "wormORVENA.mbm", 1, bx + l.auger.x, by + l.auger.y);
    if (fire) g.frame(cr, fire, 2, bx + l.fire.x, by + l.fire.y);
    g.blit(cr, 217, bx + l.plate.x, by + l.plate.y);
    mockText(cr, "148°C", bx + l.plate.x + 5, by + l.plate.y, 36, 16, 12, true, hex(0xBA0000), kCentre | kVCentre);
    mockText(cr, isKestralo(v) ? "БУНКЕР ОТКРЫТ!" : "БУНКЕР ПУСТ!", bx + l.label.x, by + l.label.y, l.label.w,
         l.label.h, 14, true, hex(0xC80000), kCentre | kWrap);
}

void screenHome(cairo_t* cr, const Gallery& g, Variant v, int page) {
    g.blit(cr, 167, 0, 0);
    if (page == 0) {
        g.blit(cr, 292, 171, 165);
        g.blit(cr, 287, 102, 215);
        g.blit(cr, 302, 98, 190);
        boilerWithChildren(cr, g, v, 132, 44, v == Variant::Orvena ? "fire.mbm" : "smoke.mbm");
        double px = 7, py = 45;
        g.blit(cr, 225, px, py);
        static const char* kCaps[] = {"t воды", "t воздуха", "t обратки", "t улицы"};
        static const char* kVals[] = {"65°C", "21°C", "--°C", "-12°C"};
        static const double kCap[4][2] = {{3, 3}, {59, 3}, {3, 59}, {59, 59}};
        for (int i = 0; i < 4; ++i) {
            mockText(cr, kCaps[i], px + kCap[i][0], py + kCap[i][1], 49, 16, 10, false, kBlack, kCentre | kVCentre);
            mockText(cr, kVals[i], px + kCap[i][0], py + kCap[i][1] + 16, 48, 25, 16, true, kBlack,
                 kCentre | kVCentre);
        }
        mockText(cr, "ГОРЕНИЕ", px + 1, py + 117, 62, 12, 10, false, kBlack, kCentre | kVCentre);
        g.split(cr, 284, 283, 60 * 45 / 100 + 1, px + 63, py + 117);
        tabs(cr, g, 0, 243);
    } else if (page == 1) {
        static const char* kRows[] = {"ЦЕНТРАЛЬНОE ОТОПЛЕНИE", "ГОРЯЧЕЕ ВОДОСНАБЖЕНИЕ", "РЕЦИРКУЛЯЦИЯ"};
        static const int kPlates[] = {195, 197, 199};
        for (int i = 0; i < 3; ++i) {
            double y = 56 + 41 * i;
            if (i == 1)
                g.frame(cr, "pumpon.mbm", 1, 24, y);
            else
                g.blit(cr, i == 0 ? 203 : 202, 24, y);
            g.blit(cr, 201, 54, y + 5);
            mockText(cr, "65°C", 59, y + 5, 34, 18, 14, true, kBlack, kVCentre);
            g.blit(cr, kPlates[i], 103, y);
            mockText(cr, kRows[i], 108, y, 180, 26, 11, true, kBlack, kVCentre);
        }
        g.blit(cr, 275, 103, 178);
        mockText(cr, "КЛАПАН №1", 108, 178, 70, 24, 11, true, kBlack, kVCentre);
        g.blit(cr, 274, 103, 204);
        mockText(cr, "КЛАПАН №2", 108, 204, 70, 24, 11, true, kBlack, kVCentre);
        g.blit(cr, 205, 184, 183);
        g.blit(cr, 204, 184, 209);
        g.blit(cr, 201, 210, 183);
        mockText(cr, "42°C", 215, 183, 34, 18, 14, true, kBlack, kVCentre);
        g.blit(cr, 201, 210, 209);
        mockText(cr, "--°C", 215, 209, 34, 18, 14, true, kBlack, kVCentre);
        g.blit(cr, 273, 254, 178);
        g.blit(cr, 201, 276, 196);
        mockText(cr, "-5°C", 281, 196, 34, 18, 14, true, kBlack, kVCentre);
        tabs(cr, g, 1, 244);
    } else if (page == 2 && v == Variant::Orvena) {
        mockText(cr, "РАСХОД ТОПЛИВА", 0, 40, 160, 15, 11, true, kBlack, kCentre);
        mockText(cr, "БУНКЕР", 160, 40, 160, 15, 11, true, kBlack, kCentre);
        static const char* kRows[] = {"СУТКИ", "НЕДЕЛЯ", "МЕСЯЦ", "ВСЕГО", "СВОЙ"};
        for (int i = 0; i < 5; ++i) {
            g.blit(cr, 288, 10, 55 + 26 * i);
            mockText(cr, kRows[i], 15, 55 + 26 * i, 90, 24, 11, true, kBlack, kVCentre);
            mockText(cr, "1234", 10 + 99, 55 + 26 * i + 4, 42, 16, 11, true, kBlack, kCentre | kVCentre);
        }
        g.blit(cr, 288, 165, 55);
        mockText(cr, "ОСТАТОК", 170, 55, 90, 24, 11, true, kBlack, kVCentre);
        g.blit(cr, 288, 165, 81);
        mockText(cr, "ОБЪЁМ", 170, 81, 90, 24, 11, true, kBlack, kVCentre);
        g.blit(cr, 290, 165, 107);
        mockText(cr, "ЗАПОЛНЕН", 165, 107, 92, 56, 15, true, kCaptionBlue, kCentre | kVCentre);
        g.blit(cr, 210, 260, 107);
        g.blit(cr, 212, 260, 137);
        tabs(cr, g, 2, 0);
    } else if (page == 2) {
        static const int kPics[] = {216, 214, 215};
        static const int kPlates[] = {195, 196, 197};
        static const char* kRows[] = {"УСТАНОВЛЕННАЯ МОЩНОСТЬ", "ЗАДАННАЯ Т ТЕПЛОНОСИТЕЛЯ", "ЗАДАННАЯ Т ПОМЕЩЕНИЯ"};
        static const char* kVals[] = {"80%", "65°C", "21°C"};
        for (int i = 0; i < 3; ++i) {
            double y = 48 + 26 * i;
            g.blit(cr, kPics[i], 24, y + 1);
            g.blit(cr, 201, 54, y + 5);
            mockText(cr, kVals[i], 59, y + 5, 34, 18, 14, true, kBlack, kVCentre);
            g.blit(cr, kPlates[i], 103, y);
            mockText(cr, kRows[i], 108, y, 180, 26, 11, true, kBlack, kVCentre);
        }
        g.blit(cr, 209, 22, 126);
        mockText(cr, "РЕЖИМ ОБОГРЕВА: ПАРАЛЛЕЛЬНЫЕ НАСОСЫ", 27, 126, 270, 26, 11, true, kBlack, kVCentre);
        g.blit(cr, 207, 22, 152);
        mockText(cr, "ТИП ТОПЛИВА: ПЕЛЛЕТЫ ЛП", 27, 152, 270, 26, 11, true, kBlack, kVCentre);
        tabs(cr, g, 2, 0);
    } else {
        mockText(cr, "ВНИМАНИЕ!\n", 0, 40, 320, 65, 14, true, hex(0xFF0000), kCentre);
        mockText(cr, "Низкая температура воды. Проверьте подачу топлива.", 20, 65, 280, 120, 14, true,
             kDarkBlueText, kWrap);
        g.blit(cr, 242, 133, 190);
        tabs(cr, g, 3, 0);
    }
}

void screenIgnition(cairo_t* cr, const Gallery& g, Variant v) {
    g.blit(cr, 167, 0, 0);
    g.blit(cr, 291, 171, 134);
    boilerWithChildren(cr, g, v, 132, 13, nullptr);
    mockText(cr,
         "Заполните горелку топливом. Разожгите огонь. Включите поддув. Когда огонь разгорится, нажмите "
         "АВТО и котел перейдет в автоматический режим",
         10, 10, 112, 150, 12, true, kBlack, kWrap);
    g.blit(cr, 218, 5, 165);
    mockText(cr, "ВКЛЮЧИТЬ ТЭН", 45, 170, 90, 30, 11, true, kBlack, kCentre | kWrap);
    static const char* kButtons[] = {"ШНЕК", "ПОДДУВ", "АВТО", "ОТМЕНА"};
    for (int i = 0; i < 4; ++i) {
        bool on = i == 1;
        g.blit(cr, on ? 170 : 171, 80 * i, 200);
        mockText(cr, kButtons[i], 80 * i, 200, 80, 28, 12, true, on ? kBlack : kWhite, kCentre | kVCentre);
    }
}

void screenMenu(cairo_t* cr, const Gallery& g) {
    g.blit(cr, 189, 0, 0);
    static const char* kItems[] = {"МОЩНОСТЬ КОТЛА", "ТЕМПЕРАТУРА КОТЛА", "ТЕМПЕРАТУРА ПОМЕЩЕНИЯ",
                                   "КОРРЕКЦИЯ ГОРЕНИЯ", "ПУСК/СТОП КОТЛА"};
    for (int i = 0; i < 5; ++i) {
        bool pressed = i == 1;
        g.blit(cr, pressed ? 182 : 183, 12, 15 + 42 * i);
        mockText(cr, kItems[i], 22, 15 + 42 * i, 174, 36, 12, true, pressed ? kWhite : kCaptionBlue, kVCentre);
    }
    g.blit(cr, 187, 217, 17);
    g.blit(cr, 186, 217, 80);
    g.blit(cr, 173, 217, 175);
    mockText(cr, "НАЗАД", 217, 175, 94, 48, 20, true, kCaptionBlue, kCentre | kVCentre);
}

void screenEditor(cairo_t* cr, const Gallery& g) {
    g.blit(cr, 193, 0, 0);
    mockText(cr, "АНТИЗАМОРОЗКА", 0, 0, 320, 25, 14, true, kBlack, kCentre | kVCentre);
    g.blit(cr, 218, 10, 25);
    mockText(cr, "ВКЛЮЧИТЬ", 56, 25, 180, 32, 12, true, kBlack, kVCentre);
    g.blit(cr, 228, 10, 65);
    mockText(cr, "ТЕМПЕРАТУРА\nВКЛЮЧЕНИЯ", 15, 65, 180, 36, 12, true, kBlack, kVCentre);
    mockText(cr, "5°C", 10 + 235 - 47, 65 + 6, 41, 24, 14, true, kBlack, kCentre | kVCentre);
    g.blit(cr, 229, 10, 110);
    mockText(cr, "ГИСТЕРЕЗИС", 15, 110, 180, 36, 12, true, kBlack, kVCentre);
    mockText(cr, "3", 10 + 235 - 47, 110 + 6, 41, 24, 14, true, kBlack, kCentre | kVCentre);
    g.blit(cr, 230, 255, 47);
    g.blit(cr, 231, 255, 110);
    g.blit(cr, 173, 44, 185);
    mockText(cr, "ОК", 44, 185, 94, 48, 20, true, kCaptionBlue, kCentre | kVCentre);
    g.blit(cr, 172, 182, 185);
    mockText(cr, "ОТМЕНА", 182, 185, 94, 48, 20, true, kWhite, kCentre | kVCentre);
}

void screenOptions(cairo_t* cr, const Gallery& g) {
    g.blit(cr, 193, 0, 0);
    mockText(cr, "РЕЖИМ РАБОТЫ КОТЛА", 0, 0, 320, 25, 14, true, kBlack, kCentre | kVCentre);
    static const char* kOpts[] = {"АВТОМАТ", "ПЕЛЛЕТЫ", "ПАРАЛЛЕЛЬНЫЕ НАСОСЫ"};
    for (int i = 0; i < 3; ++i) {
        double y = 24 + 36 * i;
        g.blit(cr, i == 1 ? 248 : 247, 20, y);
        g.blit(cr, 268, 66, y);
        mockText(cr, kOpts[i], 66, y, 187, 34, 13, true, kBlack, kCentre | kVCentre);
        g.blit(cr, i == 2 ? 250 : 249, 263, y);
    }
    g.blit(cr, 219, 20, 132);
    mockText(cr, "ЛЕТНИЙ РЕЖИМ", 66, 132, 180, 32, 12, true, kBlack, kVCentre);
    g.blit(cr, 173, 44, 185);
    mockText(cr, "ОК", 44, 185, 94, 48, 20, true, kCaptionBlue, kCentre | kVCentre);
    g.blit(cr, 173, 182, 185);
    mockText(cr, "ОТМЕНА", 182, 185, 94, 48, 20, true, kCaptionBlue, kCentre | kVCentre);
}

void screenThermostat(cairo_t* cr, const Gallery& g) {
    g.blit(cr, 193, 0, 0);
    mockText(cr, "ТЕРМОСТАТ", 0, 0, 320, 25, 14, true, kBlack, kCentre | kVCentre);
    static const char* kDays[] = {"ПН", "ВТ", "СР", "ЧТ", "ПТ", "СБ", "ВС"};
    for (int i = 0; i < 7; ++i) {
        double y = 28 + 30 * i;
        bool pressed = i == 2;
        g.blit(cr, pressed ? 257 : 258, 216, y);
        mockText(cr, kDays[i], 216, y, 55, 28, 12, true, pressed ? kBlack : kWhite, kCentre | kVCentre);
        g.blit(cr, 259, 275, y);
        mockText(cr, "П2", 275, y, 40, 28, 12, true, kBlack, kCentre | kVCentre);
    }
    g.blit(cr, 247, 34, 55);
    g.blit(cr, 260, 81, 59);
    mockText(cr, "СР", 81, 59, 57, 24, 14, true, kBlack, kCentre | kVCentre);
    g.blit(cr, 249, 149, 55);
    g.blit(cr, 247, 34, 126);
    g.blit(cr, 260, 81, 131);
    mockText(cr, "П2", 81, 131, 57, 24, 14, true, kBlack, kCentre | kVCentre);
    g.blit(cr, 250, 149, 126);
    g.blit(cr, 173, 12, 175);
    mockText(cr, "ОК", 12, 175, 94, 48, 20, true, kCaptionBlue, kCentre | kVCentre);
    g.blit(cr, 173, 113, 175);
    mockText(cr, "ОТМЕНА", 113, 175, 94, 48, 20, true, kCaptionBlue, kCentre | kVCentre);
}

void screenCode(cairo_t* cr, const Gallery& g) {
    g.blit(cr, 193, 0, 0);
    mockText(cr, "ВВЕДИТЕ ПАРОЛЬ", 0, 0, 320, 25, 14, true, kBlack, kCentre | kVCentre);
    for (int i = 0; i < 4; ++i) {
        double x = 45 + 60 * i;
        g.blit(cr, i == 1 ? 210 : 213, x, 43);
        mockText(cr, i == 1 ? "8" : "#", x, 70, 50, 60, 50, true, kBlack, kCentre | kVCentre);
        g.blit(cr, i == 2 ? 212 : 211, x, 130);
    }
    g.blit(cr, 173, 44, 175);
    mockText(cr, "ОК", 44, 175, 94, 48, 20, true, kCaptionBlue, kCentre | kVCentre);
    g.blit(cr, 173, 182, 175);
    mockText(cr, "ОТМЕНА", 182, 175, 94, 48, 20, true, kCaptionBlue, kCentre | kVCentre);
}

}  // namespace

std::vector<MockScreen> mockScreens() {
    return {
        {"home ORVENA", [](cairo_t* c, const Gallery& g) { screenHome(c, g, Variant::Orvena, 0); }},
        {"home KESTRALO", [](cairo_t* c, const Gallery& g) { screenHome(c, g, Variant::Kestralo, 0); }},
        {"pumps", [](cairo_t* c, const Gallery& g) { screenHome(c, g, Variant::Orvena, 1); }},
        {"data ORVENA", [](cairo_t* c, const Gallery& g) { screenHome(c, g, Variant::Orvena, 2); }},
        {"data KESTRALO", [](cairo_t* c, const Gallery& g) { screenHome(c, g, Variant::Kestralo, 2); }},
        {"info", [](cairo_t* c, const Gallery& g) { screenHome(c, g, Variant::Orvena, 3); }},
        {"manual ignition", [](cairo_t* c, const Gallery& g) { screenIgnition(c, g, Variant::Orvena); }},
        {"menu", screenMenu},
        {"editor", screenEditor},
        {"options", screenOptions},
        {"weekdays", screenThermostat},
        {"access code", screenCode},
    };
}

}  // namespace vesk::art
