// SMS control kept in the registry store.
#include "net/expansion_sms_setting.h"

#include <mutex>

#include "core/controller_state.h"
#include "platform/registry.h"

namespace vesk {

int loadSmsControl(const Registry& registry) {
    const auto v = registry.getInt(kSmsControlKey);
    return v && *v == 1 ? 1 : 0;
}

void syncSmsControl(Registry& registry, ControllerState& s) {
    int enabled;
    {
        std::unique_lock<std::recursive_mutex> g(s.stateLock, std::try_to_lock);
        if (!g.owns_lock()) return;
        enabled = s.smsControlEnable != 0 ? 1 : 0;
    }
    // The registry writes its file only when the value changes.
    registry.setInt(kSmsControlKey, enabled);
}

}  // namespace vesk
