// Thermal model of the boiler, its fire, fuel path, water circuits, house and
// weather; stepped in simulated time, no clocks or threads of its own.
#pragma once
#include <array>
#include <cstdint>
#include <random>
#include <string>

namespace vesk {

// Sensor channels of the power board, by the panel's sensor index.
enum class SensorChannel {
    Room = 0,
    Outdoor = 1,
    Water = 2,
    Return = 3,
    Gas = 4,
    Ch = 5,
    Dhw = 6,
    Valve1 = 7,
    ValveAir = 8,
    Valve2 = 9,  // valve 2 water or auger tube, by wiring
    Ref = 10,
    Aux = 11,
};
constexpr int kSensorChannels = 12;

enum class ValveDrive { Stop, Open, Close };

// What the power board drives (already decoded from a command frame).
struct PlantOutputs {
    int fanPercent = 0;
    int exhaustPercent = 0;
    bool auger = false;
    bool igniter = false;
    bool pumpCh = false;
    bool pumpDhw = false;
    bool pumpLoop = false;
    ValveDrive valve1 = ValveDrive::Stop;
    ValveDrive valve2 = ValveDrive::Stop;
    bool ashRemover = false;
    bool bunkerFiller = false;
};

// A sensor as the board sees it: a temperature, or a broken wire.
struct SensorReading {
    enum class Kind { Value, Open, Short };
    Kind kind = Kind::Value;
    double celsius = 0;
};

struct SensorOverride {
    enum class Kind { None, Open, Short, Fixed };
    Kind kind = Kind::None;
    double celsius = 0;
};

// Sizes and rates of the simulated installation; the defaults are a 25 kW
// pellet boiler in a detached house.
struct PlantConfig {
    double fuelEnergyMjPerKg = 17.5;
    double efficiency = 0.9;
    double maxBurnKgPerS = 0.0016;   // with the blower at 100 %
    double naturalDraft = 0.04;      // air share without any fan
    double grateTauS = 120;          // grate fuel burns at most m / tau per s
    double grateCapacityKg = 3.0;    // an overfed burner spills the rest
    double augerFeedKgPerS = 0.02;
    double minFireFuelKg = 0.01;     // below this the fire goes out
    double ignitionFuelKg = 0.05;    // an igniter needs this much on the grate
    double ignitionAirPercent = 10;  // and this much blower (or exhaust fan)
    double ignitionSeconds = 120;    // of igniter heat until the fuel takes
    double igniterGasRiseK = 2;      // warm air of the igniter alone
    double flameGasK = 40;           // flue gas above the exchanger with a flame
    double gasPerKwK = 6;
    double gasTauS = 90;

    double boilerCapacityKjPerK = 480;
    double boilerLossWPerK = 15;
    double chPumpWPerK = 1200;
    double loopPumpWPerK = 1000;
    double dhwPumpWPerK = 800;
    double chCapacityKjPerK = 600;
    double radiatorWPerK = 400;
    double returnCapacityKjPerK = 170;
    double dhwCapacityKjPerK = 630;
    double dhwLossWPerK = 2;
    double coldWaterC = 10;
    double roomCapacityKjPerK = 15000;
    double roomLossWPerK = 250;      // the house's heat loss to the outdoor
    double boilerRoomC = 18;
    bool hydraulicSeparator = false; // return node becomes the separator

    double valveTravelS[2] = {120, 120};
    double valveCapacityKjPerK = 300;
    double valveMixWPerK = 600;      // at a fully open valve
    double valveEmitWPerK = 250;
    bool valvePumps = true;          // circuit pumps are not on the board

    double outdoorBaseC = 0;
    double outdoorSwingK = 4;        // daily sine: coldest at 03:00

    double bunkerCapacityKg = 200;
    double bunkerEmptyKg = 10;       // the empty sensor sees fuel above this
    double bunkerFullKg = 195;
    double fillerKgPerS = 0.2;

    double burnBackAfterS = 2700;    // auger idle under a fire; 0 = never
    double tubeHotC = 120;
    bool sensor9IsAuger = true;      // wiring of channel 9
    double emergencyTripC = 95;      // safety thermostat

    double sensorNoiseK = 0;
    uint32_t seed = 1;
};

// Faults and conditions set from outside (tests, the control interface).
struct Injections {
    std::array<SensorOverride, kSensorChannels> sensors{};
    bool fuseBlown = false;
    bool emergencyThermostat = false;
    // Off: no room thermostat wired, so always demand; Auto: one at roomSetpointC.
    enum class Room { Off, On, Auto } roomThermostat = Room::Off;
    double roomSetpointC = 21;
    enum class Bunker { Normal, Empty, Full } bunker = Bunker::Normal;
    bool inverterOverheat = false;
    bool augerJam = false;
    bool ashJam = false;
    bool wrongPhase = false;
    bool burnBack = false;
    double dhwDrawLPerMin = 0;
};

// Totals for the log of the outputs that have no thermal effect.
struct PlantCounters {
    double simSeconds = 0;
    double augerRunS = 0;
    double fuelFedKg = 0;
    double fuelBurnedKg = 0;
    double ashRunS = 0;
    int ashStarts = 0;
    double fillerRunS = 0;
    int fillerStarts = 0;
    int ignitions = 0;
    int fireOuts = 0;
};

// The discrete conditions the board reports, before any variant bit mapping.
struct PlantInputs {
    bool fuseBlown = false;
    bool emergencyThermostat = false;
    bool roomSatisfied = false;
    bool bunkerEmpty = false;
    bool bunkerFull = false;
    bool inverterOverheat = false;
    bool augerJam = false;
    bool ashJam = false;
    bool wrongPhase = false;
};

class PlantModel {
public:
    explicit PlantModel(const PlantConfig& config = {});

    // Advances the model by `dtSeconds`; larger steps are split into 1 s
    // pieces. `timeOfDayHours` (0..24) drives the outdoor swing.
    void step(double dtSeconds, double timeOfDayHours);

    void setOutputs(const PlantOutputs& o) { outputs_ = o; }
    const PlantOutputs& outputs() const { return outputs_; }
    // What actually runs: the fuse and the safety thermostat cut outputs.
    PlantOutputs effectiveOutputs() const;

    PlantConfig& config() { return config_; }
    const PlantConfig& config() const { return config_; }
    Injections& injections() { return inj_; }
    const Injections& injections() const { return inj_; }
    const PlantCounters& counters() const { return counters_; }

    // Sensor as the board reads it (injections and noise applied).
    SensorReading reading(SensorChannel ch) const;
    // The model's own value behind a channel, without injections.
    double trueTemperature(SensorChannel ch) const;
    PlantInputs inputs() const;

    // Physical state.
    bool fireLit() const { return lit_; }
    double heatKw() const { return heatW_ / 1000; }
    double grateFuelKg() const { return grateKg_; }
    double bunkerKg() const { return bunkerKg_; }
    double valvePosition(int valve) const { return valvePos_[valve & 1]; }
    double boilerWaterC() const { return water_; }
    double flueGasC() const { return gas_; }
    double roomC() const { return room_; }
    double outdoorC() const { return outdoor_; }
    double dhwC() const { return dhw_; }
    double chC() const { return ch_; }
    double returnC() const { return return_; }
    double valveWaterC(int valve) const { return valveWater_[valve & 1]; }
    double augerTubeC() const { return tube_; }
    double ignitionProgress() const { return ignitionS_ / config_.ignitionSeconds; }
    bool emergencyTripped() const { return inj_.emergencyThermostat || stbLatched_; }

    void setBunkerKg(double kg);
    void setGrateFuelKg(double kg);
    // The operator lights the fuel on the grate by hand (semi-automatic and
    // firewood firing); an empty grate does not light.
    void lightByHand();
    void setBoilerWaterC(double c);
    void setRoomC(double c);
    void setDhwC(double c);
    // Resets the safety thermostat after a trip (the injection too).
    void resetEmergency();

    // One line: temperatures, fire, fuel and outputs.
    std::string describe() const;

private:
    void stepOnce(double dt, double hour);
    void stepFire(double dt, const PlantOutputs& o);
    void stepWater(double dt, const PlantOutputs& o);
    void stepFuelPath(double dt, const PlantOutputs& o);

    PlantConfig config_;
    Injections inj_;
    PlantOutputs outputs_;
    PlantCounters counters_;
    std::mt19937 rng_;
    std::array<double, kSensorChannels> noise_{};

    bool lit_ = false;
    bool stbLatched_ = false;
    bool roomSatisfied_ = false;
    double ignitionS_ = 0;
    double grateKg_ = 0;
    double heatW_ = 0;
    double bunkerKg_;
    double augerIdleS_ = 0;
    double valvePos_[2] = {0, 0};
    double water_;
    double gas_;
    double room_;
    double outdoor_;
    double dhw_;
    double ch_;
    double return_;
    double valveWater_[2];
    double tube_;
    bool lastAsh_ = false;
    bool lastFiller_ = false;
};

const char* sensorChannelName(SensorChannel ch);

}  // namespace vesk
