// "ДАННЫЕ": ORVENA shows the fuel consumption and the bunker stock with
// its fill confirmation; KESTRALO, which counts no fuel, the set-points and
// the heating and burning modes.
#pragma once
#include <array>

#include "ui/screens/page.h"
#include "ui/screens/picture.h"
#include "ui/screens/screen_context.h"
#include "ui/toolkit/button.h"
#include "ui/toolkit/repeat_button.h"
#include "ui/toolkit/sensor_readout.h"
#include "ui/toolkit/value_label.h"

namespace vesk {

constexpr int kBunkerSizeMin = 10;
constexpr int kBunkerSizeMax = 9999;

class FuelDataPage : public Page {
public:
    enum Row { kDay, kWeek, kMonth, kTotal, kOwn, kRemaining, kVolume };

    FuelDataPage(AppFrame* frame, ScreenContext& ctx);

    void show() override;
    void refresh() override;

    ValueLabel* row(int r) const { return rows_[static_cast<size_t>(r)]; }
    RepeatButton* increase() const { return up_; }
    RepeatButton* decrease() const { return down_; }
    Button* fillButton() const { return fill_; }
    int volume() const { return volume_; }

private:
    void onButton(Widget& sender);
    void setRow(int r, const std::string& text, bool redraw);
    void showFigures(bool redraw);

    ScreenContext& ctx_;
    std::array<ValueLabel*, 7> rows_{};
    RepeatButton* up_ = nullptr;
    RepeatButton* down_ = nullptr;
    Button* fill_ = nullptr;
    int volume_ = 0;  // the bunker size being edited, kg
};

constexpr int kSetpointPageMs = 1000;

class SetpointDataPage : public Page {
public:
    SetpointDataPage(AppFrame* frame, ScreenContext& ctx);

    void show() override;
    void hide() override;
    void timerTick() override;

    Label* powerText() const { return power_; }
    Label* heatModeLine() const { return heat_; }
    Label* burnModeLine() const { return burn_; }
    SensorReadout* waterSetpoint() const { return water_; }
    SensorReadout* roomSetpoint() const { return room_; }

private:
    // Re-reads the set-points and modes; repaints with `redraw`.
    void reread(bool redraw);

    ScreenContext& ctx_;
    int twat_ = 0;
    int tair_ = 0;
    Label* power_ = nullptr;
    SensorReadout* water_ = nullptr;
    SensorReadout* room_ = nullptr;
    Label* heat_ = nullptr;
    Label* burn_ = nullptr;
};

}  // namespace vesk
