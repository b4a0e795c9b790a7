#pragma once
// Streams and string lists. TStream, TMemoryStream and TStrings/TStringList are
// platform-free; TFileStream and TResourceStream exist on Windows only.

#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "framework/Handles.h"
#include "framework/Object.h"
#include "framework/SysUtils.h"

namespace vx {

// The framework's event type: a handler called with the object that fired it.
using TNotifyEvent = std::function<void(TObject* Sender)>;

// Stream failures (short reads, files that cannot be opened, bad seeks).
class EStreamError : public Exception {
public:
    using Exception::Exception;
};
class EReadError : public EStreamError {
public:
    using EStreamError::EStreamError;
};
class EWriteError : public EStreamError {
public:
    using EStreamError::EStreamError;
};
class EFOpenError : public EStreamError {
public:
    using EStreamError::EStreamError;
};
// A string list index out of range.
class EStringListError : public Exception {
public:
    using Exception::Exception;
};

// Seek origins, as the platform's file functions count them.
enum TSeekOrigin { soBeginning = 0, soCurrent = 1, soEnd = 2 };

// A sequence of bytes with a position. Read and Write move as far as they can and
// return the byte count; ReadBuffer/WriteBuffer throw when they cannot move it all.
class TStream : public TObject {
public:
    virtual std::int32_t Read(void* buffer, std::int32_t count) = 0;
    virtual std::int32_t Write(const void* buffer, std::int32_t count) = 0;
    // Returns the new position; may go past the end (a later write fills the gap).
    virtual std::int64_t Seek(std::int64_t offset, TSeekOrigin origin) = 0;

    std::int64_t GetPosition() { return Seek(0, soCurrent); }
    void SetPosition(std::int64_t position) { Seek(position, soBeginning); }
    virtual std::int64_t GetSize();
    // Changes the size; the position is kept unless it would lie past the new end.
    virtual void SetSize(std::int64_t size) = 0;

    void ReadBuffer(void* buffer, std::int32_t count);    // throws EReadError
    void WriteBuffer(const void* buffer, std::int32_t count);  // throws EWriteError
    // Copies `count` bytes from the source's position on; count 0 copies the whole
    // source from its beginning. Returns the number of bytes copied.
    std::int64_t CopyFrom(TStream& source, std::int64_t count);
};

// A stream in memory; GetMemory() points at its bytes (valid until the size changes).
class TMemoryStream : public TStream {
public:
    std::int32_t Read(void* buffer, std::int32_t count) override;
    std::int32_t Write(const void* buffer, std::int32_t count) override;
    std::int64_t Seek(std::int64_t offset, TSeekOrigin origin) override;
    std::int64_t GetSize() override { return static_cast<std::int64_t>(data_.size()); }
    void SetSize(std::int64_t size) override;

    std::uint8_t* GetMemory() { return data_.data(); }
    const std::uint8_t* GetMemory() const { return data_.data(); }
    // Empties the stream and resets the position.
    void Clear();
    // Replaces the contents with the whole of `source` (from its beginning); position 0.
    void LoadFromStream(TStream& source);
    // Writes the whole contents to `dest` at its position.
    void SaveToStream(TStream& dest);
#ifdef _WIN32
    void LoadFromFile(const std::wstring& fileName);
    void SaveToFile(const std::wstring& fileName);
#endif

private:
    std::vector<std::uint8_t> data_;
    std::int64_t position_ = 0;
};

#ifdef _WIN32
// File open modes: one access mode combined with one share mode, or fmCreate.
enum : unsigned {
    fmOpenRead = 0x0000,
    fmOpenWrite = 0x0001,
    fmOpenReadWrite = 0x0002,
    fmShareCompat = 0x0000,
    fmShareExclusive = 0x0010,
    fmShareDenyWrite = 0x0020,
    fmShareDenyRead = 0x0030,
    fmShareDenyNone = 0x0040,
    // Creates the file (or empties an existing one) for reading and writing.
    fmCreate = 0xFF00,
};

// A stream over a file opened by wide path. Throws EFOpenError when it cannot open.
class TFileStream : public TStream {
public:
    // `mode`: fmCreate, or fmOpenXxx | fmShareXxx (fmCreate may also carry a share mode).
    TFileStream(const std::wstring& fileName, unsigned mode);
    std::int32_t Read(void* buffer, std::int32_t count) override;
    std::int32_t Write(const void* buffer, std::int32_t count) override;
    std::int64_t Seek(std::int64_t offset, TSeekOrigin origin) override;
    void SetSize(std::int64_t size) override;
    HANDLE GetHandle() const { return handle_.Get(); }
    const std::wstring& GetFileName() const { return fileName_; }

private:
    THandle handle_;
    std::wstring fileName_;
};

// A read-only stream over a resource of a module (RT_RCDATA, RT_BITMAP ...).
// Throws EResNotFound when the resource does not exist.
class EResNotFound : public Exception {
public:
    using Exception::Exception;
};
class TResourceStream : public TStream {
public:
    TResourceStream(HINSTANCE instance, const wchar_t* name, const wchar_t* type);
    // By numeric identifier (MAKEINTRESOURCE).
    TResourceStream(HINSTANCE instance, int id, const wchar_t* type);
    std::int32_t Read(void* buffer, std::int32_t count) override;
    std::int32_t Write(const void* buffer, std::int32_t count) override;  // throws
    std::int64_t Seek(std::int64_t offset, TSeekOrigin origin) override;
    std::int64_t GetSize() override { return size_; }
    void SetSize(std::int64_t size) override;  // throws
    const std::uint8_t* GetMemory() const { return data_; }

private:
    void Initialize(HINSTANCE instance, const wchar_t* name, const wchar_t* type);
    const std::uint8_t* data_ = nullptr;
    std::int64_t size_ = 0;
    std::int64_t position_ = 0;
};
#endif

// An ordered list of wide strings, each with an optional associated object. The base
// class keeps the storage-independent parts (text, name=value pairs, streaming).
class TStrings : public TPersistent {
    VX_DECLARE_CLASS(TStrings, TPersistent)
public:
    ~TStrings() override = default;

    virtual int GetCount() const = 0;
    virtual std::wstring Get(int index) const = 0;  // throws EStringListError
    virtual void Put(int index, const std::wstring& s) = 0;
    // The object stored with item `index`; also usable as a plain number.
    virtual TObject* GetObject(int index) const = 0;
    virtual void PutObject(int index, TObject* object) = 0;
    std::intptr_t GetData(int index) const { return reinterpret_cast<std::intptr_t>(GetObject(index)); }
    std::wstring operator[](int index) const { return Get(index); }

    // Returns the new item's index.
    virtual int Add(const std::wstring& s);
    virtual int AddObject(const std::wstring& s, TObject* object);
    int AddData(const std::wstring& s, std::intptr_t data) { return AddObject(s, reinterpret_cast<TObject*>(data)); }
    void AddStrings(const TStrings& strings);
    virtual void Insert(int index, const std::wstring& s) = 0;
    void InsertObject(int index, const std::wstring& s, TObject* object);
    virtual void Delete(int index) = 0;
    virtual void Clear() = 0;
    virtual void Exchange(int index1, int index2);
    // Moves item `curIndex` (with its object) so that it ends up at `newIndex`.
    virtual void Move(int curIndex, int newIndex);

    // Index of the first item equal to `s`, or -1. Case rule: see GetCaseSensitive.
    virtual int IndexOf(const std::wstring& s) const;
    int IndexOfObject(const TObject* object) const;
    // Index of the first "name=value" item with this name, or -1.
    int IndexOfName(const std::wstring& name) const;

    // Items joined, each followed by CR LF.
    virtual std::wstring GetText() const;
    // Replaces the items with the lines of `text`, split at CR LF, CR or LF. A final
    // line break does not make an empty last item.
    virtual void SetText(const std::wstring& text);
    // Items separated by commas; an item containing a space, comma or quote is quoted.
    std::wstring GetCommaText() const;

    // "name=value" items: the part before / after the first "=".
    std::wstring GetName(int index) const;
    std::wstring GetValueFromIndex(int index) const;
    // The value of the first item named `name`, or empty.
    std::wstring GetValue(const std::wstring& name) const;
    // Sets the value; an empty value deletes the item; a new name is appended.
    void SetValue(const std::wstring& name, const std::wstring& value);

    // Item comparisons follow this switch: false (the default) compares ASCII letters
    // without regard to case.
    bool GetCaseSensitive() const { return caseSensitive_; }
    virtual void SetCaseSensitive(bool value) { caseSensitive_ = value; }

    // Changes between BeginUpdate and the matching EndUpdate fire OnChange once, at
    // the end (only when something changed).
    void BeginUpdate();
    void EndUpdate();
    TNotifyEvent OnChanging;
    TNotifyEvent OnChange;

    // Copies the items and objects of another TStrings.
    bool Assign(const TPersistent& source) override;
    bool Equals(const TStrings& other) const;
    // Published: Text, Count (read-only).
    static void RegisterProperties(TPropertyRegistrar<TStrings>& r);

    // Text streams: UTF-16 LE with a byte-order mark is written; reading accepts UTF-16
    // LE/BE with BOM, UTF-8 with BOM, and otherwise UTF-8 (invalid UTF-8 falls back to
    // the system code page on Windows, Latin-1 elsewhere).
    void LoadFromStream(TStream& stream);
    void SaveToStream(TStream& stream) const;
#ifdef _WIN32
    void LoadFromFile(const std::wstring& fileName);
    void SaveToFile(const std::wstring& fileName) const;
#endif

protected:
    int CompareStrings(const std::wstring& a, const std::wstring& b) const;
    // Descendants call these around every change.
    void Changing();
    void Changed();
    // Called when BeginUpdate/EndUpdate enter or leave the updating state.
    virtual void SetUpdateState(bool updating) {}

private:
    bool caseSensitive_ = false;
    int updateCount_ = 0;
    bool changedWhileUpdating_ = false;
};

// The string list: unsorted, duplicates kept, items stored in a vector.
class TStringList : public TStrings {
    VX_DECLARE_CLASS(TStringList, TStrings)
public:
    TStringList() = default;
    int GetCount() const override { return static_cast<int>(items_.size()); }
    std::wstring Get(int index) const override;
    void Put(int index, const std::wstring& s) override;
    TObject* GetObject(int index) const override;
    void PutObject(int index, TObject* object) override;
    void Insert(int index, const std::wstring& s) override;
    void Delete(int index) override;
    void Clear() override;
    void Exchange(int index1, int index2) override;
    void Move(int curIndex, int newIndex) override;
    int Add(const std::wstring& s) override { return AddObject(s, nullptr); }
    int AddObject(const std::wstring& s, TObject* object) override;
    // Direct, copy-free access to item `index` (throws when out of range).
    const std::wstring& Strings(int index) const;

private:
    struct Item {
        std::wstring Text;
        TObject* Object = nullptr;
    };
    void CheckIndex(int index) const;
    std::vector<Item> items_;
};

// Decodes a text file's bytes (see TStrings::LoadFromStream) to UTF-16.
std::wstring DecodeText(const std::uint8_t* data, std::size_t size);

}  // namespace vx
