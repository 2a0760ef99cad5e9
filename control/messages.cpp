// Fault, warning and information texts of the main screen's info page.
#include "control/messages.h"

#include <cstdio>

#include "control/faults.h"
#include "core/controller_state.h"
#include "settings/model_tables.h"

namespace vesk {

namespace {

struct BitText {
    uint32_t bit;
    std::string_view text;
};

constexpr std::string_view kThermoSwitchText =
    "Аварийный режим работы котла! Необходимо включить функцию аварийного темовыключателя! "
    "Продолжение работы может привести к аварийному перегреву котла!\n";
constexpr std::string_view kAugerSensorOffText = "Аварийный режим работы котла. Датчик шнека отключен!\n";

// Overheat lines come first; only one of the two is shown.
constexpr std::string_view kEmergencyThermostatText = "Перегрев! Проверьте аварийный термостат\n";
constexpr std::string_view kOverheatText = "Перегрев котла\n";

constexpr BitText kFaultTexts[] = {
    {kFaultFuse, "Проверьте предохранитель\n"},
    {kFaultWaterSensor, "Датчик температуры воды\n"},
    {kFaultGasSensor, "Датчик температуры газов\n"},
    {kFaultInverterOverheat, "Перегрев инвертора\n"},
    {kFaultAugerJam, "Заклинивание шнека\n"},
    {kFaultChSensor, "Датчик температуры ЦО\n"},
    {kFaultAirSensor, "Датчик температуры воздуха"},
    {kFaultAugerOverheat, "Критический перегрев шнека! Работа котла остановлена!\n"},
    {kFaultAugerSensor, "Неисправен датчик температуры шнека!\n"},
    {kFaultThermoSwitchOff, kThermoSwitchText},
    {kFaultSweepBurning,
     "ВНИМАНИЕ!\nЧистка невозможна\nОстановосите котел через меню ПУСК/СТОП КОТЛА"},
    {kFaultSweepHot,
     "ВНИМАНИЕ!\nЧистка невозможна\nДождитесь полного прогорания топлива и падения температуры "
     "ниже 100 градусов"},
};

constexpr std::string_view kValve2SensorText = "Ошибка датчика воды клапана 2\n";

// The shared head of both warning lists, up to the valve 2 sensor line.
constexpr BitText kWarningHead[] = {
    {kWarnWentOut, "Котел затух\n"},
    {kWarnDhwSensor, "Ошибка датчика ГВС\n"},
    {kWarnValve1Sensor, "Ошибка датчка воды клапана 1\n"},
};

constexpr BitText kWarningMiddle[] = {
    {kWarnValveAirSensor, "Ошибка датчка воздуха клапана\n"},
    {kWarnOutdoorSensor, "Ошибка датчка воздуха улицы\n"},
    {kWarnLowWater, "Низкая температура воды в котле\n"},
    {kWarnHighGas,
     "Высокая температуры дымовых газов,возможно требуется чистка теплообменника\n"},
};

constexpr BitText kWarningTailOrvena[] = {
    {kWarnAugerSensorOff, kAugerSensorOffText},
    {kWarnReminder, kThermoSwitchText},
};

constexpr BitText kWarningTailKestralo[] = {
    {kWarnAshJam, "Заклинило шнек в блоке золоудаления!\n"},
    {kWarnAugerSensorOffK, kAugerSensorOffText},
    {kWarnReminderK, kThermoSwitchText},
};

constexpr std::string_view kWrongPhasingText =
    "Неправильная фазировка сети 220В!Проверьте подключение проводов    L,N сетевого шнура!\n";

template <size_t N>
void append(std::vector<std::string_view>& out, uint32_t word, const BitText (&table)[N]) {
    for (const BitText& t : table)
        if (word & t.bit) out.push_back(t.text);
}

constexpr int kCharsPerLine = 30;
constexpr int kBaseSize = 14;
constexpr int kLinesBeforeShrink = 8;

}  // namespace

std::vector<std::string_view> faultMessages(uint32_t faults) {
    std::vector<std::string_view> out;
    if (faults & kFaultEmergencyThermostat)
        out.push_back(kEmergencyThermostatText);
    else if (faults & kFaultOverheat)
        out.push_back(kOverheatText);
    append(out, faults, kFaultTexts);
    return out;
}

std::vector<std::string_view> warningMessages(Variant v, uint32_t warnings, int emstartEnable) {
    std::vector<std::string_view> out;
    const bool kestralo = isKestralo(v);
    if (kestralo && (warnings & kWarnWrongPhasing)) out.push_back(kWrongPhasingText);
    append(out, warnings, kWarningHead);
    // With the emergency start on, sensor 9 is the auger tube, not valve 2.
    if ((warnings & kWarnValve2Sensor) && emstartEnable == 0) out.push_back(kValve2SensorText);
    append(out, warnings, kWarningMiddle);
    if (kestralo)
        append(out, warnings, kWarningTailKestralo);
    else
        append(out, warnings, kWarningTailOrvena);
    return out;
}

std::string joinMessages(const std::vector<std::string_view>& messages) {
    std::string out;
    for (std::string_view m : messages) {
        // Every message starts on a line of its own, also after one that
        // does not end in a line break (the air sensor's).
        if (!out.empty() && out.back() != '\n') out += '\n';
        out += m;
    }
    return out;
}

std::string faultListText(uint32_t faults) { return joinMessages(faultMessages(faults)); }

std::string warningListText(Variant v, uint32_t warnings, int emstartEnable) {
    return joinMessages(warningMessages(v, warnings, emstartEnable));
}

std::string infoText(Variant v, int32_t boilerType, uint16_t boardVersion, int linkOk, int32_t serial,
                     const std::vector<std::string>& contactLines) {
    char firmware[24] = "---";
    if (linkOk != 0)
        std::snprintf(firmware, sizeof firmware, "%u.%u.%u.%u", (boardVersion >> 12) & 0xFu,
                      (boardVersion >> 8) & 0xFu, (boardVersion >> 4) & 0xFu, boardVersion & 0xFu);
    const std::string model = "Котел автоматический " + std::string(modelName(boilerType));
    const uint8_t* sw = variantInfo(v).swVersion;
    char buf[256];
    std::snprintf(buf, sizeof buf, "%s\nПО версии %u.%u.%u / %s\nНомер котла: %u\n", model.c_str(),
                  unsigned{sw[0]}, unsigned{sw[1]}, unsigned{sw[2]}, firmware,
                  static_cast<unsigned>(serial));
    std::string out = buf;
    for (const std::string& line : contactLines)
        if (!line.empty()) out += line + "\n";
    return out;
}

std::string infoText(const ControllerState& s, const std::vector<std::string>& contactLines) {
    return infoText(s.variant, s.svc.BOILER_TYPE, s.boardVersion, s.linkOk, s.svc.SERIAL, contactLines);
}

int countTextLines(std::string_view utf8) {
    int lines = 0;
    int chars = 0;
    for (char ch : utf8) {
        const auto b = static_cast<unsigned char>(ch);
        if ((b & 0xC0) == 0x80) continue;  // continuation byte of a code point
        if (b == '\n') {
            ++lines;
            chars = 0;
        } else if (++chars == kCharsPerLine) {
            ++lines;
            chars = 0;
        }
    }
    return lines;
}

int infoTextSize(std::string_view utf8) {
    const int n = countTextLines(utf8);
    if (n < kLinesBeforeShrink) return kBaseSize;
    return kBaseSize - (n - 6) / 2;
}

InfoPanelView infoPanelView(uint32_t faults, uint32_t warnings, int tapCounter) {
    if (tapCounter == 4) return InfoPanelView::Info;
    if (faults != 0) return InfoPanelView::Faults;
    if (warnings != 0) return InfoPanelView::Warnings;
    return InfoPanelView::Info;
}

int nextInfoTap(int tapCounter) { return tapCounter >= 4 ? 0 : tapCounter + 1; }

}  // namespace vesk
