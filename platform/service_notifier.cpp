// READY=1 and WATCHDOG=1 through libsystemd.
#include "platform/service_notifier.h"

#include <systemd/sd-daemon.h>

namespace vesk {
namespace {

class SystemdNotifier : public ServiceNotifier {
public:
    // sd_notify returns 0 without NOTIFY_SOCKET; failures are nothing the
    // panel could act on.
    void ready() override { sd_notify(0, "READY=1"); }
    void alive() override { sd_notify(0, "WATCHDOG=1"); }
};

}  // namespace

std::unique_ptr<ServiceNotifier> makeSystemdNotifier() { return std::make_unique<SystemdNotifier>(); }

}  // namespace vesk
