// Thermal model of the boiler: lumped heat capacities joined by conductances.
#include "sim/plant.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

namespace vesk {

namespace {

constexpr double kPi = 3.14159265358979323846;
constexpr double kWaterJPerKgK = 4186;

// Heat flow between two bodies over one step, solved exactly for the pair so
// that no step length can overshoot the common temperature.
void exchange(double& t1, double c1, double& t2, double c2, double wPerK, double dt) {
    if (wPerK <= 0) return;
    double inv = 1 / c1 + 1 / c2;
    double moved = (t1 - t2) * (1 - std::exp(-wPerK * inv * dt)) / inv;
    t1 -= moved / c1;
    t2 += moved / c2;
}

// A body losing or gaining heat to something too large to notice.
void relax(double& t, double c, double target, double wPerK, double dt) {
    if (wPerK <= 0) return;
    t = target + (t - target) * std::exp(-wPerK * dt / c);
}

void follow(double& t, double target, double tauS, double dt) {
    t = target + (t - target) * std::exp(-dt / tauS);
}

double driveSign(ValveDrive d) {
    return d == ValveDrive::Open ? 1 : d == ValveDrive::Close ? -1 : 0;
}

const char* driveName(ValveDrive d) {
    return d == ValveDrive::Open ? "open" : d == ValveDrive::Close ? "close" : "stop";
}

}  // namespace

const char* sensorChannelName(SensorChannel ch) {
    static const char* const names[kSensorChannels] = {
        "air", "outdoor", "water", "return", "gas", "ch",
        "dhw", "valve1", "valveair", "valve2", "ref", "aux"};
    return names[static_cast<int>(ch)];
}

PlantModel::PlantModel(const PlantConfig& config)
    : config_(config), rng_(config.seed) {
    bunkerKg_ = config_.bunkerCapacityKg * 0.75;
    outdoor_ = config_.outdoorBaseC;
    water_ = 20;
    gas_ = config_.boilerRoomC + 0.6 * (water_ - config_.boilerRoomC);
    room_ = 20;
    dhw_ = 30;
    ch_ = 20;
    return_ = 20;
    valveWater_[0] = valveWater_[1] = 20;
    tube_ = config_.boilerRoomC;
}

PlantOutputs PlantModel::effectiveOutputs() const {
    PlantOutputs o = outputs_;
    if (inj_.fuseBlown) return PlantOutputs{};
    // The safety thermostat is wired in series with everything that makes heat.
    if (emergencyTripped()) {
        o.fanPercent = 0;
        o.auger = false;
        o.igniter = false;
    }
    o.fanPercent = std::clamp(o.fanPercent, 0, 100);
    o.exhaustPercent = std::clamp(o.exhaustPercent, 0, 100);
    return o;
}

void PlantModel::step(double dtSeconds, double timeOfDayHours) {
    while (dtSeconds > 1e-9) {
        double dt = std::min(dtSeconds, 1.0);
        stepOnce(dt, timeOfDayHours);
        dtSeconds -= dt;
        timeOfDayHours = std::fmod(timeOfDayHours + dt / 3600, 24.0);
    }
}

void PlantModel::stepOnce(double dt, double hour) {
    outdoor_ = config_.outdoorBaseC + config_.outdoorSwingK * std::sin(2 * kPi * (hour - 9) / 24);
    PlantOutputs o = effectiveOutputs();
    stepFuelPath(dt, o);
    stepFire(dt, o);
    stepWater(dt, o);
    if (water_ >= config_.emergencyTripC) stbLatched_ = true;
    if (config_.sensorNoiseK > 0) {
        std::uniform_real_distribution<double> u(-config_.sensorNoiseK, config_.sensorNoiseK);
        for (double& n : noise_) n = u(rng_);
    }
    counters_.simSeconds += dt;
}

void PlantModel::stepFuelPath(double dt, const PlantOutputs& o) {
    bool augerTurns = o.auger && !inj_.augerJam && !inj_.inverterOverheat;
    if (augerTurns) {
        counters_.augerRunS += dt;
        augerIdleS_ = 0;
        double fed = std::min(config_.augerFeedKgPerS * dt, bunkerKg_);
        bunkerKg_ -= fed;
        grateKg_ = std::min(config_.grateCapacityKg, grateKg_ + fed);
        counters_.fuelFedKg += fed;
    } else {
        augerIdleS_ += dt;
    }
    if (o.bunkerFiller) {
        if (!lastFiller_) ++counters_.fillerStarts;
        counters_.fillerRunS += dt;
        bunkerKg_ = std::min(config_.bunkerCapacityKg, bunkerKg_ + config_.fillerKgPerS * dt);
    }
    lastFiller_ = o.bunkerFiller;
    if (o.ashRemover) {
        if (!lastAsh_) ++counters_.ashStarts;
        counters_.ashRunS += dt;
    }
    lastAsh_ = o.ashRemover;

    // Fresh fuel cools the tube; a fire left standing creeps back into it.
    double normal = config_.boilerRoomC + 0.12 * (gas_ - config_.boilerRoomC);
    bool creeping = config_.burnBackAfterS > 0 && lit_ && augerIdleS_ >= config_.burnBackAfterS;
    if (augerTurns)
        follow(tube_, normal, 120, dt);
    else if (inj_.burnBack || creeping)
        follow(tube_, config_.tubeHotC, 600, dt);
    else
        follow(tube_, normal, 600, dt);
}

void PlantModel::stepFire(double dt, const PlantOutputs& o) {
    double fan = std::max<double>(o.fanPercent, 0.6 * o.exhaustPercent);
    if (!lit_) {
        bool heating = o.igniter && grateKg_ >= config_.ignitionFuelKg &&
                       std::max<double>(o.fanPercent, o.exhaustPercent) >= config_.ignitionAirPercent;
        // Without heat or air the glow of the igniter fades as fast as it grew.
        ignitionS_ = heating ? ignitionS_ + dt : std::max(0.0, ignitionS_ - dt);
        if (ignitionS_ >= config_.ignitionSeconds) {
            lit_ = true;
            ignitionS_ = 0;
            ++counters_.ignitions;
        }
    }
    heatW_ = 0;
    if (lit_) {
        double air = config_.naturalDraft + (1 - config_.naturalDraft) * fan / 100;
        double rate = std::min(grateKg_ / config_.grateTauS, air * config_.maxBurnKgPerS);
        double burned = std::min(grateKg_, rate * dt);
        grateKg_ -= burned;
        counters_.fuelBurnedKg += burned;
        heatW_ = burned / dt * config_.fuelEnergyMjPerKg * 1e6 * config_.efficiency;
        if (grateKg_ < config_.minFireFuelKg) {
            lit_ = false;
            ++counters_.fireOuts;
        }
    }
    double kw = heatW_ / 1000;
    double flame = lit_ ? std::min(1.0, kw) : 0;
    double target = config_.boilerRoomC + 0.6 * (water_ - config_.boilerRoomC) +
                    config_.flameGasK * flame + config_.gasPerKwK * kw +
                    (o.igniter ? config_.igniterGasRiseK : 0);
    follow(gas_, target, config_.gasTauS, dt);
}

void PlantModel::stepWater(double dt, const PlantOutputs& o) {
    const PlantConfig& c = config_;
    double cb = c.boilerCapacityKjPerK * 1000;
    double cch = c.chCapacityKjPerK * 1000;
    double cr = c.returnCapacityKjPerK * 1000;
    double cd = c.dhwCapacityKjPerK * 1000;
    double croom = c.roomCapacityKjPerK * 1000;
    double cv = c.valveCapacityKjPerK * 1000;

    water_ += heatW_ * dt / cb;
    relax(water_, cb, c.boilerRoomC, c.boilerLossWPerK, dt);

    if (c.hydraulicSeparator) {
        // Primary loop: boiler and separator; secondary: separator and house.
        if (o.pumpLoop) exchange(water_, cb, return_, cr, c.loopPumpWPerK, dt);
        if (o.pumpCh) exchange(return_, cr, ch_, cch, c.chPumpWPerK, dt);
    } else {
        if (o.pumpCh) {
            exchange(water_, cb, ch_, cch, c.chPumpWPerK, dt);
            exchange(ch_, cch, return_, cr, c.chPumpWPerK, dt);
        }
        if (o.pumpLoop) exchange(water_, cb, return_, cr, c.loopPumpWPerK, dt);
    }
    exchange(water_, cb, return_, cr, 20, dt);
    exchange(ch_, cch, room_, croom, c.radiatorWPerK, dt);

    if (o.pumpDhw) exchange(water_, cb, dhw_, cd, c.dhwPumpWPerK, dt);
    relax(dhw_, cd, c.boilerRoomC, c.dhwLossWPerK, dt);
    relax(dhw_, cd, c.coldWaterC, inj_.dhwDrawLPerMin / 60 * kWaterJPerKgK, dt);

    double& source = c.hydraulicSeparator ? return_ : water_;
    double cs = c.hydraulicSeparator ? cr : cb;
    ValveDrive drives[2] = {o.valve1, o.valve2};
    for (int v = 0; v < 2; ++v) {
        valvePos_[v] = std::clamp(valvePos_[v] + driveSign(drives[v]) * dt / c.valveTravelS[v], 0.0, 1.0);
        if (c.valvePumps) exchange(source, cs, valveWater_[v], cv, valvePos_[v] * c.valveMixWPerK, dt);
        exchange(valveWater_[v], cv, room_, croom, c.valveEmitWPerK, dt);
    }

    relax(room_, croom, outdoor_, c.roomLossWPerK, dt);
    // An open vessel cannot get hotter than boiling; the rest goes to steam.
    water_ = std::min(water_, 110.0);

    if (inj_.roomThermostat == Injections::Room::Auto) {
        if (room_ >= inj_.roomSetpointC + 0.25) roomSatisfied_ = true;
        if (room_ <= inj_.roomSetpointC - 0.25) roomSatisfied_ = false;
    }
}

double PlantModel::trueTemperature(SensorChannel ch) const {
    switch (ch) {
    case SensorChannel::Room: return room_;
    case SensorChannel::Outdoor: return outdoor_;
    case SensorChannel::Water: return water_;
    case SensorChannel::Return: return return_;
    case SensorChannel::Gas: return gas_;
    case SensorChannel::Ch: return ch_;
    case SensorChannel::Dhw: return dhw_;
    case SensorChannel::Valve1: return valveWater_[0];
    case SensorChannel::ValveAir: return room_;
    case SensorChannel::Valve2: return config_.sensor9IsAuger ? tube_ : valveWater_[1];
    case SensorChannel::Ref: return config_.boilerRoomC + 4;  // the board warms itself
    case SensorChannel::Aux: return config_.boilerRoomC;
    }
    return 0;
}

SensorReading PlantModel::reading(SensorChannel ch) const {
    const SensorOverride& ov = inj_.sensors[static_cast<int>(ch)];
    switch (ov.kind) {
    case SensorOverride::Kind::Open: return {SensorReading::Kind::Open, 0};
    case SensorOverride::Kind::Short: return {SensorReading::Kind::Short, 0};
    case SensorOverride::Kind::Fixed: return {SensorReading::Kind::Value, ov.celsius};
    case SensorOverride::Kind::None: break;
    }
    return {SensorReading::Kind::Value, trueTemperature(ch) + noise_[static_cast<int>(ch)]};
}

PlantInputs PlantModel::inputs() const {
    PlantInputs in;
    in.fuseBlown = inj_.fuseBlown;
    in.emergencyThermostat = emergencyTripped();
    switch (inj_.roomThermostat) {
    case Injections::Room::Off: in.roomSatisfied = false; break;
    case Injections::Room::On: in.roomSatisfied = true; break;
    case Injections::Room::Auto: in.roomSatisfied = roomSatisfied_; break;
    }
    switch (inj_.bunker) {
    case Injections::Bunker::Empty: in.bunkerEmpty = true; break;
    case Injections::Bunker::Full: in.bunkerFull = true; break;
    case Injections::Bunker::Normal:
        in.bunkerEmpty = bunkerKg_ <= config_.bunkerEmptyKg;
        in.bunkerFull = bunkerKg_ >= config_.bunkerFullKg;
        break;
    }
    in.inverterOverheat = inj_.inverterOverheat;
    in.augerJam = inj_.augerJam;
    in.ashJam = inj_.ashJam;
    in.wrongPhase = inj_.wrongPhase;
    return in;
}

void PlantModel::setBunkerKg(double kg) { bunkerKg_ = std::clamp(kg, 0.0, config_.bunkerCapacityKg); }
void PlantModel::setGrateFuelKg(double kg) { grateKg_ = std::clamp(kg, 0.0, config_.grateCapacityKg); }
void PlantModel::lightByHand() {
    if (lit_ || grateKg_ < config_.ignitionFuelKg) return;
    lit_ = true;
    ignitionS_ = 0;
    ++counters_.ignitions;
}

void PlantModel::setBoilerWaterC(double c) { water_ = std::clamp(c, -20.0, 110.0); }
void PlantModel::setRoomC(double c) { room_ = c; }
void PlantModel::setDhwC(double c) { dhw_ = c; }

void PlantModel::resetEmergency() {
    inj_.emergencyThermostat = false;
    stbLatched_ = false;
}

std::string PlantModel::describe() const {
    PlantOutputs o = effectiveOutputs();
    PlantInputs in = inputs();
    std::string pumps;
    if (o.pumpCh) pumps += "ch,";
    if (o.pumpDhw) pumps += "dhw,";
    if (o.pumpLoop) pumps += "loop,";
    if (pumps.empty()) pumps = "none";
    else pumps.pop_back();
    std::string flags;
    if (in.fuseBlown) flags += " FUSE";
    if (in.emergencyThermostat) flags += " EMERGENCY";
    if (in.roomSatisfied) flags += " ROOM-SATISFIED";
    if (in.bunkerEmpty) flags += " BUNKER-EMPTY";
    if (in.bunkerFull) flags += " BUNKER-FULL";
    if (in.inverterOverheat) flags += " INVERTER";
    if (in.augerJam) flags += " AUGER-JAM";
    if (in.ashJam) flags += " ASH-JAM";
    if (in.wrongPhase) flags += " PHASE";
    char buf[640];
    std::snprintf(buf, sizeof buf,
                  "t=%.0fs fire=%s heat=%.1fkW grate=%.2fkg bunker=%.1fkg water=%.1f gas=%.1f "
                  "return=%.1f ch=%.1f dhw=%.1f room=%.1f outdoor=%.1f v1=%.0f%%/%.1f v2=%.0f%%/%.1f "
                  "tube=%.1f fan=%d exhaust=%d auger=%s igniter=%s pumps=%s valve1=%s valve2=%s "
                  "ash=%s(%d) filler=%s(%d)%s",
                  counters_.simSeconds, lit_ ? "lit" : ignitionS_ > 0 ? "igniting" : "out",
                  heatKw(), grateKg_, bunkerKg_, water_, gas_, return_, ch_, dhw_, room_, outdoor_,
                  valvePos_[0] * 100, valveWater_[0], valvePos_[1] * 100, valveWater_[1], tube_,
                  o.fanPercent, o.exhaustPercent, o.auger ? "on" : "off", o.igniter ? "on" : "off",
                  pumps.c_str(), driveName(o.valve1), driveName(o.valve2),
                  o.ashRemover ? "on" : "off", counters_.ashStarts,
                  o.bunkerFiller ? "on" : "off", counters_.fillerStarts, flags.c_str());
    return buf;
}

}  // namespace vesk
