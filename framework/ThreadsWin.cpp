// TThread and the hand-over of work to the main thread.
#include "framework/Threads.h"

#include <process.h>

#include <deque>

namespace vx {

namespace {

// The thread that initialised the program's statics: the main thread.
const DWORD g_mainThreadId = GetCurrentThreadId();

// One hand-over: the worker waits on `finished` under g_syncMutex.
struct SyncRequest {
    const std::function<void()>* Method = nullptr;
    std::exception_ptr Error;
    bool Finished = false;
};

std::mutex g_syncMutex;
std::condition_variable g_syncDone;
std::deque<SyncRequest*> g_syncQueue;
std::function<void()> g_wakeMainThread;
TThreadExceptionHandler g_exceptionHandler;

// Signalled while hand-overs wait, so a main thread blocked in WaitForHandle wakes up.
HANDLE SyncEvent() {
    static HANDLE event = CreateEventW(nullptr, TRUE, FALSE, nullptr);
    return event;
}

}  // namespace

bool IsMainThread() { return GetCurrentThreadId() == g_mainThreadId; }
DWORD MainThreadID() { return g_mainThreadId; }

std::function<void()> SetWakeMainThread(std::function<void()> wake) {
    std::lock_guard<std::mutex> lock(g_syncMutex);
    std::swap(g_wakeMainThread, wake);
    return wake;
}

TThreadExceptionHandler SetThreadExceptionHandler(TThreadExceptionHandler handler) {
    std::lock_guard<std::mutex> lock(g_syncMutex);
    std::swap(g_exceptionHandler, handler);
    return handler;
}

bool CheckSynchronize(DWORD timeoutMs) {
    if (!IsMainThread()) return false;
    if (timeoutMs > 0) WaitForSingleObject(SyncEvent(), timeoutMs);
    std::deque<SyncRequest*> pending;
    {
        std::lock_guard<std::mutex> lock(g_syncMutex);
        pending.swap(g_syncQueue);
        ResetEvent(SyncEvent());
    }
    for (SyncRequest* request : pending) {
        std::exception_ptr error;
        try {
            (*request->Method)();
        } catch (...) {
            error = std::current_exception();
        }
        std::lock_guard<std::mutex> lock(g_syncMutex);
        request->Error = error;
        request->Finished = true;
    }
    if (!pending.empty()) g_syncDone.notify_all();
    return !pending.empty();
}

void TThread::Synchronize(const std::function<void()>& method) {
    if (IsMainThread()) {
        method();
        return;
    }
    SyncRequest request;
    request.Method = &method;
    std::function<void()> wake;
    {
        std::lock_guard<std::mutex> lock(g_syncMutex);
        g_syncQueue.push_back(&request);
        SetEvent(SyncEvent());
        wake = g_wakeMainThread;
    }
    if (wake) wake();
    std::unique_lock<std::mutex> lock(g_syncMutex);
    g_syncDone.wait(lock, [&] { return request.Finished; });
    if (request.Error) std::rethrow_exception(request.Error);
}

DWORD WaitForHandle(HANDLE handle, DWORD timeoutMs) {
    if (!IsMainThread()) return WaitForSingleObject(handle, timeoutMs);
    const ULONGLONG start = GetTickCount64();
    for (;;) {
        DWORD left = INFINITE;
        if (timeoutMs != INFINITE) {
            const ULONGLONG spent = GetTickCount64() - start;
            left = spent >= timeoutMs ? 0 : static_cast<DWORD>(timeoutMs - spent);
        }
        HANDLE handles[2] = {handle, SyncEvent()};
        const DWORD r = MsgWaitForMultipleObjects(2, handles, FALSE, left, QS_SENDMESSAGE);
        if (r == WAIT_OBJECT_0) return WAIT_OBJECT_0;
        if (r == WAIT_OBJECT_0 + 1) {
            CheckSynchronize();
        } else if (r == WAIT_OBJECT_0 + 2) {
            // Sent messages are delivered by peeking; posted ones stay queued.
            MSG msg;
            PeekMessageW(&msg, nullptr, 0, 0, PM_NOREMOVE);
        } else if (r == WAIT_TIMEOUT) {
            return WAIT_TIMEOUT;
        } else {
            return WAIT_FAILED;
        }
    }
}

TThread::TThread() {
    unsigned id = 0;
    handle_.Reset(
        reinterpret_cast<HANDLE>(_beginthreadex(nullptr, 0, &TThread::ThreadProc, this, CREATE_SUSPENDED, &id)));
    if (!handle_) throw Exception(L"无法创建线程：" + SysErrorMessage(GetLastError()));
    threadId_ = id;
}

TThread::~TThread() {
    if (handle_ && GetCurrentThreadId() != threadId_) {
        if (!started_) {
            // Let the suspended thread run to its end without calling Execute.
            cancelled_ = true;
            started_ = true;
            ResumeThread(handle_.Get());
        } else {
            Terminate();
        }
        WaitForHandle(handle_.Get());
    }
}

THandle TThread::OpenWaitHandle() const {
    THandle copy;
    if (!DuplicateHandle(GetCurrentProcess(), handle_.Get(), GetCurrentProcess(), copy.Receive(), SYNCHRONIZE, FALSE,
                         0))
        return THandle();
    return copy;
}

void TThread::Start() {
    if (started_) return;
    started_ = true;
    ResumeThread(handle_.Get());
}

int TThread::WaitFor() {
    if (started_ && GetCurrentThreadId() != threadId_) WaitForHandle(handle_.Get());
    return returnValue_;
}

unsigned __stdcall TThread::ThreadProc(void* self) {
    auto* thread = static_cast<TThread*>(self);
    if (!thread->cancelled_) {
        try {
            thread->Execute();
        } catch (...) {
            thread->fatalException_ = std::current_exception();
        }
        TThreadExceptionHandler handler;
        {
            std::lock_guard<std::mutex> lock(g_syncMutex);
            handler = g_exceptionHandler;
        }
        if (thread->fatalException_ && handler) {
            try {
                Synchronize([&] { handler(thread, thread->fatalException_); });
            } catch (...) {
                // A failing handler must not take the process down.
            }
        }
        if (thread->OnTerminate) {
            try {
                Synchronize([&] { thread->OnTerminate(thread); });
            } catch (...) {
            }
        }
    }
    const auto result = static_cast<unsigned>(thread->returnValue_);
    const bool freeIt = thread->freeOnTerminate_ && !thread->cancelled_;
    thread->finished_ = true;
    if (freeIt) delete thread;
    return result;
}

}  // namespace vx
