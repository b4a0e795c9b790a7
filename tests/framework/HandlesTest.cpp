// The platform-free guards: TScopeExit, TUpdateGuard and the read/write locks' scoped
// holds, on the normal path and when the scope is left by an exception.
#include "framework/Handles.h"

#include <gtest/gtest.h>

#include <chrono>
#include <future>
#include <stdexcept>
#include <thread>

#include "framework/Classes.h"
#include "framework/Threads.h"

namespace vx {
namespace {

using namespace std::chrono_literals;

TEST(ScopeExit, RunsOnceWhenTheScopeEndsAndNotWhenDismissed) {
    int runs = 0;
    {
        TScopeExit guard([&] { ++runs; });
        EXPECT_EQ(runs, 0) << "ran before the end of the scope";
    }
    EXPECT_EQ(runs, 1);
    try {
        TScopeExit guard([&] { ++runs; });
        throw std::runtime_error("leave");
    } catch (const std::runtime_error&) {
    }
    EXPECT_EQ(runs, 2) << "an exception leaving the scope skipped the guard";
    {
        TScopeExit guard([&] { ++runs; });
        guard.Dismiss();
    }
    EXPECT_EQ(runs, 2) << "a dismissed guard ran";
}

// A string list fires OnChange once when the outermost update ends; the guard must end
// the update on every path, or the list stays silent for good.
TEST(UpdateGuard, EndsTheUpdateAlsoWhenTheScopeThrows) {
    TStringList list;
    int changes = 0;
    list.OnChange = [&](TObject*) { ++changes; };
    {
        TUpdateGuard guard(list);
        list.Add(L"a");
        list.Add(L"b");
        EXPECT_EQ(changes, 0);
    }
    EXPECT_EQ(changes, 1);
    try {
        TUpdateGuard guard(list);
        list.Add(L"c");
        throw std::runtime_error("leave");
    } catch (const std::runtime_error&) {
    }
    EXPECT_EQ(changes, 2) << "the update did not end when the scope was left by an exception";
    list.Add(L"d");
    EXPECT_EQ(changes, 3) << "the list is still updating after the guard";
}

// A change handler that throws at the end of the update: on a normal end its exception
// reaches the caller, as from a hand-written EndUpdate; while another exception leaves
// the scope, that one goes on (and the program is not ended by two at once).
TEST(UpdateGuard, AChangeHandlerThatThrowsAtTheEnd) {
    TStringList list;
    list.OnChange = [](TObject*) { throw std::logic_error("handler"); };
    bool reached = false;
    try {
        TUpdateGuard guard(list);
        list.Add(L"a");
    } catch (const std::logic_error&) {
        reached = true;
    }
    EXPECT_TRUE(reached) << "the handler's exception was lost at the end of the update";
    EXPECT_EQ(list.GetCount(), 1);
    try {
        TUpdateGuard guard(list);
        list.Add(L"b");
        throw std::runtime_error("work");
    } catch (const std::runtime_error& e) {
        EXPECT_STREQ(e.what(), "work");
    } catch (const std::logic_error&) {
        ADD_FAILURE() << "the handler's exception replaced the one under way";
    }
    // The update ended on both paths: the next change reaches the handler at once.
    EXPECT_THROW(list.Add(L"c"), std::logic_error);
}

// Whether another thread can get the write lock. A hold that was not let go would keep
// the probe waiting for good; after a generous wait the caller's hold is let go by hand
// (`release`) so that the probe can end and the test reports the leak instead of hanging.
template <class Release>
bool OtherThreadCanWrite(TMultiReadExclusiveWriteSynchronizer& lock, Release release) {
    std::promise<void> wrote;
    std::future<void> done = wrote.get_future();
    std::thread probe([&] {
        lock.BeginWrite();
        lock.EndWrite();
        wrote.set_value();
    });
    const bool free = done.wait_for(10s) == std::future_status::ready;
    if (!free) release();
    probe.join();
    return free;
}

TEST(ReadWriteLocks, ScopedHoldsAreLetGoOnEveryPath) {
    TMultiReadExclusiveWriteSynchronizer lock;
    {
        TReadLock read(lock);
    }
    EXPECT_TRUE(OtherThreadCanWrite(lock, [&] { lock.EndRead(); })) << "a read hold outlived its scope";
    {
        TWriteLock write(lock);
        EXPECT_TRUE(write.Clean());
    }
    EXPECT_TRUE(OtherThreadCanWrite(lock, [&] { lock.EndWrite(); })) << "a write hold outlived its scope";

    try {
        TReadLock read(lock);
        throw std::runtime_error("leave");
    } catch (const std::runtime_error&) {
    }
    EXPECT_TRUE(OtherThreadCanWrite(lock, [&] { lock.EndRead(); }))
        << "a read hold was kept when an exception left its scope";
    try {
        TWriteLock write(lock);
        throw std::runtime_error("leave");
    } catch (const std::runtime_error&) {
    }
    EXPECT_TRUE(OtherThreadCanWrite(lock, [&] { lock.EndWrite(); }))
        << "a write hold was kept when an exception left its scope";
}

// A reader that upgrades inside its read scope gives both holds back in order.
TEST(ReadWriteLocks, WriteInsideReadUnwindsBothHolds) {
    TMultiReadExclusiveWriteSynchronizer lock;
    try {
        TReadLock read(lock);
        TWriteLock write(lock);
        EXPECT_TRUE(write.Clean()) << "the only reader was disturbed while upgrading";
        throw std::runtime_error("leave");
    } catch (const std::runtime_error&) {
    }
    EXPECT_TRUE(OtherThreadCanWrite(lock, [&] {
        lock.EndWrite();
        lock.EndRead();
    }));
}

}  // namespace
}  // namespace vx
