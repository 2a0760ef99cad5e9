// Thermostat programs: record operations and the tmstat.cfg reader/writer.
#include <gtest/gtest.h>

#include <string>

#include "settings/schedule.h"
#include "support/test_support.h"

namespace vesk {
namespace {

constexpr int32_t kMin = 60, kMax = 85;

Period period(int32_t b, int32_t e, int32_t water = 70) { return {b, e, 0, 0, 20, 1, water}; }

std::string periodText(int b, int e, const std::string& extra = "\t\t\tTAIR=21\n\t\t\tTWATER=70\n") {
    return "\t\tPERIOD_BEGIN\n\t\t\tTIME_BEGIN=" + std::to_string(b) + "\n\t\t\tTIME_END=" + std::to_string(e) +
           "\n" + extra + "\t\tPERIOD_END\n";
}

std::string file(const std::string& body) { return "TMSTAT_BEGIN\n" + body + "TMSTAT_END\n"; }

Schedule parsed(const std::string& text, bool expectOk = true) {
    Schedule s;
    EXPECT_EQ(parseSchedule(text, s, kMin, kMax), expectOk);
    return s;
}

TEST(ScheduleRecord, ValidateProgram) {
    Program p;
    EXPECT_EQ(validateProgram(p), 1);
    p.periods[0] = period(0, 6);
    p.periods[1] = period(6, 24);
    p.count = 2;
    EXPECT_EQ(validateProgram(p), 1);
    p.periods[1] = period(5, 24);
    EXPECT_EQ(validateProgram(p), 0);  // begins before the previous end
    p.periods[1] = period(7, 7);
    EXPECT_EQ(validateProgram(p), 0);
    p.periods[1] = period(23, 25);
    EXPECT_EQ(validateProgram(p), 0);
    p.periods[1] = period(24, 24);
    EXPECT_EQ(validateProgram(p), 0);
    p.periods[0] = period(-1, 6);
    p.count = 1;
    EXPECT_EQ(validateProgram(p), 0);
}

TEST(ScheduleRecord, ExchangeSortByBeginHour) {
    Schedule s;
    Program& p = s.programs[2];
    p.periods[0] = period(12, 14, 61);
    p.periods[1] = period(3, 5, 62);
    p.periods[2] = period(12, 13, 63);
    p.periods[3] = period(8, 9, 64);
    p.count = 4;
    sortPrograms(s);
    // Position 0 takes 3 (62); position 1 swaps with 8 (64), sending 12/61
    // back to where 8 stood; equal begins end as the exchanges leave them.
    EXPECT_EQ(p.periods[0].waterTarget, 62);
    EXPECT_EQ(p.periods[1].waterTarget, 64);
    EXPECT_EQ(p.periods[2].waterTarget, 63);
    EXPECT_EQ(p.periods[3].waterTarget, 61);
}

TEST(ScheduleFile, BodyValuesAndWeekdays) {
    Schedule s;
    s.dayProgram[5] = 1;
    s.dayProgram[6] = 2;
    ASSERT_TRUE(parseSchedule(file("\tENABLE=1\n  MON=3\n\tTUE=0\n\tSUN=4\n\tSAT=-1\nENABLE=2\n\tJUNK=5\n"), s,
                              kMin, kMax));
    EXPECT_EQ(s.enabled, 1);
    EXPECT_EQ(s.dayProgram[0], 3);
    EXPECT_EQ(s.dayProgram[1], 0);
    EXPECT_EQ(s.dayProgram[5], 1);  // values above 3 are ignored
    EXPECT_EQ(s.dayProgram[6], 2);
}

TEST(ScheduleFile, PeriodRules) {
    const std::string text = file("\tPROG_BEGIN=0\n" + periodText(8, 12) +
                                  periodText(14, 16, "\t\t\tTAIR=21\n\t\t\tTWATER=86\n") +  // water out of limits
                                  periodText(16, 18, "\t\t\tTWATER=70\n") +                 // no air target
                                  periodText(18, 18) +                                      // empty
                                  periodText(24, 25) +                                      // hours ignored
                                  periodText(20, 22,
                                             "\t\t\tPAUSE=1\n\t\t\tUSE_TAIR=1\n\t\t\tUSE_TWATER=0\n"
                                             "\t\t\tTAIR=35\n\t\t\tTWATER=60\n") +
                                  "\tPROG_END\n");
    Schedule s = parsed(text);
    const Program& p = s.programs[0];
    ASSERT_EQ(p.count, 2);
    EXPECT_EQ(p.periods[0].begin, 8);
    EXPECT_EQ(p.periods[0].useWater, 1);  // both flags 0: the water target applies
    EXPECT_EQ(p.periods[0].useAir, 0);
    EXPECT_EQ(p.periods[1].pause, 1);
    EXPECT_EQ(p.periods[1].useAir, 1);
    EXPECT_EQ(p.periods[1].useWater, 0);
    EXPECT_EQ(p.periods[1].airTarget, 35);
    EXPECT_EQ(p.periods[1].waterTarget, 60);
}

TEST(ScheduleFile, SortedThenOverlappingProgramsEmptied) {
    std::string body = "\tPROG_BEGIN=1\n" + periodText(15, 20) + periodText(2, 6) + "\tPROG_END\n";
    body += "\tPROG_BEGIN=2\n" + periodText(8, 12) + periodText(11, 14) + "\tPROG_END\n";
    body += "\tPROG_BEGIN=4\n" + periodText(1, 2) + "\tPROG_END\n";
    body += "\tPROG_BEGIN=3\n";
    for (int h = 0; h < 10; ++h) body += periodText(h, h + 1);
    body += "\tPROG_END\n";
    Schedule s = parsed(file(body));
    ASSERT_EQ(s.programs[1].count, 2);
    EXPECT_EQ(s.programs[1].periods[0].begin, 2);
    EXPECT_EQ(s.programs[1].periods[1].begin, 15);
    EXPECT_EQ(s.programs[2].count, 0);
    EXPECT_EQ(s.programs[3].count, kMaxPeriods);
    EXPECT_EQ(s.programs[3].periods[7].begin, 7);
    EXPECT_EQ(s.programs[0].count, 0);
}

TEST(ScheduleFile, TruncatedOrMissingFileResetsEverything) {
    const std::string full = file("\tENABLE=1\n\tMON=2\n\tPROG_BEGIN=2\n" + periodText(6, 22) + "\tPROG_END\n");
    ASSERT_EQ(parsed(full).programs[2].count, 1);
    for (size_t cut : {full.find("TMSTAT_END"), full.find("\tPROG_END"), full.find("\t\tPERIOD_END"), size_t{0}}) {
        Schedule s = parsed(full.substr(0, cut), false);
        EXPECT_EQ(s.enabled, 0) << cut;
        EXPECT_EQ(s.dayProgram[0], kNoProgram) << cut;
        EXPECT_EQ(s.programs[2].count, 0) << cut;
    }
    parsed("  TMSTAT_BEGIN x\nENABLE=1\nTMSTAT_END\n", false);

    test::TempDir dir;
    ScheduleStore store;
    store.schedule.enabled = 1;
    loadSchedule(dir.file("tmstat.cfg"), store, kMin, kMax);
    EXPECT_EQ(store.schedule.enabled, 0);
}

TEST(ScheduleFile, ExactTextAndRoundTrip) {
    ScheduleStore store;
    Schedule& s = store.schedule;
    s.enabled = 1;
    s.dayProgram[0] = 0;
    s.dayProgram[6] = 3;
    s.programs[0].periods[0] = {6, 9, 0, 1, 22, 0, 65};
    s.programs[0].count = 1;
    s.programs[3].periods[0] = {0, 6, 1, 0, 5, 1, 60};
    s.programs[3].periods[1] = {22, 24, 0, 1, 18, 1, 85};
    s.programs[3].count = 2;

    const std::string text = formatSchedule(s);
    const std::string expectedStart =
        "TMSTAT_BEGIN\n\tENABLE=1\n\tMON=0\n\tTUE=4\n\tWED=4\n\tTHU=4\n\tFRI=4\n\tSAT=4\n\tSUN=3\n"
        "\tPROG_BEGIN=0\n\t\tPERIOD_BEGIN\n\t\t\tTIME_BEGIN=6\n\t\t\tTIME_END=9\n\t\t\tPAUSE=0\n"
        "\t\t\tUSE_TAIR=1\n\t\t\tUSE_TWATER=0\n\t\t\tTAIR=22\n\t\t\tTWATER=65\n\t\tPERIOD_END\n\tPROG_END\n"
        "\tPROG_BEGIN=1\n\tPROG_END\n\tPROG_BEGIN=2\n\tPROG_END\n\tPROG_BEGIN=3\n";
    EXPECT_TRUE(text.starts_with(expectedStart)) << text;
    EXPECT_TRUE(text.ends_with("\t\tPERIOD_END\n\tPROG_END\nTMSTAT_END\n"));

    test::TempDir dir;
    ASSERT_TRUE(saveSchedule(dir.file("tmstat.cfg"), store));
    EXPECT_EQ(test::readText(dir.file("tmstat.cfg")), text);
    ScheduleStore back;
    loadSchedule(dir.file("tmstat.cfg"), back, kMin, kMax);
    EXPECT_EQ(formatSchedule(back.schedule), text);

    // Water targets outside the limits in force at load time are dropped,
    // and with them the period.
    ScheduleStore narrow;
    loadSchedule(dir.file("tmstat.cfg"), narrow, 61, 84);
    EXPECT_EQ(narrow.schedule.programs[0].count, 1);
    EXPECT_EQ(narrow.schedule.programs[3].count, 0);
}

TEST(ScheduleFile, CrLfLinesAreRead) {
    std::string text = file("\tENABLE=1\n\tPROG_BEGIN=0\n" + periodText(1, 2) + "\tPROG_END\n");
    std::string crlf;
    for (char c : text) {
        if (c == '\n') crlf += '\r';
        crlf += c;
    }
    Schedule s = parsed(crlf);
    EXPECT_EQ(s.enabled, 1);
    EXPECT_EQ(s.programs[0].count, 1);
}

}  // namespace
}  // namespace vesk
