#pragma once
// Cuts the byte chunks read from a console program's output into lines. A line ends at
// CR, LF or CR LF; a CR LF pair split between two reads counts once; NUL bytes are
// dropped. The unfinished tail of each chunk is handed on as the beginning of a line,
// and handed on again, completed, when its end arrives. Platform-free.

#include <cstddef>
#include <functional>
#include <string>

namespace vx {

enum TOutputType { otEntireLine, otBeginningOfLine };
enum TReturnCode { rcCRLF, rcLF };

class TLineCutter {
public:
    // Receives each line (without its line end) and its type.
    using TLineSink = std::function<void(const std::string& line, TOutputType type)>;
    // Asked before each byte; true stops the cutting (the rest of the chunk is dropped).
    using TStopQuery = std::function<bool()>;

    // Forgets everything of an earlier run.
    void Reset();

    // Cuts one chunk. Complete lines go to `sink` as otEntireLine (empty ones too); a
    // non-empty unfinished tail is kept and handed on as otBeginningOfLine.
    void CutChunk(const char* data, std::size_t size, const TLineSink& sink, const TStopQuery& stop = nullptr);

    // A line written to the program's input, shown as output as well: appended to the
    // unfinished text when the last delivered line was a beginning of line, else taken
    // alone. It counts as complete when its first CR LF stands at its very end or its
    // first LF is its last character; it is then delivered (as it stands) as
    // otEntireLine and the unfinished text is cleared, otherwise it is delivered as
    // otBeginningOfLine and stays unfinished.
    void EchoInput(const std::string& line, bool lastWasPartial, const TLineSink& sink);

    // The unfinished text, delivered once more as otBeginningOfLine at the end of a run.
    const std::string& Pending() const { return pending_; }
    // How the last complete line ended: rcCRLF for CR LF, rcLF for a lone LF or CR.
    TReturnCode OutputReturnCode() const { return returnCode_; }
    // Whether the last byte taken from the last chunk was a CR.
    bool EndedWithCr() const { return endedWithCr_; }

private:
    std::string pending_;
    TReturnCode returnCode_ = rcCRLF;
    bool endedWithCr_ = false;
};

}  // namespace vx
