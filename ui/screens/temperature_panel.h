// The temperature panel of the boiler page: water, room, return and
// outdoor temperatures, the burner mode text and the power bar.
#pragma once
#include <array>
#include <string>

#include "ui/screens/state_snapshot.h"
#include "ui/toolkit/control.h"

namespace vesk {

class TemperaturePanel : public Control {
public:
    explicit TemperaturePanel(Widget* parent) : Control(parent) {}

    void place(int x, int y);
    // Takes the texts and the bar from `v`, then repaints in place those
    // value boxes, the mode text and the bar that changed.
    void update(const StateSnapshot& v);

    const std::string& valueText(int i) const { return values_[static_cast<size_t>(i)]; }
    const std::string& modeText() const { return mode_; }
    int barPercent() const { return percent_; }

    void paint(Painter& p) override;

private:
    void take(const StateSnapshot& v);
    void paintValue(Painter& p, size_t i);
    void paintMode(Painter& p);
    void paintBar(Painter& p);

    Bitmap panel_;  // opaque, for copying the boxes back
    std::array<std::string, 4> values_{"--°C", "--°C", "--°C", "--°C"};
    std::string mode_ = "ОСТАНОВ";
    int percent_ = 0;
};

}  // namespace vesk
