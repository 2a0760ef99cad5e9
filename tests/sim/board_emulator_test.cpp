#include <gtest/gtest.h>

#include <cmath>

#include "sim/board_emulator.h"
#include "sim/sensor_codec.h"

namespace vesk {
namespace {

constexpr uint16_t kFirmwares[] = {0x1000, 0x1100, 0x2200, 0x2214, 0x2215};

int le16(const std::vector<uint8_t>& p, size_t at) {
    return static_cast<int16_t>(p[at] | (p[at + 1] << 8));
}

// The receiving side as the protocol tables state it, written independently
// of the emulator: offsets by firmware, and the unit of each firmware.
struct PanelView {
    int version = 0;
    int inputs = 0;
    int temps[12] = {};  // whole °C, or the error code as received
};

PanelView panelRead(const std::vector<uint8_t>& p) {
    PanelView v;
    v.version = static_cast<uint16_t>(le16(p, 0));
    // index: room, outdoor, water, return, gas, ch, dhw, valve1, valveair, valve2, ref, aux
    static const int oldAt[12] = {7, 9, 5, 11, 3, 15, 17, 19, 21, 23, 13, -1};
    static const int newAt[12] = {2, 8, 18, 4, 24, 10, 6, 14, 12, 16, 22, 20};
    bool old = v.version == 0x1000 || v.version == 0x1100;
    const int* at = old ? oldAt : newAt;
    for (int i = 0; i < 12; ++i) {
        int off = at[i];
        if (v.version == 0x2215 && i == 8) off = 8;  // valve air shares the outdoor bytes
        if (off < 0) continue;
        int raw = le16(p, static_cast<size_t>(off));
        if (raw >= 0x4000) {
            v.temps[i] = raw;
        } else if (v.version == 0x1000 || (i == 4 && v.version != 0x2215)) {
            v.temps[i] = raw;
        } else if (v.version != 0x2215) {
            v.temps[i] = raw >= 0 ? (raw + 2) / 4 : -((2 - raw) / 4);
        } else if (i != 4) {
            float scale = static_cast<float>(static_cast<uint16_t>(le16(p, 26))) * 4.8828126e-05f;
            v.temps[i] = (raw > 0 && raw < 4095) ? static_cast<int>((raw * scale - 273.15f) * 10.0f) / 10 : 0x4000;
        }
    }
    if (v.version == 0x2215) {
        int raw = le16(p, 24);
        float mv = raw * 0.0040531158f;
        if (v.temps[10] >= 0x4000) v.temps[4] = v.temps[10];
        else if (mv < -3.554f || mv > 54.886f) v.temps[4] = 0x4001;
        else {
            float t = mv < 0 ? 25.07386f * mv - 0.0266435f - 0.7368674f * mv * mv
                    : mv < 20.644f ? 24.963146f * mv - 10.552915f - 0.0337890f * mv * mv
                                   : 19.433937f * mv + 66.969429f + 0.0776045f * mv * mv;
            v.temps[4] = static_cast<int>(t) + v.temps[10];
        }
    }
    switch (v.version) {
    case 0x2200: v.inputs = p[26]; break;
    case 0x2214: v.inputs = (p[30] & 0x9F) | ((p[64] & 3) << 5); break;
    case 0x2215: v.inputs = (p[32] & 0x9F) | ((p[66] & 3) << 5); break;
    default: v.inputs = p[2]; break;
    }
    return v;
}

// Distinct values on every channel so that a swapped offset shows.
void fixAll(PlantModel& plant) {
    const double values[12] = {21.3, -7.6, 71.2, 48.9, 187.4, 55.1, 46.6, 38.2, 19.8, 62.2, 24.0, 17.0};
    for (int i = 0; i < 12; ++i) plant.injections().sensors[i] = {SensorOverride::Kind::Fixed, values[i]};
}

TEST(BoardReadings, EveryFirmwareCarriesEveryReadingAtItsOffsetInItsUnit) {
    for (uint16_t fw : kFirmwares) {
        SCOPED_TRACE(fw);
        PlantModel plant;
        fixAll(plant);
        BoardEmulator board(plant, fw, Variant::Orvena);
        auto p = board.readingsPayload();
        ASSERT_EQ(p.size(), BoardEmulator::readingsLength(fw));
        EXPECT_LE(p.size() + 1, 68u);  // room for the check byte in the receive limit
        PanelView v = panelRead(p);
        EXPECT_EQ(v.version, fw);
        EXPECT_EQ(v.temps[0], 21);
        EXPECT_EQ(v.temps[1], fw == 0x2215 ? -7 : -8);  // tenths truncate toward zero
        EXPECT_EQ(v.temps[2], 71);
        EXPECT_EQ(v.temps[3], fw == 0x2215 ? 48 : 49);  // tenths truncate under 0x2215
        EXPECT_EQ(v.temps[5], 55);
        EXPECT_EQ(v.temps[6], fw == 0x2215 ? 46 : 47);
        EXPECT_EQ(v.temps[7], 38);
        EXPECT_EQ(v.temps[8], fw == 0x2215 ? -7 : 20);  // 0x2215: the outdoor reading
        EXPECT_EQ(v.temps[9], 62);
        EXPECT_NEAR(v.temps[10], 24, 1);
        EXPECT_NEAR(v.temps[4], 187, 1);
        if (fw != 0x1000 && fw != 0x1100) {
            EXPECT_EQ(v.temps[11], fw == 0x2215 ? 16 : 17);
        }
    }
}

TEST(BoardReadings, QuarterDegreeFirmwaresSendQuartersAndWholeDegreeFlueGas) {
    PlantModel plant;
    fixAll(plant);
    BoardEmulator b1100(plant, 0x1100, Variant::Orvena);
    auto p = b1100.readingsPayload();
    EXPECT_EQ(le16(p, 5), 285);   // water 71.2 °C in quarters
    EXPECT_EQ(le16(p, 3), 187);   // flue gas whole
    EXPECT_EQ(le16(p, 9), -30);   // outdoor -7.6 °C, negative little-endian
    BoardEmulator b1000(plant, 0x1000, Variant::Orvena);
    p = b1000.readingsPayload();
    EXPECT_EQ(le16(p, 5), 71);
    EXPECT_EQ(le16(p, 13), 24);
    BoardEmulator b2214(plant, 0x2214, Variant::Orvena);
    p = b2214.readingsPayload();
    EXPECT_EQ(p[0], 0x14);
    EXPECT_EQ(p[1], 0x22);
    EXPECT_EQ(le16(p, 18), 285);
    EXPECT_EQ(le16(p, 24), 187);
}

TEST(BoardReadings, Firmware2215SendsCountsWithItsScaleWord) {
    PlantModel plant;
    fixAll(plant);
    BoardEmulator board(plant, 0x2215, Variant::Orvena);
    auto p = board.readingsPayload();
    EXPECT_EQ(static_cast<uint16_t>(le16(p, 26)), kAdcScaleWord);
    // Water 71.2 °C = 344.35 K at 0.125 K per count.
    EXPECT_EQ(le16(p, 18), 2755);
    // Flue gas through the thermocouple curve, any temperature in the range.
    // Below the cold junction too, where the panel truncates toward zero.
    for (double gas : {-10.0, 5.0, 25.0, 60.0, 140.0, 260.0, 480.0, 700.0}) {
        plant.injections().sensors[4] = {SensorOverride::Kind::Fixed, gas};
        EXPECT_EQ(panelRead(board.readingsPayload()).temps[4], std::lround(gas)) << gas;
    }
}

TEST(BoardReadings, OpenAndShortSensorsBecomeErrorCodes) {
    for (uint16_t fw : kFirmwares) {
        SCOPED_TRACE(fw);
        PlantModel plant;
        plant.injections().sensors[2] = {SensorOverride::Kind::Open, 0};
        plant.injections().sensors[6] = {SensorOverride::Kind::Short, 0};
        plant.injections().sensors[4] = {SensorOverride::Kind::Open, 0};
        BoardEmulator board(plant, fw, Variant::Orvena);
        auto p = board.readingsPayload();
        PanelView v = panelRead(p);
        EXPECT_GE(v.temps[2], 0x4000);
        EXPECT_GE(v.temps[6], 0x4000);
        EXPECT_GE(v.temps[4], 0x4000);
        EXPECT_LT(v.temps[0], 0x4000);
        if (fw == 0x2215) {
            EXPECT_EQ(le16(p, 18), 4095);  // the converter's wire faults
            EXPECT_EQ(le16(p, 6), 0);
        } else {
            int at = fw == 0x2200 || fw == 0x2214 ? 18 : 5;
            EXPECT_EQ(le16(p, static_cast<size_t>(at)), 0x4001);
        }
        // A broken cold junction takes the flue gas with it.
        plant.injections().sensors[4] = {};
        plant.injections().sensors[10] = {SensorOverride::Kind::Open, 0};
        if (fw == 0x2215) {
            EXPECT_GE(panelRead(board.readingsPayload()).temps[4], 0x4000);
        }
    }
}

TEST(BoardInputs, BitsFollowTheVariantAndTheFirmwarePlacement) {
    PlantModel plant;
    plant.injections().bunker = Injections::Bunker::Empty;
    plant.injections().inverterOverheat = true;
    plant.injections().augerJam = true;
    plant.injections().ashJam = true;
    plant.injections().wrongPhase = true;
    plant.injections().roomThermostat = Injections::Room::On;
    BoardEmulator orvena(plant, 0x2214, Variant::Orvena);
    BoardEmulator kestralo(plant, 0x2214, Variant::Kestralo);
    EXPECT_EQ(orvena.boardInputs(), 0x04 | 0x08 | 0x20 | 0x40);
    EXPECT_EQ(kestralo.boardInputs(), 0x04 | 0x08 | 0x10 | 0x20 | 0x40 | 0x80);
    // 0x2214: inverter and jam only in byte 64.
    auto p = orvena.readingsPayload();
    EXPECT_EQ(p[30], 0x04 | 0x08);
    EXPECT_EQ(p[64], 0x03);
    BoardEmulator k2215(plant, 0x2215, Variant::Kestralo);
    p = k2215.readingsPayload();
    EXPECT_EQ(p[32], 0x04 | 0x08 | 0x10 | 0x80);
    EXPECT_EQ(p[66], 0x03);
    for (uint16_t fw : kFirmwares) {
        BoardEmulator b(plant, fw, Variant::Kestralo);
        EXPECT_EQ(panelRead(b.readingsPayload()).inputs, b.boardInputs()) << fw;
    }

    plant.injections() = Injections{};
    plant.injections().roomThermostat = Injections::Room::Off;
    plant.injections().bunker = Injections::Bunker::Full;
    plant.injections().fuseBlown = true;
    plant.injections().emergencyThermostat = true;
    EXPECT_EQ(orvena.boardInputs(), 0x01 | 0x02 | 0x10);
    EXPECT_EQ(kestralo.boardInputs(), 0x01 | 0x02);  // no full sensor there
}

std::vector<uint8_t> command22(uint8_t auger, uint16_t bits, uint8_t fan, uint8_t exhaust) {
    std::vector<uint8_t> p(22, 0);
    p[0] = auger;
    p[1] = 1;
    p[2] = 4;
    p[3] = 2;
    p[4] = 3;
    p[5] = 3;
    p[6] = 40;
    p[7] = 9;
    p[13] = static_cast<uint8_t>(bits);
    p[14] = static_cast<uint8_t>(bits >> 8);
    p[15] = fan;
    p[16] = (bits & 1) ? 100 : 0;
    p[17] = exhaust;
    return p;
}

TEST(BoardCommands, TwentyTwoByteLayout) {
    auto c = BoardEmulator::decodeCommand(0x2214, command22(10, 0x0001 | 0x0008 | 0x0010 | 0x1000 | 0x2000, 57, 30));
    ASSERT_TRUE(c);
    EXPECT_TRUE(c->outputs.auger);
    EXPECT_TRUE(c->outputs.pumpCh);
    EXPECT_TRUE(c->outputs.pumpDhw);
    EXPECT_FALSE(c->outputs.pumpLoop);
    EXPECT_EQ(c->outputs.valve1, ValveDrive::Open);
    EXPECT_TRUE(c->outputs.igniter);
    EXPECT_TRUE(c->outputs.ashRemover);
    EXPECT_EQ(c->outputs.fanPercent, 57);
    EXPECT_EQ(c->outputs.exhaustPercent, 30);
    EXPECT_EQ(c->wormSpeed, 1);
    EXPECT_EQ(c->forwardTime, 4);
    EXPECT_EQ(c->reverseTime, 2);
    EXPECT_EQ(c->pauseTime, 3);
    EXPECT_EQ(c->overcurrent, 40);
    EXPECT_EQ(c->overcurrentTimeout, 9);

    for (uint8_t stop : {5, 12}) {
        auto s = BoardEmulator::decodeCommand(0x2215, command22(stop, 0x0004 | 0x0020, 0x80 | 20, 0));
        ASSERT_TRUE(s);
        EXPECT_FALSE(s->outputs.auger);
        EXPECT_EQ(s->augerByte, stop);
        EXPECT_TRUE(s->outputs.pumpLoop);
        EXPECT_EQ(s->outputs.valve1, ValveDrive::Close);
        EXPECT_EQ(s->outputs.fanPercent, 20);  // bit 7 is not power
    }
    // A motor told to open and close at once stands still.
    auto both = BoardEmulator::decodeCommand(0x2214, command22(5, 0x0030, 0, 0));
    EXPECT_EQ(both->outputs.valve1, ValveDrive::Stop);
}

TEST(BoardCommands, EightAndSevenByteLayouts) {
    std::vector<uint8_t> p8 = {0x0D, 0x11, 45, 100, 25, 0, 40, 9};  // CH, loop, DHW, auger, igniter
    auto c = BoardEmulator::decodeCommand(0x2200, p8);
    ASSERT_TRUE(c);
    EXPECT_TRUE(c->outputs.pumpCh);
    EXPECT_TRUE(c->outputs.pumpLoop);
    EXPECT_TRUE(c->outputs.pumpDhw);
    EXPECT_TRUE(c->outputs.auger);
    EXPECT_TRUE(c->outputs.igniter);
    EXPECT_EQ(c->outputs.valve1, ValveDrive::Stop);
    EXPECT_EQ(c->outputs.fanPercent, 45);
    EXPECT_EQ(c->outputs.exhaustPercent, 25);

    // DHW, valve 1 close, valve 2 open, auger, filler, ash, igniter.
    uint16_t bits = 0x0002 | 0x0010 | 0x0020 | 0x0080 | 0x0200 | 0x0400 | 0x0800;
    std::vector<uint8_t> p7 = {static_cast<uint8_t>(bits), static_cast<uint8_t>(bits >> 8), 66, 12, 2, 40, 9};
    for (uint16_t fw : {0x1000, 0x1100}) {
        auto d = BoardEmulator::decodeCommand(fw, p7);
        ASSERT_TRUE(d);
        EXPECT_FALSE(d->outputs.pumpCh);
        EXPECT_TRUE(d->outputs.pumpDhw);
        EXPECT_EQ(d->outputs.valve1, ValveDrive::Close);
        EXPECT_EQ(d->outputs.valve2, ValveDrive::Open);
        EXPECT_TRUE(d->outputs.auger);
        EXPECT_TRUE(d->outputs.bunkerFiller);
        EXPECT_TRUE(d->outputs.ashRemover);
        EXPECT_TRUE(d->outputs.igniter);
        EXPECT_EQ(d->outputs.fanPercent, 66);
        EXPECT_EQ(d->outputs.exhaustPercent, 12);
        EXPECT_EQ(d->wormSpeed, 2);
    }
}

TEST(BoardCommands, WrongLengthForTheFirmwareIsIgnored) {
    PlantModel plant;
    BoardEmulator board(plant, 0x2214, Variant::Orvena);
    // The 7-byte layout a panel sends before it knows the firmware.
    EXPECT_FALSE(board.applyCommand({0x81, 0, 50, 0, 0, 0, 0}));
    EXPECT_FALSE(board.applyCommand(std::vector<uint8_t>(21, 0)));
    EXPECT_FALSE(board.lastCommand());
    EXPECT_FALSE(plant.outputs().auger);
    EXPECT_EQ(board.commandsIgnored(), 2u);
    ASSERT_TRUE(board.applyCommand(command22(10, 1, 60, 0)));
    EXPECT_TRUE(plant.outputs().auger);
    EXPECT_EQ(plant.outputs().fanPercent, 60);
    EXPECT_NE(board.describeLastCommand().find("hex=0a 01 04"), std::string::npos) << board.describeLastCommand();
}

TEST(BoardCommands, SilenceStopsAugerFansAndIgniterButKeepsPumps) {
    PlantModel plant;
    BoardEmulator board(plant, 0x2214, Variant::Orvena);
    ASSERT_TRUE(board.applyCommand(command22(10, 0x0001 | 0x1000 | 0x0010, 70, 40)));
    for (int i = 0; i < 4; ++i) board.step(1, 12);
    EXPECT_FALSE(board.safeState());
    EXPECT_TRUE(plant.outputs().auger);
    // Frames the board cannot use are no sign of life.
    board.applyCommand(std::vector<uint8_t>(7, 0));
    board.step(1, 12);
    EXPECT_TRUE(board.safeState());
    EXPECT_EQ(board.safeStateEntries(), 1);
    EXPECT_FALSE(plant.outputs().auger);
    EXPECT_FALSE(plant.outputs().igniter);
    EXPECT_EQ(plant.outputs().fanPercent, 0);
    EXPECT_EQ(plant.outputs().exhaustPercent, 0);
    EXPECT_EQ(plant.outputs().valve1, ValveDrive::Stop);
    EXPECT_TRUE(plant.outputs().pumpCh);
    // The next good frame takes over again.
    ASSERT_TRUE(board.applyCommand(command22(10, 0, 30, 0)));
    EXPECT_FALSE(board.safeState());
    EXPECT_TRUE(plant.outputs().auger);
    for (int i = 0; i < 10; ++i) board.step(1, 12);
    EXPECT_EQ(board.safeStateEntries(), 2);
}

}  // namespace
}  // namespace vesk
