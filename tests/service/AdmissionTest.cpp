// The service's two admission rules on their own: saves per address and large answers at once.
#include <gtest/gtest.h>

#include <future>
#include <thread>

#include "HeavyAnswerGate.h"
#include "SaveRateLimit.h"

using namespace quillet::service;
using namespace std::chrono_literals;

TEST(SaveRateLimit, EachAddressHasItsOwnBucketThatRefillsOverTheMinute) {
    SaveRateLimit limit(3);
    const auto start = SaveRateLimit::Clock::now();
    for (int i = 0; i < 3; ++i) {
        EXPECT_TRUE(limit.take("10.0.0.1", start)) << i;
    }
    EXPECT_FALSE(limit.take("10.0.0.1", start));
    EXPECT_TRUE(limit.take("10.0.0.2", start)); // another address is not held back
    EXPECT_FALSE(limit.take("10.0.0.1", start + 19s));
    EXPECT_TRUE(limit.take("10.0.0.1", start + 20s)); // a third of a minute: one save
    EXPECT_FALSE(limit.take("10.0.0.1", start + 21s));
    // A long pause refills to a minute's worth, not more.
    const auto later = start + 1h;
    for (int i = 0; i < 3; ++i) {
        EXPECT_TRUE(limit.take("10.0.0.1", later)) << i;
    }
    EXPECT_FALSE(limit.take("10.0.0.1", later));
}

TEST(SaveRateLimit, ForgettingAddressesNeverFreesOneThatIsStillLimited) {
    SaveRateLimit limit(2);
    const auto start = SaveRateLimit::Clock::now();
    ASSERT_TRUE(limit.take("busy", start));
    ASSERT_TRUE(limit.take("busy", start));
    // Enough other addresses to make the limit forget some: all of theirs have refilled.
    for (std::size_t i = 0; i < SaveRateLimit::maximumClients + 10; ++i) {
        ASSERT_TRUE(limit.take("a" + std::to_string(i), start - 1h));
    }
    EXPECT_FALSE(limit.take("busy", start));
}

TEST(HeavyAnswerGate, AFewAnswersAtOnceAShortQueueAndTheRestTurnedAway) {
    HeavyAnswerGate noQueue(2, 0, 5s);
    auto first = noQueue.enter();
    const auto second = noQueue.enter();
    ASSERT_TRUE(first && second);
    EXPECT_FALSE(noQueue.enter()); // both turns taken and no room to wait: at once
    first.reset();
    EXPECT_TRUE(noQueue.enter()); // a turn given back is taken again

    HeavyAnswerGate queue(1, 1, 5s);
    auto holding = queue.enter();
    ASSERT_TRUE(holding);
    auto waiting = std::async(std::launch::async, [&] { return queue.enter().has_value(); });
    std::this_thread::sleep_for(50ms);
    holding.reset();
    EXPECT_TRUE(waiting.get()); // the queued one got the turn when it came free

    HeavyAnswerGate impatient(1, 1, 10ms);
    const auto held = impatient.enter();
    EXPECT_FALSE(impatient.enter()); // waited its time in the queue, then turned away
}
