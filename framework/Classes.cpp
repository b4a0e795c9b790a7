#include "framework/Classes.h"

#include <algorithm>
#include <cstring>
#include <limits>
#include <utility>

namespace vx {

// --- TStream ------------------------------------------------------------------------

std::int64_t TStream::GetSize() {
    const std::int64_t position = Seek(0, soCurrent);
    const std::int64_t size = Seek(0, soEnd);
    Seek(position, soBeginning);
    return size;
}

// Both loop: a stream may move fewer bytes per call than asked (a pipe, a slow file)
// without being at its end; only a call that moves nothing ends the attempt.
void TStream::ReadBuffer(void* buffer, std::int32_t count) {
    auto* p = static_cast<std::uint8_t*>(buffer);
    while (count > 0) {
        const std::int32_t n = Read(p, count);
        if (n <= 0) throw EReadError(L"流读取错误：数据不足");
        p += n;
        count -= n;
    }
}

void TStream::WriteBuffer(const void* buffer, std::int32_t count) {
    auto* p = static_cast<const std::uint8_t*>(buffer);
    while (count > 0) {
        const std::int32_t n = Write(p, count);
        if (n <= 0) throw EWriteError(L"流写入错误");
        p += n;
        count -= n;
    }
}

std::int64_t TStream::CopyFrom(TStream& source, std::int64_t count) {
    if (count == 0) {
        source.SetPosition(0);
        count = source.GetSize();
    }
    std::vector<std::uint8_t> buffer(static_cast<std::size_t>(std::min<std::int64_t>(count, 0xF000)) + 1);
    std::int64_t left = count;
    while (left > 0) {
        const auto n = static_cast<std::int32_t>(std::min<std::int64_t>(left, 0xF000));
        source.ReadBuffer(buffer.data(), n);
        WriteBuffer(buffer.data(), n);
        left -= n;
    }
    return count;
}

// --- TMemoryStream ---------------------------------------------------------------------

std::int32_t TMemoryStream::Read(void* buffer, std::int32_t count) {
    const auto size = static_cast<std::int64_t>(data_.size());
    if (count <= 0 || position_ >= size) return 0;
    const auto n = static_cast<std::int32_t>(std::min<std::int64_t>(count, size - position_));
    std::memcpy(buffer, data_.data() + position_, static_cast<std::size_t>(n));
    position_ += n;
    return n;
}

std::int32_t TMemoryStream::Write(const void* buffer, std::int32_t count) {
    if (count <= 0) return 0;
    const std::int64_t end = position_ + count;
    if (end > static_cast<std::int64_t>(data_.size())) data_.resize(static_cast<std::size_t>(end));
    std::memcpy(data_.data() + position_, buffer, static_cast<std::size_t>(count));
    position_ = end;
    return count;
}

std::int64_t TMemoryStream::Seek(std::int64_t offset, TSeekOrigin origin) {
    std::int64_t base = 0;
    if (origin == soCurrent) base = position_;
    if (origin == soEnd) base = static_cast<std::int64_t>(data_.size());
    const std::int64_t target = base + offset;
    if (target < 0) throw EStreamError(L"流定位错误：位置为负");
    position_ = target;
    return position_;
}

void TMemoryStream::SetSize(std::int64_t size) {
    if (size < 0) throw EStreamError(L"流大小无效");
    data_.resize(static_cast<std::size_t>(size));
    if (position_ > size) position_ = size;
}

void TMemoryStream::Clear() {
    data_.clear();
    data_.shrink_to_fit();
    position_ = 0;
}

void TMemoryStream::LoadFromStream(TStream& source) {
    source.SetPosition(0);
    const std::int64_t size = source.GetSize();
    if (size > std::numeric_limits<std::int32_t>::max()) throw EStreamError(L"流太大");
    std::vector<std::uint8_t> data(static_cast<std::size_t>(size));
    source.ReadBuffer(data.data(), static_cast<std::int32_t>(size));
    data_ = std::move(data);
    position_ = 0;
}

void TMemoryStream::SaveToStream(TStream& dest) {
    dest.WriteBuffer(data_.data(), static_cast<std::int32_t>(data_.size()));
}

// --- Text decoding ------------------------------------------------------------------------

namespace {

bool IsValidUtf8(const std::uint8_t* p, std::size_t n) {
    std::size_t i = 0;
    while (i < n) {
        const std::uint8_t b = p[i];
        if (b < 0x80) {
            ++i;
            continue;
        }
        std::size_t extra = 0;
        std::uint8_t low = 0x80, high = 0xBF;  // allowed range of the second byte
        if (b >= 0xC2 && b <= 0xDF) extra = 1;
        else if (b >= 0xE0 && b <= 0xEF) extra = 2, low = b == 0xE0 ? 0xA0 : 0x80, high = b == 0xED ? 0x9F : 0xBF;
        else if (b >= 0xF0 && b <= 0xF4) extra = 3, low = b == 0xF0 ? 0x90 : 0x80, high = b == 0xF4 ? 0x8F : 0xBF;
        else return false;
        if (i + extra >= n) return false;
        if (p[i + 1] < low || p[i + 1] > high) return false;
        for (std::size_t k = 2; k <= extra; ++k)
            if ((p[i + k] & 0xC0) != 0x80) return false;
        i += extra + 1;
    }
    return true;
}

std::wstring DecodeUtf16(const std::uint8_t* p, std::size_t n, bool bigEndian) {
    std::wstring r;
    r.reserve(n / 2);
    for (std::size_t i = 0; i + 1 < n; i += 2) {
        const unsigned unit = bigEndian ? (p[i] << 8 | p[i + 1]) : (p[i] | p[i + 1] << 8);
        r += static_cast<wchar_t>(unit);
    }
    return r;
}

std::wstring DecodeLegacy(const std::uint8_t* p, std::size_t n) {
#ifdef _WIN32
    // The system code page (kept here: this file must not need the Windows library).
    const int count = MultiByteToWideChar(CP_ACP, 0, reinterpret_cast<const char*>(p), static_cast<int>(n), nullptr, 0);
    std::wstring r(static_cast<std::size_t>(count > 0 ? count : 0), L'\0');
    if (count > 0)
        MultiByteToWideChar(CP_ACP, 0, reinterpret_cast<const char*>(p), static_cast<int>(n), r.data(), count);
    return r;
#else
    return std::wstring(p, p + n);  // Latin-1
#endif
}

}  // namespace

std::wstring DecodeText(const std::uint8_t* data, std::size_t size) {
    if (size >= 2 && data[0] == 0xFF && data[1] == 0xFE) return DecodeUtf16(data + 2, size - 2, false);
    if (size >= 2 && data[0] == 0xFE && data[1] == 0xFF) return DecodeUtf16(data + 2, size - 2, true);
    if (size >= 3 && data[0] == 0xEF && data[1] == 0xBB && data[2] == 0xBF)
        return Utf8ToWide(std::string_view(reinterpret_cast<const char*>(data + 3), size - 3));
    if (IsValidUtf8(data, size)) return Utf8ToWide(std::string_view(reinterpret_cast<const char*>(data), size));
    return DecodeLegacy(data, size);
}

// --- TStrings -------------------------------------------------------------------------------

VX_IMPLEMENT_CLASS_WITH_PROPERTIES(TStrings, TPersistent)

void TStrings::RegisterProperties(TPropertyRegistrar<TStrings>& r) {
    r.Text(L"Text", &TStrings::GetText, &TStrings::SetText).Integer(L"Count", &TStrings::GetCount);
}

int TStrings::Add(const std::wstring& s) {
    const int index = GetCount();
    Insert(index, s);
    return index;
}

int TStrings::AddObject(const std::wstring& s, TObject* object) {
    TUpdateGuard update(*this);
    const int index = Add(s);
    PutObject(index, object);
    return index;
}

void TStrings::AddStrings(const TStrings& strings) {
    TUpdateGuard update(*this);
    for (int i = 0; i < strings.GetCount(); ++i) AddObject(strings.Get(i), strings.GetObject(i));
}

void TStrings::InsertObject(int index, const std::wstring& s, TObject* object) {
    TUpdateGuard update(*this);
    Insert(index, s);
    PutObject(index, object);
}

void TStrings::Exchange(int index1, int index2) {
    TUpdateGuard update(*this);
    const std::wstring s1 = Get(index1), s2 = Get(index2);
    TObject* o1 = GetObject(index1);
    TObject* o2 = GetObject(index2);
    Put(index1, s2);
    PutObject(index1, o2);
    Put(index2, s1);
    PutObject(index2, o1);
}

void TStrings::Move(int curIndex, int newIndex) {
    if (curIndex == newIndex) return;
    TUpdateGuard update(*this);
    const std::wstring s = Get(curIndex);
    TObject* o = GetObject(curIndex);
    Delete(curIndex);
    InsertObject(newIndex, s, o);
}

int TStrings::CompareStrings(const std::wstring& a, const std::wstring& b) const {
    return caseSensitive_ ? CompareStr(a, b) : CompareText(a, b);
}

int TStrings::IndexOf(const std::wstring& s) const {
    for (int i = 0; i < GetCount(); ++i)
        if (CompareStrings(Get(i), s) == 0) return i;
    return -1;
}

int TStrings::IndexOfObject(const TObject* object) const {
    for (int i = 0; i < GetCount(); ++i)
        if (GetObject(i) == object) return i;
    return -1;
}

int TStrings::IndexOfName(const std::wstring& name) const {
    for (int i = 0; i < GetCount(); ++i) {
        const std::wstring s = Get(i);
        const std::size_t eq = s.find(L'=');
        if (eq != std::wstring::npos && CompareStrings(s.substr(0, eq), name) == 0) return i;
    }
    return -1;
}

std::wstring TStrings::GetText() const {
    std::wstring r;
    for (int i = 0; i < GetCount(); ++i) {
        r += Get(i);
        r += L"\r\n";
    }
    return r;
}

void TStrings::SetText(const std::wstring& text) {
    TUpdateGuard update(*this);
    Clear();
    std::size_t start = 0;
    const std::size_t n = text.size();
    while (start < n) {
        std::size_t end = start;
        while (end < n && text[end] != L'\r' && text[end] != L'\n') ++end;
        Add(text.substr(start, end - start));
        if (end < n) end += (text[end] == L'\r' && end + 1 < n && text[end + 1] == L'\n') ? 2 : 1;
        start = end;
    }
}

std::wstring TStrings::GetCommaText() const {
    std::wstring r;
    for (int i = 0; i < GetCount(); ++i) {
        const std::wstring s = Get(i);
        if (i > 0) r += L',';
        const bool quote = s.empty() || s.find_first_of(L" ,\"") != std::wstring::npos ||
                           std::any_of(s.begin(), s.end(), [](wchar_t c) { return c < 32; });
        if (!quote) {
            r += s;
            continue;
        }
        r += L'"';
        for (wchar_t c : s) {
            if (c == L'"') r += L'"';
            r += c;
        }
        r += L'"';
    }
    return r;
}

std::wstring TStrings::GetName(int index) const {
    const std::wstring s = Get(index);
    const std::size_t eq = s.find(L'=');
    return eq == std::wstring::npos ? std::wstring() : s.substr(0, eq);
}

std::wstring TStrings::GetValueFromIndex(int index) const {
    const std::wstring s = Get(index);
    const std::size_t eq = s.find(L'=');
    return eq == std::wstring::npos ? std::wstring() : s.substr(eq + 1);
}

std::wstring TStrings::GetValue(const std::wstring& name) const {
    const int i = IndexOfName(name);
    return i < 0 ? std::wstring() : GetValueFromIndex(i);
}

void TStrings::SetValue(const std::wstring& name, const std::wstring& value) {
    const int i = IndexOfName(name);
    if (value.empty()) {
        if (i >= 0) Delete(i);
        return;
    }
    if (i >= 0)
        Put(i, name + L"=" + value);
    else
        Add(name + L"=" + value);
}

void TStrings::BeginUpdate() {
    if (updateCount_++ == 0) SetUpdateState(true);
}

void TStrings::EndUpdate() {
    if (updateCount_ == 0) return;
    if (--updateCount_ == 0) {
        SetUpdateState(false);
        if (changedWhileUpdating_) {
            changedWhileUpdating_ = false;
            if (OnChange) OnChange(this);
        }
    }
}

void TStrings::Changing() {
    if (updateCount_ > 0) {
        if (!changedWhileUpdating_ && OnChanging) OnChanging(this);
        changedWhileUpdating_ = true;
        return;
    }
    if (OnChanging) OnChanging(this);
}

void TStrings::Changed() {
    if (updateCount_ > 0) {
        changedWhileUpdating_ = true;
        return;
    }
    if (OnChange) OnChange(this);
}

bool TStrings::Assign(const TPersistent& source) {
    auto* other = dynamic_cast<const TStrings*>(&source);
    if (!other) return false;
    if (other == this) return true;
    TUpdateGuard update(*this);
    Clear();
    caseSensitive_ = other->caseSensitive_;
    AddStrings(*other);
    return true;
}

bool TStrings::Equals(const TStrings& other) const {
    if (GetCount() != other.GetCount()) return false;
    for (int i = 0; i < GetCount(); ++i)
        if (Get(i) != other.Get(i)) return false;
    return true;
}

void TStrings::LoadFromStream(TStream& stream) {
    const std::int64_t left = stream.GetSize() - stream.GetPosition();
    std::vector<std::uint8_t> bytes(static_cast<std::size_t>(std::max<std::int64_t>(left, 0)));
    const std::int32_t n = bytes.empty() ? 0 : stream.Read(bytes.data(), static_cast<std::int32_t>(bytes.size()));
    SetText(DecodeText(bytes.data(), static_cast<std::size_t>(n)));
}

void TStrings::SaveToStream(TStream& stream) const {
    const std::wstring text = GetText();
    std::vector<std::uint8_t> bytes{0xFF, 0xFE};
    bytes.reserve(2 + text.size() * 2);
    for (wchar_t c : text) {
        const auto u = static_cast<std::uint32_t>(c);
        bytes.push_back(static_cast<std::uint8_t>(u & 0xFF));
        bytes.push_back(static_cast<std::uint8_t>((u >> 8) & 0xFF));
    }
    stream.WriteBuffer(bytes.data(), static_cast<std::int32_t>(bytes.size()));
}

// --- TStringList ---------------------------------------------------------------------------

VX_IMPLEMENT_CLASS(TStringList, TStrings)

void TStringList::CheckIndex(int index) const {
    if (index < 0 || index >= GetCount())
        throw EStringListError(L"列表索引越界 (" + IntToStr(index) + L")");
}

const std::wstring& TStringList::Strings(int index) const {
    CheckIndex(index);
    return items_[static_cast<std::size_t>(index)].Text;
}

std::wstring TStringList::Get(int index) const { return Strings(index); }

void TStringList::Put(int index, const std::wstring& s) {
    CheckIndex(index);
    Changing();
    items_[static_cast<std::size_t>(index)].Text = s;
    Changed();
}

TObject* TStringList::GetObject(int index) const {
    CheckIndex(index);
    return items_[static_cast<std::size_t>(index)].Object;
}

void TStringList::PutObject(int index, TObject* object) {
    CheckIndex(index);
    Changing();
    items_[static_cast<std::size_t>(index)].Object = object;
    Changed();
}

void TStringList::Insert(int index, const std::wstring& s) {
    if (index < 0 || index > GetCount()) throw EStringListError(L"列表索引越界 (" + IntToStr(index) + L")");
    Changing();
    items_.insert(items_.begin() + index, Item{s, nullptr});
    Changed();
}

int TStringList::AddObject(const std::wstring& s, TObject* object) {
    Changing();
    items_.push_back(Item{s, object});
    Changed();
    return GetCount() - 1;
}

void TStringList::Delete(int index) {
    CheckIndex(index);
    Changing();
    items_.erase(items_.begin() + index);
    Changed();
}

void TStringList::Clear() {
    if (items_.empty()) return;
    Changing();
    items_.clear();
    Changed();
}

void TStringList::Exchange(int index1, int index2) {
    CheckIndex(index1);
    CheckIndex(index2);
    Changing();
    std::swap(items_[static_cast<std::size_t>(index1)], items_[static_cast<std::size_t>(index2)]);
    Changed();
}

void TStringList::Move(int curIndex, int newIndex) {
    CheckIndex(curIndex);
    CheckIndex(newIndex);
    if (curIndex == newIndex) return;
    Changing();
    Item item = std::move(items_[static_cast<std::size_t>(curIndex)]);
    items_.erase(items_.begin() + curIndex);
    items_.insert(items_.begin() + newIndex, std::move(item));
    Changed();
}

}  // namespace vx
