// Small pictures: pumps, valves, fuel, network, signal and set-point icons.
#pragma once
#include "tools/art/raster.h"

namespace vesk::art {

enum class PumpLook { Unused, Ready, Running };
constexpr int kPumpSize = 28;
// The pump body with its impeller turned by `degrees`; every look shares
// one round silhouette so the icon and its animation replace each other.
Surface pumpIcon(PumpLook look, double degrees);

Surface valveIndicator(bool inUse);
Surface fuelIcon(bool pellets);
enum class NetLook { None, Local, Remote };
Surface networkIcon(NetLook look);
// Signal level 0..5; level < 0 draws the event flash (an envelope).
Surface signalIcon(int level);
Surface radiatorIcon();
Surface roomIcon();
Surface powerIcon();
Surface outdoorIcon();
Surface infoEmblem();
Surface appIcon(int size);

// Thermometer of the set-point pictures: stem from y0 to the bulb centre.
void paintThermometer(cairo_t* cr, double x, double y0, double bulbY, double scale);
// A flame in a w x h box at (x, y).
void paintFlame(cairo_t* cr, double x, double y, double w, double h, double phase);

}  // namespace vesk::art
