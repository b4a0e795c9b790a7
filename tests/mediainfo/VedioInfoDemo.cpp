// Shows the information window for the file named on the command line, with the
// MediaInfo library from codecs\ beside this program; used for screenshots and for
// looking at the window by hand.
#include <windows.h>

#include "mediainfo/VedioInfo.h"

int wmain(int argc, wchar_t** argv) {
    if (argc < 2) return 2;
    wchar_t full[MAX_PATH];
    if (!GetFullPathNameW(argv[1], MAX_PATH, full, nullptr)) return 2;
    return vx::ShowFileInfo(full) ? 0 : 1;
}
