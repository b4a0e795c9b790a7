#include "framework/Threads.h"

#include <gtest/gtest.h>

#include <atomic>
#include <memory>

namespace vx {
namespace {

// Runs a callable as Execute.
class TLambdaThread : public TThread {
public:
    explicit TLambdaThread(std::function<void(TLambdaThread&)> body) : body_(std::move(body)) {}
    using TThread::SetReturnValue;
    using TThread::Terminated;

protected:
    void Execute() override { body_(*this); }

private:
    std::function<void(TLambdaThread&)> body_;
};

// Starts each test without the process-wide hooks (an application object in the same
// program may have set them) and puts them back afterwards.
class ThreadTest : public ::testing::Test {
protected:
    void SetUp() override {
        savedWake_ = SetWakeMainThread(nullptr);
        savedHandler_ = SetThreadExceptionHandler(nullptr);
    }
    void TearDown() override {
        SetWakeMainThread(savedWake_);
        SetThreadExceptionHandler(savedHandler_);
    }

private:
    std::function<void()> savedWake_;
    TThreadExceptionHandler savedHandler_;
};

TEST_F(ThreadTest, HandOverIsServedByAMessageLoop) {
    ASSERT_TRUE(IsMainThread());
    const DWORD mainId = GetCurrentThreadId();
    MSG msg;
    PeekMessageW(&msg, nullptr, 0, 0, PM_NOREMOVE);  // make sure the thread has a queue
    std::atomic<int> wakes{0};
    SetWakeMainThread([&] {
        ++wakes;
        PostThreadMessageW(mainId, WM_APP + 1, 0, 0);
    });
    DWORD ranOn = 0;
    TLambdaThread thread([&](TLambdaThread& self) {
        for (int i = 0; i < 3; ++i) TThread::Synchronize([&] { ranOn = GetCurrentThreadId(); });
        self.SetReturnValue(11);
    });
    thread.Start();
    int wakeMessages = 0, served = 0;
    const ULONGLONG deadline = GetTickCount64() + 10000;
    while (!thread.GetFinished() && GetTickCount64() < deadline) {
        while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE))
            if (msg.message == WM_APP + 1) ++wakeMessages;
        if (CheckSynchronize()) ++served;
        MsgWaitForMultipleObjects(0, nullptr, FALSE, 20, QS_ALLINPUT);
    }
    ASSERT_TRUE(thread.GetFinished());
    EXPECT_EQ(thread.WaitFor(), 11);
    EXPECT_EQ(ranOn, mainId);
    EXPECT_EQ(wakes.load(), 3);
    EXPECT_GE(wakeMessages, 1);
    EXPECT_GE(served, 1);
}

TEST_F(ThreadTest, WaitForServesAPendingHandOver) {
    std::atomic<bool> handedOver{false};
    TLambdaThread thread([&](TLambdaThread& self) {
        TThread::Synchronize([&] { handedOver = IsMainThread(); });
        self.SetReturnValue(7);
    });
    thread.Start();
    Sleep(50);  // the thread is now blocked in Synchronize; nobody called CheckSynchronize
    EXPECT_EQ(thread.WaitFor(), 7);
    EXPECT_TRUE(handedOver.load());
}

TEST_F(ThreadTest, HandOverWithoutWakeFunctionIsPickedUpLater) {
    std::atomic<bool> ran{false};
    TLambdaThread thread([&](TLambdaThread&) { TThread::Synchronize([&] { ran = true; }); });
    thread.Start();
    EXPECT_TRUE(CheckSynchronize(5000));  // waits for the hand-over to arrive
    EXPECT_TRUE(ran.load());
    thread.WaitFor();
    EXPECT_FALSE(CheckSynchronize());  // nothing left
}

TEST_F(ThreadTest, SynchronizeOnTheMainThreadRunsDirectly) {
    bool ran = false;
    TThread::Synchronize([&] { ran = true; });
    EXPECT_TRUE(ran);
}

TEST_F(ThreadTest, ExceptionInHandOverIsThrownInTheThread) {
    std::wstring caught;
    TLambdaThread thread([&](TLambdaThread&) {
        try {
            TThread::Synchronize([] { throw EConvertError(L"主线程出错"); });
        } catch (const Exception& e) {
            caught = e.Message();
        }
    });
    thread.Start();
    thread.WaitFor();
    EXPECT_EQ(caught, L"主线程出错");
    EXPECT_FALSE(thread.GetFatalException());
}

TEST_F(ThreadTest, ExceptionEscapingExecuteGoesToTheHandlerOnTheMainThread) {
    TThread* reported = nullptr;
    std::wstring message;
    bool onMainThread = false;
    SetThreadExceptionHandler([&](TThread* t, std::exception_ptr error) {
        reported = t;
        onMainThread = IsMainThread();
        try {
            std::rethrow_exception(error);
        } catch (const std::exception& e) {
            message = ExceptionMessage(e);
        }
    });
    int terminated = 0;
    TLambdaThread thread([](TLambdaThread&) { throw Exception(L"线程失败"); });
    thread.OnTerminate = [&](TObject* sender) {
        EXPECT_EQ(sender, &thread);
        EXPECT_TRUE(IsMainThread());
        ++terminated;
    };
    thread.Start();
    thread.WaitFor();
    EXPECT_EQ(reported, &thread);
    EXPECT_TRUE(onMainThread);
    EXPECT_EQ(message, L"线程失败");
    EXPECT_TRUE(thread.GetFatalException());
    EXPECT_EQ(terminated, 1);
}

// Signals an event from its destructor, so the test sees the self-deletion.
class TSelfFreeingThread : public TThread {
public:
    explicit TSelfFreeingThread(HANDLE destroyed) : destroyed_(destroyed) { SetFreeOnTerminate(true); }
    ~TSelfFreeingThread() override { SetEvent(destroyed_); }

protected:
    void Execute() override { TThread::Synchronize([] {}); }

private:
    HANDLE destroyed_;
};

TEST_F(ThreadTest, FreeOnTerminateDeletesTheThreadObject) {
    THandle destroyed(CreateEventW(nullptr, TRUE, FALSE, nullptr));
    auto* thread = new TSelfFreeingThread(destroyed.Get());
    THandle wait = thread->OpenWaitHandle();
    ASSERT_TRUE(wait.Valid());
    thread->Start();
    // Waiting on the duplicate serves the thread's hand-over, so it can end and free itself.
    EXPECT_EQ(WaitForHandle(wait.Get(), 10000), WAIT_OBJECT_0);
    EXPECT_EQ(WaitForSingleObject(destroyed.Get(), 0), WAIT_OBJECT_0);
}

TEST_F(ThreadTest, DestroyingStopsRunningAndNeverStartedThreads) {
    std::atomic<bool> executed{false};
    {
        TLambdaThread never([&](TLambdaThread&) { executed = true; });
        EXPECT_NE(never.GetHandle(), nullptr);
        EXPECT_NE(never.GetThreadID(), 0u);
    }
    EXPECT_FALSE(executed.load());
    std::atomic<int> loops{0};
    {
        TLambdaThread running([&](TLambdaThread& self) {
            while (!self.Terminated()) {
                ++loops;
                Sleep(1);
            }
        });
        running.Start();
        Sleep(30);
    }  // the destructor terminates and waits
    EXPECT_GT(loops.load(), 0);
}

TEST_F(ThreadTest, RunMakesAndStartsInOneStep) {
    std::unique_ptr<TLambdaThread> thread(
        TThread::Run<TLambdaThread>([](TLambdaThread& self) { self.SetReturnValue(3); }));
    EXPECT_EQ(thread->WaitFor(), 3);
    EXPECT_TRUE(thread->GetFinished());
}

TEST_F(ThreadTest, WaitForHandleTimesOut) {
    THandle never(CreateEventW(nullptr, TRUE, FALSE, nullptr));
    EXPECT_EQ(WaitForHandle(never.Get(), 30), static_cast<DWORD>(WAIT_TIMEOUT));
}

}  // namespace
}  // namespace vx
