#include "launcher/launcher.h"

#include "core/variant.h"
#include "settings/params.h"
#include "settings/settings_file.h"

namespace vesk {

std::string controllerProgramFor(int boilerType) {
    return (boilerType == 2 || boilerType == 3) ? "ORVENA" : "KESTRALO";
}

std::string chooseController(const std::string& home) {
    Settings settings;
    // The service family is the same in both variants; ORVENA's table reads it.
    loadServiceSettings(settingsDir(home) + "service.cfg", settings, Variant::Orvena);
    return home + controllerProgramFor(settings.svc.BOILER_TYPE);
}

}  // namespace vesk
