// The stream-facing side of the archive reader and the INI reader: thin adapters from
// the framework's streams to the byte-oriented cores.

#include <algorithm>

#include "framework/Classes.h"
#include "skin/data/SkinIni.h"
#include "skin/data/SkinRead.h"

namespace vx {

namespace {

// The bytes from the stream's position to its end.
TBytes ReadRest(TStream& stream) {
    const std::int64_t left = std::max<std::int64_t>(0, stream.GetSize() - stream.GetPosition());
    TBytes bytes(static_cast<std::size_t>(left));
    std::size_t done = 0;
    while (done < bytes.size()) {
        const auto chunk = static_cast<std::int32_t>(std::min<std::size_t>(bytes.size() - done, 1 << 30));
        const std::int32_t n = stream.Read(bytes.data() + done, chunk);
        if (n <= 0)
            break;
        done += static_cast<std::size_t>(n);
    }
    bytes.resize(done);
    return bytes;
}

void Assign(TMemoryStream& out, const TBytes& bytes) {
    out.Clear();
    if (!bytes.empty())
        out.WriteBuffer(bytes.data(), static_cast<std::int32_t>(bytes.size()));
    out.SetPosition(0);
}

}  // namespace

bool TSkinReader::LoadArchive(TStream& blob) {
    blob.SetPosition(0);
    return LoadArchive(TByteSpan(ReadRest(blob)));
}

void TSkinReader::ExtractFile(std::string_view name, TMemoryStream& out) const {
    TBytes bytes;
    ExtractFile(name, bytes);
    Assign(out, bytes);
}

bool TSkinReader::ExtractFirstMatching(std::string_view text, TMemoryStream& out, std::string& name) const {
    TBytes bytes;
    const bool found = ExtractFirstMatching(text, bytes, name);
    Assign(out, bytes);
    return found;
}

void TQuickIni::LoadFromStream(TStream* stream) {
    if (!stream)
        return;
    const TBytes bytes = ReadRest(*stream);
    LoadFromText(std::string_view(reinterpret_cast<const char*>(bytes.data()), bytes.size()));
}

}  // namespace vx
