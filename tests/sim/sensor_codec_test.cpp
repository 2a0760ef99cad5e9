#include <gtest/gtest.h>

#include <cmath>

#include "sim/sensor_codec.h"

namespace vesk {
namespace {

TEST(SensorCodec, KelvinCountsCoverTheUsefulRangeAndRoundTrip) {
    EXPECT_GT(kelvinCounts(-40, kAdcScaleWord), 1);
    EXPECT_LT(kelvinCounts(150, kAdcScaleWord), 4094);
    for (double c = -40; c <= 150; c += 0.73) {
        int tenths = panelTenthsFromCounts(kelvinCounts(c, kAdcScaleWord), kAdcScaleWord);
        ASSERT_LT(tenths, 0x4000);
        // Count resolution 0.125 K, then truncation to tenths.
        EXPECT_NEAR(tenths / 10.0, c, 0.17) << c;
    }
    // The wire faults of the 12-bit converter are never produced for a value.
    EXPECT_EQ(kelvinCounts(-300, kAdcScaleWord), 1);
    EXPECT_EQ(kelvinCounts(400, kAdcScaleWord), 4094);
    EXPECT_EQ(panelTenthsFromCounts(0, kAdcScaleWord), 0x4000);
    EXPECT_EQ(panelTenthsFromCounts(4095, kAdcScaleWord), 0x4000);
}

TEST(SensorCodec, ThermocoupleCountsInvertTheForwardCurve) {
    for (int delta = -80; delta <= 1300; ++delta) {
        if (delta > 490 && delta < 501) continue;  // the curve's gap at 20.644 mV
        int16_t counts = thermocoupleCounts(delta);
        float mv = counts * kThermocoupleMvPerCount;
        ASSERT_GE(mv, kThermocoupleMinMv);
        ASSERT_LE(mv, kThermocoupleMaxMv);
        EXPECT_EQ(static_cast<int>(thermocoupleCelsius(counts)), delta);
    }
}

TEST(SensorCodec, ThermocoupleGapsGiveTheNearestReachableValue) {
    // Just below the knee the curve ends near 490 °C and resumes near 501 °C.
    int16_t c = thermocoupleCounts(495);
    float t = thermocoupleCelsius(c);
    EXPECT_TRUE(std::fabs(t - 495.5f) < 7) << t;
    // Around 0 mV the two pieces overlap instead; either may serve.
    for (int delta : {-10, -5, -1, 0}) EXPECT_EQ(static_cast<int>(thermocoupleCelsius(thermocoupleCounts(delta))), delta);
}

}  // namespace
}  // namespace vesk
