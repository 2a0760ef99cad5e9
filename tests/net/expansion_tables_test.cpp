// The module's fault, state and signal tables.
#include <gtest/gtest.h>

#include "core/controller_state.h"
#include "net/expansion_tables.h"

namespace vesk {
namespace {

TEST(ModuleFaultCode, FirstMatchInTheModulesOrder) {
    EXPECT_EQ(moduleFaultCode(0), 2);
    EXPECT_EQ(moduleFaultCode(0x040 | 0x020 | 0x002), 109);
    EXPECT_EQ(moduleFaultCode(0x020 | 0x001), 110);
    EXPECT_EQ(moduleFaultCode(0x002 | 0x004), 105);
    EXPECT_EQ(moduleFaultCode(0x004 | 0x008), 106);
    EXPECT_EQ(moduleFaultCode(0x008 | 0x001), 107);
    EXPECT_EQ(moduleFaultCode(0x001 | 0x100), 108);
    EXPECT_EQ(moduleFaultCode(0x100 | 0x080), 112);
    EXPECT_EQ(moduleFaultCode(0x080), 113);
    // Faults the module has no code for.
    EXPECT_EQ(moduleFaultCode(0x010 | 0x200 | 0x400 | 0x800 | 0x1000 | 0x2000), 2);
}

TEST(ModuleStateCode, FaultThenWentOutThenManualThenBurning) {
    EXPECT_EQ(moduleStateCode(0x002, 0x001, 2, kBurning), 105);
    EXPECT_EQ(moduleStateCode(0x010, 0x001, 2, kBurning), 103);  // inverter overheat has no code
    EXPECT_EQ(moduleStateCode(0, 0x002, 2, kBurning), 104);
    for (int state : {kIgnition, kBurning, kBlowup, kPause}) EXPECT_EQ(moduleStateCode(0, 0, 0, state), 101);
    for (int state : {kStop, kManualIgnition, kFuelLoading, kAugerReverseTest})
        EXPECT_EQ(moduleStateCode(0, 0, 1, state), 102);
}

TEST(SignalLevel, BarsAndTheBoundariesThatKeepTheLevel) {
    const std::pair<int, int> table[] = {{0, 5},   {75, 5},  {76, 4},  {84, 4},  {86, 3},  {94, 3},
                                         {96, 2},  {104, 2}, {106, 1}, {112, 1}, {113, 0}, {254, 0},
                                         {255, 255}};
    for (auto [value, level] : table) EXPECT_EQ(signalLevel(value, 3), level) << value;
    for (int boundary : {85, 95, 105}) {
        EXPECT_EQ(signalLevel(boundary, 1), 1);
        EXPECT_EQ(signalLevel(boundary, 255), 255);
    }
}

TEST(ModuleTemperature, MissingReadingsBecomeTheMarker) {
    EXPECT_EQ(moduleTemperature(0x3FFF), 0x3FFF);
    EXPECT_EQ(moduleTemperature(-12), -12);
    EXPECT_EQ(moduleTemperature(0x4000), 0x7FBC);
    EXPECT_EQ(moduleTemperature(0x4003), 0x7FBC);
}

}  // namespace
}  // namespace vesk
