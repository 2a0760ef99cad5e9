// The six animation files: what each frame shows and how the file is stored.
#include "tools/art/animations.h"

#include "tools/art/boiler_parts.h"
#include "tools/art/icons.h"

namespace vesk::art {

namespace {
constexpr int kTurnFrames = 4;
constexpr double kTurnStep = 22.5;  // four blades: 4 x 22.5 degrees closes the loop
constexpr double kFanStep = kFanVanePitch / kTurnFrames;

MbmFile frames(int count, uint16_t period, int colours, const std::function<Surface(int)>& frame) {
    MbmFile f;
    f.periodMs = period;
    f.colours = colours;
    for (int i = 0; i < count; ++i) f.frames.push_back(frame(i));
    return f;
}

void fanShape(cairo_t* cr) {
    cairo_arc(cr, kFanSize / 2.0, kFanSize / 2.0, kFanSize / 2.0, 0, 2 * 3.14159265358979323846);
    cairo_set_source_rgb(cr, 0, 0, 0);
    cairo_fill(cr);
}
}  // namespace

std::vector<AnimationSpec> animations() {
    std::vector<AnimationSpec> v;
    v.push_back({"fan.mbm", true, frames(kTurnFrames, 100, 16, [](int i) {
                     // The rim blends into the housing drawn under the fan in the boiler picture.
                     return renderKeyed(kFanSize, kFanSize, fanShape,
                                        [i](cairo_t* cr) { paintFan(cr, i * kFanStep); }, kFanHousing);
                 })});
    v.push_back({"wormORVENA.mbm", false, frames(4, 150, 32, [](int i) {
                     return renderOpaque(110, kAugerH, [i](cairo_t* cr) {
                         paintAuger(cr, 110, i * kAugerPitch / 4.0, false);
                     });
                 })});
    v.push_back({"worm.mbm", true, frames(4, 150, 32, [](int i) {
                     return renderKeyed(96, kAugerH, [](cairo_t* cr) { augerSilhouette(cr, 96); },
                                        [i](cairo_t* cr) { paintAuger(cr, 96, i * kAugerPitch / 4.0, true); });
                 })});
    v.push_back({"fire.mbm", false, frames(6, 120, 256, [](int i) {
                     return renderOpaque(kFireW, kFireH, [i](cairo_t* cr) { paintFire(cr, i); });
                 })});
    v.push_back({"smoke.mbm", false, frames(6, 200, 256, [](int i) {
                     return renderOpaque(kFireW, kFireH, [i](cairo_t* cr) { paintSmoke(cr, i); });
                 })});
    v.push_back({"pumpon.mbm", true, frames(kTurnFrames, 100, 16, [](int i) {
                     return pumpIcon(PumpLook::Running, i * kTurnStep);
                 })});
    return v;
}

}  // namespace vesk::art
