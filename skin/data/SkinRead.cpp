#include "skin/data/SkinRead.h"

#include <algorithm>
#include <cstring>
#include <memory>
#include <new>

#ifdef _WIN32
#include <windows.h>
#endif

#include "skin/data/SkinArchiveFormat.h"

namespace vx {

// --- TLZH ------------------------------------------------------------------------------

namespace {

// Everything one Decode needs besides the streams; allocated per call.
struct TDecodeTables {
    lzh::TLzhTree tree;
    std::uint8_t text[lzh::TEXT_SIZE];
};

std::int32_t ReadInt32(const std::uint8_t* p) {
    const std::uint32_t v = static_cast<std::uint32_t>(p[0]) | (static_cast<std::uint32_t>(p[1]) << 8) |
                            (static_cast<std::uint32_t>(p[2]) << 16) |
                            (static_cast<std::uint32_t>(p[3]) << 24);
    return static_cast<std::int32_t>(v);
}

}  // namespace

void TLZH::Fill() {
    while (bitCount_ <= 8) {
        const unsigned b = inputPos_ < input_.size() ? input_[inputPos_] : 0u;
        ++inputPos_;  // past the end every fetch yields 0
        bitBuffer_ = static_cast<std::uint16_t>(bitBuffer_ | (b << (8 - bitCount_)));
        bitCount_ += 8;
    }
}

int TLZH::NextBit() {
    Fill();
    const int bit = bitBuffer_ >> 15;
    bitBuffer_ = static_cast<std::uint16_t>(bitBuffer_ << 1);
    --bitCount_;
    return bit;
}

int TLZH::NextByte() {
    Fill();
    const int byte = bitBuffer_ >> 8;
    bitBuffer_ = static_cast<std::uint16_t>(bitBuffer_ << 8);
    bitCount_ -= 8;
    return byte;
}

int TLZH::DecodePosition() {
    const int first = NextByte();
    const int high = lzh::d_code[first];
    int i = first;
    for (int j = lzh::d_len[first] - 2; j > 0; --j)
        i = (i << 1) + NextBit();
    return (high << 6) | (i & 0x3F);
}

void TLZH::Decode(std::int32_t count) {
    std::unique_ptr<TDecodeTables> tables;
    try {
        tables = std::make_unique<TDecodeTables>();
    } catch (const std::bad_alloc&) {
        throw ElzhException("LZH : Cannot get memory for dictionary tables");
    }
    lzh::TLzhTree& tree = tables->tree;
    std::uint8_t* text = tables->text;
    bitBuffer_ = 0;
    bitCount_ = 0;

    // The window starts as spaces; the bytes past them are never referenced by a
    // sound stream but are zeroed so a hostile one reads defined values.
    std::memset(text, ' ', lzh::TEXT_START);
    std::memset(text + lzh::TEXT_START, 0, lzh::TEXT_SIZE - lzh::TEXT_START);
    int r = lzh::TEXT_START;

    auto bit = [this] { return NextBit(); };
    std::int32_t written = 0;
    while (written < count) {
        const int c = tree.DecodeSymbol(bit);
        if (c < 256) {
            output_.push_back(static_cast<std::uint8_t>(c));
            text[r] = static_cast<std::uint8_t>(c);
            r = (r + 1) & (lzh::N - 1);
            ++written;
        } else {
            const int start = (r - DecodePosition() - 1) & (lzh::N - 1);
            const int length = c - 255 + lzh::THRESHOLD;
            for (int k = 0; k < length; ++k) {
                const std::uint8_t b = text[(start + k) & (lzh::N - 1)];
                output_.push_back(b);
                text[r] = b;
                r = (r + 1) & (lzh::N - 1);
                ++written;
            }
        }
    }
    rebuilds_ = tree.RebuildCount();
}

// --- TSkinReader -----------------------------------------------------------------------

const wchar_t* const TSkinReader::OlderSkinMessage =
    L"This is Older Skin File\rPlease update to new version !";

namespace {

TSkinMessageNotifier& DefaultNotifier() {
#ifdef _WIN32
    static TSkinMessageNotifier notifier = [](const std::wstring& text) {
        MessageBoxW(GetActiveWindow(), text.c_str(), L"程序", MB_OK | MB_ICONINFORMATION);
    };
#else
    static TSkinMessageNotifier notifier = [](const std::wstring&) {};
#endif
    return notifier;
}

}  // namespace

TSkinMessageNotifier SetDefaultSkinMessageNotifier(TSkinMessageNotifier notifier) {
    TSkinMessageNotifier previous = std::move(DefaultNotifier());
    DefaultNotifier() = std::move(notifier);
    return previous;
}

TSkinReader::TSkinReader() : OnMessage(DefaultNotifier()) {}

std::string TSkinReader::LowerCaseAscii(std::string_view text) {
    std::string s(text);
    for (char& ch : s)
        if (ch >= 'A' && ch <= 'Z')
            ch = static_cast<char>(ch - 'A' + 'a');
    return s;
}

std::vector<std::string> TSkinReader::SplitLines(std::string_view text) {
    const std::size_t nul = text.find('\0');
    if (nul != std::string_view::npos)
        text = text.substr(0, nul);
    std::vector<std::string> lines;
    std::size_t i = 0;
    while (i < text.size()) {
        std::size_t end = i;
        while (end < text.size() && text[end] != '\r' && text[end] != '\n')
            ++end;
        lines.emplace_back(text.substr(i, end - i));
        i = end;
        if (i < text.size() && text[i] == '\r')
            ++i;
        if (i < text.size() && text[i] == '\n')
            ++i;
    }
    return lines;
}

void TSkinReader::Clear() {
    header_ = THeader{};
    names_.clear();
    sizes_.clear();
    data_.clear();
}

bool TSkinReader::LoadArchive(TByteSpan blob) {
    Clear();
    if (blob.size() < 4)
        return false;
    const std::int32_t length = ReadInt32(blob.data());
    if (length > MaxArchiveSize)
        return false;
    TBytes archive;
    TLZH lzh(blob.subspan(4), archive);
    lzh.Decode(length);
    // A copy under way finishes even past the length; the archive is `length` long.
    if (length >= 0 && archive.size() > static_cast<std::size_t>(length))
        archive.resize(static_cast<std::size_t>(length));
    return IndexArchive(archive);
}

bool TSkinReader::IndexArchive(TByteSpan archive) {
    Clear();
    // An archive too short for its header has no version: it is an unknown one.
    THeader header;
    if (archive.size() >= 16) {
        header.Version = ReadInt32(archive.data());
        header.NameListLength = ReadInt32(archive.data() + 4);
        header.Reserved1 = ReadInt32(archive.data() + 8);
        header.Reserved2 = ReadInt32(archive.data() + 12);
    }
    const int extra = SkinArchiveExtraBlockSize(header.Version);
    if (archive.size() < 16 || extra < 0) {
        if (OnMessage)
            OnMessage(OlderSkinMessage);
        return false;
    }

    // Every bound below is checked in 64 bits against what is really there, so no
    // field of a damaged archive can make a read run past the buffer.
    const std::uint64_t total = archive.size();
    const std::int64_t nameListLength = header.NameListLength;
    std::uint64_t pos = 16 + static_cast<std::uint64_t>(extra);
    if (nameListLength < 0 || pos + static_cast<std::uint64_t>(nameListLength) > total)
        return false;
    const std::string nameText(reinterpret_cast<const char*>(archive.data() + pos),
                               static_cast<std::size_t>(nameListLength));
    pos += static_cast<std::uint64_t>(nameListLength);

    std::vector<std::string> names = SplitLines(LowerCaseAscii(nameText));
    if (names.size() > static_cast<std::size_t>(MaxFiles))
        return false;
    if (pos + 4 * names.size() > total)
        return false;
    std::vector<std::int32_t> sizes(names.size());
    std::uint64_t sum = 0;
    for (std::size_t i = 0; i < names.size(); ++i) {
        sizes[i] = ReadInt32(archive.data() + pos + 4 * i);
        if (sizes[i] < 0)
            return false;
        sum += static_cast<std::uint64_t>(sizes[i]);
    }
    pos += 4 * names.size();
    if (sum > total - pos)
        return false;

    header_ = header;
    names_ = std::move(names);
    sizes_ = std::move(sizes);
    data_.assign(archive.begin() + static_cast<std::ptrdiff_t>(pos), archive.end());
    return true;
}

void TSkinReader::CopyEntry(int index, std::size_t offset, TBytes& out) const {
    // IndexArchive guaranteed that every file lies inside the data area.
    const auto begin = data_.begin() + static_cast<std::ptrdiff_t>(offset);
    out.assign(begin, begin + sizes_[static_cast<std::size_t>(index)]);
}

void TSkinReader::ExtractFile(std::string_view name, TBytes& out) const {
    out.clear();
    const std::string wanted = LowerCaseAscii(name);
    std::size_t offset = 0;
    for (int i = 0; i < Count(); ++i) {
        if (names_[static_cast<std::size_t>(i)] == wanted) {
            CopyEntry(i, offset, out);
            return;
        }
        offset += static_cast<std::size_t>(sizes_[static_cast<std::size_t>(i)]);
    }
}

bool TSkinReader::ExtractFirstMatching(std::string_view text, TBytes& out, std::string& name) const {
    out.clear();
    std::size_t offset = 0;
    for (int i = 0; i < Count(); ++i) {
        const std::string& entry = names_[static_cast<std::size_t>(i)];
        if (entry.find(text) != std::string::npos) {
            CopyEntry(i, offset, out);
            name = entry;
            return true;
        }
        offset += static_cast<std::size_t>(sizes_[static_cast<std::size_t>(i)]);
    }
    return false;
}

}  // namespace vx
