// Texts of the information panel: list order and precedence per variant,
// the information text, and the text size counted in code points.
#include <gtest/gtest.h>

#include <string>

#include "control/faults.h"
#include "control/messages.h"
#include "core/controller_state.h"

namespace vesk::test {
namespace {

const std::string kReminder =
    "Аварийный режим работы котла! Необходимо включить функцию аварийного темовыключателя! "
    "Продолжение работы может привести к аварийному перегреву котла!\n";

TEST(Messages, FaultListOrderAndOverheatPrecedence) {
    EXPECT_EQ(faultListText(0), "");
    EXPECT_EQ(faultListText(kFaultOverheat), "Перегрев котла\n");
    EXPECT_EQ(faultListText(kFaultOverheat | kFaultEmergencyThermostat),
              "Перегрев! Проверьте аварийный термостат\n");

    const std::string all =
        "Перегрев! Проверьте аварийный термостат\n"
        "Проверьте предохранитель\n"
        "Датчик температуры воды\n"
        "Датчик температуры газов\n"
        "Перегрев инвертора\n"
        "Заклинивание шнека\n"
        "Датчик температуры ЦО\n"
        "Датчик температуры воздуха\n"
        "Критический перегрев шнека! Работа котла остановлена!\n"
        "Неисправен датчик температуры шнека!\n" +
        kReminder +
        "ВНИМАНИЕ!\nЧистка невозможна\nОстановосите котел через меню ПУСК/СТОП КОТЛА\n"
        "ВНИМАНИЕ!\nЧистка невозможна\nДождитесь полного прогорания топлива и падения температуры ниже 100 градусов";
    EXPECT_EQ(faultListText(0x3FFF), all) << "every message on a line of its own";
    // The heating-circuit line comes before the air line.
    EXPECT_EQ(faultListText(kFaultAirSensor | kFaultChSensor), "Датчик температуры ЦО\nДатчик температуры воздуха");
    EXPECT_EQ(faultListText(kFaultAirSensor | kFaultAugerSensor),
              "Датчик температуры воздуха\nНеисправен датчик температуры шнека!\n");
    EXPECT_EQ(kFaultHeading, "НЕИСПРАВНОСТЬ!\n");
}

TEST(Messages, OrvenaWarningList) {
    const std::string common =
        "Котел затух\n"
        "Ошибка датчика ГВС\n"
        "Ошибка датчка воды клапана 1\n";
    const std::string tail =
        "Ошибка датчка воздуха клапана\n"
        "Ошибка датчка воздуха улицы\n"
        "Низкая температура воды в котле\n"
        "Высокая температуры дымовых газов,возможно требуется чистка теплообменника\n"
        "Аварийный режим работы котла. Датчик шнека отключен!\n" +
        kReminder;
    EXPECT_EQ(warningListText(Variant::Orvena, 0x7FF, 0), common + "Ошибка датчика воды клапана 2\n" + tail);
    EXPECT_EQ(warningListText(Variant::Orvena, 0x7FF, 1), common + tail)
        << "sensor 9 is the auger tube with the emergency start on";
    EXPECT_EQ(warningListText(Variant::Orvena, kWarnBunkerNotFilled, 0), "") << "0x100 has no line";
    EXPECT_EQ(warningListText(Variant::Orvena, 0x800, 0), "");
    EXPECT_EQ(kWarningHeading, "ВНИМАНИЕ!\n");
}

TEST(Messages, KestraloWarningList) {
    const std::string phasing =
        "Неправильная фазировка сети 220В!Проверьте подключение проводов    L,N сетевого шнура!\n";
    EXPECT_EQ(warningListText(Variant::Kestralo, kWarnWrongPhasing | kWarnWentOut, 0), phasing + "Котел затух\n")
        << "wrong phasing heads the list";
    EXPECT_EQ(warningListText(Variant::Kestralo, kWarnHighGas | kWarnAshJam | kWarnAugerSensorOffK | kWarnReminderK, 1),
              "Высокая температуры дымовых газов,возможно требуется чистка теплообменника\n"
              "Заклинило шнек в блоке золоудаления!\n"
              "Аварийный режим работы котла. Датчик шнека отключен!\n" +
                  kReminder);
    EXPECT_EQ(warningListText(Variant::Kestralo, kWarnValve2Sensor, 0), "Ошибка датчика воды клапана 2\n");
    EXPECT_EQ(warningListText(Variant::Kestralo, kWarnValve2Sensor, 1), "");
    // ORVENA's meanings of the same bits do not leak across.
    EXPECT_EQ(warningListText(Variant::Orvena, kWarnAshJam, 0),
              "Аварийный режим работы котла. Датчик шнека отключен!\n");
    EXPECT_EQ(warningListText(Variant::Orvena, kWarnWrongPhasing, 0), "");
}

TEST(Messages, InformationText) {
    const std::string head = "Котел автоматический ORVENA\nПО версии 4.1.1 / 2.2.1.5\nНомер котла: 12345\n";
    EXPECT_EQ(infoText(Variant::Orvena, 2, 0x2215, 1, 12345, {}), head) << "no contact lines configured";
    EXPECT_EQ(infoText(Variant::Orvena, 2, 0x2215, 1, 12345, {"Сервис: +7 495 100-20-30", "", "vesk.example"}),
              head + "Сервис: +7 495 100-20-30\nvesk.example\n")
        << "an empty line is left out";

    EXPECT_EQ(infoText(Variant::Kestralo, 9, 0x2215, 0, 7, {}).rfind(
                  "Котел автоматический KESTRALO\nПО версии 4.1.7 / ---\nНомер котла: 7\n", 0),
              0u);
    EXPECT_NE(infoText(Variant::Orvena, 0, 0xA2F1, 1, 0, {}).find("KESTRALO S\nПО версии 4.1.1 / 10.2.15.1\n"),
              std::string::npos)
        << "each nibble printed on its own";

    ControllerState s(Variant::Kestralo);
    s.svc.BOILER_TYPE = 4;
    s.svc.SERIAL = 4021;
    s.boardVersion = 0x1000;
    s.linkOk = 1;
    EXPECT_EQ(infoText(s, {}).rfind("Котел автоматический Кестрало\nПО версии 4.1.7 / 1.0.0.0\nНомер котла: 4021\n", 0),
              0u);
}

std::string repeat(const std::string& unit, int n) {
    std::string out;
    for (int i = 0; i < n; ++i) out += unit;
    return out;
}

TEST(Messages, TextSizeCountsCodePoints) {
    // Thirty Cyrillic letters are one line, though they are sixty bytes.
    EXPECT_EQ(countTextLines(repeat("Ж", 29)), 0);
    EXPECT_EQ(countTextLines(repeat("Ж", 30)), 1);
    EXPECT_EQ(countTextLines(repeat("Ж", 239)), 7);
    EXPECT_EQ(countTextLines(repeat("Ж", 240)), 8);
    EXPECT_EQ(infoTextSize(repeat("Ж", 239)), 14);
    EXPECT_EQ(infoTextSize(repeat("Ж", 240)), 13);

    // Line breaks restart the count.
    EXPECT_EQ(countTextLines(repeat(repeat("Щ", 29) + "\n", 3)), 3);
    EXPECT_EQ(countTextLines(repeat("Щ", 30) + "\n"), 2) << "a full line, then the break";

    const std::pair<int, int> sizes[] = {{7, 14}, {8, 13}, {9, 13}, {10, 12}, {11, 12}, {20, 7}};
    for (auto [lines, size] : sizes)
        EXPECT_EQ(infoTextSize(repeat("Датчик\n", lines)), size) << lines;

    // A long paragraph wraps every thirty letters.
    EXPECT_EQ(countTextLines(kReminder), 5);
}

TEST(Messages, PanelChoosesFaultsThenWarningsThenInfo) {
    EXPECT_EQ(infoPanelView(kFaultFuse, kWarnWentOut, 0), InfoPanelView::Faults);
    EXPECT_EQ(infoPanelView(0, kWarnWentOut, 3), InfoPanelView::Warnings);
    EXPECT_EQ(infoPanelView(0, 0, 0), InfoPanelView::Info);
    EXPECT_EQ(infoPanelView(kFaultFuse, kWarnWentOut, 4), InfoPanelView::Info) << "the fifth tap";
    int tap = 0;
    for (int i = 0; i < 4; ++i) tap = nextInfoTap(tap);
    EXPECT_EQ(tap, 4);
    EXPECT_EQ(nextInfoTap(tap), 0);
}

}  // namespace
}  // namespace vesk::test
