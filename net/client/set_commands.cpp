// Command table of the settings commands as the client builds them.
#include "net/client/set_commands.h"

#include <set>

namespace vesk::client {
namespace {

// '#' in a key stands for the fuel index, '@' for the valve number.
enum class Item { U8, S8, U16, FuelIndex, Circuit, Bit0, Bit1, Bit2 };

struct Field {
    Item item;
    const char* key;
};

struct Command {
    const char* name;
    int orvena, kestralo;
    std::vector<Field> fields;
};

const std::vector<Command>& commands() {
    using I = Item;
    static const std::vector<Command> c = {
        {"SetPowerLimits", 2, 2, {{I::U8, "POW_UST_MIN"}, {I::U8, "POW_UST"}}},
        {"SetWaterSetpoint", 3, 3, {{I::U16, "TWAT_UST"}}},
        {"SetAirSetpoint", 4, 4, {{I::U16, "TAIR_UST"}}},
        {"SetFanLimits", 5, 5, {{I::FuelIndex, ""}, {I::U8, "FAN_MIN[#]"}, {I::U8, "FAN_MAX[#]"}}},
        {"SetAugerCorrection", 6, 6, {{I::FuelIndex, ""}, {I::S8, "WORM_CORR[#]"}}},
        {"SetConsumptionCorrection", 7, -1, {{I::FuelIndex, ""}, {I::S8, "CONS_CORR[#]"}}},
        {"SetSmsOptions", 9, 7, {{I::U8, "SMS_CONTROL"}, {I::U8, "USE_LTWATW"}, {I::U8, "LOW_TWATW"}}},
        {"SetWeatherCurve", 11, 9,
         {{I::U8, "USE_WHETHER"}, {I::U8, "WHETH_WAT_LOW"}, {I::S8, "WHETH_AIR_LOW"}, {I::U8, "WHETH_WAT"},
          {I::S8, "WHETH_AIR"}}},
        {"SetValveCircuit", 12, 10,
         {{I::Circuit, ""},        {I::U8, "VLV@_MODE"},    {I::Bit0, "VLV@_USEWATER"}, {I::Bit1, "VLV@_USEAIR"},
          {I::Bit2, "VLV@_USEWH"}, {I::U8, "VLV@_WATER"},   {I::U8, "VLV@_AIR"},        {I::U8, "VLV@_WATL_FL"},
          {I::S8, "VLV@_AIRL_FL"}, {I::U8, "VLV@_WATH_FL"}, {I::S8, "VLV@_AIRH_FL"},    {I::U8, "VLV@_WATL_CH"},
          {I::S8, "VLV@_AIRL_CH"}, {I::U8, "VLV@_WATH_CH"}, {I::S8, "VLV@_AIRH_CH"},    {I::U8, "VLV@_STEP"},
          {I::U16, "VLV@_INT"},    {I::U16, "VLV@_TOPEN"}}},
        {"SetFuelAndHeatMode", 13, 11, {{I::U8, "FUEL"}, {I::U8, "HEAT_MODE"}, {I::U8, "USE_HYDROSEP"}}},
        {"SetKeepAndChimney", 14, 12,
         {{I::FuelIndex, ""}, {I::S8, "KEEP_WORM_CORR[#]"}, {I::U8, "CHIMN_TOFF"}, {I::U8, "CHIMN_TON"}}},
        {"SetPumps", 15, 13,
         {{I::U8, "PUMPS_IDLE_MODE"}, {I::U8, "TPUMPS_ON"}, {I::U8, "TPUMPS_ON_HSEP"}, {I::U8, "TDHW_UST"}}},
        {"SetRecirculation", 16, 14,
         {{I::U8, "USE_RECIRC"}, {I::U8, "TRECIRC_ON"}, {I::U8, "TRECIRC_OFF"}, {I::U8, "TRC_HSEP_ON"},
          {I::U8, "TRC_HSEP_OFF"}}},
        {"SetExhaustFan", 17, 15, {{I::U8, "EXFAN_MODE"}, {I::U8, "EXFAN_UST"}}},
        {"SetAshCleaning", 18, -1, {{I::U8, "USE_ASH"}, {I::U8, "ASH_TIME_ON"}, {I::U8, "ASH_TIME_OFF"}}},
        {"SetBunker", 19, -1,
         {{I::Bit0, "USE_EMPTY_SENS"}, {I::Bit1, "USE_FULL_SENS"}, {I::U8, "BUNK_AUTOFILL"}, {I::U16, "BUNK_TOUT"}}},
        {"SetSensorCorrections", 20, 16, {{I::S8, "TAIR_CORR"}, {I::S8, "TOAIR_CORR"}, {I::S8, "TVAIR_CORR"}}},
    };
    return c;
}

bool isPerFuel(const Command& c) { return c.fields.front().item == Item::FuelIndex; }
bool isPerValve(const Command& c) { return c.fields.front().item == Item::Circuit; }

std::string expand(const char* key, int instance) {
    std::string k = key;
    for (char& ch : k) {
        if (ch == '#') ch = static_cast<char>('0' + instance);
        if (ch == '@') ch = static_cast<char>('1' + instance);
    }
    return k;
}

// Which instance of `c` (fuel or valve) carries `key`: -1 not at all,
// kAnyInstance for a per-fuel command's shared field.
constexpr int kAnyInstance = 100;
int instanceOf(const Command& c, const std::string& key) {
    const int instances = isPerFuel(c) ? 6 : isPerValve(c) ? 2 : 1;
    for (const Field& f : c.fields) {
        if (!*f.key) continue;
        const bool varies = std::string(f.key).find_first_of("#@") != std::string::npos;
        for (int i = 0; i < instances; ++i)
            if (expand(f.key, i) == key) return varies || instances == 1 ? i : kAnyInstance;
    }
    return -1;
}

bool encode(const Command& c, int instance, const std::map<std::string, int64_t>& values,
            const std::map<std::string, int64_t>& current, std::vector<uint8_t>& data, std::string& error) {
    for (const Field& f : c.fields) {
        if (f.item == Item::FuelIndex || f.item == Item::Circuit) {
            data.push_back(static_cast<uint8_t>(instance));
            continue;
        }
        const std::string key = expand(f.key, instance);
        auto it = values.find(key);
        if (it == values.end()) it = current.find(key);
        if (it == current.end()) {
            error = key + " is not in the status record; give it as well";
            return false;
        }
        const int64_t v = it->second;
        switch (f.item) {
        case Item::U8:
        case Item::S8:
            if (f.item == Item::U8 ? (v < 0 || v > 255) : (v < -128 || v > 127)) {
                error = key + " does not fit in one byte";
                return false;
            }
            data.push_back(static_cast<uint8_t>(v));
            break;
        case Item::U16:
            if (v < 0 || v > 0xFFFF) {
                error = key + " does not fit in 16 bits";
                return false;
            }
            data.push_back(static_cast<uint8_t>(v));
            data.push_back(static_cast<uint8_t>(v >> 8));
            break;
        case Item::Bit0: data.push_back(v ? 1 : 0); break;
        case Item::Bit1: data.back() |= v ? 2 : 0; break;
        case Item::Bit2: data.back() |= v ? 4 : 0; break;
        default: break;
        }
    }
    return true;
}

}  // namespace

bool buildSetRequests(Variant v, const std::map<std::string, int64_t>& values,
                      const std::map<std::string, int64_t>& current, std::vector<SetRequest>& out, std::string& error) {
    // Command index → the fuels or valves it is sent for.
    std::map<size_t, std::set<int>> bound;
    std::map<size_t, bool> shared;
    for (const auto& [key, value] : values) {
        bool found = false;
        for (size_t i = 0; i < commands().size() && !found; ++i) {
            const Command& c = commands()[i];
            if ((isKestralo(v) ? c.kestralo : c.orvena) < 0) continue;
            const int inst = instanceOf(c, key);
            if (inst < 0) continue;
            found = true;
            if (inst == kAnyInstance)
                shared[i] = true;
            else
                bound[i].insert(inst);
        }
        if (!found) {
            error = "no command of this variant sets " + key;
            return false;
        }
    }
    // A shared field of a per-fuel command goes with the fuel named beside
    // it, else with the fuel in force.
    for (const auto& [i, yes] : shared) {
        if (!yes || !bound[i].empty()) continue;
        auto fuel = current.find("FUEL");
        bound[i].insert(fuel != current.end() ? static_cast<int>(fuel->second) : 0);
    }
    for (const auto& [i, instances] : bound) {
        const Command& c = commands()[i];
        for (int inst : instances) {
            SetRequest r{c.name, static_cast<uint16_t>(isKestralo(v) ? c.kestralo : c.orvena), {}};
            if (!encode(c, inst, values, current, r.data, error)) return false;
            out.push_back(std::move(r));
        }
    }
    return true;
}

std::string settableKeys() {
    std::string s;
    for (const Command& c : commands()) {
        s += "  ";
        s += c.name;
        if (c.kestralo < 0) s += " (ORVENA)";
        s += ":";
        size_t column = s.size() - s.rfind('\n') - 1;
        for (const Field& f : c.fields) {
            if (!*f.key) continue;
            std::string k = f.key;
            if (auto p = k.find('#'); p != std::string::npos) k.replace(p, 1, "i");
            if (auto p = k.find('@'); p != std::string::npos) k.replace(p, 1, "n");
            if (column + k.size() + 1 > 76) {
                s += "\n     ";
                column = 5;
            }
            s += " " + k;
            column += k.size() + 1;
        }
        s += "\n";
    }
    return s;
}

int opCode(Variant v, Op op) {
    const bool k = isKestralo(v);
    switch (op) {
    case Op::DeviceInfo: return 0;
    case Op::Status: return 1;
    case Op::ResetFuel: return k ? -1 : 8;
    case Op::Clock: return k ? 8 : 10;
    case Op::GetPrograms: return k ? 17 : 21;
    case Op::SetPrograms: return k ? 18 : 22;
    case Op::StartStop: return k ? 19 : 23;
    case Op::Version: return 128;
    }
    return -1;
}

}  // namespace vesk::client
