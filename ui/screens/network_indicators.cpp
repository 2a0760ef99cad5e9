// The network icon rule.
#include "ui/screens/network_indicators.h"

namespace vesk {

int networkIcon(const NetworkView& v) {
    if (!v.enabled) return kNetIconNone;
    const bool linkLocal = (v.address >> 16) == 0xA9FE;
    if (!v.connected || v.address == 0 || linkLocal) return kNetIconOffline;
    return v.remoteUp ? kNetIconRemote : kNetIconLocal;
}

}  // namespace vesk
