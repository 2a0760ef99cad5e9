#include <gtest/gtest.h>

#include "board/reading_frame.h"
#include "board_frames.h"

namespace vesk {
namespace {

using test::ReadingPayload;
using test::readingFor;
using Sensors = std::array<int, kSensorCount>;

struct ReadingFrame : ::testing::TestWithParam<Variant> {
    ReadingFrame() : s(GetParam()) {
        auto& u = s.usr;
        u.TAIR_CORR = 1, u.TOAIR_CORR = -2, u.TWAT_CORR = 3, u.USER_TBWAT_CORR = 4, u.TGAS_CORR = -5;
        u.USER_TCH_CORR = 6, u.USER_TDHW_CORR = 7, u.USER_VWAT1_CORR = -1, u.TVAIR_CORR = 2;
        u.USER_VWAT2_CORR = -3;
        u.GAS_TEMP_SENSOR_ENABLE = 1;
        u.VLV2.MODE = 1;
        s.sensors.fill(kInvalidTemp);
    }
    bool apply(const ReadingPayload& p) { return applyReadingFrame(s, GetParam(), p.bytes.data(), p.bytes.size()); }
    ControllerState s;
};

// Offsets of 0x1000/0x1100: air 7, outdoor 9, water 5, return 11, gas 3,
// heating 15, DHW 17, valve 1 19, valve air 21, valve 2 23, reference 13.
ReadingPayload oldLayout(uint16_t version, int air, int water) {
    auto p = readingFor(version);
    p.byte(2, 0x15).put(7, air).put(9, -30).put(5, water).put(11, -2).put(3, 180).put(15, -1);
    p.put(17, 0x4002).put(19, -3).put(21, -6).put(23, 35).put(13, 99);
    return p;
}

TEST_P(ReadingFrame, Firmware1000WholeDegrees) {
    s.sensors[kSensorAux] = 777;
    ASSERT_TRUE(apply(oldLayout(0x1000, 21, 65)));
    EXPECT_EQ(s.boardVersion, 0x1000);
    EXPECT_EQ(s.boardVersionCopy, 0x1000);
    EXPECT_EQ(s.linkOk, 1);
    // Error codes stay uncorrected; the reference has no correction.
    EXPECT_EQ(s.sensors, (Sensors{22, -32, 68, 2, 175, 5, 0x4002, -4, -4, 32, 99, 777}));
    EXPECT_EQ(s.boardInputs, 0x15);
    EXPECT_EQ(s.airQ, 88);
    EXPECT_EQ(s.waterQ, 272);
    EXPECT_EQ(s.usr.VLV2.MODE, 1);
    // A failed sensor keeps its code in the quarter copies; four times it
    // would wrap to a plausible temperature.
    ASSERT_TRUE(apply(oldLayout(0x1000, 0x4001, 0x4000)));
    EXPECT_EQ(s.airQ, 0x4001);
    EXPECT_EQ(s.waterQ, 0x4000);
}

TEST(QuarterDegrees, RoundHalvesAwayFromZero) {
    const std::pair<int, int> cases[] = {{0, 0},   {1, 0},   {2, 1},   {5, 1},   {6, 2},   {-1, 0},
                                         {-2, -1}, {-3, -1}, {-5, -1}, {-6, -2}, {-7, -2}, {-8, -2}};
    for (auto [raw, whole] : cases) EXPECT_EQ(quarterToWhole(raw), whole) << raw;
}

TEST_P(ReadingFrame, Firmware1100QuarterDegrees) {
    ASSERT_TRUE(apply(oldLayout(0x1100, 86, 261)));
    // Flue gas arrives whole; the reference is rounded but not corrected.
    EXPECT_EQ(s.sensors, (Sensors{23, -10, 68, 3, 175, 6, 0x4002, -2, 0, 6, 25, kInvalidTemp}));
    EXPECT_EQ(s.airQ, 86 + 4);
    EXPECT_EQ(s.waterQ, 261 + 12);
    ASSERT_TRUE(apply(oldLayout(0x1100, 0x4001, 0x4000)));
    EXPECT_EQ(s.airQ, 0x4001);
    EXPECT_EQ(s.waterQ, 0x4000);
}

// Offsets of 0x2200/0x2214: air 2, return 4, DHW 6, outdoor 8, heating 10,
// valve air 12, valve 1 14, valve 2 16, water 18, aux 20, reference 22, gas 24.
ReadingPayload newLayout(uint16_t version) {
    auto p = readingFor(version);
    p.put(2, 86).put(4, 201).put(6, 199).put(8, -41).put(10, 170).put(12, 80).put(14, 160);
    p.put(16, 0x4000).put(18, 262).put(20, 41).put(22, 103).put(24, 212);
    return p;
}
const Sensors kNewWant{23, -12, 69, 54, 207, 49, 57, 39, 22, 0x4000, 26, 10};

TEST_P(ReadingFrame, Firmware2200And2214) {
    ASSERT_TRUE(apply(newLayout(0x2200).byte(26, 0x7F)));
    EXPECT_EQ(s.sensors, kNewWant);
    EXPECT_EQ(s.boardInputs, 0x7F);
    EXPECT_EQ(s.airQ, 90);
    EXPECT_EQ(s.waterQ, 262 + 12);
    EXPECT_EQ(s.usr.VLV2.MODE, 0);  // these boards drive no second valve

    s.usr.VLV2.MODE = 1;
    // Inverter overheat and auger jam come from bits 0 and 1 of byte 64.
    ASSERT_TRUE(apply(newLayout(0x2214).byte(30, 0x7F).byte(64, 0x02)));
    EXPECT_EQ(s.sensors, kNewWant);
    EXPECT_EQ(s.boardInputs, 0x5F);
    EXPECT_EQ(s.usr.VLV2.MODE, 0);
    ASSERT_TRUE(apply(newLayout(0x2214).byte(64, 0xFD)));
    EXPECT_EQ(s.boardInputs, 0x20);
}

TEST(Counts2215, ConvertOnlyCountsInsideTheAdcRange) {
    const float scale = 2048 * 4.8828126e-05f;  // 0.1 K per count
    const std::pair<int, int> cases[] = {{0, 0x4000},  {-5, 0x4000},   {1, -2730},
                                         {2982, 250}, {4094, 1362}, {4095, 0x4000}};
    for (auto [counts, tenths] : cases) EXPECT_EQ(countsToTenths(counts, scale), tenths) << counts;
}

TEST(Thermocouple2215, TableBoundsAndBranches) {
    EXPECT_EQ(thermocoupleCelsius(2467, 0x4003), 0x4003);  // no cold junction
    // Voltage limits -3.554 and 54.886 mV.
    EXPECT_EQ(thermocoupleCelsius(-877, 20), 0x4001);
    EXPECT_EQ(thermocoupleCelsius(-876, 20), -98 + 20);
    EXPECT_EQ(thermocoupleCelsius(13542, 20), 0x4001);
    EXPECT_EQ(thermocoupleCelsius(13541, 20), 1367 + 20);
    // The three polynomials, split at 0 and 20.644 mV.
    EXPECT_EQ(thermocoupleCelsius(-400, 0), -42);
    EXPECT_EQ(thermocoupleCelsius(0, 0), -10);
    EXPECT_EQ(thermocoupleCelsius(5093, 0), 490);
    EXPECT_EQ(thermocoupleCelsius(5094, 0), 501);
    // Results within -500..4000 only.
    EXPECT_EQ(thermocoupleCelsius(13541, 4000 - 1367), 4000);
    EXPECT_EQ(thermocoupleCelsius(13541, 4001 - 1367), 0x4001);
    EXPECT_EQ(thermocoupleCelsius(-876, -500 + 98), -500);
    EXPECT_EQ(thermocoupleCelsius(-876, -501 + 98), 0x4001);
}

TEST_P(ReadingFrame, Firmware2215CountsToTenths) {
    auto p = readingFor(0x2215);
    p.put(26, 2048);  // adcScale 0.1
    p.put(2, 2982).put(8, 1).put(18, 3332).put(4, 0).put(10, 4094).put(6, 4095).put(14, -5);
    p.put(16, 3000).put(22, 2932).put(20, 2500).put(24, 2467).byte(32, 0x0C).byte(66, 0x01);
    ASSERT_TRUE(apply(p));
    EXPECT_FLOAT_EQ(s.adcScale, 0.1f);
    // Corrections are held in tenths for this board, except the flue gas;
    // the valve air sensor is read from the outdoor bytes.
    const Sensors want{251, -2732, 603, 0x4000, 235 + 20 - 5, 1368, 0x4000, 0x4000, -2728, 265, 200, -231};
    EXPECT_EQ(s.sensors, want);
    EXPECT_EQ(s.readSensor(kSensorWater), 60);
    EXPECT_EQ(s.readSensor(kSensorGas), 250);
    EXPECT_EQ(s.boardInputs, 0x2C);
    EXPECT_EQ(s.usr.VLV2.MODE, 0);
    EXPECT_EQ(s.airQ, 100);  // quarter degrees of 25.1 °C
    EXPECT_EQ(s.waterQ, 241);

    ASSERT_TRUE(apply(p.put(22, 0).put(2, 0).put(18, 4095)));
    EXPECT_EQ(s.sensors[kSensorGas], 0x4000);  // follows the failed reference
    EXPECT_EQ(s.airQ, 0x4000);
    EXPECT_EQ(s.waterQ, 0x4000);
    ASSERT_TRUE(apply(p.put(22, 2932).put(2, 2707)));  // -2.45 °C: -24 tenths, corrected -23
    EXPECT_EQ(s.airQ, -9);                              // toward zero
}

TEST_P(ReadingFrame, UnknownOrShortFrameChangesNothingButTheVersion) {
    ASSERT_TRUE(apply(newLayout(0x2214)));
    s.linkOk = 0;
    s.usr.VLV2.MODE = 1;
    s.substOn = 1;
    s.substGas = 99;
    s.usr.GAS_TEMP_SENSOR_ENABLE = 0;
    const auto sensors = s.sensors;
    const auto inputs = s.boardInputs;
    const auto waterQ = s.waterQ;
    auto unchanged = [&] {
        EXPECT_EQ(s.linkOk, 0);
        EXPECT_EQ(s.sensors, sensors);
        EXPECT_EQ(s.boardInputs, inputs);
        EXPECT_EQ(s.waterQ, waterQ);
        EXPECT_EQ(s.usr.VLV2.MODE, 1);
    };
    ReadingPayload junk(0x1234, 67);
    std::fill(junk.bytes.begin() + 2, junk.bytes.end(), 0x55);
    EXPECT_FALSE(apply(junk));
    EXPECT_EQ(s.boardVersion, 0x1234);
    EXPECT_EQ(s.boardVersionCopy, 0x1234);
    unchanged();
    for (uint16_t version : {0x1000, 0x1100, 0x2200, 0x2214, 0x2215}) {
        ReadingPayload cut(version, readingPayloadSize(version) - 1);
        EXPECT_FALSE(apply(cut)) << std::hex << version;
        EXPECT_EQ(s.boardVersion, version);
        unchanged();
    }
    const uint8_t lone = 0x00;  // too short even for a version
    EXPECT_FALSE(applyReadingFrame(s, GetParam(), &lone, 1));
    EXPECT_EQ(s.boardVersion, 0x2215);
}

TEST_P(ReadingFrame, SubstitutionAndDisabledFlueGasSensor) {
    s.substOn = 1;
    s.substGas = 210;
    s.substWater = 75;
    s.substDhw = 48;
    ASSERT_TRUE(apply(newLayout(0x2200)));
    EXPECT_EQ(s.sensors[kSensorGas], 210);
    EXPECT_EQ(s.sensors[kSensorWater], 75);
    EXPECT_EQ(s.waterQ, 300);
    const bool kestralo = GetParam() == Variant::Kestralo;
    EXPECT_EQ(s.sensors[kSensorReturn], kestralo ? 48 : kNewWant[kSensorReturn]);
    EXPECT_EQ(s.sensors[kSensorDhw], kestralo ? kNewWant[kSensorDhw] : 48);

    s.substGas = s.substWater = s.substDhw = -1;  // negative: not substituted
    ASSERT_TRUE(apply(newLayout(0x2200)));
    EXPECT_EQ(s.sensors, kNewWant);
    s.substOn = 0;
    s.substWater = 75;
    ASSERT_TRUE(apply(newLayout(0x2200)));
    EXPECT_EQ(s.sensors[kSensorWater], kNewWant[kSensorWater]);

    // 0x2215 values are tenths, like the readings they replace.
    s.substOn = 1;
    s.substWater = 605;
    ASSERT_TRUE(apply(readingFor(0x2215).put(26, 2048).put(22, 2932)));
    EXPECT_EQ(s.readSensor(kSensorWater), 60);
    EXPECT_EQ(s.waterQ, 242);

    s.usr.GAS_TEMP_SENSOR_ENABLE = 0;
    s.substGas = 210;
    ASSERT_TRUE(apply(newLayout(0x2214)));
    EXPECT_EQ(s.sensors[kSensorGas], 150);

    // The fault test's hot auger tube stands in with substitution off too.
    s.substOn = 0;
    s.substAuger = 85;
    ASSERT_TRUE(apply(newLayout(0x2214)));
    EXPECT_EQ(s.sensors[kSensorValve2], 85);
    s.substAuger = -1;
    ASSERT_TRUE(apply(newLayout(0x2214)));
    EXPECT_EQ(s.sensors[kSensorValve2], kNewWant[kSensorValve2]);
}

INSTANTIATE_TEST_SUITE_P(Variants, ReadingFrame, ::testing::Values(Variant::Orvena, Variant::Kestralo));

}  // namespace
}  // namespace vesk
