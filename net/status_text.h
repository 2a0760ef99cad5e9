// Texts of the network status screen.
#pragma once
#include <cstdint>
#include <string>
#include <string_view>

namespace vesk {

// What the screen reports: the panel's own adapter, or the expansion
// module's report when the panel has no link and the module has one.
struct LinkView {
    bool linkUp = false;
    uint32_t address = 0;  // first octet in the top byte; 0 = none yet
    unsigned localConnections = 0;
    bool internetUp = false;
};

// "НЕТ ПОДКЛЮЧЕНИЙ", or the count with the ending its last digits take.
std::string connectionCountText(unsigned count);
// The whole status text; `remoteHost` is shown in capitals.
std::string networkStatusText(const LinkView& v, std::string_view remoteHost);

}  // namespace vesk
