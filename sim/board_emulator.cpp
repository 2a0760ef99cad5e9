// Power-board stand-in: command layouts in, readings layouts out.
#include "sim/board_emulator.h"

#include <algorithm>
#include <cstdio>

#include "sim/sensor_codec.h"

namespace vesk {

namespace {

constexpr int kNone = -1;

// Byte offset of each sensor channel in the readings payload, by family.
constexpr int kOldOffsets[kSensorChannels] = {7, 9, 5, 11, 3, 15, 17, 19, 21, 23, 13, kNone};
constexpr int kNewOffsets[kSensorChannels] = {2, 8, 18, 4, 24, 10, 6, 14, 12, 16, 22, 20};

bool isOld(uint16_t fw) { return fw == 0x1000 || fw == 0x1100; }

uint16_t le16(const std::vector<uint8_t>& p, size_t at) {
    return static_cast<uint16_t>(p[at] | (p[at + 1] << 8));
}

void put16(std::vector<uint8_t>& p, size_t at, uint16_t v) {
    p[at] = static_cast<uint8_t>(v & 0xFF);
    p[at + 1] = static_cast<uint8_t>(v >> 8);
}

ValveDrive drive(bool open, bool close) {
    if (open == close) return ValveDrive::Stop;  // both bits: the motor cannot do both
    return open ? ValveDrive::Open : ValveDrive::Close;
}

int percent(uint8_t b) { return std::min<int>(b, 100); }

const char* driveName(ValveDrive d) {
    return d == ValveDrive::Open ? "open" : d == ValveDrive::Close ? "close" : "stop";
}

}  // namespace

std::string firmwareText(uint16_t fw) {
    char buf[24];
    std::snprintf(buf, sizeof buf, "%u.%u.%u.%u", (fw >> 12) & 0xF, (fw >> 8) & 0xF, (fw >> 4) & 0xF, fw & 0xF);
    return buf;
}

std::string BoardCommand::describe() const {
    const PlantOutputs& o = outputs;
    std::string pumps;
    if (o.pumpCh) pumps += "ch,";
    if (o.pumpDhw) pumps += "dhw,";
    if (o.pumpLoop) pumps += "loop,";
    if (pumps.empty()) pumps = "none";
    else pumps.pop_back();
    char buf[256];
    int n = std::snprintf(buf, sizeof buf,
                          "layout=%zu auger=%s fan=%d exhaust=%d igniter=%s pumps=%s valve1=%s valve2=%s "
                          "ash=%s filler=%s",
                          layout, o.auger ? "run" : "stop", o.fanPercent, o.exhaustPercent,
                          o.igniter ? "on" : "off", pumps.c_str(), driveName(o.valve1), driveName(o.valve2),
                          o.ashRemover ? "on" : "off", o.bunkerFiller ? "on" : "off");
    std::string s(buf, static_cast<size_t>(n));
    if (augerByte >= 0) s += " byte0=" + std::to_string(augerByte);
    if (wormSpeed >= 0) s += " speed=" + std::to_string(wormSpeed);
    if (forwardTime >= 0)
        s += " reverse=" + std::to_string(forwardTime) + "/" + std::to_string(reverseTime) + "/" +
             std::to_string(pauseTime);
    s += " ovc=" + std::to_string(overcurrent) + "/" + std::to_string(overcurrentTimeout);
    s += " hex=";
    for (size_t i = 0; i < raw.size(); ++i) {
        char h[4];
        std::snprintf(h, sizeof h, "%02x", raw[i]);
        if (i) s += ' ';
        s += h;
    }
    return s;
}

BoardEmulator::BoardEmulator(PlantModel& plant, uint16_t firmwareVersion, Variant variant)
    : plant_(plant), fw_(firmwareVersion), variant_(variant) {}

bool BoardEmulator::knownFirmware(uint16_t fw) {
    return fw == 0x1000 || fw == 0x1100 || fw == 0x2200 || fw == 0x2214 || fw == 0x2215;
}

size_t BoardEmulator::commandLength(uint16_t fw) {
    if (fw == 0x2214 || fw == 0x2215) return 22;
    if (fw == 0x2200) return 8;
    return 7;
}

size_t BoardEmulator::readingsLength(uint16_t fw) {
    switch (fw) {
    case 0x2200: return 27;  // inputs at 26
    case 0x2214: return 65;  // extra inputs at 64
    case 0x2215: return 67;  // extra inputs at 66
    default: return 25;      // last reading at 23..24
    }
}

std::optional<BoardCommand> BoardEmulator::decodeCommand(uint16_t fw, const std::vector<uint8_t>& p) {
    size_t len = commandLength(fw);
    if (p.size() != len) return std::nullopt;
    BoardCommand c;
    c.layout = len;
    c.raw = p;
    PlantOutputs& o = c.outputs;
    if (len == 22) {
        c.augerByte = p[0];
        o.auger = p[0] == 10;  // 5 and 12 both stop; 12 is the one-off explicit stop
        c.wormSpeed = p[1];
        c.forwardTime = p[2];
        c.reverseTime = p[3];
        c.pauseTime = p[4];
        c.overcurrent = p[6];
        c.overcurrentTimeout = p[7];
        c.bits = le16(p, 13);
        o.pumpCh = c.bits & 0x0001;
        o.pumpLoop = c.bits & 0x0004;
        o.pumpDhw = c.bits & 0x0008;
        o.valve1 = drive(c.bits & 0x0010, c.bits & 0x0020);
        o.igniter = c.bits & 0x1000;
        o.ashRemover = c.bits & 0x2000;
        o.fanPercent = percent(p[15] & 0x7F);
        o.exhaustPercent = percent(p[17]);
    } else if (len == 8) {
        c.bits = le16(p, 0);
        o.pumpCh = c.bits & 0x0001;
        o.pumpLoop = c.bits & 0x0004;
        o.pumpDhw = c.bits & 0x0008;
        o.valve1 = drive(c.bits & 0x0010, c.bits & 0x0020);
        o.auger = c.bits & 0x0100;
        o.igniter = c.bits & 0x1000;
        o.fanPercent = percent(p[2] & 0x7F);
        o.exhaustPercent = percent(p[4]);
        c.overcurrent = p[6];
        c.overcurrentTimeout = p[7];
    } else {
        c.bits = le16(p, 0);
        o.pumpCh = c.bits & 0x0001;
        o.pumpDhw = c.bits & 0x0002;
        o.pumpLoop = c.bits & 0x0004;
        o.valve1 = drive(c.bits & 0x0008, c.bits & 0x0010);
        o.valve2 = drive(c.bits & 0x0020, c.bits & 0x0040);
        o.auger = c.bits & 0x0080;
        o.bunkerFiller = c.bits & 0x0200;
        o.ashRemover = c.bits & 0x0400;
        o.igniter = c.bits & 0x0800;
        o.fanPercent = percent(p[2]);
        o.exhaustPercent = percent(p[3]);
        c.wormSpeed = p[4];
        c.overcurrent = p[5];
        c.overcurrentTimeout = p[6];
    }
    return c;
}

bool BoardEmulator::applyCommand(const std::vector<uint8_t>& payload) {
    auto c = decodeCommand(fw_, payload);
    if (!c) {
        ++ignored_;
        return false;
    }
    ++applied_;
    plant_.setOutputs(c->outputs);
    last_ = std::move(c);
    silence_ = 0;
    safe_ = false;
    return true;
}

void BoardEmulator::enterSafeState() {
    safe_ = true;
    ++safeEntries_;
    // Pumps keep running: stopping them could boil a hot boiler.
    PlantOutputs o = plant_.outputs();
    o.fanPercent = 0;
    o.exhaustPercent = 0;
    o.auger = false;
    o.igniter = false;
    o.valve1 = ValveDrive::Stop;
    o.valve2 = ValveDrive::Stop;
    o.ashRemover = false;
    o.bunkerFiller = false;
    plant_.setOutputs(o);
}

void BoardEmulator::step(double dt, double timeOfDayHours) {
    silence_ += dt;
    if (!safe_ && silence_ >= silenceLimit_) enterSafeState();
    plant_.step(dt, timeOfDayHours);
}

std::string BoardEmulator::describeLastCommand() const {
    if (!last_) return "none";
    return last_->describe();
}

uint8_t BoardEmulator::boardInputs() const {
    PlantInputs in = plant_.inputs();
    uint8_t b = 0;
    if (in.fuseBlown) b |= 0x01;
    if (in.emergencyThermostat) b |= 0x02;
    if (in.roomSatisfied) b |= 0x04;
    if (in.inverterOverheat) b |= 0x20;
    if (in.augerJam) b |= 0x40;
    if (isKestralo(variant_)) {
        if (in.ashJam) b |= 0x08;
        if (in.bunkerEmpty) b |= 0x10;
        if (in.wrongPhase) b |= 0x80;
    } else {
        if (in.bunkerEmpty) b |= 0x08;
        if (in.bunkerFull) b |= 0x10;
    }
    return b;
}

int16_t BoardEmulator::encode(SensorChannel ch) const {
    SensorReading r = plant_.reading(ch);
    bool gas = ch == SensorChannel::Gas;
    if (fw_ == 0x2215 && !gas) {
        if (r.kind == SensorReading::Kind::Open) return kAdcCountMax;
        if (r.kind == SensorReading::Kind::Short) return 0;
        return static_cast<int16_t>(kelvinCounts(r.celsius, kAdcScaleWord));
    }
    if (r.kind == SensorReading::Kind::Open) return static_cast<int16_t>(kSensorOpenCode);
    if (r.kind == SensorReading::Kind::Short) return static_cast<int16_t>(kSensorShortCode);
    if (gas && fw_ == 0x2215) {
        // The panel adds its own whole-degree view of the cold junction.
        int refTenths = panelTenthsFromCounts(encode(SensorChannel::Ref), kAdcScaleWord);
        if (refTenths >= 0x4000) return 0;
        return thermocoupleCounts(static_cast<int>(wholeDegrees(r.celsius)) - refTenths / 10);
    }
    if (gas || fw_ == 0x1000) return wholeDegrees(r.celsius);
    return quarterDegrees(r.celsius);
}

std::vector<uint8_t> BoardEmulator::readingsPayload() const {
    std::vector<uint8_t> p(readingsLength(fw_), 0);
    put16(p, 0, fw_);
    const int* offsets = isOld(fw_) ? kOldOffsets : kNewOffsets;
    for (int i = 0; i < kSensorChannels; ++i) {
        if (offsets[i] == kNone) continue;
        put16(p, static_cast<size_t>(offsets[i]), static_cast<uint16_t>(encode(static_cast<SensorChannel>(i))));
    }
    uint8_t inputs = boardInputs();
    switch (fw_) {
    case 0x2200: p[26] = inputs; break;
    case 0x2214:
        // Inverter and auger jam travel in a byte of their own.
        p[30] = inputs & 0x9F;
        p[64] = static_cast<uint8_t>((inputs >> 5) & 0x03);
        break;
    case 0x2215:
        put16(p, 26, kAdcScaleWord);
        p[32] = inputs & 0x9F;
        p[66] = static_cast<uint8_t>((inputs >> 5) & 0x03);
        break;
    default: p[2] = inputs; break;
    }
    return p;
}

}  // namespace vesk
