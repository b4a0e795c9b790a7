#pragma once
// Threads with a synchronous hand-over to the main thread, and a multi-reader,
// single-writer lock.
//
// Hand-over: a worker calls TThread::Synchronize(callable); the callable runs on the
// main thread the next time it calls CheckSynchronize() (the application's message
// loop does, woken by the function given to SetWakeMainThread), and the worker waits
// until it has run. TMultiReadExclusiveWriteSynchronizer is platform-free; the rest
// exists on Windows only.

#include <atomic>
#include <condition_variable>
#include <exception>
#include <functional>
#include <map>
#include <mutex>
#include <thread>

#ifdef _WIN32
#include <windows.h>

#include "framework/Classes.h"
#include "framework/Handles.h"
#endif

namespace vx {

// Many readers or one writer. Re-entrant: a thread holding the write lock may take it
// again or take read locks; a thread holding a read lock may take it again, or ask for
// the write lock (it then waits for the other readers to leave).
class TMultiReadExclusiveWriteSynchronizer {
public:
    void BeginRead();
    void EndRead();
    // True when the caller got the lock without another writer getting in first. False
    // only when two readers upgraded at the same time: this caller's read lock was let
    // go while the other wrote, so data read before must be read again.
    bool BeginWrite();
    void EndWrite();

private:
    bool OthersReading(std::thread::id me) const;
    std::mutex mutex_;
    std::condition_variable changed_;
    std::thread::id writer_;
    int writeDepth_ = 0;
    int waitingWriters_ = 0;
    bool upgrading_ = false;
    std::map<std::thread::id, int> readers_;
};

// Scoped read and write holds on a TMultiReadExclusiveWriteSynchronizer: the lock is let
// go however the scope is left.
class TReadLock {
public:
    explicit TReadLock(TMultiReadExclusiveWriteSynchronizer& lock) : lock_(lock) { lock_.BeginRead(); }
    TReadLock(const TReadLock&) = delete;
    TReadLock& operator=(const TReadLock&) = delete;
    ~TReadLock() { lock_.EndRead(); }

private:
    TMultiReadExclusiveWriteSynchronizer& lock_;
};

class TWriteLock {
public:
    explicit TWriteLock(TMultiReadExclusiveWriteSynchronizer& lock) : lock_(lock), clean_(lock_.BeginWrite()) {}
    TWriteLock(const TWriteLock&) = delete;
    TWriteLock& operator=(const TWriteLock&) = delete;
    ~TWriteLock() { lock_.EndWrite(); }
    // False when another writer got in while this one upgraded from a read lock (see
    // BeginWrite): what was read before must be read again.
    bool Clean() const { return clean_; }

private:
    TMultiReadExclusiveWriteSynchronizer& lock_;
    bool clean_;
};

#ifdef _WIN32

class TThread;

// Receives an exception that escaped a thread's Execute; runs on the main thread.
using TThreadExceptionHandler = std::function<void(TThread* thread, std::exception_ptr error)>;

// A thread running the virtual Execute. Made suspended (Handle and ThreadID are valid at
// once); Start runs it. TThread::Run<T>(args...) makes and starts in one step. A C++ base
// constructor cannot start a virtual Execute safely, hence no "created running" flag.
class TThread : public TObject {
public:
    TThread();
    // A running thread is told to terminate and waited for (not for a thread that
    // frees itself: that one deletes itself on its own thread).
    ~TThread() override;

    // Makes a T with the arguments and starts it.
    template <class T, class... Args>
    static T* Run(Args&&... args) {
        T* thread = new T(std::forward<Args>(args)...);
        thread->Start();
        return thread;
    }

    // Runs a suspended thread (once; later calls do nothing).
    void Start();
    // Sets the Terminated flag; Execute is expected to look at it and return.
    void Terminate() { terminated_ = true; }
    bool GetTerminated() const { return terminated_; }
    // Deletes the object on its own thread after Execute (and OnTerminate) returned.
    bool GetFreeOnTerminate() const { return freeOnTerminate_; }
    void SetFreeOnTerminate(bool value) { freeOnTerminate_ = value; }
    // Waits until the thread has ended and returns ReturnValue. On the main thread it
    // keeps serving hand-overs (and sent messages) meanwhile, so a thread blocked in
    // Synchronize can finish. A never-started thread is not waited for.
    int WaitFor();
    int GetReturnValue() const { return returnValue_; }
    bool GetFinished() const { return finished_; }
    HANDLE GetHandle() const { return handle_.Get(); }
    // A duplicate of the thread handle that outlives the object, owned by the caller:
    // the way to wait for a thread that frees itself, e.g. WaitForHandle(h.Get()).
    THandle OpenWaitHandle() const;
    DWORD GetThreadID() const { return threadId_; }
    // The exception that escaped Execute, if any.
    std::exception_ptr GetFatalException() const { return fatalException_; }

    // Runs `method` on the main thread and waits until it has run; an exception thrown
    // by it is thrown again here. Called on the main thread it runs `method` directly.
    static void Synchronize(const std::function<void()>& method);

    // Fired on the main thread (through Synchronize) after Execute returned.
    TNotifyEvent OnTerminate;

protected:
    virtual void Execute() = 0;
    bool Terminated() const { return terminated_; }
    void SetReturnValue(int value) { returnValue_ = value; }

private:
    static unsigned __stdcall ThreadProc(void* self);
    THandle handle_;  // the thread, closed with the object
    DWORD threadId_ = 0;
    std::atomic<bool> terminated_{false};
    std::atomic<bool> finished_{false};
    bool started_ = false;
    bool cancelled_ = false;  // destroyed before it was started
    bool freeOnTerminate_ = false;
    int returnValue_ = 0;
    std::exception_ptr fatalException_;
};

// On the main thread: runs every pending hand-over (waiting up to `timeoutMs` for one
// to arrive); true when it ran something. Elsewhere it does nothing and returns false.
bool CheckSynchronize(DWORD timeoutMs = 0);
// Called (on the handing-over thread) whenever a hand-over is queued, so that the main
// thread's message loop wakes up, e.g. by posting it a message. Without one nothing is
// lost: the next CheckSynchronize picks the work up. Returns the previous function.
std::function<void()> SetWakeMainThread(std::function<void()> wake);
// Where exceptions escaping Execute go (the application shows them); none by default.
// Returns the previous handler.
TThreadExceptionHandler SetThreadExceptionHandler(TThreadExceptionHandler handler);
// Waits for a handle to be signalled. On the main thread it serves hand-overs and sent
// messages meanwhile. Returns WAIT_OBJECT_0 or WAIT_TIMEOUT (or WAIT_FAILED).
DWORD WaitForHandle(HANDLE handle, DWORD timeoutMs = INFINITE);
bool IsMainThread();
DWORD MainThreadID();

#endif

}  // namespace vx
