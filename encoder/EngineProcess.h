#pragma once
// Runs the ffmpeg engine as a child process with its standard output and standard
// error on two pipes, read on two threads into one queue of lines. The child is put in
// a job object that kills it when the job's last handle closes, so it ends with this
// program however this program ends (also when it is terminated from outside).

#include <windows.h>

#include <condition_variable>
#include <deque>
#include <memory>
#include <mutex>
#include <string>

#include "framework/Handles.h"

namespace vx {

struct TEngineLine {
    bool FromStdout = false;  // a progress line; otherwise a log line
    std::string Text;         // without its line end
};

class TEngineProcess {
public:
    TEngineProcess() = default;
    TEngineProcess(const TEngineProcess&) = delete;
    TEngineProcess& operator=(const TEngineProcess&) = delete;
    // Ends the child if it still runs and waits for the reader threads.
    ~TEngineProcess();

    // Starts `program` with the full `commandLine`. On failure returns false and
    // describes the failure in `error`. `warning` receives a note when the child could
    // not be tied to this process's life.
    bool Start(const std::wstring& program, const std::wstring& commandLine, std::wstring& error,
               std::wstring& warning);

    // Waits for the next line of either stream; false when both streams have ended, or
    // a moment after the child has ended: a process that inherited a copy of a pipe's
    // writing end (a console host, say) must not keep this program waiting.
    bool NextLine(TEngineLine& line);

    // Waits for the child to end and returns its exit code.
    unsigned long Wait();

    // The lines read so far; shared with the reader threads, which may outlive this
    // object when a pipe never reaches its end.
    struct TLineQueue {
        std::mutex Lock;
        std::condition_variable Ready;
        std::deque<TEngineLine> Lines;
        int OpenStreams = 0;
        void Push(bool fromStdout, std::string text);
    };

private:
    THandle Job;
    THandle Process;
    THandle Readers[2];
    std::shared_ptr<TLineQueue> Queue = std::make_shared<TLineQueue>();
};

}  // namespace vx
