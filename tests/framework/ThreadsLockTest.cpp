#include "framework/Threads.h"

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <thread>
#include <vector>

namespace vx {
namespace {

using namespace std::chrono_literals;

TEST(MultiReadExclusiveWrite, WriterWaitsForReadersAndExcludesThem) {
    TMultiReadExclusiveWriteSynchronizer lock;
    std::atomic<int> stage{0};
    lock.BeginRead();
    std::thread writer([&] {
        lock.BeginWrite();
        stage = 1;
        std::this_thread::sleep_for(50ms);
        stage = 2;
        lock.EndWrite();
    });
    std::this_thread::sleep_for(100ms);
    EXPECT_EQ(stage.load(), 0) << "the writer got in while a reader held the lock";
    lock.EndRead();
    writer.join();
    EXPECT_EQ(stage.load(), 2);

    // A reader arriving while a writer holds the lock sees only the finished write.
    stage = 0;
    std::atomic<bool> writing{false};
    std::thread w([&] {
        lock.BeginWrite();
        writing = true;
        std::this_thread::sleep_for(50ms);
        stage = 5;
        lock.EndWrite();
    });
    while (!writing) std::this_thread::yield();
    lock.BeginRead();
    EXPECT_EQ(stage.load(), 5);
    lock.EndRead();
    w.join();
}

TEST(MultiReadExclusiveWrite, ConcurrentReadersAndWritersKeepInvariant) {
    TMultiReadExclusiveWriteSynchronizer lock;
    // Two plain ints that writers keep equal; a reader seeing them differ means a
    // writer was not excluded.
    int a = 0, b = 0;
    std::atomic<int> torn{0};
    std::atomic<int> readersInside{0}, maxReadersInside{0};
    std::vector<std::thread> threads;
    for (int t = 0; t < 3; ++t)
        threads.emplace_back([&] {
            for (int i = 0; i < 2000; ++i) {
                lock.BeginWrite();
                ++a;
                std::this_thread::yield();
                ++b;
                lock.EndWrite();
            }
        });
    for (int t = 0; t < 3; ++t)
        threads.emplace_back([&] {
            for (int i = 0; i < 2000; ++i) {
                lock.BeginRead();
                const int inside = ++readersInside;
                int seen = maxReadersInside.load();
                while (inside > seen && !maxReadersInside.compare_exchange_weak(seen, inside)) {
                }
                if (a != b) ++torn;
                --readersInside;
                lock.EndRead();
            }
        });
    for (auto& t : threads) t.join();
    EXPECT_EQ(torn.load(), 0);
    EXPECT_EQ(a, 6000);
    EXPECT_EQ(b, 6000);
}

TEST(MultiReadExclusiveWrite, ReentrantAndUpgradable) {
    TMultiReadExclusiveWriteSynchronizer lock;
    lock.BeginWrite();
    EXPECT_TRUE(lock.BeginWrite());  // nested write
    lock.BeginRead();                // read inside write
    lock.EndRead();
    lock.EndWrite();
    lock.EndWrite();

    lock.BeginRead();
    lock.BeginRead();  // nested read
    EXPECT_TRUE(lock.BeginWrite());  // sole reader upgrades without waiting
    lock.EndWrite();
    lock.EndRead();
    lock.EndRead();

    // After all that the lock is free: another thread can write at once.
    std::atomic<bool> wrote{false};
    std::thread t([&] {
        lock.BeginWrite();
        wrote = true;
        lock.EndWrite();
    });
    t.join();
    EXPECT_TRUE(wrote.load());
}

TEST(MultiReadExclusiveWrite, TwoReadersUpgradingAtOnceDoNotDeadlock) {
    TMultiReadExclusiveWriteSynchronizer lock;
    std::atomic<int> reading{0};
    std::atomic<int> undisturbed{0};
    auto upgrader = [&] {
        lock.BeginRead();
        ++reading;
        while (reading < 2) std::this_thread::yield();
        if (lock.BeginWrite()) ++undisturbed;
        lock.EndWrite();
        lock.EndRead();
    };
    std::thread t1(upgrader), t2(upgrader);
    t1.join();
    t2.join();
    EXPECT_EQ(undisturbed.load(), 1);  // the second one was told it had to let go
}

}  // namespace
}  // namespace vx
