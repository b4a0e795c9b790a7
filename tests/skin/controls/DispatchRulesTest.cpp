// Which skin object a control gets: the built-in chain row by row (with its gates and
// the bitmap button that ends the chain), the Skin3rd map and its kinds, the DisableTag
// and skip rules, and the class-name and style rules for windows of other code.

#include <gtest/gtest.h>

#include <cwchar>
#include <string>
#include <vector>

#include "skin/controls/DispatchRules.h"

namespace vx {
namespace {

using namespace skinrules;

constexpr TSkinControlSet kAll = DefaultSkinControls;

TControlFacts Facts(std::wstring cls, std::vector<std::wstring> ancestry = {}) {
    TControlFacts f;
    f.ClassName = cls;
    f.Ancestry = std::move(ancestry);
    f.Ancestry.insert(f.Ancestry.begin(), cls);
    f.Windowed = true;
    return f;
}

TDispatchSettings Gates(TSkinControlSet set, bool tabImage = true) {
    TDispatchSettings s;
    s.SkinControls = set;
    s.HasTabImage = tabImage;
    return s;
}

TSkinClass ChainClass(const TControlFacts& f, TSkinControlSet set = kAll, bool tabImage = true) {
    return BuiltInChain(f, Gates(set, tabImage)).Class;
}

TEST(DispatchSets, DefaultsAndStoredOrder) {
    EXPECT_EQ(xcCombo, 5);
    EXPECT_EQ(xcTab, 18);
    EXPECT_EQ(xcFastReport, 21);
    EXPECT_EQ(xoTransparent, 2);
    EXPECT_EQ(xoNoFocusRect, 5);
    EXPECT_TRUE(Has(DefaultSkinControls, xcMainMenu));
    EXPECT_TRUE(Has(DefaultSkinControls, xcSystemMenu));
    EXPECT_FALSE(Has(DefaultSkinControls, xcMenuItem));
    EXPECT_FALSE(Has(DefaultSkinControls, xcFastReport));
}

TEST(PreDispatch, DisableTagSkipsAndPassesToGroupItems) {
    EXPECT_EQ(PreDispatch(L"TButton", 99, 99, true, false), TPreDispatch::Disabled);
    EXPECT_EQ(PreDispatch(L"TRzRadioGroup", 99, 99, true, false), TPreDispatch::DisabledGroup);
    EXPECT_EQ(PreDispatch(L"TLMDCheckGroup", 99, 99, true, false), TPreDispatch::DisabledGroup);
    // The tag wins even over a missing parent.
    EXPECT_EQ(PreDispatch(L"TButton", 99, 99, false, true), TPreDispatch::Disabled);
    EXPECT_EQ(PreDispatch(L"TButton", 98, 99, false, false), TPreDispatch::Skip);
    EXPECT_EQ(PreDispatch(L"TButton", 0, 99, true, true), TPreDispatch::Skip);
    EXPECT_EQ(PreDispatch(L"TButton", 0, 99, true, false), TPreDispatch::Proceed);
}

// Each row of the chain on a control made for it, with the row's gate open.
TEST(BuiltInChain, EveryRowWithItsGate) {
    struct Row {
        TControlFacts facts;
        TSkinClass expected;
        int gate;  // -1: the row has no gate
    };
    TControlFacts scrolled = Facts(L"TMyGrid", {L"TWinControl"});
    scrolled.ScrollStyle = true;
    TControlFacts dcCombo = Facts(L"TDCEdit");
    dcCombo.NumButtons = 1;
    TControlFacts dcEdit = Facts(L"TDCDBEdit");
    dcEdit.NumButtons = 0;
    const std::vector<Row> rows = {
        {Facts(L"TTabSet"), TSkinClass::SkinTab31, xcTab},
        {Facts(L"TTabbedNotebook"), TSkinClass::SkinTab, xcTab},
        {Facts(L"TCheckBox", {L"TCustomCheckBox", L"TButtonControl"}), TSkinClass::SkinCheckBox, xcCheckBox},
        {Facts(L"TUpDown"), TSkinClass::SkinUpDown, xcSpin},
        {Facts(L"TSpinButton"), TSkinClass::SkinUpDown, xcSpin},
        {Facts(L"TMediaPlayer"), TSkinClass::SkinMP, xcButton},
        {Facts(L"TDBNavigator"), TSkinClass::SkinBox, xcPanel},
        {Facts(L"TRzCheckBox"), TSkinClass::SkinObjImage, xcCheckBox},
        {Facts(L"TRzDBRadioButton"), TSkinClass::SkinObjImage, xcRadioButton},
        {Facts(L"TcxCheckBox"), TSkinClass::SkinObjImage, xcCheckBox},
        {Facts(L"TTntComboBox"), TSkinClass::SkinComBox, xcCombo},
        {Facts(L"TComboBox", {L"TCustomComboBox"}), TSkinClass::SkinComBox, xcCombo},
        {Facts(L"TRichEdit", {L"TWinControl"}), TSkinClass::SkinScrollbar, xcScrollbar},
        {Facts(L"TBitBtn", {L"TButton"}), TSkinClass::SkinBitButton, xcBitBtn},
        {Facts(L"TSpeedButton", {L"TGraphicControl"}), TSkinClass::SkinSpeedButton, xcSpeedButton},
        {Facts(L"TPanel", {L"TCustomPanel"}), TSkinClass::SkinBox, xcPanel},
        {Facts(L"TdxDBGrid"), TSkinClass::SkinScrollbar, xcScrollbar},
        {Facts(L"TListView", {L"TCustomListView"}), TSkinClass::SkinListView, xcScrollbar},
        {scrolled, TSkinClass::SkinScrollbar, xcScrollbar},
        {Facts(L"TTreeView", {L"TCustomTreeView"}), TSkinClass::SkinScrollbar, xcScrollbar},
        {Facts(L"TButton", {L"TButtonControl"}), TSkinClass::SkinButton, xcButton},
        {Facts(L"TEdit", {L"TCustomEdit"}), TSkinClass::SkinEdit, xcEdit},
        {Facts(L"TfrmInner", {L"TForm", L"TCustomForm"}), TSkinClass::SkinBox, -1},
        {dcCombo, TSkinClass::SkinComBox, xcCombo},
        {dcEdit, TSkinClass::SkinEdit, xcEdit},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(std::string(row.facts.ClassName.begin(), row.facts.ClassName.end()));
        const TSkinChoice open = BuiltInChain(row.facts, Gates(kAll | Bit(xcBitBtn)));
        EXPECT_TRUE(open.Matched);
        EXPECT_EQ(open.Class, row.expected) << SkinClassName(open.Class);
        if (row.gate >= 0) {
            // With the gate closed the row does not hold; only the bitmap button's row
            // still ends the chain.
            const TSkinChoice closed = BuiltInChain(row.facts, Gates(kAll & ~Bit(row.gate)));
            EXPECT_EQ(closed.Class, TSkinClass::None) << SkinClassName(closed.Class);
            EXPECT_EQ(closed.Matched, row.expected == TSkinClass::SkinBitButton);
        }
    }
}

TEST(BuiltInChain, VariantsContainersAndChildren) {
    EXPECT_EQ(BuiltInChain(Facts(L"TRZCHECKBOX"), Gates(kAll)).ObjImageKind, 1);
    EXPECT_EQ(BuiltInChain(Facts(L"TRzRadioButton"), Gates(kAll)).ObjImageKind, 2);
    EXPECT_EQ(BuiltInChain(Facts(L"TcxDBCheckBox"), Gates(kAll)).ObjImageKind, 3);

    const TSkinChoice panel = BuiltInChain(Facts(L"TPanel", {L"TCustomPanel"}), Gates(kAll));
    EXPECT_TRUE(panel.Container);
    EXPECT_EQ(panel.Children, TChildren::Before);
    const TSkinChoice nav = BuiltInChain(Facts(L"TDBNavigator", {L"TCustomPanel"}), Gates(kAll));
    EXPECT_TRUE(nav.Container);
    EXPECT_EQ(nav.Children, TChildren::After);
    const TSkinChoice embedded = BuiltInChain(Facts(L"TfrmInner", {L"TForm", L"TCustomForm"}), Gates(0));
    EXPECT_TRUE(embedded.Container);
    EXPECT_EQ(embedded.Children, TChildren::OwnedControls);

    // TMVCPANEL: only its children, whatever the gates.
    const TSkinChoice mvc = BuiltInChain(Facts(L"TMvcPanel", {L"TCustomPanel"}), Gates(0));
    EXPECT_TRUE(mvc.Matched);
    EXPECT_EQ(mvc.Class, TSkinClass::None);
    EXPECT_EQ(mvc.Children, TChildren::After);
}

TEST(BuiltInChain, BitmapButtonWithoutItsGateGetsNothing) {
    const TControlFacts bitBtn = Facts(L"TMyBitBtn", {L"TBitBtn", L"TButton", L"TButtonControl"});
    const TSkinChoice c = BuiltInChain(bitBtn, Gates(kAll & ~Bit(xcBitBtn)));
    EXPECT_TRUE(c.Matched);
    EXPECT_EQ(c.Class, TSkinClass::None);  // not the push-button row below it
    EXPECT_EQ(ChainClass(bitBtn, kAll | Bit(xcBitBtn)), TSkinClass::SkinBitButton);
}

TEST(BuiltInChain, OrderAndConditions) {
    // Tabs need the tab image as well as the gate.
    EXPECT_EQ(ChainClass(Facts(L"TTabSet"), kAll, false), TSkinClass::None);
    // A list view that also has scroll styles is a list view (its row comes first).
    TControlFacts lv = Facts(L"TListView", {L"TCustomListView"});
    lv.ScrollStyle = true;
    EXPECT_EQ(ChainClass(lv), TSkinClass::SkinListView);
    // A memo with scroll bars is skinned for its bars, not as an edit.
    TControlFacts memo = Facts(L"TMemo", {L"TCustomMemo", L"TCustomEdit"});
    memo.ScrollStyle = true;
    EXPECT_EQ(ChainClass(memo), TSkinClass::SkinScrollbar);
    EXPECT_EQ(ChainClass(memo, kAll & ~Bit(xcScrollbar)), TSkinClass::SkinEdit);
    // Scroll styles count only for windowed controls.
    memo.Windowed = false;
    EXPECT_EQ(ChainClass(memo), TSkinClass::SkinEdit);
    // A panel without its gate falls through to nothing (a panel is no form).
    EXPECT_FALSE(BuiltInChain(Facts(L"TPanel", {L"TCustomPanel"}), Gates(kAll & ~Bit(xcPanel))).Matched);
    // The DC edits never take the embedded-form row, and need NumButtons 0 or 1.
    TControlFacts dc = Facts(L"TDCEDIT", {L"TCustomForm"});
    dc.NumButtons = 2;
    EXPECT_FALSE(BuiltInChain(dc, Gates(kAll)).Matched);
    dc.NumButtons = 1;
    EXPECT_EQ(ChainClass(dc, kAll & ~Bit(xcCombo)), TSkinClass::None);
    // Class names and ancestry compare without regard to case.
    EXPECT_EQ(ChainClass(Facts(L"tupdown")), TSkinClass::SkinUpDown);
    EXPECT_EQ(ChainClass(Facts(L"TX", {L"tcustomcombobox"})), TSkinClass::SkinComBox);
    // A label matches no row.
    EXPECT_FALSE(BuiltInChain(Facts(L"TLabel", {L"TCustomLabel", L"TGraphicControl"}), Gates(kAll)).Matched);
}

TEST(BuiltInChain, ExcludedClasses) {
    EXPECT_TRUE(SkipsBuiltInChain(L"TDBComboBoxEh"));
    EXPECT_TRUE(SkipsBuiltInChain(L"TFRDESIGNERPAGE"));
    EXPECT_TRUE(SkipsBuiltInChain(L"tfrpbox"));
    EXPECT_FALSE(SkipsBuiltInChain(L"TComboBox"));
}

TEST(Skin3rd, FirstLineBeginningWithTheClassAndEquals) {
    const std::vector<std::wstring> lines = {L"TRzButtonEdit=Edit", L"TRzButton=button", L"TRZBUTTON=panel",
                                             L"TLMDButton=bitbtn", L"TOdd = button"};
    TSkin3rdMatch m = FindSkin3rd(lines, L"trzbutton");
    ASSERT_TRUE(m.Found);
    EXPECT_EQ(m.Kind, L"button");  // the first full-name match; "TRzButtonEdit" needs "="
    EXPECT_EQ(m.Line, L"trzbutton=button");
    EXPECT_EQ(FindSkin3rd(lines, L"TRzButtonEdit").Kind, L"edit");
    EXPECT_FALSE(FindSkin3rd(lines, L"TRz").Found);
    EXPECT_FALSE(FindSkin3rd(lines, L"TOdd").Found);  // a blank before "=" is part of the name
    EXPECT_FALSE(FindSkin3rd({}, L"TButton").Found);
    // At most 50 characters of kind.
    const std::wstring longKind(60, L'x');
    EXPECT_EQ(FindSkin3rd({L"TA=" + longKind}, L"TA").Kind, std::wstring(50, L'x'));
}

TSkinChoice Kind(const std::wstring& kind, TSkinControlSet set = kAll, TControlFacts facts = Facts(L"TX"),
                 bool tabImage = true) {
    const TSkin3rdMatch m = FindSkin3rd({L"TX=" + kind}, facts.ClassName);
    EXPECT_TRUE(m.Found);
    return Skin3rdChoice(m, facts, Gates(set, tabImage));
}

TEST(Skin3rd, EveryKindWithItsGate) {
    struct Row {
        const wchar_t* kind;
        TSkinClass expected;
        int gate;
    };
    const Row rows[] = {
        {L"combobox", TSkinClass::SkinComBox, xcCombo},
        {L"ComboBoxEx", TSkinClass::SkinComBox, xcCombo},
        {L"radiobutton", TSkinClass::SkinRadioButton, xcRadioButton},
        {L"Panel", TSkinClass::SkinBox, xcPanel},
        {L"trackbar", TSkinClass::SkinTrackBar, xcButton},
        {L"button", TSkinClass::SkinButton, xcButton},
        {L"datetimepicker", TSkinClass::SkinDateTime, xcCombo},
        {L"mediaplayer", TSkinClass::SkinMP, xcButton},
        {L"bitbtn", TSkinClass::SkinBitButton, xcButton},
        {L"pngbitbtn", TSkinClass::SkinBitButton, xcButton},
        {L"pngspeedbutton", TSkinClass::SkinSpeedButton, xcButton},
        {L"menubtn", TSkinClass::SkinMenuButton, xcButton},
        {L"speedbutton", TSkinClass::SkinSpeedButton, xcSpeedButton},
        {L"tab", TSkinClass::SkinTab, xcTab},
        {L"progress", TSkinClass::SkinProgress, xcProgress},
        {L"scrollbar", TSkinClass::SkinScrollbar, xcScrollbar},
        {L"singlescrollbar", TSkinClass::SkinScrollbar, xcScrollbar},
        {L"Groupbox", TSkinClass::SkinGroupBox, xcGroupBox},
        {L"advpagecontrol", TSkinClass::SkinAdvPage, xcTab},
        {L"radiogroup", TSkinClass::SkinGroupBox, xcGroupBox},
        {L"CheckGroup", TSkinClass::SkinGroupBox, xcGroupBox},
        {L"Checkbox", TSkinClass::SkinCheckBox, xcCheckBox},
    };
    TControlFacts bordered = Facts(L"TX");
    bordered.HasBorder = true;
    for (const Row& row : rows) {
        SCOPED_TRACE(std::string(row.kind, row.kind + std::wcslen(row.kind)));
        const TSkinChoice open = Kind(row.kind, kAll, bordered);
        EXPECT_TRUE(open.Matched);
        EXPECT_EQ(open.Class, row.expected) << SkinClassName(open.Class);
        const TSkinChoice closed = Kind(row.kind, kAll & ~Bit(row.gate), bordered);
        EXPECT_TRUE(closed.Matched);  // the line matched: no fall-through to the chain
        EXPECT_EQ(closed.Class, TSkinClass::None) << SkinClassName(closed.Class);
    }
    // The trackbar follows the button gate, not the track-bar gate.
    EXPECT_EQ(Kind(L"trackbar", kAll & ~Bit(xcTrackBar)).Class, TSkinClass::SkinTrackBar);
}

TEST(Skin3rd, NilUnknownAndKindDetails) {
    const TSkinChoice nil = Kind(L"nil");
    EXPECT_TRUE(nil.Matched);
    EXPECT_EQ(nil.Class, TSkinClass::None);
    EXPECT_EQ(nil.Children, TChildren::None);
    EXPECT_TRUE(Kind(L"somethingelse").Matched);
    EXPECT_EQ(Kind(L"somethingelse").Class, TSkinClass::None);

    EXPECT_TRUE(Kind(L"comboboxex").ExtendedMode);
    EXPECT_FALSE(Kind(L"combobox").ExtendedMode);
    EXPECT_TRUE(Kind(L"singlescrollbar").SingleMode);
    EXPECT_EQ(Kind(L"scrollbar").Children, TChildren::After);
    EXPECT_TRUE(Kind(L"panel").SetTransparent);
    EXPECT_TRUE(Kind(L"trackbar").SetTransparent);
    EXPECT_FALSE(Kind(L"panel", 0).SetTransparent);
    EXPECT_EQ(Kind(L"pngbitbtn").GlyphProperty, L"PngImage");
    EXPECT_EQ(Kind(L"bitbtn").GlyphProperty, L"");
    EXPECT_EQ(Kind(L"container", 0).Children, TChildren::Before);
    EXPECT_EQ(Kind(L"tab", kAll, Facts(L"TX"), false).Class, TSkinClass::None);

    // An edit is skinned only when it has a border.
    EXPECT_EQ(Kind(L"edit").Class, TSkinClass::None);
    EXPECT_TRUE(Kind(L"edit").Matched);

    // Each child that scrolls gets a scroll-bar skin.
    const TSkinChoice embed = Kind(L"embedscrollbar");
    EXPECT_EQ(embed.Class, TSkinClass::None);
    EXPECT_EQ(embed.ChildClass, TSkinClass::SkinScrollbar);
    EXPECT_TRUE(embed.ChildOnlyIfScrolling);
    EXPECT_EQ(Kind(L"embedscrollbar", kAll & ~Bit(xcScrollbar)).ChildClass, TSkinClass::None);
}

TEST(Skin3rd, GroupsSkinTheirItems) {
    const TSkinChoice radio = Kind(L"radiogroup");
    EXPECT_EQ(radio.ChildClass, TSkinClass::SkinRadioButton);
    EXPECT_EQ(radio.ChildObjImageKind, 2);
    EXPECT_EQ(Kind(L"radiogroup", kAll & ~Bit(xcRadioButton)).ChildClass, TSkinClass::None);
    EXPECT_EQ(Kind(L"radiogroup", kAll & ~Bit(xcRadioButton)).Class, TSkinClass::SkinGroupBox);

    const TSkinChoice check = Kind(L"checkgroup");
    EXPECT_EQ(check.ChildClass, TSkinClass::SkinCheckBox);
    EXPECT_EQ(check.ChildObjImageKind, 1);
    // Check groups: the panel gate opens the line, the group-box gate the frame and the
    // radio-button gate the items.
    const TSkinChoice noFrame = Kind(L"checkgroup", kAll & ~Bit(xcGroupBox));
    EXPECT_EQ(noFrame.Class, TSkinClass::None);
    EXPECT_EQ(noFrame.ChildClass, TSkinClass::SkinCheckBox);
    EXPECT_EQ(Kind(L"checkgroup", kAll & ~Bit(xcCheckBox)).ChildClass, TSkinClass::SkinCheckBox);
    EXPECT_EQ(Kind(L"checkgroup", kAll & ~Bit(xcRadioButton)).ChildClass, TSkinClass::None);
    EXPECT_EQ(Kind(L"checkgroup", kAll & ~Bit(xcPanel)).ChildClass, TSkinClass::None);
}

TEST(Skin3rd, DropDownButtonOfTheCxFamily) {
    TControlFacts cx = Facts(L"TcxButton");
    cx.KindProperty = L"cxbkDropDownButton";
    EXPECT_EQ(Skin3rdChoice(FindSkin3rd({L"TcxButton=bitbtn"}, L"TcxButton"), cx, Gates(kAll)).Class,
              TSkinClass::SkinMenuButton);
    cx.KindProperty = L"cxbkStandard";
    EXPECT_EQ(Skin3rdChoice(FindSkin3rd({L"TcxButton=bitbtn"}, L"TcxButton"), cx, Gates(kAll)).Class,
              TSkinClass::SkinBitButton);
    // Another class with that Kind stays a bitmap button.
    TControlFacts other = Facts(L"TLMDButton");
    other.KindProperty = L"cxbkDropDownButton";
    EXPECT_EQ(Skin3rdChoice(FindSkin3rd({L"TLMDButton=bitbtn"}, L"TLMDButton"), other, Gates(kAll)).Class,
              TSkinClass::SkinBitButton);
}

// Button windows of other code, for every button type value.
TEST(ForeignWindow, ButtonStylesAsValues) {
    const TSkinClass expected[16] = {
        TSkinClass::SkinButton,      // 0 push button
        TSkinClass::SkinButton,      // 1 default push button
        TSkinClass::SkinCheckBox,    // 2 check box
        TSkinClass::SkinCheckBox,    // 3 automatic check box
        TSkinClass::SkinRadioButton, // 4 radio button (0x4, not bit index 2)
        TSkinClass::SkinCheckBox,    // 5 three-state
        TSkinClass::SkinCheckBox,    // 6 automatic three-state
        TSkinClass::None,            // 7 group box
        TSkinClass::SkinButton,      // 8 user button
        TSkinClass::SkinRadioButton, // 9 automatic radio button
        TSkinClass::SkinCheckBox,    // 10 push box (has the 0x2 value)
        TSkinClass::None,            // 11 owner-drawn
        TSkinClass::SkinRadioButton, // 12 has 0x4
        TSkinClass::SkinCheckBox,    // 13: 13 & 5 == 5, tested before the radio rule
        TSkinClass::SkinCheckBox,    // 14 has 0x2
        TSkinClass::None,            // 15 has all of 0xB
    };
    for (std::uint32_t type = 0; type < 16; ++type) {
        SCOPED_TRACE(type);
        const TSkinChoice c = ForeignWindowChoice(L"Button", 0x40000000u | type, DefaultSkinControls);
        EXPECT_EQ(c.Class, expected[type]) << SkinClassName(c.Class);
    }
}

TEST(ForeignWindow, ButtonDetails) {
    constexpr TSkinControlSet g = DefaultSkinControls;
    // A bitmap-style button and a group box keep their system look, with the dispatch
    // ended.
    EXPECT_TRUE(ForeignWindowChoice(L"button", 0x80, g).Matched);
    EXPECT_EQ(ForeignWindowChoice(L"button", 0x80, g).Class, TSkinClass::None);
    EXPECT_EQ(ForeignWindowChoice(L"button", 0x80 | 3, g).Class, TSkinClass::None);
    // Style bits above the type do not change the type (left text, multi-line).
    EXPECT_EQ(ForeignWindowChoice(L"BUTTON", 0x20 | 0x2000 | 9, g).Class, TSkinClass::SkinRadioButton);
    // Gates.
    EXPECT_EQ(ForeignWindowChoice(L"button", 3, g & ~Bit(xcCheckBox)).Class, TSkinClass::None);
    EXPECT_EQ(ForeignWindowChoice(L"button", 4, g & ~Bit(xcRadioButton)).Class, TSkinClass::None);
    EXPECT_EQ(ForeignWindowChoice(L"button", 0, g & ~Bit(xcButton)).Class, TSkinClass::None);
    // An owner-drawn button reaches the table and matches nothing there.
    EXPECT_FALSE(ForeignWindowChoice(L"button", 0xB, g).Matched);
}

TEST(ForeignWindow, ClassTable) {
    constexpr TSkinControlSet g = DefaultSkinControls;
    EXPECT_EQ(ForeignWindowChoice(L"ComboBox", 2, g).Class, TSkinClass::SkinComBox);
    EXPECT_EQ(ForeignWindowChoice(L"ComboBox", 3, g).Class, TSkinClass::SkinComBox);
    EXPECT_EQ(ForeignWindowChoice(L"ComboBox", 1, g).Class, TSkinClass::None);  // simple
    EXPECT_EQ(ForeignWindowChoice(L"ComboBox", 2, g & ~Bit(xcCombo)).Class, TSkinClass::None);

    const TSkinChoice ex = ForeignWindowChoice(L"ComboBoxEx32", 0, g);
    EXPECT_EQ(ex.Class, TSkinClass::SkinComBox);
    EXPECT_TRUE(ex.OnFirstChild);
    EXPECT_EQ(ForeignWindowChoice(L"ScrollBar", 0x10, g).Class, TSkinClass::SkinSizer);
    EXPECT_FALSE(ForeignWindowChoice(L"ScrollBar", 0x10000, g).Matched);
    EXPECT_TRUE(ForeignWindowChoice(L"SysTreeView32", 0, g).Matched);
    EXPECT_EQ(ForeignWindowChoice(L"SysTreeView32", 0, g).Class, TSkinClass::None);

    const TSkinChoice dlg = ForeignWindowChoice(L"#32770", 0x40000000, g);
    EXPECT_EQ(dlg.Class, TSkinClass::SkinBoxH);
    EXPECT_EQ(dlg.Children, TChildren::Before);
    EXPECT_FALSE(ForeignWindowChoice(L"#32770", 0x10000, g).Matched);

    for (const wchar_t* panel : {L"TPanel", L"TTntPanel.UnicodeClass", L"TTntSilentPaintPanel.UnicodeClass"}) {
        const TSkinChoice p = ForeignWindowChoice(panel, 0, 0);
        EXPECT_EQ(p.Children, TChildren::Before);
        EXPECT_TRUE(p.FaceColour);
        EXPECT_EQ(p.Class, TSkinClass::None);
    }
    const TSkinChoice silent = ForeignWindowChoice(L"TSilentPaintPanel", 0, 0);
    EXPECT_TRUE(silent.FaceColour);
    EXPECT_EQ(silent.Children, TChildren::None);

    EXPECT_EQ(ForeignWindowChoice(L"TCheckBox", 0, g).Class, TSkinClass::SkinCheckBox);
    EXPECT_EQ(ForeignWindowChoice(L"TComboBox", 0, g).Class, TSkinClass::SkinComBox);
    EXPECT_EQ(ForeignWindowChoice(L"TButton", 0, g).Class, TSkinClass::SkinButton);
    EXPECT_EQ(ForeignWindowChoice(L"TButton", 0, g & ~Bit(xcButton)).Class, TSkinClass::None);
    EXPECT_EQ(ForeignWindowChoice(L"TProgressBar", 0, 0).Class, TSkinClass::SkinProgress);
    EXPECT_EQ(ForeignWindowChoice(L"SysTabControl32", 0, g).Class, TSkinClass::SkinTab);
    EXPECT_EQ(ForeignWindowChoice(L"SysTabControl32", 0x2000, g).Class, TSkinClass::None);
    EXPECT_EQ(ForeignWindowChoice(L"ToolbarWindow32", 0, 0).Class, TSkinClass::SkinBoxH);
    EXPECT_EQ(ForeignWindowChoice(L"Edit", 0, g).Class, TSkinClass::SkinEdit);
    EXPECT_EQ(ForeignWindowChoice(L"Edit", 0, g & ~Bit(xcEdit)).Class, TSkinClass::None);
    EXPECT_FALSE(ForeignWindowChoice(L"Static", 0, g).Matched);
}

TEST(TabKinds, ButtonStyleSheetsAndTheExtrasHook) {
    TControlFacts plain = Facts(L"TX");
    TControlFacts buttons = plain;
    buttons.ButtonTabs = true;
    // A "tab" row: the pane look, and the pages of a page control show it.
    const TSkinChoice pane = Kind(L"tab", kAll, plain);
    EXPECT_EQ(pane.Class, TSkinClass::SkinTab);
    EXPECT_EQ(pane.ChildClass, TSkinClass::SkinTabSheet);
    EXPECT_TRUE(pane.ChildOnlyIfSheet);
    EXPECT_EQ(pane.Children, TChildren::None);
    // Button tabs have no pane: no sheet objects either.
    const TSkinChoice btn = Kind(L"tab", kAll, buttons);
    EXPECT_EQ(btn.Class, TSkinClass::SkinTabBtn);
    EXPECT_EQ(btn.ChildClass, TSkinClass::None);
    // The gate and the tab image close both variants.
    EXPECT_EQ(Kind(L"tab", kAll & ~Bit(xcTab), buttons).Class, TSkinClass::None);
    EXPECT_EQ(Kind(L"tab", kAll, buttons, false).Class, TSkinClass::None);
    // The tabbed notebook row decides the same way.
    TControlFacts notebook = Facts(L"TTabbedNotebook");
    notebook.ButtonTabs = true;
    EXPECT_EQ(ChainClass(notebook), TSkinClass::SkinTabBtn);
    // Windows of other code: the button style by its value.
    constexpr TSkinControlSet g = DefaultSkinControls;
    EXPECT_EQ(ForeignWindowChoice(L"SysTabControl32", 0x100, g).Class, TSkinClass::SkinTabBtn);
    EXPECT_EQ(ForeignWindowChoice(L"SysTabControl32", 0x108, g).Class, TSkinClass::SkinTabBtn);
    EXPECT_EQ(ForeignWindowChoice(L"SysTabControl32", 0x2100, g).Class, TSkinClass::None);
    EXPECT_EQ(ForeignWindowChoice(L"SysTabControl32", 0x80, g).Class, TSkinClass::SkinTab);

    // The extras hook: status bars and stand-alone scroll bars (and their descendants),
    // each behind its own gate; anything else is left to the rest of the dispatch.
    const TControlFacts status = Facts(L"TStatusBar", {L"TWinControl"});
    const TControlFacts myStatus = Facts(L"TMyStatus", {L"TStatusBar", L"TWinControl"});
    const TControlFacts scroll = Facts(L"TScrollBar", {L"TWinControl"});
    EXPECT_EQ(FrameworkExtraChoice(status, Gates(kAll)).Class, TSkinClass::SkinStatusBar);
    EXPECT_EQ(FrameworkExtraChoice(myStatus, Gates(kAll)).Class, TSkinClass::SkinStatusBar);
    EXPECT_FALSE(FrameworkExtraChoice(status, Gates(kAll & ~Bit(xcStatusBar))).Matched);
    EXPECT_EQ(FrameworkExtraChoice(scroll, Gates(kAll)).Class, TSkinClass::SkinScControl);
    EXPECT_FALSE(FrameworkExtraChoice(scroll, Gates(kAll & ~Bit(xcScrollbar))).Matched);
    EXPECT_FALSE(FrameworkExtraChoice(Facts(L"TButton", {L"TWinControl"}), Gates(kAll)).Matched);
    EXPECT_FALSE(FrameworkExtraChoice(Facts(L"TPageControl"), Gates(kAll)).Matched);
}

}  // namespace
}  // namespace vx
