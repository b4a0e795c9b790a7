#include <gtest/gtest.h>

#include "framework/Object.h"

namespace {

using namespace vx;

enum TLayout { blGlyphLeft, blGlyphRight, blGlyphTop, blGlyphBottom };

class TSample : public TPersistent {
    VX_DECLARE_CLASS(TSample, TPersistent)
public:
    int GetTag() const { return tag_; }
    void SetTag(int v) { tag_ = v; }
    bool GetFlat() const { return flat_; }
    void SetFlat(bool v) { flat_ = v; }
    TLayout GetLayout() const { return layout_; }
    void SetLayout(TLayout v) { layout_ = v; }
    std::wstring GetCaption() const { return caption_; }
    void SetCaption(const std::wstring& v) { caption_ = v; }
    TSample* GetBuddy() const { return buddy_; }
    void SetBuddy(TSample* v) { buddy_ = v; }
    int GetReadOnlyValue() const { return 7; }

    static void RegisterProperties(TPropertyRegistrar<TSample>& r) {
        r.Integer(L"Tag", &TSample::GetTag, &TSample::SetTag)
            .Boolean(L"Flat", &TSample::GetFlat, &TSample::SetFlat)
            .Enumeration(L"Layout", &TSample::GetLayout, &TSample::SetLayout,
                         {L"blGlyphLeft", L"blGlyphRight", L"blGlyphTop", L"blGlyphBottom"})
            .Text(L"Caption", &TSample::GetCaption, &TSample::SetCaption)
            .Object(L"Buddy", &TSample::GetBuddy, &TSample::SetBuddy)
            .Integer(L"Fixed", &TSample::GetReadOnlyValue);
    }

private:
    int tag_ = 0;
    bool flat_ = false;
    TLayout layout_ = blGlyphLeft;
    std::wstring caption_;
    TSample* buddy_ = nullptr;
};
VX_IMPLEMENT_CLASS_WITH_PROPERTIES(TSample, TPersistent)

class TDerived : public TSample {
    VX_DECLARE_CLASS(TDerived, TSample)
};
VX_IMPLEMENT_CLASS(TDerived, TSample)

TEST(ObjectModel, ClassNamesAndAncestry) {
    TDerived d;
    TObject& o = d;
    EXPECT_EQ(o.ClassName(), L"TDerived");
    EXPECT_TRUE(o.ClassNameIs(L"tderived"));
    EXPECT_FALSE(o.ClassNameIs(L"TSample"));
    EXPECT_TRUE(o.InheritsFrom(L"TSAMPLE"));
    EXPECT_TRUE(o.InheritsFrom(TPersistent::StaticClass()));
    EXPECT_TRUE(o.InheritsFrom(L"TObject"));
    EXPECT_FALSE(TSample().InheritsFrom(TDerived::StaticClass()));
    EXPECT_FALSE(o.InheritsFrom(L"TButton"));
}

TEST(ObjectModel, PropertiesByNameIgnoreCaseAndAreInherited) {
    TDerived d;
    EXPECT_TRUE(SetOrdProp(&d, L"TAG", 42));
    std::int64_t tag = 0;
    EXPECT_TRUE(GetOrdProp(&d, L"tag", tag));
    EXPECT_EQ(tag, 42);
    EXPECT_EQ(d.GetTag(), 42);

    EXPECT_TRUE(SetStrProp(&d, L"caption", L"开始转换(&S)"));
    std::wstring caption;
    EXPECT_TRUE(GetStrProp(&d, L"Caption", caption));
    EXPECT_EQ(caption, L"开始转换(&S)");
}

TEST(ObjectModel, EnumerationsByValueName) {
    TSample s;
    std::wstring value;
    EXPECT_TRUE(GetEnumProp(&s, L"Layout", value));
    EXPECT_EQ(value, L"blGlyphLeft");
    EXPECT_TRUE(SetEnumProp(&s, L"layout", L"BLGLYPHTOP"));
    EXPECT_EQ(s.GetLayout(), blGlyphTop);
    EXPECT_FALSE(SetEnumProp(&s, L"Layout", L"blNowhere"));
    EXPECT_EQ(s.GetLayout(), blGlyphTop);
    EXPECT_FALSE(SetOrdProp(&s, L"Layout", 9));  // out of the enumeration's range
    EXPECT_EQ(s.GetLayout(), blGlyphTop);

    EXPECT_TRUE(GetEnumProp(&s, L"Flat", value));
    EXPECT_TRUE(SameTextAscii(value, L"false"));
    EXPECT_TRUE(SetEnumProp(&s, L"Flat", L"true"));
    EXPECT_TRUE(s.GetFlat());
}

TEST(ObjectModel, MissingObjectPropertyAndWrongKindAreReportedNotFatal) {
    TSample s;
    std::int64_t n = -5;
    std::wstring text = L"unchanged";
    TObject* object = &s;
    EXPECT_FALSE(GetOrdProp(nullptr, L"Tag", n));
    EXPECT_FALSE(GetOrdProp(&s, L"NoSuchProperty", n));
    EXPECT_FALSE(GetStrProp(&s, L"Tag", text));        // an integer is not text
    EXPECT_FALSE(GetOrdProp(&s, L"Caption", n));       // text is not an integer
    EXPECT_FALSE(GetObjectProp(&s, L"Caption", object));
    EXPECT_FALSE(SetOrdProp(&s, L"Fixed", 1));         // read-only
    EXPECT_EQ(n, -5);
    EXPECT_EQ(text, L"unchanged");
    EXPECT_EQ(object, &s);
    EXPECT_EQ(GetPropInfo(&s, L"Nothing"), nullptr);
}

TEST(ObjectModel, ObjectPropertiesCheckTheClass) {
    TSample a, b;
    TPersistent plain;
    EXPECT_TRUE(SetObjectProp(&a, L"Buddy", &b));
    TObject* got = nullptr;
    EXPECT_TRUE(GetObjectProp(&a, L"buddy", got));
    EXPECT_EQ(got, &b);
    EXPECT_FALSE(SetObjectProp(&a, L"Buddy", &plain));  // not a TSample
    EXPECT_EQ(a.GetBuddy(), &b);
    EXPECT_TRUE(SetObjectProp(&a, L"Buddy", nullptr));
    EXPECT_EQ(a.GetBuddy(), nullptr);
}

TEST(ObjectModel, AllPropertiesListsAncestorsFirst) {
    const auto all = TDerived::StaticClass().AllProperties();
    ASSERT_EQ(all.size(), 6u);
    EXPECT_EQ(all.front()->Name, L"Tag");
    EXPECT_EQ(all.back()->Name, L"Fixed");
}

}  // namespace
