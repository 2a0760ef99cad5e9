// Telling a service manager how the panel is: ready once the control loop
// runs, and alive after each of its rounds, so that a hung control loop is
// restarted from outside.
#pragma once
#include <memory>

namespace vesk {

class ServiceNotifier {
public:
    virtual ~ServiceNotifier() = default;
    virtual void ready() = 0;
    virtual void alive() = 0;
};

// systemd's notification socket (NOTIFY_SOCKET); without one both calls do
// nothing.
std::unique_ptr<ServiceNotifier> makeSystemdNotifier();

}  // namespace vesk
