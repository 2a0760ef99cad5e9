// Offsets of the status record fields in both variants.
#include "net/client/status_fields.h"

#include "net/status_record.h"

namespace vesk::client {
namespace {

enum class Type { U8, S8, U16, S16, U32, Bit0, Bit1, Bit2 };

struct Field {
    std::string name;
    Type type;
    int orvena;    // offset, -1 when absent
    int kestralo;  // offset, -1 when absent
};

std::vector<Field> buildFields() {
    std::vector<Field> f;
    auto add = [&](std::string n, Type t, int o, int k) { f.push_back({std::move(n), t, o, k}); };
    add("reading.flue_gas", Type::U16, 1, 1);
    const char* readings[] = {"water", "room_air", "outdoor", "return", "board_ref",
                              "ch_circuit", "dhw", "valve1_water", "valve_air", "valve2_water"};
    for (int i = 0; i < 10; ++i) add(std::string("reading.") + readings[i], Type::S16, 3 + 2 * i, 3 + 2 * i);
    add("status_word_a", Type::U16, 23, 23);
    add("status_word_b", Type::U16, 25, 25);
    add("power_percent", Type::U8, 27, 27);
    add("burner_state", Type::U8, 28, 28);
    const char* head[] = {"BURN_MODE", "FUEL", "HEAT_MODE", "USE_HYDROSEP", "POW_UST_MIN", "POW_UST", "TWAT_UST", "TAIR_UST"};
    for (int i = 0; i < 8; ++i) add(head[i], Type::U8, 29 + i, 29 + i);
    add("weather_target", Type::U8, 37, 37);
    for (int i = 0; i < 6; ++i) {
        const std::string idx = "[" + std::to_string(i) + "]";
        add("FAN_MIN" + idx, Type::U8, 38 + 2 * i, i < 3 ? 38 + 2 * i : -1);
        add("FAN_MAX" + idx, Type::U8, 39 + 2 * i, i < 3 ? 39 + 2 * i : -1);
    }
    for (int i = 0; i < 6; ++i) add("WORM_CORR[" + std::to_string(i) + "]", Type::S8, 50 + i, i < 3 ? 44 + i : -1);
    for (int i = 0; i < 6; ++i) add("CONS_CORR[" + std::to_string(i) + "]", Type::S8, 56 + i, -1);
    const char* service[] = {"service.MAX_TSENS_CORR", "service.WORM_CORR_MAX", "service.POWER_MIN",
                             "service.FAN_MIN", "service.FAN100"};
    for (int i = 0; i < 5; ++i) add(service[i], Type::U8, 62 + i, 47 + i);
    const char* pumps[] = {"PUMPS_IDLE_MODE", "TPUMPS_ON", "TPUMPS_ON_HSEP", "TDHW_UST", "USE_RECIRC",
                           "TRECIRC_ON", "TRECIRC_OFF", "TRC_HSEP_ON", "TRC_HSEP_OFF", "EXFAN_MODE",
                           "EXFAN_UST", "USE_WHETHER", "WHETH_WAT_LOW", "WHETH_AIR_LOW", "WHETH_WAT", "WHETH_AIR"};
    for (int i = 0; i < 16; ++i) {
        const bool isSigned = i == 13 || i == 15;
        add(pumps[i], isSigned ? Type::S8 : Type::U8, 67 + i, 52 + i);
    }
    for (int v = 0; v < 2; ++v) {
        const std::string p = "VLV" + std::to_string(v + 1) + "_";
        const int o = v ? 100 : 83, k = v ? 85 : 68;
        add(p + "MODE", Type::U8, o, k);
        // The flags byte: bit 0 fixed water, bit 1 room air, bit 2 curve.
        f.push_back({p + "USEWATER", Type::Bit0, o + 1, k + 1});
        f.push_back({p + "USEAIR", Type::Bit1, o + 1, k + 1});
        f.push_back({p + "USEWH", Type::Bit2, o + 1, k + 1});
        add(p + "WATER", Type::U8, o + 2, k + 2);
        add(p + "AIR", Type::U8, o + 3, k + 3);
        const char* curve[] = {"WATL_FL", "AIRL_FL", "WATH_FL", "AIRH_FL", "WATL_CH", "AIRL_CH", "WATH_CH", "AIRH_CH"};
        for (int i = 0; i < 8; ++i) add(p + curve[i], i % 2 ? Type::S8 : Type::U8, o + 4 + i, k + 4 + i);
        add(p + "STEP", Type::U8, o + 12, k + 12);
        add(p + "INT", Type::U16, o + 13, k + 13);
        add(p + "TOPEN", Type::U16, o + 15, k + 15);
    }
    f.push_back({"USE_EMPTY_SENS", Type::Bit0, 117, -1});
    f.push_back({"USE_FULL_SENS", Type::Bit1, 117, -1});
    add("BUNK_AUTOFILL", Type::U8, 118, -1);
    add("BUNK_TOUT", Type::U16, 119, -1);
    add("SMS_CONTROL", Type::U8, 121, 102);
    add("USE_LTWATW", Type::U8, 122, 103);
    add("LOW_TWATW", Type::U8, 123, 104);
    for (int i = 0; i < 6; ++i) add("KEEP_WORM_CORR[" + std::to_string(i) + "]", Type::S8, 124 + i, i < 3 ? 105 + i : -1);
    add("CHIMN_TOFF", Type::U8, 130, 108);
    add("CHIMN_TON", Type::U8, 131, 109);
    add("TAIR_CORR", Type::S8, 132, 110);
    add("TOAIR_CORR", Type::S8, 133, 111);
    add("TVAIR_CORR", Type::S8, 134, 112);
    add("outputs", Type::U16, 135, 113);
    add("state_flags", Type::U8, 137, -1);
    add("state_flags", Type::U16, -1, 115);
    add("fuel.last_24h_kg", Type::U16, 139, -1);
    add("fuel.last_week_kg", Type::U16, 141, -1);
    add("fuel.last_month_kg", Type::U32, 143, -1);
    add("fuel.own_kg", Type::U32, 147, -1);
    add("fuel.total_kg", Type::U32, 151, -1);
    add("bunker_level", Type::U8, 155, -1);
    add("thermostat.enable", Type::U8, 156, 117);
    add("thermostat.state", Type::U8, 157, 118);
    add("thermostat.air", Type::U8, 158, 119);
    add("thermostat.water", Type::U8, 159, 120);
    add("valve1_target", Type::U8, 160, 121);
    add("valve2_target", Type::U8, 161, 122);
    add("USE_ASH", Type::U8, 162, -1);
    add("ASH_TIME_ON", Type::U8, 163, -1);
    add("ASH_TIME_OFF", Type::U8, 164, -1);
    return f;
}

const std::vector<Field>& fields() {
    static const std::vector<Field> f = buildFields();
    return f;
}

int64_t read(const std::vector<uint8_t>& r, Type t, int at) {
    auto u16 = [&](int o) { return static_cast<uint16_t>(r[o] | r[o + 1] << 8); };
    switch (t) {
    case Type::U8: return r[at];
    case Type::S8: return static_cast<int8_t>(r[at]);
    case Type::U16: return u16(at);
    case Type::S16: return static_cast<int16_t>(u16(at));
    case Type::U32: return u16(at) | static_cast<int64_t>(u16(at + 2)) << 16;
    case Type::Bit0: return r[at] & 1;
    case Type::Bit1: return (r[at] >> 1) & 1;
    case Type::Bit2: return (r[at] >> 2) & 1;
    }
    return 0;
}

}  // namespace

std::optional<Variant> variantOfRecord(size_t length) {
    if (length == kStatusRecordSizeOrvena) return Variant::Orvena;
    if (length == kStatusRecordSizeKestralo) return Variant::Kestralo;
    return std::nullopt;
}

std::vector<FieldValue> decodeStatus(const std::vector<uint8_t>& record) {
    std::vector<FieldValue> out;
    const std::optional<Variant> v = variantOfRecord(record.size());
    if (!v) return out;
    for (const Field& f : fields()) {
        const int at = isKestralo(*v) ? f.kestralo : f.orvena;
        if (at < 0) continue;
        out.push_back({f.name, read(record, f.type, at)});
    }
    return out;
}

std::map<std::string, int64_t> statusMap(const std::vector<uint8_t>& record) {
    std::map<std::string, int64_t> m;
    for (const FieldValue& f : decodeStatus(record)) m[f.name] = f.value;
    return m;
}

std::string burnerStateName(int64_t state) {
    static const char* const kNames[] = {"stop", "manual ignition", "ignition", "burning",
                                         "blow-up", "pause", "fuel loading", "auger reverse test"};
    return state >= 0 && state < 8 ? kNames[state] : "state " + std::to_string(state);
}

}  // namespace vesk::client
