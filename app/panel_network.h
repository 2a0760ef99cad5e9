// What the screens show of the network: the panel's own adapter, or the
// expansion module's report while the panel itself has no link.
#pragma once
#include "core/controller_state.h"
#include "net/network.h"
#include "net/status_text.h"
#include "ui/screens/network_indicators.h"

namespace vesk {

class PanelNetwork : public NetworkIndicators {
public:
    PanelNetwork(ControllerState& state, const Network& network) : state_(state), network_(network) {}
    NetworkView network() override;
    // The network status screen's view of the same.
    LinkView link();

private:
    ControllerState& state_;
    const Network& network_;
};

}  // namespace vesk
