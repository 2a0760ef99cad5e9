// Saves asked for by protocol clients and the expansion module, gathered so
// that a burst of changes costs a few flash writes instead of one each: a
// file is written at most once per kMinIntervalMs, and a change reaches the
// disk at most kMinIntervalMs of panel time after it was asked for (plus the
// write itself), always with the values in force when the write starts.
// Whatever is still pending is written at once by flush() (orderly
// shutdown). The screens save through saveNow(), which writes before it
// returns and tells whether the write worked.
#pragma once
#include <array>
#include <condition_variable>
#include <cstdint>
#include <functional>
#include <memory>
#include <mutex>
#include <thread>

namespace vesk {

class Clock;
class TimerService;

enum class SavedFile { User = 0, Schedule = 1 };

// What command handlers ask of the saver.
class SaveRequests {
public:
    virtual ~SaveRequests() = default;
    virtual void requestSave(SavedFile f) = 0;
};

class CoalescedSaves : public SaveRequests {
public:
    // A first change waits this long for the rest of its burst.
    static constexpr int64_t kGatherMs = 250;
    static constexpr int64_t kMinIntervalMs = 500;

    // Writes one file from the values in force; true when it worked.
    using Writer = std::function<bool()>;

    CoalescedSaves(const Clock& clock, TimerService& timers, Writer user, Writer schedule);
    // Writes what is pending.
    ~CoalescedSaves() override;
    CoalescedSaves(const CoalescedSaves&) = delete;
    CoalescedSaves& operator=(const CoalescedSaves&) = delete;

    void requestSave(SavedFile f) override;
    // Writes now (a pending write of the file is dropped: this one carries
    // its values); false when the write failed.
    bool saveNow(SavedFile f);
    // Writes every pending file now.
    void flush();
    // Writes made so far (benchmarks, tests).
    uint64_t writes(SavedFile f) const;
    // Blocks while a write that has come due is not finished (tests).
    void waitIdle();

private:
    struct Slot {
        Writer write;
        bool pending = false;
        bool due = false;
        int timer = 0;
        bool written = false;
        int64_t lastWriteMs = 0;
        uint64_t writes = 0;
        uint64_t round = 0;  // counts requests that started a wait
    };
    // Shared with timer callbacks, which may outlive a cancel.
    struct Shared {
        std::mutex m;
        std::condition_variable cv;
        std::array<Slot, 2> slots;
        bool stopping = false;
        int writing = 0;  // due writes the thread is doing
    };

    void run();
    bool writeSlot(SavedFile f);

    const Clock& clock_;
    TimerService& timers_;
    std::shared_ptr<Shared> shared_ = std::make_shared<Shared>();
    // One write of a file at a time.
    std::array<std::mutex, 2> writeLocks_;
    std::thread worker_;
};

}  // namespace vesk
