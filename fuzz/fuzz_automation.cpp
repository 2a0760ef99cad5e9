// One line of the UI automation socket.
#include <string>

#include "platform/display/automation_server.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    vesk::AutomationCommand c;
    std::string error;
    vesk::parseAutomationCommand(std::string(reinterpret_cast<const char*>(data), size), c, error);
    return 0;
}
