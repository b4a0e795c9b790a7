#pragma once
// Test access to the library binding's process-wide state. The program never calls
// these; they live in the binding's unit because they read and reset its state.

#include <windows.h>

#include <array>

#include "mediainfo/MediaInfoDll.h"

namespace vx {

// The library handle held by the binding, null when none.
HMODULE MediaInfoLibraryHandle();

// The current slot values in resolution order, as untyped addresses.
std::array<void*, 20> MediaInfoSlotValues();

// Forgets the held library (without unloading it) and clears every slot, as at process
// start, so that one test process can try several libraries.
void ForgetMediaInfoLibrary();

}  // namespace vx
