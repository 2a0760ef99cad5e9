// Backend choice: the desktop when there is one, the panel's framebuffer
// when there is one, memory otherwise; never no display at all.
#include <cstdio>
#include <cstdlib>

#include "platform/display/fbdev_display.h"
#include "platform/display/headless_display.h"
#include "platform/display/sdl_display.h"

namespace vesk {

namespace {
constexpr const char* kFramebuffer = "/dev/fb0";

bool hasDesktop() {
    auto set = [](const char* name) {
        const char* v = std::getenv(name);
        return v != nullptr && *v != '\0';
    };
    return set("DISPLAY") || set("WAYLAND_DISPLAY");
}
}  // namespace

std::unique_ptr<Display> openDisplay(const std::string& choice) {
    std::string why;
    if (choice.empty()) {
        if (hasDesktop()) {
            if (auto d = openSdlDisplay(why)) return d;
        }
        if (auto d = openFbdevDisplay(kFramebuffer, "", why)) return d;
        return std::make_unique<HeadlessDisplay>();
    }
    if (choice == "headless") return std::make_unique<HeadlessDisplay>();
    std::unique_ptr<Display> d;
    if (choice == "sdl") {
        d = openSdlDisplay(why);
    } else if (choice == "fbdev") {
        d = openFbdevDisplay(kFramebuffer, "", why);
    } else {
        why = "unknown display";
    }
    if (d) return d;
    std::fprintf(stderr, "display %s unavailable (%s); running headless\n", choice.c_str(), why.c_str());
    return std::make_unique<HeadlessDisplay>();
}

}  // namespace vesk
