// Every numbered picture of the panel: its size, how it is keyed, how it is drawn.
#include "tools/art/catalogue.h"

#include "tools/art/backgrounds.h"
#include "tools/art/boiler.h"
#include "tools/art/faces.h"
#include "tools/art/icons.h"

namespace vesk::art {

namespace {
using Draw = std::function<Surface(Variant)>;

Draw same(std::function<Surface()> f) {
    return [f = std::move(f)](Variant) { return f(); };
}

PictureSpec face(int n, int w, int h, double rTop, double rBottom, Face f) {
    return {n, w, h, Keying::Own, false, same([=] { return buttonFace(w, h, rTop, rBottom, f); })};
}
PictureSpec face(int n, int w, int h, double r, Face f) { return face(n, w, h, r, r, f); }
PictureSpec face(int n, int w, int h, double r, FaceColours c) {
    return {n, w, h, Keying::Own, false, same([=] { return buttonFace(w, h, r, c); })};
}

PictureSpec arrow(int n, int w, int h, Arrow dir, bool pressed, double across, double along) {
    return {n, w, h, Keying::Own, false, same([=] { return arrowButton(w, h, dir, pressed, across, along); })};
}

PictureSpec pic(int n, int w, int h, std::function<Surface()> f) {
    return {n, w, h, Keying::Own, false, same(std::move(f))};
}

std::vector<PictureSpec> build() {
    std::vector<PictureSpec> v;
    auto add = [&v](PictureSpec s) { v.push_back(std::move(s)); };

    // Big page buttons, tabs, standard buttons and list entries. Pairs share
    // one silhouette; only the face colours change.
    add(face(163, 234, 44, 7, Face::Dark));
    add(face(277, 234, 44, 7, Face::White));
    add(face(171, 80, 28, 6, 2, Face::Dark));
    add(face(170, 80, 28, 6, 2, Face::White));
    add(face(243, 80, 28, 6, 2, Face::Amber));
    add(face(244, 80, 28, 6, 2, Face::Red));
    // «ОТМЕНА» in Arial 20 bold leaves four pixels on each side of this
    // button: a soft rim keeps the caption clear of a hard frame line.
    add(face(173, 94, 48, 6, FaceColours{kWhite, kLightFaceLow, hex(0xA9BDD1), 0.0}));
    add(face(172, 94, 48, 6, FaceColours{hex(0x1F95DA), kBlueDeep, hex(0x0B6AA8), 0.25}));
    add(face(183, 184, 36, 6, Face::Light));
    add(face(182, 184, 36, 6, Face::Blue));
    add(face(256, 243, 36, 6, Face::Dark));
    add(face(255, 243, 36, 6, Face::White));
    add(face(258, 55, 28, 5, Face::Dark));
    add(face(257, 55, 28, 5, Face::White));
    add(face(267, 106, 28, 6, 2, Face::Dark));
    add(face(266, 106, 28, 6, 2, Face::White));
    add(face(280, 195, 34, 6, Face::Dark));
    add(face(279, 195, 34, 6, Face::White));
    add(face(290, 92, 56, 7, Face::Light));
    add(face(289, 92, 56, 7, Face::MidLight));

    // Arrows: the normal face is light with a blue arrow, the pressed one blue.
    add(arrow(187, 94, 60, Arrow::Up, false, 36, 22));
    add(arrow(184, 94, 60, Arrow::Up, true, 36, 22));
    add(arrow(185, 94, 60, Arrow::Down, false, 36, 22));
    add(arrow(186, 94, 60, Arrow::Down, true, 36, 22));
    add(arrow(213, 50, 26, Arrow::Up, false, 22, 11));
    add(arrow(210, 50, 26, Arrow::Up, true, 22, 11));
    add(arrow(211, 50, 26, Arrow::Down, false, 22, 11));
    add(arrow(212, 50, 26, Arrow::Down, true, 22, 11));
    add(arrow(233, 56, 60, Arrow::Up, false, 30, 19));
    add(arrow(230, 56, 60, Arrow::Up, true, 30, 19));
    add(arrow(231, 56, 60, Arrow::Down, false, 30, 19));
    add(arrow(232, 56, 60, Arrow::Down, true, 30, 19));
    add(arrow(247, 36, 34, Arrow::Left, false, 18, 13));
    add(arrow(248, 36, 34, Arrow::Left, true, 18, 13));
    add(arrow(249, 36, 34, Arrow::Right, false, 18, 13));
    add(arrow(250, 36, 34, Arrow::Right, true, 18, 13));

    // Text plates: light, black text drawn by the widgets.
    for (int n : {195, 196, 197, 199}) add(face(n, 190, 26, 4, Face::Plate));
    // «100%», «100°C» and «-25°C» nearly fill this readout plate: its rim is
    // barely darker than its face, so no frame line crowds the text.
    add(face(201, 44, 18, 3, FaceColours{kWhite, hex(0xF1F5F9), hex(0xCFD9E4), 0.0}));
    for (int n : {207, 209}) add(face(n, 276, 26, 4, Face::Plate));
    add(face(259, 40, 28, 4, Face::Plate));
    add(face(260, 57, 24, 4, Face::Plate));
    add(face(261, 30, 24, 4, Face::Plate));
    add(face(268, 187, 34, 5, Face::Plate));
    for (int n : {274, 275}) add(face(n, 78, 24, 4, Face::Plate));
    add(pic(288, 145, 24, [] { return valueRowPlate(145, 24); }));
    add(pic(217, 46, 16, fluePlate));

    // Value fields with their opaque value box.
    add(pic(229, 235, 36, [] { return valueField(235, 36, false); }));
    add(pic(228, 235, 36, [] { return valueField(235, 36, true); }));
    add(pic(272, 195, 34, [] { return valueField(195, 34, false); }));
    add(pic(271, 195, 34, [] { return valueField(195, 34, true); }));
    add(pic(282, 118, 36, [] { return valueField(118, 36, false); }));
    add(pic(281, 118, 36, [] { return valueField(118, 36, true); }));

    add(pic(219, 32, 32, [] { return checkBox(false); }));
    add(pic(218, 32, 32, [] { return checkBox(true); }));

    // Icons and pictures.
    add(pic(202, 28, 28, [] { return pumpIcon(PumpLook::Unused, 0); }));
    add(pic(203, 28, 28, [] { return pumpIcon(PumpLook::Ready, 0); }));
    add(pic(204, 22, 18, [] { return valveIndicator(false); }));
    add(pic(205, 22, 18, [] { return valveIndicator(true); }));
    add(pic(214, 28, 24, radiatorIcon));
    add(pic(215, 28, 24, roomIcon));
    add(pic(216, 28, 24, powerIcon));
    add(pic(273, 22, 36, outdoorIcon));
    add(pic(242, 54, 46, infoEmblem));
    add(pic(241, 30, 22, [] { return signalIcon(-1); }));
    for (int level = 0; level <= 5; ++level)
        add(pic(299 + level, 30, 22, [level] { return signalIcon(level); }));
    add(pic(285, 26, 22, [] { return networkIcon(NetLook::None); }));
    add(pic(286, 26, 22, [] { return networkIcon(NetLook::Local); }));
    add(pic(287, 26, 22, [] { return networkIcon(NetLook::Remote); }));
    add(pic(291, 36, 14, [] { return fuelIcon(false); }));
    add(pic(292, 36, 14, [] { return fuelIcon(true); }));

    // The home page's panel and boiler, and the power bar pieces.
    add(pic(225, 113, 132, temperaturePanel));
    add({226, kBoilerW, kBoilerH, Keying::Own, true, [](Variant var) { return boilerPicture(var); }});
    add({283, 47, 12, Keying::Fixed, false, same([] { return powerBar(false); })});
    add({284, 47, 12, Keying::Fixed, false, same([] { return powerBar(true); })});

    add({167, 320, 240, Keying::Opaque, false, same(homeBackground)});
    add({189, 320, 240, Keying::Opaque, false, same(menuBackground)});
    add({193, 320, 240, Keying::Opaque, false, same(editorBackground)});
    return v;
}
}  // namespace

const std::vector<PictureSpec>& pictures() {
    static const std::vector<PictureSpec> kAll = build();
    return kAll;
}

}  // namespace vesk::art
