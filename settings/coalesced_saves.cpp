// The gathering timer per file and the thread that does the writes, so
// that flushing to flash never stalls the panel's timers.
#include "settings/coalesced_saves.h"

#include <algorithm>

#include "platform/clock.h"
#include "platform/timer_service.h"

namespace vesk {

namespace {
size_t index(SavedFile f) { return static_cast<size_t>(f); }
}  // namespace

CoalescedSaves::CoalescedSaves(const Clock& clock, TimerService& timers, Writer user, Writer schedule)
    : clock_(clock), timers_(timers) {
    shared_->slots[index(SavedFile::User)].write = std::move(user);
    shared_->slots[index(SavedFile::Schedule)].write = std::move(schedule);
    worker_ = std::thread([this] { run(); });
}

CoalescedSaves::~CoalescedSaves() {
    {
        std::lock_guard<std::mutex> g(shared_->m);
        shared_->stopping = true;
    }
    shared_->cv.notify_all();
    worker_.join();
    flush();
}

void CoalescedSaves::requestSave(SavedFile f) {
    std::lock_guard<std::mutex> g(shared_->m);
    Slot& s = shared_->slots[index(f)];
    if (s.pending) return;  // the coming write takes this change too
    s.pending = true;
    const int64_t now = clock_.nowMs();
    int64_t at = now + kGatherMs;
    if (s.written) at = std::max(at, s.lastWriteMs + kMinIntervalMs);
    std::weak_ptr<Shared> weak = shared_;
    const uint64_t round = ++s.round;
    s.timer = timers_.startOneShot(at - now, [weak, f, round] {
        auto sh = weak.lock();
        if (!sh) return;
        {
            // A timer cancelled too late belongs to a round already written.
            std::lock_guard<std::mutex> lock(sh->m);
            Slot& slot = sh->slots[index(f)];
            if (slot.pending && slot.round == round) slot.due = true;
        }
        sh->cv.notify_all();
    });
    // Without a timer the change is written at once rather than lost.
    if (s.timer == 0) s.due = true;
    shared_->cv.notify_all();
}

bool CoalescedSaves::writeSlot(SavedFile f) {
    std::lock_guard<std::mutex> w(writeLocks_[index(f)]);
    Writer write;
    int timer;
    {
        std::lock_guard<std::mutex> g(shared_->m);
        Slot& s = shared_->slots[index(f)];
        timer = s.timer;
        s.timer = 0;
        s.pending = false;
        s.due = false;
        s.written = true;
        s.lastWriteMs = clock_.nowMs();
        ++s.writes;
        write = s.write;
    }
    // Outside the lock: a callback firing now waits for it.
    if (timer != 0) timers_.cancel(timer);
    return !write || write();
}

void CoalescedSaves::run() {
    std::unique_lock<std::mutex> g(shared_->m);
    for (;;) {
        shared_->cv.wait(g, [&] {
            return shared_->stopping ||
                   std::any_of(shared_->slots.begin(), shared_->slots.end(), [](const Slot& s) { return s.due; });
        });
        if (shared_->stopping) return;
        for (size_t i = 0; i < shared_->slots.size(); ++i) {
            if (!shared_->slots[i].due) continue;
            ++shared_->writing;
            g.unlock();
            writeSlot(static_cast<SavedFile>(i));
            g.lock();
            --shared_->writing;
            shared_->cv.notify_all();
        }
    }
}

bool CoalescedSaves::saveNow(SavedFile f) { return writeSlot(f); }

void CoalescedSaves::flush() {
    for (size_t i = 0; i < shared_->slots.size(); ++i) {
        bool pending;
        {
            std::lock_guard<std::mutex> g(shared_->m);
            pending = shared_->slots[i].pending;
        }
        if (pending) writeSlot(static_cast<SavedFile>(i));
    }
}

void CoalescedSaves::waitIdle() {
    std::unique_lock<std::mutex> g(shared_->m);
    shared_->cv.wait(g, [&] {
        return shared_->writing == 0 &&
               std::none_of(shared_->slots.begin(), shared_->slots.end(), [](const Slot& s) { return s.due; });
    });
}

uint64_t CoalescedSaves::writes(SavedFile f) const {
    std::lock_guard<std::mutex> g(shared_->m);
    return shared_->slots[index(f)].writes;
}

}  // namespace vesk
