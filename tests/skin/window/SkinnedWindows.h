#pragma once
// Shared pieces of the tests of skinned windows under Wine: a host form carrying the
// skin data component with the skin the build packs (as the main window carries it),
// and a message pump that waits for a condition.

#include <cstdint>
#include <fstream>
#include <iterator>
#include <vector>

#include "framework/Classes.h"
#include "framework/Forms.h"
#include "skin/data/SkinData.h"
#include "skin/window/SkinManage.h"

namespace vx::testing {

// Handles messages until `done` holds, or a generous number of rounds passed.
template <class F>
bool PumpUntil(F done, int rounds = 400) {
    for (int i = 0; i < rounds; ++i) {
        Application->ProcessMessages();
        if (done()) return true;
        ::Sleep(10);
    }
    return done();
}
// Handles messages for a number of rounds.
inline void Pump(int rounds = 10) {
    for (int i = 0; i < rounds; ++i) {
        Application->ProcessMessages();
        ::Sleep(10);
    }
}
// The whole of a file (the packed skin, say), empty when it cannot be read.
inline std::vector<char> ReadFile(const char* path) {
    std::ifstream in(path, std::ios::binary);
    return std::vector<char>(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

// Gives the skin data component the skin the build packs, as the program's resources
// carry it: a 32-bit length, then the packed skin.
inline void ReadProgramSkin(TSkinData& data) {
    const std::vector<char> blob = ReadFile(VX_TEST_SKIN_BLOB);
    TMemoryStream stream;
    const std::int32_t length = static_cast<std::int32_t>(blob.size());
    stream.WriteBuffer(&length, 4);
    if (!blob.empty()) stream.WriteBuffer(blob.data(), blob.size());
    stream.SetPosition(0);
    data.ReadSkinStream(stream);
}

// Installs the manager and builds a shown host form whose skin data holds the program's
// skin; the caller frees the form and then the manager (DestroySkinManager).
inline TForm* MakeSkinnedHost() {
    InstallWindowSkinning();
    auto* host = new TForm(nullptr);
    host->SetName(L"frmHost");
    auto* data = new TSkinData(host);
    data->SetActive(true);
    ReadProgramSkin(*data);
    host->FinishBuilding();  // loaded: the manager takes the skin data, hooks, activates
    host->SetBounds(40, 40, 300, 200);
    host->Show();
    return host;
}

}  // namespace vx::testing
