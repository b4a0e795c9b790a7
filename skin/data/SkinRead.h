#pragma once
// Skin archives: the LZHUF decompressor TLZH and the archive reader TSkinReader.
//
// A stored skin blob is a 4-byte little-endian length U followed by an LZHUF bit
// stream. Decompressed, the archive is a 16-byte header (version, name-list length and
// two words nobody reads), an extra block whose size depends on the version, the name
// list (one file name per line), a table of 32-bit sizes (one per name) and the files'
// bytes back to back. Names and contents are bytes: names are ANSI text, lower-cased
// on ASCII letters only.

#include <cstddef>
#include <cstdint>
#include <functional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "skin/data/LzhHuffman.h"

namespace vx {

class TStream;
class TMemoryStream;

using TByteSpan = std::span<const std::uint8_t>;
using TBytes = std::vector<std::uint8_t>;

// The decoder could not get memory for its tables.
class ElzhException : public std::exception {
public:
    explicit ElzhException(const char* message) : message_(message) {}
    const char* what() const noexcept override { return message_; }

private:
    const char* message_;
};

// Decodes an LZHUF bit stream. Input bytes are fetched one at a time; a fetch past
// the end of the input yields 0, so a short stream still ends after the announced
// number of bytes (of meaningless output).
class TLZH {
public:
    TLZH(TByteSpan input, TBytes& output) : input_(input), output_(output) {}
    // The input is only referenced: a temporary would be gone before Decode.
    TLZH(TBytes&& input, TBytes& output) = delete;

    // Appends exactly `count` bytes to the output, or a little more when the last
    // match runs past the count (up to 59 more bytes). A count <= 0 writes nothing.
    // Throws ElzhException when the decoding tables cannot be allocated.
    void Decode(std::int32_t count);

    // Tree rebuilds during the last Decode (the root frequency reached 0x8000).
    unsigned RebuildCount() const { return rebuilds_; }

private:
    int NextBit();
    int NextByte();
    void Fill();
    int DecodePosition();

    TByteSpan input_;
    TBytes& output_;
    std::size_t inputPos_ = 0;
    std::uint16_t bitBuffer_ = 0;
    unsigned bitCount_ = 0;
    unsigned rebuilds_ = 0;
};

// Receives the text of a message meant for the user (the "older skin file" notice).
using TSkinMessageNotifier = std::function<void(const std::wstring&)>;

// The notifier that new readers start with. On Windows it shows a plain information
// box; natively it does nothing. Tests replace it (a message box would block them).
// Returns the previous one.
TSkinMessageNotifier SetDefaultSkinMessageNotifier(TSkinMessageNotifier notifier);

class TSkinReader {
public:
    struct THeader {
        std::int32_t Version = 0;
        std::int32_t NameListLength = 0;
        std::int32_t Reserved1 = 0;  // read and not interpreted
        std::int32_t Reserved2 = 0;
    };

    // The table of sizes holds at most this many entries; an archive with more names
    // is rejected.
    static constexpr int MaxFiles = 1001;
    // Largest uncompressed length accepted from a stored blob. Real skins are well
    // under 1 MiB; the cap keeps a hostile or damaged length field from making the
    // decoder produce (and allocate) gigabytes.
    static constexpr std::int32_t MaxArchiveSize = 64 * 1024 * 1024;
    static const wchar_t* const OlderSkinMessage;

    TSkinReader();

    // Decompresses a stored blob and indexes the archive. False (and nothing indexed)
    // for an unknown version (after telling the user), a damaged or truncated archive,
    // or a length field outside 0..MaxArchiveSize.
    bool LoadArchive(TByteSpan blob);
    // The same over a stream: the blob is read from the stream's beginning to its end.
    bool LoadArchive(TStream& blob);
    // The second half of LoadArchive, on an already decompressed archive.
    bool IndexArchive(TByteSpan archive);

    // Replaces `out` with the first file whose name equals `name` lower-cased; leaves
    // it empty when there is none.
    void ExtractFile(std::string_view name, TBytes& out) const;
    // The same into a memory stream, left positioned at 0.
    void ExtractFile(std::string_view name, TMemoryStream& out) const;
    // Replaces `out` with the first file whose (lower-cased) name contains `text`
    // (compared as given) and sets `name` to that entry's name. When nothing matches,
    // `out` ends up empty and `name` is unchanged. Returns whether a file matched.
    bool ExtractFirstMatching(std::string_view text, TBytes& out, std::string& name) const;
    bool ExtractFirstMatching(std::string_view text, TMemoryStream& out, std::string& name) const;

    const std::vector<std::string>& Names() const { return names_; }
    int Count() const { return static_cast<int>(names_.size()); }
    std::int32_t Size(int index) const { return sizes_[static_cast<std::size_t>(index)]; }
    const THeader& Header() const { return header_; }
    const TBytes& Data() const { return data_; }

    // Where the "older skin file" notice goes; starts as the default notifier.
    TSkinMessageNotifier OnMessage;

    // ASCII lower-casing of bytes; other bytes are left alone.
    static std::string LowerCaseAscii(std::string_view text);
    // Splits a name list at CR, LF or CR LF; a NUL ends the text; a break after the
    // last line adds no entry.
    static std::vector<std::string> SplitLines(std::string_view text);

private:
    void Clear();
    void CopyEntry(int index, std::size_t offset, TBytes& out) const;

    THeader header_;
    std::vector<std::string> names_;
    std::vector<std::int32_t> sizes_;
    TBytes data_;
};

}  // namespace vx
