#include <gtest/gtest.h>

#include <atomic>
#include <thread>
#include <vector>

#include "notify/Notify.h"

using namespace quillet;

TEST(NotificationCenter, DeliversByNameOnThePostingThreadAndDropsRemovedOwners) {
    NotificationCenter center;
    const int owner = 0;
    std::vector<std::string> seen;
    std::thread::id ranOn;
    center.add(&owner, "a", [&](const PostedNotification& n) {
        seen.push_back(n.name + "=" + std::any_cast<std::string>(n.object));
        ranOn = std::this_thread::get_id();
    });
    center.add(nullptr, "b", [&](const PostedNotification&) { seen.push_back("b"); });

    std::thread poster([&] { center.post("a", std::string("1")); });
    const auto posterId = poster.get_id();
    poster.join();
    EXPECT_EQ(ranOn, posterId);

    center.post("b");
    center.removeObserver(&owner);
    center.post("a", std::string("2"));
    // A block observer has no owner and cannot be removed by passing none.
    center.removeObserver(nullptr);
    center.post("b");
    EXPECT_EQ(seen, (std::vector<std::string>{"a=1", "b", "b"}));
}

TEST(NotificationCenter, ObserversMayPostAndRegisterWhileBeingNotified) {
    NotificationCenter center;
    int inner = 0;
    center.add(nullptr, "outer", [&](const PostedNotification&) {
        center.add(nullptr, "inner", [&](const PostedNotification&) { ++inner; });
        center.post("inner");
    });
    center.post("outer");
    EXPECT_EQ(inner, 1);
}

TEST(NotificationCenter, ConcurrentPostsReachEveryObserver) {
    NotificationCenter center;
    std::atomic<int> received{0};
    center.add(nullptr, "tick", [&](const PostedNotification&) { ++received; });
    std::vector<std::thread> threads;
    for (int t = 0; t < 4; ++t) {
        threads.emplace_back([&] {
            for (int i = 0; i < 1000; ++i) {
                center.post("tick");
            }
        });
    }
    for (auto& thread : threads) {
        thread.join();
    }
    EXPECT_EQ(received.load(), 4000);
}
