// The settings files as read at start-up: service.cfg, user.cfg (both
// variants) and tmstat.cfg. The first byte picks the file and variant.
// A user file written from what was read must read back to the same text.
#include <string_view>

#include "fuzz/fuzz_support.h"
#include "settings/settings_file.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    using namespace vesk;
    if (size < 1) return 0;
    const std::string_view text(reinterpret_cast<const char*>(data + 1), size - 1);
    fuzz::Panel panel(fuzz::variantOf(data[0]));
    Settings& s = panel.state.settings;
    switch ((data[0] >> 1) % 3) {
    case 0:
        applyServiceText(text, s);
        break;
    case 1: {
        applyUserText(text, s, panel.state.variant);
        const std::string written = formatUserFile(s, panel.state.variant);
        Settings again = s;
        applyUserText(written, again, panel.state.variant);
        if (formatUserFile(again, panel.state.variant) != written) __builtin_trap();
        break;
    }
    default: {
        Schedule schedule;
        parseSchedule(text, schedule, s.usr.TWAT_UST_LIMIT_MIN, s.usr.TWAT_UST_LIMIT_MAX);
        formatSchedule(schedule);
        break;
    }
    }
    return 0;
}
