// Deadline bookkeeping shared by the real and the manual timer service.
#pragma once
#include <cstdint>
#include <map>

namespace vesk {

// Next free non-zero id after `last`, skipping ids still in `used`.
template <typename T>
int nextTimerId(int& last, const std::map<int, T>& used) {
    do {
        last = last == INT32_MAX ? 1 : last + 1;
    } while (used.count(last) != 0);
    return last;
}

// The due timer that runs first: earliest deadline, then creation order.
template <typename T>
typename std::map<int, T>::iterator earliestTimer(std::map<int, T>& timers) {
    auto best = timers.end();
    for (auto it = timers.begin(); it != timers.end(); ++it) {
        if (best == timers.end() || it->second.deadline < best->second.deadline ||
            (it->second.deadline == best->second.deadline && it->second.order < best->second.order))
            best = it;
    }
    return best;
}

// Periodic deadlines step by whole periods from the first one, so lateness
// of one call never shifts the later ones.
int64_t nextPeriodicDeadline(int64_t deadline, int64_t period, int64_t now);

}  // namespace vesk
