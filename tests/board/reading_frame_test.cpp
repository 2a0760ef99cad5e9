#include <gtest/gtest.h>

#include "board/reading_frame.h"
#include "board_frames.h"

namespace vesk {
namespace {

using test::ReadingPayload;
using test::readingFor;

struct ReadingFrameTest : ::testing::TestWithParam<Variant> {
    ReadingFrameTest() : s(GetParam()) {
        s.usr.TAIR_CORR = 1;
        s.usr.TOAIR_CORR = -2;
        s.usr.TWAT_CORR = 3;
        s.usr.USER_TBWAT_CORR = 4;
        s.usr.TGAS_CORR = -5;
        s.usr.USER_TCH_CORR = 6;
        s.usr.USER_TDHW_CORR = 7;
        s.usr.USER_VWAT1_CORR = -1;
        s.usr.TVAIR_CORR = 2;
        s.usr.USER_VWAT2_CORR = -3;
        s.usr.GAS_TEMP_SENSOR_ENABLE = 1;
        s.usr.VLV2.MODE = 1;
        s.sensors.fill(kInvalidTemp);
    }
    bool apply(const ReadingPayload& p) { return applyReadingFrame(s, GetParam(), p.bytes.data(), p.bytes.size()); }
    ControllerState s;
};

// Whole degrees: air 7, outdoor 9, water 5, return 11, gas 3, heating 15,
// DHW 17, valve 1 19, valve air 21, valve 2 23, reference 13, inputs 2.
TEST_P(ReadingFrameTest, Firmware1000WholeDegrees) {
    s.sensors[kSensorAux] = 777;
    auto p = readingFor(0x1000);
    p.byte(2, 0x15).put(7, 21).put(9, -7).put(5, 65).put(11, 50).put(3, 180).put(15, 44);
    p.put(17, 0x4002).put(19, 33).put(21, 19).put(23, 35).put(13, 24);
    ASSERT_TRUE(apply(p));
    EXPECT_EQ(s.boardVersion, 0x1000);
    EXPECT_EQ(s.boardVersionCopy, 0x1000);
    EXPECT_EQ(s.linkOk, 1);
    std::array<int, kSensorCount> want{22, -9, 68, 54, 175, 50, 0x4002, 32, 21, 32, 24, 777};
    EXPECT_EQ(s.sensors, want);
    EXPECT_EQ(s.boardInputs, 0x15);
    EXPECT_EQ(s.airQ, 88);
    EXPECT_EQ(s.waterQ, 272);
    EXPECT_EQ(s.usr.VLV2.MODE, 1);

    // A failed sensor keeps its code in the quarter copies too.
    p.put(7, 0x4001).put(5, 0x4000);
    ASSERT_TRUE(apply(p));
    EXPECT_EQ(s.sensors[kSensorAir], 0x4001);
    EXPECT_EQ(s.sensors[kSensorWater], 0x4000);
    EXPECT_EQ(s.airQ, 0x4001);
    EXPECT_EQ(s.waterQ, 0x4000);
}

TEST(QuarterDegrees, RoundHalvesAwayFromZero) {
    const std::pair<int, int> cases[] = {{0, 0},   {1, 0},   {2, 1},   {5, 1},   {6, 2},   {-1, 0},
                                         {-2, -1}, {-3, -1}, {-5, -1}, {-6, -2}, {-7, -2}, {-8, -2}};
    for (auto [raw, whole] : cases) EXPECT_EQ(quarterToWhole(raw), whole) << raw;
}

TEST_P(ReadingFrameTest, Firmware1100QuarterDegrees) {
    auto p = readingFor(0x1100);
    p.byte(2, 0x03).put(7, 86).put(9, -30).put(5, 261).put(11, -2).put(3, 180).put(15, -1);
    p.put(17, 5).put(19, -3).put(21, -6).put(23, 0x4003).put(13, 99);
    ASSERT_TRUE(apply(p));
    // Flue gas arrives whole; the reference is rounded but never corrected.
    std::array<int, kSensorCount> want{23, -10, 68, 3, 175, 6, 8, -2, 0, 0x4003, 25, kInvalidTemp};
    EXPECT_EQ(s.sensors, want);
    EXPECT_EQ(s.boardInputs, 0x03);
    EXPECT_EQ(s.airQ, 86 + 4);
    EXPECT_EQ(s.waterQ, 261 + 12);
    EXPECT_EQ(s.usr.VLV2.MODE, 1);

    p.put(7, 0x4001).put(5, 0x4000);
    ASSERT_TRUE(apply(p));
    EXPECT_EQ(s.airQ, 0x4001);
    EXPECT_EQ(s.waterQ, 0x4000);
}

// Quarter degrees: air 2, return 4, DHW 6, outdoor 8, heating 10, valve air
// 12, valve 1 14, valve 2 16, water 18, aux 20, reference 22, gas 24.
ReadingPayload quarterLayout(uint16_t version) {
    auto p = readingFor(version);
    p.put(2, 86).put(4, 201).put(6, 199).put(8, -41).put(10, 170).put(12, 80).put(14, 160);
    p.put(16, 0x4000).put(18, 262).put(20, 41).put(22, 103).put(24, 212);
    return p;
}
const std::array<int, kSensorCount> kQuarterWant{23, -12, 69, 54, 207, 49, 57, 39, 22, 0x4000, 26, 10};

TEST_P(ReadingFrameTest, Firmware2200) {
    auto p = quarterLayout(0x2200);
    p.byte(26, 0x7F);
    ASSERT_TRUE(apply(p));
    EXPECT_EQ(s.sensors, kQuarterWant);
    EXPECT_EQ(s.boardInputs, 0x7F);
    EXPECT_EQ(s.airQ, 90);
    EXPECT_EQ(s.waterQ, 262 + 12);
    EXPECT_EQ(s.usr.VLV2.MODE, 0);
}

TEST_P(ReadingFrameTest, Firmware2214TakesFaultInputsFromByte64) {
    auto p = quarterLayout(0x2214);
    p.byte(30, 0x7F).byte(64, 0x02);
    ASSERT_TRUE(apply(p));
    EXPECT_EQ(s.sensors, kQuarterWant);
    EXPECT_EQ(s.boardInputs, 0x5F);
    EXPECT_EQ(s.usr.VLV2.MODE, 0);
    p.byte(30, 0x00).byte(64, 0x01 | 0xFC);
    ASSERT_TRUE(apply(p));
    EXPECT_EQ(s.boardInputs, 0x20);
}

TEST(Counts2215, ConvertOnlyCountsInsideTheAdcRange) {
    const float scale = 2048 * 4.8828126e-05f;  // 0.1 K per count
    EXPECT_EQ(countsToTenths(0, scale), 0x4000);
    EXPECT_EQ(countsToTenths(-5, scale), 0x4000);
    EXPECT_EQ(countsToTenths(1, scale), -2730);
    EXPECT_EQ(countsToTenths(2982, scale), 250);
    EXPECT_EQ(countsToTenths(4094, scale), 1362);
    EXPECT_EQ(countsToTenths(4095, scale), 0x4000);
    EXPECT_EQ(countsToTenths(0x4000, scale), 0x4000);
}

TEST(Thermocouple2215, TableBoundsAndBranches) {
    // An invalid cold junction is passed through as it is.
    EXPECT_EQ(thermocoupleCelsius(2467, 0x4000), 0x4000);
    EXPECT_EQ(thermocoupleCelsius(2467, 0x4003), 0x4003);
    // Voltage limits -3.554 and 54.886 mV.
    EXPECT_EQ(thermocoupleCelsius(-877, 20), 0x4001);
    EXPECT_EQ(thermocoupleCelsius(-876, 20), -98 + 20);
    EXPECT_EQ(thermocoupleCelsius(13542, 20), 0x4001);
    EXPECT_EQ(thermocoupleCelsius(13541, 20), 1367 + 20);
    // The three polynomials, split at 0 and 20.644 mV.
    EXPECT_EQ(thermocoupleCelsius(-400, 0), -42);
    EXPECT_EQ(thermocoupleCelsius(0, 0), -10);
    EXPECT_EQ(thermocoupleCelsius(2467, 0), 235);
    EXPECT_EQ(thermocoupleCelsius(5093, 0), 490);
    EXPECT_EQ(thermocoupleCelsius(5094, 0), 501);
    // The result must lie within -500..4000.
    EXPECT_EQ(thermocoupleCelsius(13541, 4000 - 1367), 4000);
    EXPECT_EQ(thermocoupleCelsius(13541, 4001 - 1367), 0x4001);
    EXPECT_EQ(thermocoupleCelsius(-876, -500 + 98), -500);
    EXPECT_EQ(thermocoupleCelsius(-876, -501 + 98), 0x4001);
}

TEST_P(ReadingFrameTest, Firmware2215CountsToTenths) {
    auto p = readingFor(0x2215);
    p.put(26, 2048);  // adcScale 0.1
    p.put(2, 2982).put(8, 1).put(18, 3332).put(4, 0).put(10, 4094).put(6, 4095).put(14, -5);
    p.put(16, 3000).put(22, 2932).put(20, 2500).put(24, 2467);
    p.byte(32, 0x0C).byte(66, 0x01);
    ASSERT_TRUE(apply(p));
    EXPECT_FLOAT_EQ(s.adcScale, 0.1f);
    // Corrections are kept in tenths for this board, except the flue gas.
    std::array<int, kSensorCount> want{250 + 1, -2730 - 2, 600 + 3,   0x4000,  235 + 20 - 5, 1362 + 6,
                                       0x4000,  0x4000,    -2730 + 2, 268 - 3, 200,          -231};
    EXPECT_EQ(s.sensors, want);
    EXPECT_EQ(s.readSensor(kSensorAir), 25);
    EXPECT_EQ(s.readSensor(kSensorOutdoor), -273);
    EXPECT_EQ(s.readSensor(kSensorWater), 60);
    EXPECT_EQ(s.readSensor(kSensorGas), 250);
    EXPECT_EQ(s.readSensor(kSensorDhw), 0x4000);
    EXPECT_EQ(s.boardInputs, 0x2C);
    EXPECT_EQ(s.usr.VLV2.MODE, 0);
    // The quarter copies stay in quarter degrees.
    EXPECT_EQ(s.airQ, 100);  // 25.1 °C
    EXPECT_EQ(s.waterQ, 241);  // 60.3 °C

    // No flue-gas reading without a cold junction; errors keep their code.
    p.put(22, 0).put(2, 0).put(18, 4095);
    ASSERT_TRUE(apply(p));
    EXPECT_EQ(s.sensors[kSensorBoardRef], 0x4000);
    EXPECT_EQ(s.sensors[kSensorGas], 0x4000);
    EXPECT_EQ(s.airQ, 0x4000);
    EXPECT_EQ(s.waterQ, 0x4000);

    // Negative tenths truncate toward zero on the way to quarters.
    p.put(22, 2932).put(2, 2707);  // -2.45 °C: -24 tenths, corrected -23
    ASSERT_TRUE(apply(p));
    EXPECT_EQ(s.sensors[kSensorAir], -23);
    EXPECT_EQ(s.airQ, -9);
}

TEST_P(ReadingFrameTest, UnknownFirmwareChangesNothingButTheVersion) {
    auto good = quarterLayout(0x2214);
    ASSERT_TRUE(apply(good));
    s.linkOk = 0;
    s.usr.VLV2.MODE = 1;
    s.substOn = 1;
    s.substGas = 99;
    s.usr.GAS_TEMP_SENSOR_ENABLE = 0;
    const auto sensors = s.sensors;
    const auto inputs = s.boardInputs;
    const auto airQ = s.airQ;
    const auto waterQ = s.waterQ;

    ReadingPayload junk(0x1234, 67);
    for (size_t i = 2; i < junk.bytes.size(); ++i) junk.bytes[i] = 0x55;
    EXPECT_FALSE(apply(junk));
    EXPECT_EQ(s.boardVersion, 0x1234);
    EXPECT_EQ(s.boardVersionCopy, 0x1234);
    EXPECT_EQ(s.linkOk, 0);
    EXPECT_EQ(s.sensors, sensors);
    EXPECT_EQ(s.boardInputs, inputs);
    EXPECT_EQ(s.airQ, airQ);
    EXPECT_EQ(s.waterQ, waterQ);
    EXPECT_EQ(s.usr.VLV2.MODE, 1);
}

TEST_P(ReadingFrameTest, FrameShorterThanItsLayoutKeepsTheLastReadings) {
    for (uint16_t version : {0x1000, 0x1100, 0x2200, 0x2214, 0x2215}) {
        s.linkOk = 0;
        s.sensors.fill(1);
        ReadingPayload p(version, readingPayloadSize(version) - 1);
        for (size_t i = 2; i < p.bytes.size(); ++i) p.bytes[i] = 0x11;
        EXPECT_FALSE(apply(p)) << std::hex << version;
        EXPECT_EQ(s.boardVersion, version);
        EXPECT_EQ(s.linkOk, 0);
        EXPECT_EQ(s.sensors[kSensorWater], 1);
        EXPECT_EQ(s.usr.VLV2.MODE, 1);
    }
    // Too short even for a version.
    const uint8_t one = 0x00;
    EXPECT_FALSE(applyReadingFrame(s, GetParam(), &one, 1));
    EXPECT_EQ(s.boardVersion, 0x2215);
}

TEST_P(ReadingFrameTest, SubstitutionReplacesReadings) {
    s.substOn = 1;
    s.substGas = 210;
    s.substWater = 75;
    s.substDhw = 48;
    ASSERT_TRUE(apply(quarterLayout(0x2200)));
    EXPECT_EQ(s.sensors[kSensorGas], 210);
    EXPECT_EQ(s.sensors[kSensorWater], 75);
    EXPECT_EQ(s.waterQ, 300);
    if (GetParam() == Variant::Kestralo) {
        EXPECT_EQ(s.sensors[kSensorReturn], 48);
        EXPECT_EQ(s.sensors[kSensorDhw], kQuarterWant[kSensorDhw]);
    } else {
        EXPECT_EQ(s.sensors[kSensorDhw], 48);
        EXPECT_EQ(s.sensors[kSensorReturn], kQuarterWant[kSensorReturn]);
    }

    // Negative values leave their reading alone.
    s.substGas = -1;
    s.substWater = -1;
    s.substDhw = -1;
    ASSERT_TRUE(apply(quarterLayout(0x2200)));
    EXPECT_EQ(s.sensors, kQuarterWant);
    EXPECT_EQ(s.waterQ, 262 + 12);

    // Off: nothing replaced.
    s.substOn = 0;
    s.substWater = 75;
    ASSERT_TRUE(apply(quarterLayout(0x2200)));
    EXPECT_EQ(s.sensors[kSensorWater], kQuarterWant[kSensorWater]);
}

TEST_P(ReadingFrameTest, SubstitutedWaterIn2215TenthsGivesQuarterCopy) {
    s.substOn = 1;
    s.substWater = 605;
    auto p = readingFor(0x2215);
    p.put(26, 2048).put(22, 2932);
    ASSERT_TRUE(apply(p));
    EXPECT_EQ(s.readSensor(kSensorWater), 60);
    EXPECT_EQ(s.waterQ, 242);
}

TEST_P(ReadingFrameTest, DisabledFlueGasSensorReads150) {
    s.usr.GAS_TEMP_SENSOR_ENABLE = 0;
    s.substOn = 1;
    s.substGas = 210;
    ASSERT_TRUE(apply(quarterLayout(0x2214)));
    EXPECT_EQ(s.sensors[kSensorGas], 150);
    auto p = readingFor(0x1000).put(3, 0x4000);
    ASSERT_TRUE(apply(p));
    EXPECT_EQ(s.sensors[kSensorGas], 150);
}

INSTANTIATE_TEST_SUITE_P(Variants, ReadingFrameTest, ::testing::Values(Variant::Orvena, Variant::Kestralo));

}  // namespace
}  // namespace vesk
