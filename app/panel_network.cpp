#include "app/panel_network.h"

#include <mutex>

namespace vesk {

LinkView PanelNetwork::link() {
    const NetworkStatus n = network_.status();
    if (n.adapterUp) return {true, n.address, n.localConnections, n.remoteUp};
    std::lock_guard<std::recursive_mutex> g(state_.stateLock);
    const ExpansionNetReport& r = state_.expansionReport;
    if (state_.expansionConnected && r.type != 0)
        return {true, r.address, static_cast<unsigned>(r.localConnections), r.internetUp != 0};
    return {};
}

NetworkView PanelNetwork::network() {
    bool enabled;
    {
        std::lock_guard<std::recursive_mutex> g(state_.stateLock);
        enabled = state_.usr.LAN_EN_LOC != 0 || state_.usr.LAN_EN_REM != 0;
    }
    const LinkView l = link();
    return {enabled, l.linkUp, l.address, l.internetUp};
}

}  // namespace vesk
