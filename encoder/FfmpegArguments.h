#pragma once
// How a conversion described by the encoder's options is asked of the ffmpeg engine:
// its argument list, and the Windows command line that carries it. Platform-free.

#include <string>
#include <vector>

#include "encoder/EncoderOptions.h"

namespace vx {

// The engine's arguments (without the program name). The engine reports its progress
// as key=value blocks on its standard output and its log, at the verbose level that
// includes the per-stream totals, on its standard error.
std::vector<std::wstring> BuildFfmpegArguments(const TEncoderOptions& options);

// The "-vf" filter chain for the engine; empty when the picture is left as it is.
std::wstring BuildVideoFilterChain(const TEncoderOptions& options);

// One argument quoted so that the Windows command-line rules (CommandLineToArgvW and
// the C runtime) read it back unchanged.
std::wstring QuoteWindowsArgument(const std::wstring& argument);

// Program path and arguments joined into one command line.
std::wstring JoinWindowsCommandLine(const std::wstring& program, const std::vector<std::wstring>& arguments);

// The bit rates shown in the status line's brackets, in kbit/s (0 when the conversion
// is quality-based or copies the stream).
int NominalVideoKbit(const TEncoderOptions& options);
int NominalAudioKbit(const TEncoderOptions& options);

}  // namespace vx
