#include "framework/Object.h"

namespace vx {

namespace {

wchar_t LowerAscii(wchar_t c) { return (c >= L'A' && c <= L'Z') ? static_cast<wchar_t>(c + 32) : c; }

const TPropInfo* FindKind(const TObject* object, std::wstring_view name, TPropKind a, TPropKind b) {
    const TPropInfo* p = GetPropInfo(object, name);
    return (p && (p->Kind == a || p->Kind == b)) ? p : nullptr;
}

}  // namespace

bool SameTextAscii(std::wstring_view a, std::wstring_view b) {
    if (a.size() != b.size()) return false;
    for (std::size_t i = 0; i < a.size(); ++i)
        if (LowerAscii(a[i]) != LowerAscii(b[i])) return false;
    return true;
}

TClassInfo::TClassInfo(const wchar_t* name, const TClassInfo* parent, Registration registration)
    : name_(name), parent_(parent) {
    if (registration) registration(properties_);
}

bool TClassInfo::InheritsFrom(const TClassInfo& other) const {
    for (const TClassInfo* c = this; c; c = c->parent_)
        if (c == &other) return true;
    return false;
}

bool TClassInfo::InheritsFrom(std::wstring_view className) const {
    for (const TClassInfo* c = this; c; c = c->parent_)
        if (SameTextAscii(c->name_, className)) return true;
    return false;
}

const TPropInfo* TClassInfo::FindProperty(std::wstring_view name) const {
    for (const TClassInfo* c = this; c; c = c->parent_)
        for (const TPropInfo& p : c->properties_)
            if (SameTextAscii(p.Name, name)) return &p;
    return nullptr;
}

std::vector<const TPropInfo*> TClassInfo::AllProperties() const {
    std::vector<const TClassInfo*> chain;
    for (const TClassInfo* c = this; c; c = c->parent_) chain.insert(chain.begin(), c);
    std::vector<const TPropInfo*> all;
    for (const TClassInfo* c : chain)
        for (const TPropInfo& p : c->properties_) all.push_back(&p);
    return all;
}

const TClassInfo& TObject::StaticClass() {
    static const TClassInfo info(L"TObject", nullptr, nullptr);
    return info;
}

bool TObject::ClassNameIs(std::wstring_view name) const { return SameTextAscii(ClassName(), name); }

VX_IMPLEMENT_CLASS(TPersistent, TObject)

const TPropInfo* GetPropInfo(const TObject* object, std::wstring_view name) {
    return object ? object->ClassType().FindProperty(name) : nullptr;
}

bool GetOrdProp(const TObject* object, std::wstring_view name, std::int64_t& value) {
    const TPropInfo* p = FindKind(object, name, TPropKind::Integer, TPropKind::Enumeration);
    if (!p || !p->GetOrd) return false;
    value = p->GetOrd(*object);
    return true;
}

bool SetOrdProp(TObject* object, std::wstring_view name, std::int64_t value) {
    const TPropInfo* p = FindKind(object, name, TPropKind::Integer, TPropKind::Enumeration);
    if (!p || !p->SetOrd) return false;
    if (p->Kind == TPropKind::Enumeration && (value < 0 || value >= static_cast<std::int64_t>(p->EnumNames.size())))
        return false;
    p->SetOrd(*object, value);
    return true;
}

bool GetEnumProp(const TObject* object, std::wstring_view name, std::wstring& valueName) {
    const TPropInfo* p = FindKind(object, name, TPropKind::Enumeration, TPropKind::Enumeration);
    if (!p || !p->GetOrd) return false;
    const std::int64_t ordinal = p->GetOrd(*object);
    if (ordinal < 0 || ordinal >= static_cast<std::int64_t>(p->EnumNames.size())) return false;
    valueName = p->EnumNames[static_cast<std::size_t>(ordinal)];
    return true;
}

bool SetEnumProp(TObject* object, std::wstring_view name, std::wstring_view valueName) {
    const TPropInfo* p = FindKind(object, name, TPropKind::Enumeration, TPropKind::Enumeration);
    if (!p || !p->SetOrd) return false;
    for (std::size_t i = 0; i < p->EnumNames.size(); ++i)
        if (SameTextAscii(p->EnumNames[i], valueName)) {
            p->SetOrd(*object, static_cast<std::int64_t>(i));
            return true;
        }
    return false;
}

bool GetStrProp(const TObject* object, std::wstring_view name, std::wstring& value) {
    const TPropInfo* p = FindKind(object, name, TPropKind::Text, TPropKind::Text);
    if (!p || !p->GetText) return false;
    value = p->GetText(*object);
    return true;
}

bool SetStrProp(TObject* object, std::wstring_view name, const std::wstring& value) {
    const TPropInfo* p = FindKind(object, name, TPropKind::Text, TPropKind::Text);
    if (!p || !p->SetText) return false;
    p->SetText(*object, value);
    return true;
}

bool GetObjectProp(const TObject* object, std::wstring_view name, TObject*& value) {
    const TPropInfo* p = FindKind(object, name, TPropKind::Object, TPropKind::Object);
    if (!p || !p->GetObject) return false;
    value = p->GetObject(*object);
    return true;
}

bool SetObjectProp(TObject* object, std::wstring_view name, TObject* value) {
    const TPropInfo* p = FindKind(object, name, TPropKind::Object, TPropKind::Object);
    if (!p || !p->SetObject) return false;
    if (value && p->ObjectClass && !value->InheritsFrom(p->ObjectClass())) return false;
    p->SetObject(*object, value);
    return true;
}

}  // namespace vx
