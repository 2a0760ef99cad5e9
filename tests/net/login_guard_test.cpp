// Password-guess damping in panel time: the per-source delays, the shared
// bucket that bounds guessing however many sources are used, the owner
// going ahead of a guesser, and the bounded log.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "net/login_guard.h"

namespace vesk {
namespace {

constexpr LoginSource kOwner = 0xC0A80002;    // 192.168.0.2
constexpr LoginSource kGuesser = 0xC0A80063;  // 192.168.0.99

// One attempt by a fresh ticket: true when it was let through (and then
// failed) at `now`.
bool failOnce(LoginGuard& g, LoginSource src, int64_t now) {
    const uint64_t t = g.newTicket();
    if (g.admit(t, src, now) != 0) {
        g.forget(t);
        return false;
    }
    g.record(src, false, now);
    return true;
}

TEST(LoginGuard, ASourceGetsThreeFreeFailuresThenDoublingDelays) {
    LoginGuard g;
    int64_t now = 0;
    for (int i = 0; i < LoginGuard::kFreePerSource; ++i) ASSERT_TRUE(failOnce(g, kGuesser, now));
    // The fourth failure holds the fifth attempt back 1 s, the next 2 s, 4 s.
    ASSERT_TRUE(failOnce(g, kGuesser, now));
    for (int64_t delay : {1000, 2000, 4000}) {
        const uint64_t t = g.newTicket();
        EXPECT_EQ(g.admit(t, kGuesser, now), delay);
        now += delay - 1;
        EXPECT_EQ(g.admit(t, kGuesser, now), 1);
        ++now;
        ASSERT_EQ(g.admit(t, kGuesser, now), 0);
        g.record(kGuesser, false, now);
    }
    // Another address is not held back by the guesser's delay.
    EXPECT_EQ(g.admit(g.newTicket(), kOwner, now), 0);
    // A success clears the source's record.
    g.record(kGuesser, true, now);
    EXPECT_EQ(g.admit(g.newTicket(), kGuesser, now), 0);
}

TEST(LoginGuard, ManySourcesTogetherGetTheBucketAndOneGuessPerRefill) {
    LoginGuard g;
    int64_t now = 0;
    LoginSource next = 0x7F000001;
    // Every guess from a new loopback address, as fast as the guard allows.
    uint64_t guesses = 0;
    const int64_t day = 24 * 3600 * 1000LL;
    while (now < day) {
        if (failOnce(g, next++, now)) ++guesses;
        now += 100;
    }
    EXPECT_EQ(guesses, uint64_t(LoginGuard::kBurst + (day - 1) / LoginGuard::kRefillMs));
    // At that best rate the million six-digit passwords take more than a year.
    const double sweepSeconds = (1e6 - LoginGuard::kBurst) * LoginGuard::kRefillMs / 1000.0;
    EXPECT_GT(sweepSeconds, 365.0 * 24 * 3600);

    // A right password waits for the bucket like a wrong one: the answer's
    // time tells nothing.
    while (!failOnce(g, next++, now)) now += 100;
    const uint64_t owner = g.newTicket();
    const int64_t wait = g.admit(owner, kOwner, now);
    EXPECT_GT(wait, 0);
    EXPECT_EQ(g.admit(owner, kOwner, now + wait), 0);
    g.record(kOwner, true, now + wait);
}

TEST(LoginGuard, TheOwnerWaitingGoesAheadOfTheGuesserAtTheNextToken) {
    LoginGuard g;
    int64_t now = 0;
    // The guesser fails five times, others empty the bucket.
    for (int i = 0; i < 5; ++i, now += 20000) ASSERT_TRUE(failOnce(g, kGuesser, now));
    while (g.tokens(now) > 0) ASSERT_TRUE(failOnce(g, kGuesser + 1 + g.tokens(now), now));
    const uint64_t guesser = g.newTicket();
    ASSERT_GT(g.admit(guesser, kGuesser, now), 0);
    now += 10;
    const uint64_t owner = g.newTicket();
    const int64_t wait = g.admit(owner, kOwner, now);
    ASSERT_GT(wait, 0);
    // Both keep asking, as held connections do every pass.
    for (int64_t t = 1000; t < wait; t += 1000) {
        ASSERT_GT(g.admit(guesser, kGuesser, now + t), 0);
        ASSERT_GT(g.admit(owner, kOwner, now + t), 0);
    }
    now += wait;
    // The guesser asks first, waited longer, but was seen failing.
    EXPECT_GT(g.admit(guesser, kGuesser, now), 0);
    EXPECT_EQ(g.admit(owner, kOwner, now), 0);
    g.record(kOwner, true, now);
    // No token was spent on the owner's success: the guesser goes now.
    EXPECT_EQ(g.admit(guesser, kGuesser, now), 0);
    g.record(kGuesser, false, now);

    // A waiter whose connection went away stops blocking others once it
    // has not asked for a while.
    const uint64_t gone = g.newTicket();
    ASSERT_GT(g.admit(gone, kOwner, now), 0);
    const uint64_t later = g.newTicket();
    ASSERT_GT(g.admit(later, kGuesser + 20, now + 1), 0);
    now += LoginGuard::kRefillMs;
    EXPECT_EQ(g.admit(later, kGuesser + 20, now), 0);
}

TEST(LoginGuard, TheModuleIsRefusedUnreadWhileOthersWaitOrTheBucketIsEmpty) {
    LoginGuard g;
    EXPECT_TRUE(g.admitWithoutWaiting(kLoginSourceModule, 0));
    for (int i = 0; i < LoginGuard::kBurst; ++i) ASSERT_TRUE(failOnce(g, kGuesser + i, 0));
    EXPECT_FALSE(g.admitWithoutWaiting(kLoginSourceModule, 0));
    EXPECT_TRUE(g.admitWithoutWaiting(kLoginSourceModule, LoginGuard::kRefillMs));
    const uint64_t waiting = g.newTicket();
    ASSERT_EQ(g.admit(waiting, kOwner, LoginGuard::kRefillMs), 0);
    EXPECT_EQ(g.tokens(LoginGuard::kRefillMs), 1);
}

TEST(LoginGuard, RefusalsAreLoggedAtMostOncePerMinute) {
    std::vector<std::string> lines;
    LoginGuard g([&](const std::string& l) { lines.push_back(l); });
    int64_t now = 0;
    for (int i = 0; i < 300; ++i, now += 1000) failOnce(g, 0x7F000001 + i, now);
    ASSERT_FALSE(lines.empty());
    EXPECT_LE(lines.size(), size_t(300 / 60 + 1));
    EXPECT_NE(lines.front().find("127.0.0.1"), std::string::npos);
    EXPECT_EQ(loginSourceName(kLoginSourceRemote), "remote server");
}

}  // namespace
}  // namespace vesk
