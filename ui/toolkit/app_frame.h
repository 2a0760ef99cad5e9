// The application frame: screen stack, window timers keyed by widget, pen
// capture, and the event loop that stands in for the window procedure
// (posted refresh messages, timers, pen input, painting, automation).
#pragma once
#include <atomic>
#include <cstdint>
#include <deque>
#include <functional>
#include <mutex>
#include <string>
#include <vector>

#include "core/refresh_sink.h"
#include "platform/display/automation_server.h"
#include "platform/display/display.h"
#include "ui/toolkit/bitmap.h"
#include "ui/toolkit/geometry.h"
#include "ui/toolkit/painter.h"
#include "ui/toolkit/text_cache.h"

namespace vesk {

class Clock;
class Resources;
class SoundPlayer;
class Widget;

constexpr int kClickSound = 132;

class AppFrame : public RefreshSink {
public:
    AppFrame(Display& display, Clock& clock, Resources& resources, SoundPlayer& sound);
    // Hides and deletes the screens still on the stack (the frame owns
    // them at the end), then anything waiting for deleteLater.
    ~AppFrame() override;
    AppFrame(const AppFrame&) = delete;
    AppFrame& operator=(const AppFrame&) = delete;

    // EN_SOUNDPRESS as the settings hold it now.
    void setTouchSoundSetting(std::function<int()> read) { touchSound_ = std::move(read); }
    // Resource numbers played since the last call (the "sounds" command).
    void setSoundLog(std::function<std::vector<int>()> take) { soundLog_ = std::move(take); }
    // Program folder and settings folder, with trailing '/'.
    void setDirectories(std::string appDir, std::string cfgDir);
    const std::string& appDir() const { return appDir_; }
    const std::string& cfgDir() const { return cfgDir_; }

    Resources& resources() { return resources_; }
    SoundPlayer& sound() { return sound_; }
    Clock& clock() { return clock_; }

    // Screen stack. Pushed screens stay owned by whoever pushed them.
    void setRoot(Widget* screen);
    void push(Widget* screen);
    void pop();
    Widget* top() const { return stack_.empty() ? nullptr : stack_.back(); }
    const std::vector<Widget*>& stack() const { return stack_; }
    // Deletes `w` once the message being handled is finished, so that a
    // handler may pop and delete the screen it belongs to (outside a
    // dispatch: at the start of the next processPending).
    void deleteLater(Widget* w);

    // Window timers in panel time; a second start only re-arms the period.
    void startTimer(Widget* w, int periodMs);
    void stopTimer(Widget* w);
    bool timerRunning(const Widget* w) const;
    size_t timerCount() const { return timers_.size(); }

    Widget* captured() const { return captured_; }

    // Pen input in screen coordinates, handled at once (the loop calls
    // these for queued pen events).
    void penDown(int x, int y);
    void penMove(int x, int y);
    void penUp(int x, int y);

    // Marks a screen area for the next full repaint.
    void invalidate(const Rect& screenArea);
    void invalidateAll() { invalidate({0, 0, kScreenWidth, kScreenHeight}); }
    // A painter straight on the screen for partial repaints.
    Painter screenPainter(Point origin, const Rect& screenClip);

    // Thread-safe: queue the refresh message and wake the loop.
    void postRefresh() override;
    // Thread-safe: queue an automation command for the loop.
    void postAutomation(AutomationCommand cmd);
    // Thread-safe: queue pen input as if it came from the display.
    void postPen(const PenEvent& e);

    // Handles everything queued, the due timers and the pending paint, and
    // presents the changed area. For tests and for run().
    void processPending();
    // Panel time of the next due timer or held pen, INT64_MAX for none.
    int64_t nextDueMs() const;
    // Runs until quit() or the display is closed.
    void run();
    void quit();  // thread-safe

    // Called from ~Widget: forget every reference to a dying widget.
    void forgetWidget(Widget* w);

    // Paint statistics, for tests and benchmarks.
    int fullPaints() const { return fullPaints_; }
    const Rect& pendingInvalid() const { return invalid_; }
    cairo_surface_t* framebufferSurface() const { return framebuffer_; }
    // Repaints the invalid area from the top screen.
    void paintNow();
    TextCache& textCache() { return textCache_; }

private:
    struct Timer {
        Widget* widget;
        int periodMs;
        int64_t dueMs;
    };
    struct HeldPen {
        int64_t upAtMs;
        int x, y;
        std::function<void(const std::string&)> reply;
    };
    struct Message {
        enum class Kind { Refresh, Pen, Automation } kind;
        PenEvent pen{PenEvent::Kind::Down, 0, 0};
        AutomationCommand command{};
    };

    void dispatch(Message& m);
    void runAutomation(AutomationCommand& c);
    void fireDueTimers();
    void fireDueHolds();
    void runDeferredDeletes();
    void present();
    bool takeMessage(Message& out);
    void addDirty(const Rect& r);

    Display& display_;
    Clock& clock_;
    Resources& resources_;
    SoundPlayer& sound_;
    std::function<int()> touchSound_;
    std::function<std::vector<int>()> soundLog_;
    std::string appDir_;
    std::string cfgDir_;

    std::vector<Widget*> stack_;
    std::vector<Timer> timers_;
    std::vector<Widget*> doomed_;
    std::vector<HeldPen> held_;
    Widget* captured_ = nullptr;

    std::mutex queueMutex_;
    std::deque<Message> queue_;
    std::atomic<bool> quit_{false};

    // Over display_.pixels(), which the display shows only when presented:
    // a full repaint drawn straight into it never shows half done.
    cairo_surface_t* framebuffer_ = nullptr;
    TextCache textCache_;
    Rect invalid_;
    Rect dirty_;
    int64_t timerSlackMs_ = 0;  // set by run()
    int fullPaints_ = 0;
};

}  // namespace vesk
