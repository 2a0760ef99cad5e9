// Waits for a condition another thread brings about. The limit is only a
// guard against a hang, far beyond anything a loaded machine needs.
#pragma once
#include <chrono>
#include <thread>

namespace vesk::test {

template <typename Pred>
bool waitUntil(Pred pred, std::chrono::milliseconds limit = std::chrono::seconds(30)) {
    const auto end = std::chrono::steady_clock::now() + limit;
    while (!pred()) {
        if (std::chrono::steady_clock::now() > end) return false;
        std::this_thread::sleep_for(std::chrono::milliseconds(2));
    }
    return true;
}

}  // namespace vesk::test
