// The service tool's one context: configuration, the record, the board, the
// window with the sheet, and the way out (always a panel restart).
#pragma once
#include <atomic>
#include <memory>
#include <string>

#include "core/refresh_sink.h"
#include "platform/display/automation_server.h"
#include "platform/display/display.h"
#include "platform/network_adapter.h"
#include "platform/platform_config.h"
#include "platform/real_clock.h"
#include "platform/registry.h"
#include "platform/sound/sdl_sound_player.h"
#include "platform/sound/sound_log.h"
#include "service_tool/board_test.h"
#include "service_tool/service_rules.h"
#include "ui/toolkit/app_frame.h"
#include "ui/toolkit/resources.h"

namespace vesk {

class ServiceSheet;

// Passes the board's refresh posts on to the window once it exists.
class RefreshForward : public RefreshSink {
public:
    void postRefresh() override {
        if (RefreshSink* to = to_.load()) to->postRefresh();
    }
    void attach(RefreshSink* to) { to_.store(to); }

private:
    std::atomic<RefreshSink*> to_{nullptr};
};

class ServiceTool {
public:
    explicit ServiceTool(PlatformConfig cfg);
    ~ServiceTool();

    // Loads service.cfg, starts the board thread and shows the sheet.
    void startUp();
    // The message loop. True when the engineer left the tool (the panel is
    // to restart), false when the process was told to stop.
    bool run();
    void quit();  // safe from any thread

    std::string serviceCfgPath() const { return cfgDir_ + "service.cfg"; }
    ServiceRecord& record() { return record_; }
    ServiceSheet* sheet() const { return sheet_; }

private:
    // False when the socket could not be opened (said on stderr when
    // `lastTry`).
    bool startAutomation(bool lastTry);
    bool save();
    void leave();

    PlatformConfig cfg_;
    std::string cfgDir_;
    Registry registry_;
    RealClock clock_;
    ServiceRecord record_;
    Resources resources_;
    SdlSoundPlayer speaker_;
    SoundLog sound_;
    RefreshForward refresh_;
    BoardTest board_;
    SystemNetworkAdapter adapter_;
    std::unique_ptr<Display> display_;
    std::unique_ptr<AppFrame> frame_;
    std::unique_ptr<AutomationServer> automation_;
    ServiceSheet* sheet_ = nullptr;  // owned by the frame's stack
    bool left_ = false;
    std::atomic<bool> stopped_{false};
};

// The whole program: runs the tool, then restarts the panel.
int runServiceTool();

}  // namespace vesk
