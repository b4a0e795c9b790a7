#include "process/LineCutter.h"

namespace vx {

void TLineCutter::Reset() {
    pending_.clear();
    returnCode_ = rcCRLF;
    endedWithCr_ = false;
}

void TLineCutter::CutChunk(const char* data, std::size_t size, const TLineSink& sink, const TStopQuery& stop) {
    std::string current = std::move(pending_);
    pending_.clear();
    const bool previousEndedWithCr = endedWithCr_;
    char lastTaken = '\0';
    bool tookAny = false;

    for (std::size_t i = 0; i < size; ++i) {
        if (stop && stop()) break;
        const char c = data[i];
        tookAny = true;
        lastTaken = c;
        if (c == '\0') continue;
        // The second half of a CR LF pair whose CR ended the previous chunk.
        if (c == '\n' && i == 0 && previousEndedWithCr) continue;
        if (c == '\r' || c == '\n') {
            if (c == '\r' && i + 1 < size && data[i + 1] == '\n') {
                ++i;
                lastTaken = '\n';
                returnCode_ = rcCRLF;
            } else {
                returnCode_ = rcLF;
            }
            sink(current, otEntireLine);
            current.clear();
            continue;
        }
        current += c;
    }

    if (tookAny) endedWithCr_ = lastTaken == '\r';
    pending_ = std::move(current);
    if (!pending_.empty()) sink(pending_, otBeginningOfLine);
}

void TLineCutter::EchoInput(const std::string& line, bool lastWasPartial, const TLineSink& sink) {
    pending_ = lastWasPartial ? pending_ + line : line;
    const std::size_t crlf = line.find("\r\n");
    const std::size_t lf = line.find('\n');
    const bool complete = (crlf != std::string::npos && crlf + 2 == line.size()) ||
                          (lf != std::string::npos && lf + 1 == line.size());
    if (complete) {
        const std::string whole = std::move(pending_);
        pending_.clear();
        sink(whole, otEntireLine);
    } else {
        sink(pending_, otBeginningOfLine);
    }
}

}  // namespace vx
