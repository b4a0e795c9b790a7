#pragma once
// The root of the framework's object model: class identity ("what is this object's
// class, and does it descend from TButton?") and published properties that can be read
// and written by name at run time. The skin engine relies on both: it chooses a painter
// by class name and ancestry, and reads and writes a control's properties by name.

#include <cstdint>
#include <functional>
#include <initializer_list>
#include <string>
#include <string_view>
#include <vector>

namespace vx {

class TObject;
class TClassInfo;

enum class TPropKind { Integer, Enumeration, Text, Object };

// One published property. Integer and enumeration properties are read and written as
// ordinals; an enumeration also knows its value names ("false"/"true", "blGlyphLeft").
struct TPropInfo {
    std::wstring Name;
    TPropKind Kind = TPropKind::Integer;
    std::vector<std::wstring> EnumNames;
    // Declared class of an object property; a function, because a class may publish a
    // property of its own type while its class information is being built.
    const TClassInfo& (*ObjectClass)() = nullptr;
    std::function<std::int64_t(const TObject&)> GetOrd;
    std::function<void(TObject&, std::int64_t)> SetOrd;
    std::function<std::wstring(const TObject&)> GetText;
    std::function<void(TObject&, const std::wstring&)> SetText;
    std::function<TObject*(const TObject&)> GetObject;
    std::function<void(TObject&, TObject*)> SetObject;
};

// Run-time description of one class: its name, its parent and its own published
// properties. One static instance per class, made by VX_IMPLEMENT_CLASS.
class TClassInfo {
public:
    using Registration = void (*)(std::vector<TPropInfo>&);
    TClassInfo(const wchar_t* name, const TClassInfo* parent, Registration registration);

    const std::wstring& Name() const { return name_; }
    const TClassInfo* Parent() const { return parent_; }
    // True for this class and every class it descends from.
    bool InheritsFrom(const TClassInfo& other) const;
    // The same test by class name, without regard to case ("TCustomCheckBox").
    bool InheritsFrom(std::wstring_view className) const;
    // Looks a property up by name without regard to case, in this class first and then
    // in its ancestors; nullptr when there is none.
    const TPropInfo* FindProperty(std::wstring_view name) const;
    // Every published property, ancestors' first.
    std::vector<const TPropInfo*> AllProperties() const;

private:
    std::wstring name_;
    const TClassInfo* parent_;
    std::vector<TPropInfo> properties_;
};

class TObject {
public:
    TObject() = default;
    TObject(const TObject&) = delete;
    TObject& operator=(const TObject&) = delete;
    virtual ~TObject() = default;

    static const TClassInfo& StaticClass();
    virtual const TClassInfo& ClassType() const { return StaticClass(); }

    const std::wstring& ClassName() const { return ClassType().Name(); }
    // Exact class name test, without regard to case.
    bool ClassNameIs(std::wstring_view name) const;
    bool InheritsFrom(const TClassInfo& info) const { return ClassType().InheritsFrom(info); }
    bool InheritsFrom(std::wstring_view className) const { return ClassType().InheritsFrom(className); }
};

// Objects that can be published as properties of other objects (fonts, pens, string
// lists) and can copy another object's state.
class TPersistent : public TObject {
public:
    static const TClassInfo& StaticClass();
    const TClassInfo& ClassType() const override { return StaticClass(); }
    // Copies the state of `source`; the base class accepts nothing and returns false.
    virtual bool Assign(const TPersistent& source) { return false; }
};

// Builds the property list of class C in its registration function:
//   static void RegisterProperties(vx::TPropertyRegistrar<TMyControl>& r) {
//       r.Integer(L"Tag", &TMyControl::GetTag, &TMyControl::SetTag);
//   }
template <class C>
class TPropertyRegistrar {
public:
    explicit TPropertyRegistrar(std::vector<TPropInfo>& out) : out_(out) {}

    template <class V>
    TPropertyRegistrar& Integer(const wchar_t* name, V (C::*get)() const, void (C::*set)(V) = nullptr) {
        TPropInfo& p = Add(name, TPropKind::Integer);
        p.GetOrd = [get](const TObject& o) { return static_cast<std::int64_t>((Self(o).*get)()); };
        if (set) p.SetOrd = [set](TObject& o, std::int64_t v) { (Self(o).*set)(static_cast<V>(v)); };
        return *this;
    }

    TPropertyRegistrar& Boolean(const wchar_t* name, bool (C::*get)() const, void (C::*set)(bool) = nullptr) {
        TPropInfo& p = Add(name, TPropKind::Enumeration);
        p.EnumNames = {L"False", L"True"};
        p.GetOrd = [get](const TObject& o) { return static_cast<std::int64_t>((Self(o).*get)() ? 1 : 0); };
        if (set) p.SetOrd = [set](TObject& o, std::int64_t v) { (Self(o).*set)(v != 0); };
        return *this;
    }

    // An enumeration whose values are 0, 1, 2 ... named in `names`.
    template <class E>
    TPropertyRegistrar& Enumeration(const wchar_t* name, E (C::*get)() const, void (C::*set)(E),
                                    std::initializer_list<const wchar_t*> names) {
        TPropInfo& p = Add(name, TPropKind::Enumeration);
        for (const wchar_t* n : names) p.EnumNames.emplace_back(n);
        p.GetOrd = [get](const TObject& o) { return static_cast<std::int64_t>((Self(o).*get)()); };
        if (set) p.SetOrd = [set](TObject& o, std::int64_t v) { (Self(o).*set)(static_cast<E>(v)); };
        return *this;
    }

    TPropertyRegistrar& Text(const wchar_t* name, std::wstring (C::*get)() const,
                             void (C::*set)(const std::wstring&) = nullptr) {
        TPropInfo& p = Add(name, TPropKind::Text);
        p.GetText = [get](const TObject& o) { return (Self(o).*get)(); };
        if (set) p.SetText = [set](TObject& o, const std::wstring& v) { (Self(o).*set)(v); };
        return *this;
    }

    // An object property; `O` is its declared class (it must have StaticClass()).
    template <class O>
    TPropertyRegistrar& Object(const wchar_t* name, O* (C::*get)() const, void (C::*set)(O*) = nullptr) {
        TPropInfo& p = Add(name, TPropKind::Object);
        p.ObjectClass = &O::StaticClass;
        p.GetObject = [get](const TObject& o) -> TObject* { return (Self(o).*get)(); };
        if (set)
            p.SetObject = [set](TObject& o, TObject* v) {
                O* typed = (v && v->InheritsFrom(O::StaticClass())) ? static_cast<O*>(v) : nullptr;
                if (v == nullptr || typed != nullptr) (Self(o).*set)(typed);
            };
        return *this;
    }

private:
    static const C& Self(const TObject& o) { return static_cast<const C&>(o); }
    static C& Self(TObject& o) { return static_cast<C&>(o); }
    TPropInfo& Add(const wchar_t* name, TPropKind kind) {
        out_.push_back(TPropInfo{});
        out_.back().Name = name;
        out_.back().Kind = kind;
        return out_.back();
    }
    std::vector<TPropInfo>& out_;
};

// Property access by name; every function tolerates a null object and a missing
// property, reporting them through its result instead of failing.
const TPropInfo* GetPropInfo(const TObject* object, std::wstring_view name);
// Integer or enumeration ordinal.
bool GetOrdProp(const TObject* object, std::wstring_view name, std::int64_t& value);
bool SetOrdProp(TObject* object, std::wstring_view name, std::int64_t value);
// Enumeration by value name ("blGlyphLeft"); names match without regard to case.
bool GetEnumProp(const TObject* object, std::wstring_view name, std::wstring& valueName);
bool SetEnumProp(TObject* object, std::wstring_view name, std::wstring_view valueName);
bool GetStrProp(const TObject* object, std::wstring_view name, std::wstring& value);
bool SetStrProp(TObject* object, std::wstring_view name, const std::wstring& value);
bool GetObjectProp(const TObject* object, std::wstring_view name, TObject*& value);
bool SetObjectProp(TObject* object, std::wstring_view name, TObject* value);

// ASCII-only case-insensitive comparison, the rule for class and property names.
bool SameTextAscii(std::wstring_view a, std::wstring_view b);

}  // namespace vx

// Inside a class body: gives the class its run-time class information.
//   class TButton : public TButtonControl { VX_DECLARE_CLASS(TButton, TButtonControl) ... };
#define VX_DECLARE_CLASS(Class, Parent)                                             \
public:                                                                             \
    static const ::vx::TClassInfo& StaticClass();                                   \
    const ::vx::TClassInfo& ClassType() const override { return StaticClass(); }    \
                                                                                    \
private:

// In the class's .cpp file. The second form also publishes properties through a static
// member `static void RegisterProperties(vx::TPropertyRegistrar<Class>&)`.
#define VX_IMPLEMENT_CLASS(Class, Parent)                                           \
    const ::vx::TClassInfo& Class::StaticClass() {                                  \
        static const ::vx::TClassInfo info(L## #Class, &Parent::StaticClass(), nullptr); \
        return info;                                                                \
    }

#define VX_IMPLEMENT_CLASS_WITH_PROPERTIES(Class, Parent)                           \
    const ::vx::TClassInfo& Class::StaticClass() {                                  \
        static const ::vx::TClassInfo info(L## #Class, &Parent::StaticClass(),      \
            [](std::vector<::vx::TPropInfo>& out) {                                 \
                ::vx::TPropertyRegistrar<Class> registrar(out);                     \
                Class::RegisterProperties(registrar);                               \
            });                                                                     \
        return info;                                                                \
    }
