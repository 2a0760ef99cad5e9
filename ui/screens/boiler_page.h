// "КОТЕЛ": the boiler picture, the temperature panel, the fuel icon, the
// network icons and the expansion module's signal indicator.
#pragma once
#include <array>

#include "ui/screens/boiler_picture.h"
#include "ui/screens/page.h"
#include "ui/screens/picture.h"
#include "ui/screens/screen_context.h"
#include "ui/screens/signal_indicator.h"
#include "ui/screens/temperature_panel.h"

namespace vesk {

constexpr int kNetworkPollMs = 1000;

class BoilerPage : public Page {
public:
    BoilerPage(AppFrame* frame, ScreenContext& ctx, const StateSnapshot& snapshot);

    void show() override;
    void hide() override;
    void refresh() override;
    void timerTick() override;

    BoilerPicture* boiler() const { return boiler_; }
    TemperaturePanel* panel() const { return panel_; }
    SignalIndicator* signal() const { return signal_; }
    // The network picture shown, 0 for none.
    int networkIconShown() const;
    Picture* fuelIcon(int i) const { return fuel_[static_cast<size_t>(i)]; }

private:
    void setNetworkIcons(bool redraw);

    ScreenContext& ctx_;
    const StateSnapshot& v_;
    std::array<Picture*, 2> fuel_{};
    std::array<Picture*, 3> net_{};
    SignalIndicator* signal_ = nullptr;
    BoilerPicture* boiler_ = nullptr;
    TemperaturePanel* panel_ = nullptr;
};

// Fuel positions 0 and 1 are coal; the others burn pellets.
inline bool coalFuel(int fuel) { return fuel == 0 || fuel == 1; }

}  // namespace vesk
