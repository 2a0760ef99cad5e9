// TemperaturePanel: the boxes are copied back from the panel's own picture
// before their new text is drawn, so nothing else under them is repainted.
#include "ui/screens/temperature_panel.h"

#include "ui/screens/home_rules.h"
#include "ui/toolkit/app_frame.h"
#include "ui/toolkit/resources.h"

namespace vesk {

namespace {

constexpr int kPanelPicture = 225;
constexpr int kBarEmpty = 283;
constexpr int kBarFull = 284;
constexpr Color kBarKey = 0xFF00FF;
constexpr unsigned kCentred = kDtCenter | kDtVCenter;
const Font kCaptionFont{10, false};
const Font kValueFont{16, true};

struct Cell {
    const char* caption;
    Rect captionRect;
    Rect valueRect;
    int sensor;
};

constexpr Cell kCells[4] = {
    {"t воды", {3, 3, 52, 19}, {3, 19, 51, 44}, kSensorWater},
    {"t воздуха", {59, 3, 107, 19}, {59, 19, 107, 44}, kSensorAir},
    {"t обратки", {3, 59, 52, 74}, {3, 75, 51, 100}, kSensorReturn},
    {"t улицы", {59, 59, 107, 74}, {59, 75, 107, 100}, kSensorOutdoor},
};
constexpr Rect kModeRect{1, 117, 63, 129};
constexpr Rect kBarRect{63, 117, 110, 129};

}  // namespace

void TemperaturePanel::place(int x, int y) {
    setBackground(kPanelPicture, true);
    panel_ = frame_->resources().bitmap(kPanelPicture);
    rect_ = Rect::ofSize(x, y, background_.width(), background_.height());
}

void TemperaturePanel::take(const StateSnapshot& v) {
    for (size_t i = 0; i < 4; ++i) values_[i] = panelTemperatureText(v.sensors[kCells[i].sensor], v.boardVersion);
    mode_ = burnerModeText(v);
    percent_ = powerBarPercent(v);
}

void TemperaturePanel::paintValue(Painter& p, size_t i) {
    p.drawText(values_[i], kCells[i].valueRect, kValueFont, kBlack, kCentred);
}

void TemperaturePanel::paintMode(Painter& p) { p.drawText(mode_, kModeRect, kCaptionFont, kBlack, kCentred); }

void TemperaturePanel::paintBar(Painter& p) {
    Resources& r = frame_->resources();
    const Bitmap& empty = r.keyedOn(kBarEmpty, kBarKey);
    const Bitmap& full = r.keyedOn(kBarFull, kBarKey);
    const int columns = powerBarFullColumns(percent_);
    const int h = empty.height();
    if (columns > 0) p.drawBitmapPart(full, {0, 0, columns, h}, kBarRect.left, kBarRect.top);
    if (columns < kPowerBarWidth)
        p.drawBitmapPart(empty, {columns, 0, empty.width(), h}, kBarRect.left + columns, kBarRect.top);
}

void TemperaturePanel::paint(Painter& p) {
    p.save();
    p.clip(rect_);
    p.translate(rect_.left, rect_.top);
    paintOwnBackground(p);
    for (const Cell& c : kCells) p.drawText(c.caption, c.captionRect, kCaptionFont, kBlack, kCentred);
    for (size_t i = 0; i < 4; ++i) paintValue(p, i);
    paintMode(p);
    paintBar(p);
    p.restore();
}

void TemperaturePanel::update(const StateSnapshot& v) {
    const std::array<std::string, 4> oldValues = values_;
    const std::string oldMode = mode_;
    const int oldPercent = percent_;
    take(v);
    if (!visible_ || !parent_) return;
    // Only what changed is drawn again: this runs twice a second and the
    // readings mostly stay.
    bool any = mode_ != oldMode || percent_ != oldPercent;
    for (size_t i = 0; i < 4; ++i) any = any || values_[i] != oldValues[i];
    if (!any) return;
    Painter p = parent_->beginChildDrawing();
    p.clip(rect_);
    p.translate(rect_.left, rect_.top);
    for (size_t i = 0; i < 4; ++i) {
        if (values_[i] == oldValues[i]) continue;
        p.drawBitmapPart(panel_, kCells[i].valueRect, kCells[i].valueRect.left, kCells[i].valueRect.top);
        paintValue(p, i);
    }
    if (mode_ != oldMode) {
        p.drawBitmapPart(panel_, kModeRect, kModeRect.left, kModeRect.top);
        paintMode(p);
    }
    if (percent_ != oldPercent) paintBar(p);
    parent_->endChildDrawing(p);
}

}  // namespace vesk
