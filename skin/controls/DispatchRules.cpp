#include "skin/controls/DispatchRules.h"

#include <algorithm>
#include <initializer_list>

namespace vx {

using namespace skinrules;

const char* SkinClassName(TSkinClass c) {
    switch (c) {
    case TSkinClass::None: return "none";
    case TSkinClass::SkinButton: return "TSkinButton";
    case TSkinClass::SkinBitButton: return "TSkinBitButton";
    case TSkinClass::SkinSpeedButton: return "TSkinSpeedButton";
    case TSkinClass::SkinMenuButton: return "TSkinMenuButton";
    case TSkinClass::SkinCheckBox: return "TSkinCheckBox";
    case TSkinClass::SkinRadioButton: return "TSkinRadioButton";
    case TSkinClass::SkinObjImage: return "TSkinObjImage";
    case TSkinClass::SkinGroupBox: return "TSkinGroupBox";
    case TSkinClass::SkinBox: return "TSkinBox";
    case TSkinClass::SkinBoxH: return "TSkinBoxH";
    case TSkinClass::SkinTab: return "TSkinTab";
    case TSkinClass::SkinTabBtn: return "TSkinTabBtn";
    case TSkinClass::SkinTabSheet: return "TSkinTabSheet";
    case TSkinClass::SkinStatusBar: return "TSkinStatusBar";
    case TSkinClass::SkinScControl: return "TSkinScControl";
    case TSkinClass::SkinTab31: return "TSkinTab31";
    case TSkinClass::SkinAdvPage: return "TSkinAdvPage";
    case TSkinClass::SkinTrackBar: return "TSkinTrackBar";
    case TSkinClass::SkinUpDown: return "TSkinUpDown";
    case TSkinClass::SkinProgress: return "TSkinProgress";
    case TSkinClass::SkinEdit: return "TSkinEdit";
    case TSkinClass::SkinComBox: return "TSkinComBox";
    case TSkinClass::SkinDateTime: return "TSkinDateTime";
    case TSkinClass::SkinScrollbar: return "TSkinScrollbar";
    case TSkinClass::SkinListView: return "TSkinListView";
    case TSkinClass::SkinSizer: return "TSkinSizer";
    case TSkinClass::SkinMP: return "TSkinMP";
    }
    return "?";
}

std::wstring LowerAscii(std::wstring_view s) {
    std::wstring out(s);
    for (wchar_t& c : out)
        if (c >= L'A' && c <= L'Z') c = static_cast<wchar_t>(c - L'A' + L'a');
    return out;
}

std::wstring UpperAscii(std::wstring_view s) {
    std::wstring out(s);
    for (wchar_t& c : out)
        if (c >= L'a' && c <= L'z') c = static_cast<wchar_t>(c - L'a' + L'A');
    return out;
}

bool DescendsFrom(const TControlFacts& facts, std::wstring_view className) {
    const std::wstring wanted = UpperAscii(className);
    return std::any_of(facts.Ancestry.begin(), facts.Ancestry.end(),
                       [&](const std::wstring& a) { return UpperAscii(a) == wanted; });
}

namespace {

bool OneOf(const std::wstring& upper, std::initializer_list<const wchar_t*> names) {
    return std::any_of(names.begin(), names.end(), [&](const wchar_t* n) { return upper == n; });
}

TSkinChoice Attach(TSkinClass c) {
    TSkinChoice r;
    r.Matched = true;
    r.Class = c;
    return r;
}

TSkinChoice MatchedNothing() {
    TSkinChoice r;
    r.Matched = true;
    return r;
}

// A tab control's object: drawn as buttons when its style asks for it, else with the
// pane, and then the pages of a page control show that pane behind them.
TSkinChoice TabChoice(const TControlFacts& facts) {
    TSkinChoice r;
    r.Matched = true;
    if (facts.ButtonTabs) {
        r.Class = TSkinClass::SkinTabBtn;
        return r;
    }
    r.Class = TSkinClass::SkinTab;
    r.ChildClass = TSkinClass::SkinTabSheet;
    r.ChildOnlyIfSheet = true;
    return r;
}

TSkinChoice ChildrenOnly(TChildren when) {
    TSkinChoice r;
    r.Matched = true;
    r.Children = when;
    return r;
}

}  // namespace

TPreDispatch PreDispatch(std::wstring_view className, int tag, int disableTag, bool hasParent,
                         bool alreadySkinned) {
    if (tag == disableTag) {
        const std::wstring lower = LowerAscii(className);
        if (lower.find(L"radiogroup") != std::wstring::npos || lower.find(L"checkgroup") != std::wstring::npos)
            return TPreDispatch::DisabledGroup;
        return TPreDispatch::Disabled;
    }
    if (!hasParent || alreadySkinned) return TPreDispatch::Skip;
    return TPreDispatch::Proceed;
}

TSkin3rdMatch FindSkin3rd(const std::vector<std::wstring>& lines, std::wstring_view className) {
    TSkin3rdMatch m;
    const std::wstring prefix = LowerAscii(className) + L"=";
    for (const std::wstring& line : lines) {
        std::wstring lower = LowerAscii(line);
        if (lower.compare(0, prefix.size(), prefix) != 0) continue;
        m.Found = true;
        m.Kind = lower.substr(prefix.size(), 50);
        m.Line = std::move(lower);
        return m;
    }
    return m;
}

TSkinChoice Skin3rdChoice(const TSkin3rdMatch& match, const TControlFacts& facts,
                          const TDispatchSettings& settings) {
    const TSkinControlSet g = settings.SkinControls;
    const std::wstring& k = match.Kind;
    TSkinChoice r = MatchedNothing();
    if (!match.Found) {
        r.Matched = false;
        return r;
    }
    auto gated = [&](int gate, TSkinClass c) { return Has(g, gate) ? Attach(c) : MatchedNothing(); };

    if (k == L"combobox") return gated(xcCombo, TSkinClass::SkinComBox);
    if (k == L"comboboxex") {
        r = gated(xcCombo, TSkinClass::SkinComBox);
        r.ExtendedMode = r.Class != TSkinClass::None;
        return r;
    }
    if (k == L"edit") {
        r = gated(xcEdit, TSkinClass::SkinEdit);
        r.OnlyWithBorder = r.Class != TSkinClass::None;
        if (r.OnlyWithBorder && !facts.HasBorder) r = MatchedNothing();
        return r;
    }
    if (k == L"radiobutton") return gated(xcRadioButton, TSkinClass::SkinRadioButton);
    if (k == L"panel" || k == L"trackbar") {
        const int gate = k == L"panel" ? xcPanel : xcButton;
        r = gated(gate, k == L"panel" ? TSkinClass::SkinBox : TSkinClass::SkinTrackBar);
        r.SetTransparent = r.Class != TSkinClass::None;
        return r;
    }
    if (k == L"button") return gated(xcButton, TSkinClass::SkinButton);
    if (k == L"datetimepicker") return gated(xcCombo, TSkinClass::SkinDateTime);
    if (k == L"mediaplayer") return gated(xcButton, TSkinClass::SkinMP);
    if (k == L"bitbtn") {
        if (!Has(g, xcButton)) return r;
        if (match.Line.compare(0, 10, L"tcxbutton=") == 0 &&
            LowerAscii(facts.KindProperty) == L"cxbkdropdownbutton")
            return Attach(TSkinClass::SkinMenuButton);
        return Attach(TSkinClass::SkinBitButton);
    }
    if (k == L"pngbitbtn" || k == L"pngspeedbutton") {
        r = gated(xcButton, k == L"pngbitbtn" ? TSkinClass::SkinBitButton : TSkinClass::SkinSpeedButton);
        if (r.Class != TSkinClass::None) r.GlyphProperty = L"PngImage";
        return r;
    }
    if (k == L"menubtn") return gated(xcButton, TSkinClass::SkinMenuButton);
    if (k == L"speedbutton") return gated(xcSpeedButton, TSkinClass::SkinSpeedButton);
    if (k == L"tab") return Has(g, xcTab) && settings.HasTabImage ? TabChoice(facts) : r;
    if (k == L"progress") return gated(xcProgress, TSkinClass::SkinProgress);
    if (k == L"scrollbar") {
        r = gated(xcScrollbar, TSkinClass::SkinScrollbar);
        if (r.Class != TSkinClass::None) r.Children = TChildren::After;
        return r;
    }
    if (k == L"singlescrollbar") {
        r = gated(xcScrollbar, TSkinClass::SkinScrollbar);
        r.SingleMode = r.Class != TSkinClass::None;
        return r;
    }
    if (k == L"embedscrollbar") {
        if (Has(g, xcScrollbar)) {
            r.ChildClass = TSkinClass::SkinScrollbar;
            r.ChildOnlyIfScrolling = true;
        }
        return r;
    }
    if (k == L"container") return ChildrenOnly(TChildren::Before);
    if (k == L"groupbox") return gated(xcGroupBox, TSkinClass::SkinGroupBox);
    if (k == L"advpagecontrol") return gated(xcTab, TSkinClass::SkinAdvPage);
    if (k == L"radiogroup") {
        if (!Has(g, xcGroupBox)) return r;
        r = Attach(TSkinClass::SkinGroupBox);
        if (Has(g, xcRadioButton)) {
            r.ChildClass = TSkinClass::SkinRadioButton;
            r.ChildObjImageKind = 2;
        }
        return r;
    }
    if (k == L"checkgroup") {
        if (!Has(g, xcPanel)) return r;
        if (Has(g, xcGroupBox)) r.Class = TSkinClass::SkinGroupBox;
        // The items follow the radio-button gate, as the check group always has.
        if (Has(g, xcRadioButton)) {
            r.ChildClass = TSkinClass::SkinCheckBox;
            r.ChildObjImageKind = 1;
        }
        return r;
    }
    if (k == L"checkbox") return gated(xcCheckBox, TSkinClass::SkinCheckBox);
    // "nil" and kinds the engine does not know: matched, nothing attached.
    return r;
}

bool SkipsBuiltInChain(std::wstring_view className) {
    return OneOf(UpperAscii(className), {L"TDBCOMBOBOXEH", L"TFRDESIGNERPAGE", L"TFRPBOX"});
}

TSkinChoice BuiltInChain(const TControlFacts& facts, const TDispatchSettings& settings) {
    const TSkinControlSet g = settings.SkinControls;
    const std::wstring cls = UpperAscii(facts.ClassName);
    auto is = [&](const wchar_t* name) { return DescendsFrom(facts, name); };
    const bool tabs = Has(g, xcTab) && settings.HasTabImage;

    if (cls == L"TTABSET" && tabs) return Attach(TSkinClass::SkinTab31);
    if (cls == L"TTABBEDNOTEBOOK" && tabs) return TabChoice(facts);
    if (cls == L"TMVCPANEL") return ChildrenOnly(TChildren::After);
    if (is(L"TCustomCheckBox") && Has(g, xcCheckBox)) return Attach(TSkinClass::SkinCheckBox);
    if (OneOf(cls, {L"TUPDOWN", L"TSPINBUTTON"}) && Has(g, xcSpin)) return Attach(TSkinClass::SkinUpDown);
    if (cls == L"TMEDIAPLAYER" && Has(g, xcButton)) return Attach(TSkinClass::SkinMP);
    if (cls == L"TDBNAVIGATOR" && Has(g, xcPanel)) {
        TSkinChoice r = Attach(TSkinClass::SkinBox);
        r.Container = true;
        r.Children = TChildren::After;
        return r;
    }
    if (OneOf(cls, {L"TRZDBCHECKBOX", L"TRZCHECKBOX"}) && Has(g, xcCheckBox)) {
        TSkinChoice r = Attach(TSkinClass::SkinObjImage);
        r.ObjImageKind = 1;
        return r;
    }
    if (OneOf(cls, {L"TRZRADIOBUTTON", L"TRZDBRADIOBUTTON"}) && Has(g, xcRadioButton)) {
        TSkinChoice r = Attach(TSkinClass::SkinObjImage);
        r.ObjImageKind = 2;
        return r;
    }
    if (OneOf(cls, {L"TCXDBCHECKBOX", L"TCXCHECKBOX"}) && Has(g, xcCheckBox)) {
        TSkinChoice r = Attach(TSkinClass::SkinObjImage);
        r.ObjImageKind = 3;
        return r;
    }
    if (cls == L"TTNTCOMBOBOX" && Has(g, xcCombo)) return Attach(TSkinClass::SkinComBox);
    if (is(L"TCustomComboBox") && Has(g, xcCombo)) return Attach(TSkinClass::SkinComBox);
    if (OneOf(cls, {L"TRICHEDIT", L"TWWDBRICHEDIT", L"TDXDBMEMO"}) && Has(g, xcScrollbar))
        return Attach(TSkinClass::SkinScrollbar);
    // A bitmap button never falls through to the push-button row.
    if (is(L"TBitBtn")) return Has(g, xcBitBtn) ? Attach(TSkinClass::SkinBitButton) : MatchedNothing();
    if (is(L"TSpeedButton") && Has(g, xcSpeedButton)) return Attach(TSkinClass::SkinSpeedButton);
    if (is(L"TCustomPanel") && Has(g, xcPanel)) {
        TSkinChoice r = Attach(TSkinClass::SkinBox);
        r.Container = true;
        r.Children = TChildren::Before;
        return r;
    }
    if (OneOf(cls, {L"TDXTREELIST", L"TDXDBTREELIST", L"TDXDBGRID"}) && Has(g, xcScrollbar))
        return Attach(TSkinClass::SkinScrollbar);
    if (is(L"TCustomListView") && Has(g, xcScrollbar)) return Attach(TSkinClass::SkinListView);
    if (((facts.Windowed && facts.ScrollStyle) || is(L"TCustomTreeView")) && Has(g, xcScrollbar))
        return Attach(TSkinClass::SkinScrollbar);
    if (is(L"TButton") && Has(g, xcButton)) return Attach(TSkinClass::SkinButton);
    if (is(L"TCustomEdit") && Has(g, xcEdit)) return Attach(TSkinClass::SkinEdit);
    const bool dcEdit = OneOf(cls, {L"TDCEDIT", L"TDCDBEDIT"});
    if (!dcEdit && is(L"TCustomForm")) {
        TSkinChoice r = Attach(TSkinClass::SkinBox);
        r.Container = true;
        r.Children = TChildren::OwnedControls;
        return r;
    }
    if (dcEdit) {
        if (facts.NumButtons == 1 && Has(g, xcCombo)) return Attach(TSkinClass::SkinComBox);
        if (facts.NumButtons == 0 && Has(g, xcEdit)) return Attach(TSkinClass::SkinEdit);
    }
    return {};
}

TSkinChoice FrameworkExtraChoice(const TControlFacts& facts, const TDispatchSettings& settings) {
    const TSkinControlSet g = settings.SkinControls;
    if (DescendsFrom(facts, L"TStatusBar")) return Has(g, xcStatusBar) ? Attach(TSkinClass::SkinStatusBar) : TSkinChoice{};
    if (DescendsFrom(facts, L"TScrollBar")) return Has(g, xcScrollbar) ? Attach(TSkinClass::SkinScControl) : TSkinChoice{};
    return {};
}

TSkinChoice ForeignWindowChoice(std::wstring_view className, std::uint32_t style, TSkinControlSet g) {
    const std::wstring cls = LowerAscii(className.substr(0, 100));
    if (cls == L"button" && (style & 0xB) != 0xB) {
        if ((style & 7) == 7 || (style & 0x80) != 0) return MatchedNothing();
        if ((style & 3) == 3 || (style & 0x2) != 0 || (style & 5) == 5)
            return Has(g, xcCheckBox) ? Attach(TSkinClass::SkinCheckBox) : MatchedNothing();
        if ((style & 9) == 9 || (style & 0x4) != 0)
            return Has(g, xcRadioButton) ? Attach(TSkinClass::SkinRadioButton) : MatchedNothing();
        return Has(g, xcButton) ? Attach(TSkinClass::SkinButton) : MatchedNothing();
    }
    if (cls == L"combobox" && Has(g, xcCombo))
        return (style & 3) == 1 ? MatchedNothing() : Attach(TSkinClass::SkinComBox);

    if (cls == L"comboboxex32" && Has(g, xcCombo)) {
        TSkinChoice r = Attach(TSkinClass::SkinComBox);
        r.OnFirstChild = true;
        return r;
    }
    if (cls == L"scrollbar" && (style & 0x10000) == 0) return Attach(TSkinClass::SkinSizer);
    if (cls == L"systreeview32") return MatchedNothing();
    if (cls == L"#32770" && (style & 0x10000) == 0) {
        TSkinChoice r = Attach(TSkinClass::SkinBoxH);
        r.Children = TChildren::Before;
        return r;
    }
    if (cls == L"tpanel" || cls == L"ttntpanel.unicodeclass" || cls == L"ttntsilentpaintpanel.unicodeclass") {
        TSkinChoice r = ChildrenOnly(TChildren::Before);
        r.FaceColour = true;
        return r;
    }
    if (cls == L"tcheckbox" && Has(g, xcCheckBox)) return Attach(TSkinClass::SkinCheckBox);
    if (cls == L"tcombobox" && Has(g, xcCombo)) return Attach(TSkinClass::SkinComBox);
    if (cls == L"tbutton" && Has(g, xcButton)) return Attach(TSkinClass::SkinButton);
    if (cls == L"tprogressbar") return Attach(TSkinClass::SkinProgress);
    if (cls == L"tsilentpaintpanel") {
        TSkinChoice r = MatchedNothing();
        r.FaceColour = true;
        return r;
    }
    if (cls == L"systabcontrol32" && Has(g, xcTab) && (style & 0x2000) == 0)
        return Attach((style & kTabButtonsStyle) ? TSkinClass::SkinTabBtn : TSkinClass::SkinTab);
    if (cls == L"toolbarwindow32") return Attach(TSkinClass::SkinBoxH);
    if (cls == L"edit" && Has(g, xcEdit)) return Attach(TSkinClass::SkinEdit);
    return {};
}

}  // namespace vx
