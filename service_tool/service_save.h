// Saving the service record: service.cfg replaced whole, then the Ethernet
// address made from the serial number in the registry store.
#pragma once
#include <string>

#include "service_tool/service_rules.h"

namespace vesk {

class Registry;

// Settles a pending model change and the serial number the screen shows,
// writes `serviceCfgPath` atomically and, only when that worked, the
// address (a registry failure is not reported). False when service.cfg
// could not be written: it is then left as it was.
bool saveServiceRecord(ServiceRecord& r, const std::string& serviceCfgPath, Registry& registry);

}  // namespace vesk
