// A settings file from the SD card: unscrambled and checked, then, when
// the check holds, read as the user and the service file.
#include <string>
#include <string_view>

#include "fuzz/fuzz_support.h"
#include "settings/sd_transfer.h"
#include "settings/settings_file.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    using namespace vesk;
    KeyStream keys;
    std::string plain;
    if (!unscrambleFromSd(std::string_view(reinterpret_cast<const char*>(data), size), keys, plain)) return 0;
    fuzz::Panel panel(Variant::Orvena);
    applyUserText(plain, panel.state.settings, Variant::Orvena);
    applyServiceText(plain, panel.state.settings);
    return 0;
}
