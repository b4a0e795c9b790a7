// The Windows part of Classes: file and resource streams, file loading and saving.
#include "framework/Classes.h"

#include <algorithm>
#include <cstring>
#include <limits>

namespace vx {

namespace {

// Share modes by (mode & 0xF0) >> 4: compatible and exclusive share nothing.
DWORD ShareMode(unsigned mode) {
    switch ((mode & 0xF0) >> 4) {
        case 2: return FILE_SHARE_READ;
        case 3: return FILE_SHARE_WRITE;
        case 4: return FILE_SHARE_READ | FILE_SHARE_WRITE;
        default: return 0;
    }
}

}  // namespace

// --- TFileStream ------------------------------------------------------------------------

TFileStream::TFileStream(const std::wstring& fileName, unsigned mode) : fileName_(fileName) {
    const bool create = (mode & 0xFF00) == fmCreate;
    DWORD access = GENERIC_READ;
    if (create || (mode & 3) == fmOpenReadWrite)
        access = GENERIC_READ | GENERIC_WRITE;
    else if ((mode & 3) == fmOpenWrite)
        access = GENERIC_WRITE;
    handle_.Reset(CreateFileW(fileName.c_str(), access, ShareMode(mode), nullptr,
                              create ? CREATE_ALWAYS : OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!handle_) {
        const DWORD error = GetLastError();
        throw EFOpenError((create ? L"无法创建文件“" : L"无法打开文件“") + fileName + L"”。" + SysErrorMessage(error));
    }
}

std::int32_t TFileStream::Read(void* buffer, std::int32_t count) {
    if (count <= 0) return 0;
    DWORD done = 0;
    if (!ReadFile(handle_.Get(), buffer, static_cast<DWORD>(count), &done, nullptr)) return 0;
    return static_cast<std::int32_t>(done);
}

std::int32_t TFileStream::Write(const void* buffer, std::int32_t count) {
    if (count <= 0) return 0;
    DWORD done = 0;
    if (!WriteFile(handle_.Get(), buffer, static_cast<DWORD>(count), &done, nullptr)) return 0;
    return static_cast<std::int32_t>(done);
}

std::int64_t TFileStream::Seek(std::int64_t offset, TSeekOrigin origin) {
    LARGE_INTEGER distance, result;
    distance.QuadPart = offset;
    if (!SetFilePointerEx(handle_.Get(), distance, &result, static_cast<DWORD>(origin)))
        throw EStreamError(L"文件定位错误：“" + fileName_ + L"”");
    return result.QuadPart;
}

void TFileStream::SetSize(std::int64_t size) {
    const std::int64_t position = GetPosition();
    Seek(size, soBeginning);
    if (!SetEndOfFile(handle_.Get())) {
        Seek(position, soBeginning);
        throw EStreamError(L"无法改变文件大小：“" + fileName_ + L"”");
    }
    Seek(std::min(position, size), soBeginning);
}

// --- TResourceStream ----------------------------------------------------------------------

TResourceStream::TResourceStream(HINSTANCE instance, const wchar_t* name, const wchar_t* type) {
    Initialize(instance, name, type);
}

TResourceStream::TResourceStream(HINSTANCE instance, int id, const wchar_t* type) {
    Initialize(instance, MAKEINTRESOURCEW(id), type);
}

void TResourceStream::Initialize(HINSTANCE instance, const wchar_t* name, const wchar_t* type) {
    HRSRC info = FindResourceW(instance, name, type);
    HGLOBAL global = info ? LoadResource(instance, info) : nullptr;
    const void* data = global ? LockResource(global) : nullptr;
    if (!data) {
        const std::wstring shown = IS_INTRESOURCE(name) ? L"#" + IntToStr(reinterpret_cast<std::uintptr_t>(name)) : name;
        throw EResNotFound(L"找不到资源“" + shown + L"”");
    }
    data_ = static_cast<const std::uint8_t*>(data);
    size_ = SizeofResource(instance, info);
}

std::int32_t TResourceStream::Read(void* buffer, std::int32_t count) {
    if (count <= 0 || position_ >= size_) return 0;
    const auto n = static_cast<std::int32_t>(std::min<std::int64_t>(count, size_ - position_));
    std::memcpy(buffer, data_ + position_, static_cast<std::size_t>(n));
    position_ += n;
    return n;
}

std::int32_t TResourceStream::Write(const void*, std::int32_t) { throw EStreamError(L"资源流不能写入"); }

std::int64_t TResourceStream::Seek(std::int64_t offset, TSeekOrigin origin) {
    std::int64_t base = origin == soCurrent ? position_ : (origin == soEnd ? size_ : 0);
    if (base + offset < 0) throw EStreamError(L"流定位错误：位置为负");
    position_ = base + offset;
    return position_;
}

void TResourceStream::SetSize(std::int64_t) { throw EStreamError(L"资源流不能改变大小"); }

// --- Files ------------------------------------------------------------------------------------

void TMemoryStream::LoadFromFile(const std::wstring& fileName) {
    TFileStream file(fileName, fmOpenRead | fmShareDenyWrite);
    LoadFromStream(file);
}

void TMemoryStream::SaveToFile(const std::wstring& fileName) {
    TFileStream file(fileName, fmCreate);
    SaveToStream(file);
}

void TStrings::LoadFromFile(const std::wstring& fileName) {
    TFileStream file(fileName, fmOpenRead | fmShareDenyWrite);
    LoadFromStream(file);
}

void TStrings::SaveToFile(const std::wstring& fileName) const {
    TFileStream file(fileName, fmCreate);
    SaveToStream(file);
}

}  // namespace vx
