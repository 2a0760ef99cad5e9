// What the boiler page asks about the network for its icons. The network
// layer answers it; until one is wired, the panel shows "no network".
#pragma once
#include <cstdint>

namespace vesk {

struct NetworkView {
    bool enabled = false;    // local or remote access is switched on
    bool connected = false;  // the adapter (or, without it, the module) is up
    uint32_t address = 0;    // IPv4, first octet in the top byte; 0 = none
    bool remoteUp = false;   // the remote server link is established
};

class NetworkIndicators {
public:
    virtual ~NetworkIndicators() = default;
    // Called on the UI thread once a second while the boiler page is shown.
    virtual NetworkView network() = 0;
};

// A panel without a network layer: access on, never connected.
class NoNetwork : public NetworkIndicators {
public:
    NetworkView network() override { return {true, false, 0, false}; }
};

enum : int {
    kNetIconNone = 0,
    kNetIconOffline = 285,
    kNetIconLocal = 286,
    kNetIconRemote = 287,
};

// The picture to show: none while access is off; offline without a link or
// without a usable address (0, or link-local 169.254/16).
int networkIcon(const NetworkView& v);

}  // namespace vesk
