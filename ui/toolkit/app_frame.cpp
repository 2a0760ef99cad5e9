// The frame and its loop: messages are handled one at a time in the order
// they came, then the pending paint, then due timers; the changed screen
// area is presented after each batch.
#include "ui/toolkit/app_frame.h"

#include <cairo.h>

#include <algorithm>
#include <climits>

#include "core/sound_player.h"
#include "platform/clock.h"
#include "ui/toolkit/widget.h"

namespace vesk {

namespace {

constexpr int kMinTimerPeriodMs = 10;      // as SetTimer clamps tiny periods
constexpr int64_t kIdleWaitRealMs = 250;   // longest wait with nothing due
// The running loop fires timers due this soon together with the one it woke
// for: one wake-up instead of several (window timers are no finer anyway).
constexpr int64_t kTimerCoalesceMs = 25;
const Rect kScreenRect{0, 0, kScreenWidth, kScreenHeight};

}  // namespace

AppFrame::AppFrame(Display& display, Clock& clock, Resources& resources, SoundPlayer& sound)
    : display_(display), clock_(clock), resources_(resources), sound_(sound) {
    framebuffer_ = cairo_image_surface_create_for_data(reinterpret_cast<unsigned char*>(display_.pixels()),
                                                       CAIRO_FORMAT_RGB24, kScreenWidth, kScreenHeight,
                                                       kScreenWidth * 4);
}

AppFrame::~AppFrame() {
    // Bottom up, as at the end of the message loop.
    std::vector<Widget*> screens = stack_;
    for (Widget* s : screens) s->hide();
    stack_.clear();
    for (Widget* s : screens) {
        doomed_.erase(std::remove(doomed_.begin(), doomed_.end(), s), doomed_.end());
        delete s;
    }
    runDeferredDeletes();
    std::deque<Message> left;
    {
        std::lock_guard<std::mutex> g(queueMutex_);
        left.swap(queue_);
    }
    for (Message& m : left)
        if (m.kind == Message::Kind::Automation && m.command.reply) m.command.reply("error shutting down");
    for (HeldPen& h : held_)
        if (h.reply) h.reply("error shutting down");
    cairo_surface_destroy(framebuffer_);
}

void AppFrame::setDirectories(std::string appDir, std::string cfgDir) {
    appDir_ = std::move(appDir);
    cfgDir_ = std::move(cfgDir);
}

// ---- screen stack -------------------------------------------------------

void AppFrame::setRoot(Widget* screen) {
    if (!screen) return;
    if (stack_.empty())
        stack_.push_back(screen);
    else
        stack_[0] = screen;
    screen->show();
}

void AppFrame::push(Widget* screen) {
    if (!screen) return;
    if (!stack_.empty()) stack_.back()->hide();
    stack_.push_back(screen);
    screen->show();
    invalidateAll();
}

void AppFrame::pop() {
    if (stack_.empty()) return;
    Widget* old = stack_.back();
    old->hide();
    // hide() may itself have changed the stack; remove this screen wherever it is.
    auto it = std::find(stack_.rbegin(), stack_.rend(), old);
    if (it != stack_.rend()) stack_.erase(std::next(it).base());
    if (!stack_.empty()) stack_.back()->show();
    invalidateAll();
}

void AppFrame::deleteLater(Widget* w) {
    if (w && std::find(doomed_.begin(), doomed_.end(), w) == doomed_.end()) doomed_.push_back(w);
}

void AppFrame::runDeferredDeletes() {
    while (!doomed_.empty()) {
        Widget* w = doomed_.front();
        doomed_.erase(doomed_.begin());
        delete w;  // its destructor calls forgetWidget
    }
}

void AppFrame::forgetWidget(Widget* w) {
    timers_.erase(std::remove_if(timers_.begin(), timers_.end(), [w](const Timer& t) { return t.widget == w; }),
                  timers_.end());
    if (captured_ == w) captured_ = nullptr;
    stack_.erase(std::remove(stack_.begin(), stack_.end(), w), stack_.end());
    doomed_.erase(std::remove(doomed_.begin(), doomed_.end(), w), doomed_.end());
}

// ---- timers -------------------------------------------------------------

void AppFrame::startTimer(Widget* w, int periodMs) {
    if (!w) return;
    const int period = std::max(periodMs, kMinTimerPeriodMs);
    const int64_t due = clock_.nowMs() + period;
    for (Timer& t : timers_) {
        if (t.widget == w) {
            t.periodMs = period;
            t.dueMs = due;
            return;
        }
    }
    timers_.push_back({w, period, due});
}

void AppFrame::stopTimer(Widget* w) {
    timers_.erase(std::remove_if(timers_.begin(), timers_.end(), [w](const Timer& t) { return t.widget == w; }),
                  timers_.end());
}

bool AppFrame::timerRunning(const Widget* w) const {
    return std::any_of(timers_.begin(), timers_.end(), [w](const Timer& t) { return t.widget == w; });
}

void AppFrame::fireDueTimers() {
    const int64_t now = clock_.nowMs();
    std::vector<Widget*> due;
    for (Timer& t : timers_) {
        if (t.dueMs <= now + timerSlackMs_) {
            // One fired a little early keeps its pace from where it was due.
            t.dueMs = std::max(t.dueMs, now) + t.periodMs;
            due.push_back(t.widget);
        }
    }
    for (Widget* w : due) {
        // An earlier tick may have stopped this timer or deleted the widget.
        if (!timerRunning(w)) continue;
        w->timerTick();
        runDeferredDeletes();
    }
}

int64_t AppFrame::nextDueMs() const {
    int64_t next = INT64_MAX;
    for (const Timer& t : timers_) next = std::min(next, t.dueMs);
    for (const HeldPen& h : held_) next = std::min(next, h.upAtMs);
    return next;
}

// ---- pen ----------------------------------------------------------------

void AppFrame::penDown(int x, int y) {
    if (touchSound_ && touchSound_() != 0) sound_.play(kClickSound, kSoundAsync | kSoundNoStop);
    Widget* t = top();
    captured_ = t ? t->hitTest(x, y) : nullptr;
    if (captured_) captured_->penDown(captured_->toLocal({x, y}));
}

void AppFrame::penMove(int x, int y) {
    if (captured_) captured_->penMove(captured_->toLocal({x, y}));
}

void AppFrame::penUp(int x, int y) {
    if (!captured_) return;
    Widget* w = captured_;
    w->penUp(w->toLocal({x, y}));
    captured_ = nullptr;
}

// ---- painting -----------------------------------------------------------

void AppFrame::invalidate(const Rect& screenArea) { invalid_ = invalid_.unite(screenArea.intersect(kScreenRect)); }

void AppFrame::addDirty(const Rect& r) { dirty_ = dirty_.unite(r.intersect(kScreenRect)); }

Painter AppFrame::screenPainter(Point origin, const Rect& screenClip) {
    addDirty(screenClip);
    Painter p(framebuffer_);
    p.useTextCache(&textCache_);
    p.clip(screenClip);
    p.translate(origin.x, origin.y);
    return p;
}

void AppFrame::paintNow() {
    if (invalid_.empty()) return;
    // Only the invalid area changes: what partial repaints drew elsewhere stays.
    const Rect r = invalid_;
    {
        Painter p(framebuffer_);
        p.useTextCache(&textCache_);
        p.clip(r);
        if (Widget* t = top())
            t->paint(p);
        else
            p.fillRect(kScreenRect, kBlack);
    }
    addDirty(r);
    invalid_ = {};
    ++fullPaints_;
}

void AppFrame::present() {
    if (dirty_.empty()) return;
    cairo_surface_flush(framebuffer_);
    display_.present({dirty_.left, dirty_.top, dirty_.right, dirty_.bottom});
    dirty_ = {};
}

// ---- messages -----------------------------------------------------------

void AppFrame::postRefresh() {
    {
        std::lock_guard<std::mutex> g(queueMutex_);
        Message m;
        m.kind = Message::Kind::Refresh;
        queue_.push_back(std::move(m));
    }
    display_.wake();
}

void AppFrame::postAutomation(AutomationCommand cmd) {
    {
        std::lock_guard<std::mutex> g(queueMutex_);
        Message m;
        m.kind = Message::Kind::Automation;
        m.command = std::move(cmd);
        queue_.push_back(std::move(m));
    }
    display_.wake();
}

void AppFrame::postPen(const PenEvent& e) {
    {
        std::lock_guard<std::mutex> g(queueMutex_);
        Message m;
        m.kind = Message::Kind::Pen;
        m.pen = e;
        queue_.push_back(std::move(m));
    }
    display_.wake();
}

bool AppFrame::takeMessage(Message& out) {
    std::lock_guard<std::mutex> g(queueMutex_);
    if (queue_.empty()) return false;
    out = std::move(queue_.front());
    queue_.pop_front();
    return true;
}

void AppFrame::dispatch(Message& m) {
    switch (m.kind) {
    case Message::Kind::Refresh:
        if (Widget* t = top()) t->refresh();
        break;
    case Message::Kind::Pen:
        if (m.pen.kind == PenEvent::Kind::Down)
            penDown(m.pen.x, m.pen.y);
        else if (m.pen.kind == PenEvent::Kind::Move)
            penMove(m.pen.x, m.pen.y);
        else
            penUp(m.pen.x, m.pen.y);
        break;
    case Message::Kind::Automation:
        runAutomation(m.command);
        break;
    }
}

void AppFrame::runAutomation(AutomationCommand& c) {
    auto reply = [&](const std::string& text) {
        if (c.reply) c.reply(text);
    };
    using K = AutomationCommand::Kind;
    switch (c.kind) {
    case K::Down:
        penDown(c.x, c.y);
        reply("ok");
        break;
    case K::Move:
        penMove(c.x, c.y);
        reply("ok");
        break;
    case K::Up:
        penUp(c.x, c.y);
        reply("ok");
        break;
    case K::Tap:
        penDown(c.x, c.y);
        runDeferredDeletes();
        penUp(c.x, c.y);
        reply("ok");
        break;
    case K::Hold:
        // The pen goes up later, from the loop; the reply waits for it.
        penDown(c.x, c.y);
        held_.push_back({clock_.nowMs() + std::max<int64_t>(c.holdMs, 0), c.x, c.y, std::move(c.reply)});
        break;
    case K::Shot: {
        cairo_surface_flush(framebuffer_);
        const cairo_status_t st = cairo_surface_write_to_png(framebuffer_, c.path.c_str());
        reply(st == CAIRO_STATUS_SUCCESS ? "ok" : std::string("error ") + cairo_status_to_string(st));
        break;
    }
    case K::Sync:
        paintNow();
        present();
        reply("ok");
        break;
    case K::Sounds: {
        if (!soundLog_) {
            reply("error no sound log");
            break;
        }
        std::string text = "ok";
        for (int id : soundLog_()) text += " " + std::to_string(id);
        reply(text);
        break;
    }
    }
}

void AppFrame::fireDueHolds() {
    const int64_t now = clock_.nowMs();
    for (size_t i = 0; i < held_.size();) {
        if (held_[i].upAtMs > now) {
            ++i;
            continue;
        }
        HeldPen h = std::move(held_[i]);
        held_.erase(held_.begin() + static_cast<std::ptrdiff_t>(i));
        penUp(h.x, h.y);
        runDeferredDeletes();
        if (h.reply) h.reply("ok");
    }
}

void AppFrame::processPending() {
    // Only what is queued now: messages posted meanwhile wait for the next
    // round, so a busy poster cannot starve painting and timers.
    runDeferredDeletes();
    size_t n;
    {
        std::lock_guard<std::mutex> g(queueMutex_);
        n = queue_.size();
    }
    Message m;
    while (n-- > 0 && takeMessage(m)) {
        dispatch(m);
        runDeferredDeletes();
    }
    paintNow();
    fireDueHolds();
    fireDueTimers();
    paintNow();
    present();
}

void AppFrame::run() {
    timerSlackMs_ = kTimerCoalesceMs;
    std::vector<PenEvent> events;
    while (!quit_.load()) {
        processPending();
        if (quit_.load()) break;
        int64_t waitMs = kIdleWaitRealMs;
        const int64_t next = nextDueMs();
        if (next != INT64_MAX) {
            const int64_t panelWait = std::max<int64_t>(0, next - clock_.nowMs());
            waitMs = std::min(waitMs, clock_.realMsFor(panelWait));
        }
        {
            std::lock_guard<std::mutex> g(queueMutex_);
            if (!queue_.empty()) waitMs = 0;
        }
        events.clear();
        const bool open = display_.waitEvents(events, static_cast<int>(waitMs));
        for (const PenEvent& e : events) {
            std::lock_guard<std::mutex> g(queueMutex_);
            Message msg;
            msg.kind = Message::Kind::Pen;
            msg.pen = e;
            queue_.push_back(std::move(msg));
        }
        if (!open) break;
    }
}

void AppFrame::quit() {
    quit_.store(true);
    display_.wake();
}

}  // namespace vesk
