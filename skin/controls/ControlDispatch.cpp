#include "skin/controls/ControlDispatch.h"

#include <algorithm>
#include <memory>
#include <string>
#include <vector>

#include "framework/ComCtrls.h"
#include "framework/Controls.h"
#include "framework/ExtCtrls.h"
#include "framework/Forms.h"
#include "skin/controls/SkinControl.h"
#include "skin/controls/SkinFactory.h"
#include "skin/data/SkinData.h"
#include "skin/window/FormSkinner.h"
#include "skin/window/SkinMessages.h"

namespace vx {

namespace {

const TControlSkinData* DataOf(const TFormSkinner& host) {
    return host.SkinData() ? host.SkinData()->ControlSkinData() : nullptr;
}

bool AnswersQuery(HWND window) { return window && ::SendMessageW(window, WM_SKINQUERY, 0, 0) == 1; }

std::wstring ClassNameOf(HWND window) {
    wchar_t buffer[101] = {};
    const int n = ::GetClassNameW(window, buffer, 101);
    return std::wstring(buffer, n > 0 ? static_cast<size_t>(n) : 0);
}

bool Scrolls(TControl* control) {
    if (control->InheritsFrom(TCustomTreeView::StaticClass())) return true;
    auto* windowed = dynamic_cast<TWinControl*>(control);
    if (!windowed || !windowed->HandleAllocated()) return false;
    return (::GetWindowLongW(windowed->GetHandle(), GWL_STYLE) & (WS_HSCROLL | WS_VSCROLL)) != 0;
}

std::vector<TControl*> ChildrenOf(TControl* control) {
    std::vector<TControl*> children;
    if (auto* windowed = dynamic_cast<TWinControl*>(control))
        for (int i = 0; i < windowed->ControlCount(); ++i) children.push_back(windowed->Controls(i));
    return children;
}

bool IsWithin(const TControl* control, const TControl* ancestor) {
    for (const TControl* c = control; c; c = c->GetParent())
        if (c == ancestor) return true;
    return false;
}

bool Listed(const TFormSkinner& host, const TSkinControl* skin) {
    const auto& list = host.ControlSkins();
    return std::find(list.begin(), list.end(), skin) != list.end();
}

// The classes skin objects make for themselves over or beside a control.
const wchar_t* const kCompanionClasses[] = {L"TWScrollbar", L"TWMediaPlayer", L"TArrowButton"};

}  // namespace

// --- facts and settings --------------------------------------------------------------------------

TControlFacts TControlDispatcher::FactsOf(TControl* control) {
    TControlFacts f;
    f.ClassName = control->ClassName();
    for (const TClassInfo* c = &control->ClassType(); c; c = c->Parent()) f.Ancestry.push_back(c->Name());
    if (auto* windowed = dynamic_cast<TWinControl*>(control)) {
        f.Windowed = true;
        if (windowed->HandleAllocated()) {
            const HWND h = windowed->GetHandle();
            f.ScrollStyle = (::GetWindowLongW(h, GWL_STYLE) & (WS_HSCROLL | WS_VSCROLL)) != 0;
            RECT wr{}, cr{};
            ::GetWindowRect(h, &wr);
            ::GetClientRect(h, &cr);
            f.HasBorder = wr.right - wr.left != cr.right || wr.bottom - wr.top != cr.bottom;
        }
    }
    f.NumButtons = TSkinControl::ReadIntProperty(control, L"NumButtons");
    f.KindProperty = TSkinControl::ReadEnumProperty(control, L"Kind");
    if (auto* windowed = dynamic_cast<TWinControl*>(control); windowed && windowed->HandleAllocated())
        f.ButtonTabs = (::GetWindowLongW(windowed->GetHandle(), GWL_STYLE) & kTabButtonsStyle) != 0;
    return f;
}

TDispatchSettings TControlDispatcher::SettingsOf(const TSkinData& data) {
    TDispatchSettings s;
    s.SkinControls = data.GetSkinControls();
    s.HasTabImage = data.Model().Tabs != nullptr;
    return s;
}

bool TControlDispatcher::IsSkinCompanion(const TFormSkinner& host, const TControl* control) {
    for (const wchar_t* name : kCompanionClasses)
        if (control->InheritsFrom(std::wstring_view(name))) return true;
    const auto& list = host.ControlSkins();
    return std::any_of(list.begin(), list.end(), [&](const TSkinControl* s) {
        return s->IsCompanion(control) && s->Control() != control;
    });
}

TSkinControl* TControlDispatcher::ListedSkinOf(const TFormSkinner& host, const TControl* control) {
    for (TSkinControl* s : host.ControlSkins())
        if (s->Control() == control) return s;
    return nullptr;
}

// --- framework forms ---------------------------------------------------------------------------

void TControlDispatcher::FreeDead(TFormSkinner& host) {
    for (TSkinControl* s : std::vector<TSkinControl*>(host.ControlSkins()))
        if (s->State() == scsDestroyed) FreeControlSkin(s, false);
}

void TControlDispatcher::AttachFormControls(TFormSkinner& host, TCustomForm& form) {
    TSkinData* data = host.SkinData();
    if (!data) return;
    FreeDead(host);
    std::vector<TControl*> owned;
    for (int i = 0; i < form.ComponentCount(); ++i)
        if (auto* c = dynamic_cast<TControl*>(form.Components(i))) owned.push_back(c);
    for (TControl* c : owned) DispatchControl(host, c, &form);
    // Owner-drawn popup menus belong to menu skinning, which does not exist yet.
    std::vector<TWinControl*> tabOrder;
    form.GetTabOrderList(tabOrder);
    for (TWinControl* c : tabOrder) {
        if (!c->HandleAllocated() || c->GetTag() == data->GetDisableTag() || AnswersQuery(c->GetHandle())) continue;
        DispatchControl(host, c, &form);
    }
}

void TControlDispatcher::DispatchControl(TFormSkinner& host, TControl* control, TControl* parent) {
    TSkinData* data = host.SkinData();
    if (!data || !control || control->IsDestroying() || IsSkinCompanion(host, control)) return;
    auto* windowed = dynamic_cast<TWinControl*>(control);
    TSkinControl* listed = ListedSkinOf(host, control);
    if (listed && listed->State() == scsDestroyed) {
        // Its window was destroyed and made anew (the control, or a container around it,
        // was re-created): the object that stood aside makes room for a fresh one.
        FreeControlSkin(listed, false);
        listed = nullptr;
    }
    bool already = listed != nullptr;
    if (!already && windowed && windowed->HandleAllocated()) already = AnswersQuery(windowed->GetHandle());
    switch (PreDispatch(control->ClassName(), control->GetTag(), data->GetDisableTag(), control->GetParent() != nullptr,
                        already)) {
    case TPreDispatch::Disabled:
    case TPreDispatch::Skip: return;
    case TPreDispatch::DisabledGroup:
        // The items of a group left alone stay alone too.
        for (TControl* child : ChildrenOf(control)) child->SetTag(data->GetDisableTag());
        return;
    case TPreDispatch::Proceed: break;
    }
    if (windowed) windowed->HandleNeeded();

    if (data->OnSkinControl) {
        TComponent* skinned = nullptr;
        data->OnSkinControl(&host, data, parent, control, UpperAscii(control->ClassName()), skinned);
        if (skinned) {
            auto* skin = dynamic_cast<TSkinControl*>(skinned);
            if (skin && !Listed(host, skin)) {
                skin->InitControl(&host, DataOf(host), false, nullptr);
                if (control->InheritsFrom(TCustomPanel::StaticClass())) {
                    for (TControl* child : ChildrenOf(control)) DispatchControl(host, child, control);
                }
            }
            return;
        }
    }

    std::vector<std::wstring> lines;
    if (TStrings* rows = data->GetSkin3rd())
        for (int i = 0; i < rows->GetCount(); ++i) lines.push_back(rows->Get(i));
    const TSkin3rdMatch match = FindSkin3rd(lines, control->ClassName());
    if (match.Found) {
        Carry(host, Skin3rdChoice(match, FactsOf(control), SettingsOf(*data)), control);
        return;
    }
    if (SkipsBuiltInChain(control->ClassName())) return;
    const TSkinChoice choice = BuiltInChain(FactsOf(control), SettingsOf(*data));
    if (choice.Matched) {
        Carry(host, choice, control);
        return;
    }
    // A page added to a page control after the control got its pane: it shows the pane
    // like the pages that were there at the attach.
    if (control->InheritsFrom(TTabSheet::StaticClass())) {
        TSkinControl* parentSkin = ListedSkinOf(host, control->GetParent());
        if (parentSkin && parentSkin->State() != scsDestroyed && parentSkin->ClassName() == L"TSkinTab") {
            TSkinChoice sheet;
            sheet.Matched = true;
            sheet.Class = TSkinClass::SkinTabSheet;
            AttachObject(host, sheet, control);
        }
    }
}

void TControlDispatcher::Carry(TFormSkinner& host, const TSkinChoice& choice, TControl* control) {
    if (choice.SetTransparent) TSkinControl::WriteProperty(control, L"Transparent", L"True");
    if (choice.ChildClass != TSkinClass::None) {
        const int disableTag = host.SkinData()->GetDisableTag();
        for (TControl* child : ChildrenOf(control)) {
            if (choice.ChildOnlyIfScrolling && !Scrolls(child)) continue;
            if (choice.ChildOnlyIfSheet && !child->InheritsFrom(TTabSheet::StaticClass())) continue;
            if (child->GetTag() == disableTag || ListedSkinOf(host, child) || IsSkinCompanion(host, child)) continue;
            TSkinChoice item;
            item.Matched = true;
            item.Class = choice.ChildClass;
            if (choice.ChildObjImageKind != 0 && UpperAscii(child->ClassName()).find(L"TRZ") != std::wstring::npos) {
                item.Class = TSkinClass::SkinObjImage;
                item.ObjImageKind = choice.ChildObjImageKind;
            }
            AttachObject(host, item, child);
        }
    }
    if (choice.Children == TChildren::Before) DispatchChildren(host, control);
    AttachObject(host, choice, control);
    if (choice.Children == TChildren::After) DispatchChildren(host, control);
    if (choice.Children == TChildren::OwnedControls) {
        std::vector<TControl*> owned;
        for (int i = 0; i < control->ComponentCount(); ++i)
            if (auto* c = dynamic_cast<TControl*>(control->Components(i))) owned.push_back(c);
        for (TControl* c : owned) DispatchControl(host, c, control);
    }
}

void TControlDispatcher::DispatchChildren(TFormSkinner& host, TControl* control) {
    for (TControl* child : ChildrenOf(control)) DispatchControl(host, child, control);
}

bool TControlDispatcher::AttachObject(TFormSkinner& host, const TSkinChoice& choice, TControl* control) {
    if (choice.Class == TSkinClass::None) return false;
    if (auto* windowed = dynamic_cast<TWinControl*>(control)) windowed->HandleNeeded();
    std::unique_ptr<TSkinControl> skin = CreateControlSkin(choice, control);
    if (!skin) return false;  // a kind without a skin object yet
    skin->InitControl(&host, DataOf(host), choice.Container, nullptr);
    // From here the control owns it as a component and the host lists it; either frees it.
    skin.release();
    return true;
}

// --- windows of other code ------------------------------------------------------------------------

void TControlDispatcher::AttachChildControl(TFormSkinner& host, HWND child) {
    if (!host.SkinData() || !child || !::IsWindow(child)) return;
    if (host.Form()) {
        if (TWinControl* control = FindControl(child)) {
            DispatchControl(host, control, control->GetParent());
            return;
        }
        // Inner windows of framework controls (a combo box's edit) are theirs to paint.
        if (::GetParent(child) != host.Window()) return;
    }
    AttachForeignWindow(host, child);
}

void TControlDispatcher::AttachForeignWindow(TFormSkinner& host, HWND window) {
    TSkinData* data = host.SkinData();
    if (!data) return;
    for (const TSkinControl* s : host.ControlSkins())
        if (s->Window() == window) return;
    const TSkinChoice choice = ForeignWindowChoice(ClassNameOf(window),
                                                   static_cast<std::uint32_t>(::GetWindowLongW(window, GWL_STYLE)),
                                                   data->GetSkinControls());
    if (!choice.Matched) return;
    if (choice.Children == TChildren::Before) {
        std::vector<HWND> children;
        for (HWND c = ::GetWindow(window, GW_CHILD); c; c = ::GetWindow(c, GW_HWNDNEXT))
            if (::GetWindowLongW(c, GWL_STYLE) & WS_CHILD) children.push_back(c);
        for (HWND c : children) AttachForeignWindow(host, c);
    }
    if (choice.FaceColour) {
        if (TWinControl* control = FindControl(window)) control->SetColor(data->Model().ButtonFaceColour);
    }
    const HWND target = choice.OnFirstChild ? ::GetWindow(window, GW_CHILD) : window;
    if (!target || choice.Class == TSkinClass::None) return;
    if (target != window)
        for (const TSkinControl* s : host.ControlSkins())
            if (s->Window() == target) return;
    std::unique_ptr<TSkinControl> skin = CreateControlSkin(choice, nullptr);
    if (!skin) return;
    skin->InitWindow(target, DataOf(host), &host, nullptr);
    skin.release();  // the host's list frees it
}

// --- renewal, refresh and freeing ------------------------------------------------------------------

void TControlDispatcher::Rescroll(TFormSkinner& host, HWND child) {
    if (!host.SkinData()) return;
    if (!child) {
        // Objects whose windows are gone: controls with a new window are skinned afresh.
        std::vector<TControl*> again;
        for (TSkinControl* s : std::vector<TSkinControl*>(host.ControlSkins())) {
            if (s->State() != scsDestroyed) continue;
            auto* windowed = dynamic_cast<TWinControl*>(s->Control());
            if (windowed && windowed->HandleAllocated() && !windowed->IsDestroying()) again.push_back(windowed);
            FreeControlSkin(s, false);
        }
        for (TControl* c : again) DispatchControl(host, c, c->GetParent());
        return;
    }
    TWinControl* control = ::IsWindow(child) ? FindControl(child) : nullptr;
    std::vector<TSkinControl*> old;
    bool scrollSkin = false;
    for (TSkinControl* s : host.ControlSkins()) {
        const bool own = (control && s->Control() == control) || s->Window() == child;
        const bool scrolls = s->InheritsFrom(L"TSkinScrollbar");
        // A scroll-bar skin is renewed; any other object only when its window is gone
        // (children of a container made anew lost their windows with it).
        const bool dead = s->State() == scsDestroyed;
        if ((own && (scrolls || dead)) || (control && dead && s->Control() && IsWithin(s->Control(), control))) {
            old.push_back(s);
            scrollSkin = scrollSkin || (own && scrolls);
        }
    }
    for (TSkinControl* s : old) FreeControlSkin(s, s->State() != scsDestroyed);
    if (control) {
        if (scrollSkin) {
            TSkinChoice fresh;
            fresh.Matched = true;
            fresh.Class = control->InheritsFrom(TCustomListView::StaticClass()) ? TSkinClass::SkinListView
                                                                                : TSkinClass::SkinScrollbar;
            AttachObject(host, fresh, control);
        }
        DispatchControl(host, control, control->GetParent());
    } else if (::IsWindow(child)) {
        AttachForeignWindow(host, child);
    }
}

void TControlDispatcher::RefreshControlSkin(TSkinControl* skin) {
    if (skin && skin->State() != scsDestroyed) skin->RefreshSkin();
}

void TControlDispatcher::FreeControlSkin(TSkinControl* skin, bool restore) {
    if (!skin) return;
    if (restore && skin->State() != scsDestroyed) skin->RestoreControl();
    delete skin;
}

void SkinFrameworkExtras(TComponent*, TSkinData* SkinData, TControl*, TControl* Control, const std::wstring&,
                         TComponent*& SkinnedControl) {
    if (!SkinData || !Control || SkinnedControl) return;
    const TSkinChoice choice =
        FrameworkExtraChoice(TControlDispatcher::FactsOf(Control), TControlDispatcher::SettingsOf(*SkinData));
    if (!choice.Matched) return;
    // Owned by the control from here; the dispatcher initialises and lists it.
    SkinnedControl = CreateControlSkin(choice, Control).release();
}

void InstallControlSkinning() {
    static TControlDispatcher dispatcher;
    SetControlSkinFactory(&dispatcher);
}

}  // namespace vx
