#include "service_tool/service_save.h"

#include "net/network_settings.h"
#include "platform/registry.h"
#include "settings/settings_file.h"

namespace vesk {

bool saveServiceRecord(ServiceRecord& r, const std::string& serviceCfgPath, Registry& registry) {
    // A model chosen without a visit to the power page still gets a power
    // of its own table.
    settlePowerOption(r);
    r.settings.svc.SERIAL = shownSerial(r.settings.svc.SERIAL);
    if (!saveServiceSettings(serviceCfgPath, r.settings)) return false;
    writeEthernetAddress(registry, kServiceMacPrefix, r.settings.svc.SERIAL);
    return true;
}

}  // namespace vesk
