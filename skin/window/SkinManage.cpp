#include "skin/window/SkinManage.h"

#include <algorithm>

#include "framework/ExtCtrls.h"
#include "framework/Forms.h"
#include "framework/Handles.h"
#include "skin/window/FormSkinner.h"
#include "skin/window/MenuSkinner.h"
#include "skin/window/SkinMessages.h"

namespace vx {

namespace {

TSkinManage* g_manager = nullptr;
THook g_hook;  // the window-creation hook, held while a manager lives
bool g_shuttingDown = false;
uint32_t g_version = 0;
bool g_versionSet = false;

std::wstring ClassNameOf(HWND window) {
    wchar_t buffer[101] = {};
    const int n = ::GetClassNameW(window, buffer, 101);
    return std::wstring(buffer, n > 0 ? static_cast<size_t>(n) : 0);
}

TSkinScope ScopeOf(const TSkinData* data) { return static_cast<TSkinScope>(data->GetSkinFormtype()); }

// The owner control's window of a component (null when it has none yet).
HWND OwnerWindow(const TSkinData* data) {
    TComponent* owner = data->Owner();
    if (!owner || !owner->InheritsFrom(TWinControl::StaticClass())) return nullptr;
    auto* control = static_cast<TWinControl*>(owner);
    return control->HandleAllocated() ? control->GetHandle() : nullptr;
}

LRESULT CALLBACK CbtHook(int code, WPARAM wParam, LPARAM lParam) {
    if (code >= 0 && !g_shuttingDown && g_manager) {
        try {
            TSkinManage& m = *g_manager;
            switch (code) {
            case HCBT_CREATEWND: {
                auto* create = reinterpret_cast<CBT_CREATEWNDW*>(lParam);
                HWND window = reinterpret_cast<HWND>(wParam);
                const std::wstring cls = ClassNameOf(window);
                const DWORD style = static_cast<DWORD>(create->lpcs->style);
                if (cls == L"ScrollBar" && (style & SBS_SIZEGRIP)) {
                    if (TFormSkinner* form = m.FindForm(create->lpcs->hwndParent)) form->AttachChildControl(window);
                } else if (!(style & WS_CHILD) && cls == L"#32768") {
                    m.AttachPopupMenu(window);
                } else if (create->lpcs->dwExStyle & WS_EX_MDICHILD) {
                    m.AttachForm(window);
                }
                break;
            }
            case HCBT_DESTROYWND: m.DetachPopupMenu(reinterpret_cast<HWND>(wParam)); break;
            case HCBT_ACTIVATE:
                if (m.GetState() == 0) m.SetState(1);
                m.AttachForm(reinterpret_cast<HWND>(wParam));
                break;
            default: break;
            }
        } catch (...) {
            // The hook goes on whatever skinning met.
        }
    }
    return ::CallNextHookEx(g_hook.Get(), code, wParam, lParam);
}

}  // namespace

uint32_t SkinWindowsVersion() { return g_versionSet ? g_version : static_cast<uint32_t>(::GetVersion()); }
void SetSkinWindowsVersion(uint32_t version) {
    g_version = version;
    g_versionSet = true;
}
bool SkinIsWindows9x() { return (SkinWindowsVersion() & 0x80000000u) != 0; }
bool SkinIsNtBefore5() { return !SkinIsWindows9x() && (SkinWindowsVersion() & 0xFF) < 5; }
bool SkinIsNtFrom52() {
    const uint32_t v = SkinWindowsVersion();
    const uint32_t major = v & 0xFF, minor = (v >> 8) & 0xFF;
    return !SkinIsWindows9x() && (major > 5 || (major == 5 && minor >= 2));
}
bool SkinIsWindows95() {
    const uint32_t v = SkinWindowsVersion();
    return SkinIsWindows9x() && (v & 0xFF) == 4 && ((v >> 8) & 0xFF) == 0;
}
bool SkinIsWindows2000() {
    const uint32_t v = SkinWindowsVersion();
    return !SkinIsWindows9x() && (v & 0xFF) == 5 && ((v >> 8) & 0xFF) == 0;
}

// --- the attach decision's facts, read from a window ------------------------------------

class TAttachFactsOfWindow : public IAttachFacts {
public:
    TAttachFactsOfWindow(TSkinManage& m, HWND w) : m_(m), w_(w) {}
    bool ManagerActive() override { return m_.active_; }
    void Purge() override { m_.Purge(); }
    bool AnswersSkinQuery() override { return ::SendMessageW(w_, WM_SKINQUERY, 0, 0) == 1; }
    bool HasFormObject() override { return m_.FindForm(w_) != nullptr; }
    bool FindFrameworkForm() override {
        form_ = TSkinManage::FindFrameworkForm(w_);
        return form_ != nullptr;
    }
    bool Scanning() override { return m_.scanning_; }
    std::uint32_t Style() override { return static_cast<std::uint32_t>(::GetWindowLongW(w_, GWL_STYLE)); }
    std::uint32_t ExStyle() override { return static_cast<std::uint32_t>(::GetWindowLongW(w_, GWL_EXSTYLE)); }
    std::wstring ParentClassName() override { return ClassNameOf(::GetParent(w_)); }
    std::wstring ClassName() override { return ClassNameOf(w_); }
    bool InstanceIsModule() override {
        return reinterpret_cast<HINSTANCE>(::GetWindowLongPtrW(w_, GWLP_HINSTANCE)) == ::GetModuleHandleW(nullptr);
    }
    bool HasArea() override {
        RECT r{};
        ::GetWindowRect(w_, &r);
        return r.right - r.left != 0 && r.bottom - r.top != 0;
    }
    std::intptr_t FormTag() override { return form_ ? form_->GetTag() : 0; }
    bool ClassFilterAccepts(const std::wstring& className) override { return m_.ClassFilter(w_, className); }
    bool ChooseSkinData(const std::wstring& className) override {
        data_ = m_.ChooseSkinData(w_, className);
        return data_ != nullptr;
    }
    bool ChosenHasSkin() override { return data_ && data_->GetHasSkin(); }

    TCustomForm* Form() const { return form_; }
    TSkinData* Data() const { return data_; }

private:
    TSkinManage& m_;
    HWND w_;
    TCustomForm* form_ = nullptr;
    TSkinData* data_ = nullptr;
};

// --- the manager -----------------------------------------------------------------------

TSkinManage::TSkinManage() : timer_(std::make_unique<TTimer>(nullptr)) {
    timer_->SetEnabled(false);
    timer_->SetInterval(100);
    timer_->OnTimer = [this](TObject*) { RunPendingAction(); };
    g_manager = this;
    g_shuttingDown = false;
}

TSkinManage::~TSkinManage() {
    state_ = 4;
    active_ = false;
    timer_.reset();
    // Each window gets its own procedure back, without repainting or resizing.
    while (!forms_.empty()) {
        TFormSkinner* form = forms_.back();
        forms_.pop_back();
        form->DetachQuiet();
        delete form;
    }
    popups_.clear();
    skinData_.clear();
    main_ = requesting_ = nullptr;
    g_hook.Reset();
    g_shuttingDown = true;
    if (g_manager == this) g_manager = nullptr;
}

TSkinManage* TSkinManage::Instance() { return g_manager; }

void TSkinManage::RegisterSkinData(TSkinData* data) {
    if (!data || std::find(skinData_.begin(), skinData_.end(), data) != skinData_.end()) return;
    skinData_.push_back(data);
    if (!main_ && data->GetSkinFormtype() == sfMainform) main_ = data;
}

void TSkinManage::UnregisterSkinData(TSkinData* data) {
    skinData_.erase(std::remove(skinData_.begin(), skinData_.end(), data), skinData_.end());
    if (requesting_ == data) requesting_ = nullptr;
    if (main_ == data) {
        main_ = nullptr;
        for (TSkinData* d : skinData_)
            if (d->GetSkinFormtype() == sfMainform) {
                main_ = d;
                break;
            }
    }
    // Form objects using the component must not reach it any more: they are taken off.
    for (size_t i = forms_.size(); i-- > 0;) {
        if (i >= forms_.size() || forms_[i]->SkinData() != data) continue;
        TFormSkinner* form = forms_[i];
        forms_.erase(forms_.begin() + static_cast<std::ptrdiff_t>(i));
        if (form->Lifecycle() == 6 || form->Lifecycle() == 4) form->DetachQuiet();
        else form->Detach();
        delete form;
    }
    for (auto it = popups_.begin(); it != popups_.end();) {
        if ((*it)->SkinData() == data) it = popups_.erase(it);
        else ++it;
    }
}

void TSkinManage::InstallHook() {
    if (!g_versionSet) g_version = static_cast<uint32_t>(::GetVersion());
    g_versionSet = true;
    if (!g_hook) g_hook.Reset(::SetWindowsHookExW(WH_CBT, &CbtHook, nullptr, ::GetCurrentThreadId()));
}

void TSkinManage::RequestAction(uint32_t action, uint32_t delayMs) {
    TActionState s{state_, active_, pendingAction_, delayMs, TimerEnabled()};
    vx::RequestAction(s, action, delayMs);
    pendingAction_ = s.PendingAction;
    active_ = s.Active;
    if (timer_) {
        timer_->SetInterval(s.TimerInterval);
        if (s.TimerEnabled) timer_->SetEnabled(true);
    }
}

bool TSkinManage::TimerEnabled() const { return timer_ && timer_->GetEnabled(); }
unsigned TSkinManage::TimerInterval() const { return timer_ ? timer_->GetInterval() : 0; }

void TSkinManage::ResetSkinButtons() {
    for (TFormSkinner* form : forms_)
        if (form->SkinData() == requesting_) form->FreeTitleButtons();
}

TFormSkinner* TSkinManage::FindForm(HWND window) const {
    for (TFormSkinner* form : forms_)
        if (form->Window() == window) return form;
    return nullptr;
}

void TSkinManage::RemoveForm(TFormSkinner* form) {
    if (state_ == 4) return;
    auto it = std::find(forms_.begin(), forms_.end(), form);
    if (it != forms_.end()) forms_.erase(it);
}

TCustomForm* TSkinManage::FindFrameworkForm(HWND window) {
    if (!window) return nullptr;
    for (int i = 0; i < Screen->FormCount(); ++i) {
        TCustomForm* form = Screen->Forms(i);
        if (form && form->HandleAllocated() && form->GetHandle() == window) return form->IsDestroying() ? nullptr : form;
    }
    TWinControl* control = FindControl(window);
    if (control && control->InheritsFrom(TCustomForm::StaticClass()) && !control->IsDestroying())
        return static_cast<TCustomForm*>(control);
    return nullptr;
}

void TSkinManage::Purge() {
    if (state_ == 4) return;
    for (size_t i = forms_.size(); i-- > 0;) {
        if (i >= forms_.size()) continue;
        TFormSkinner* form = forms_[i];
        if (form->Lifecycle() != 6) continue;
        forms_.erase(forms_.begin() + static_cast<std::ptrdiff_t>(i));
        delete form;
    }
}

TSkinData* TSkinManage::ChooseSkinData(HWND window, const std::wstring& className) const {
    std::vector<TSkinDataEntry> entries;
    for (TSkinData* d : skinData_) entries.push_back({ScopeOf(d), OwnerWindow(d) == window && window != nullptr});
    const int i = vx::ChooseSkinData(entries, className);
    return i < 0 ? nullptr : skinData_[static_cast<size_t>(i)];
}

bool TSkinManage::ClassFilter(HWND window, const std::wstring& className) const {
    TClassFilterInput in;
    in.HasMainSkinData = main_ != nullptr;
    in.Preview = main_ && main_->HasOption(xoPreview);
    in.ClassName = className;
    in.Style = static_cast<std::uint32_t>(::GetWindowLongW(window, GWL_STYLE));
    TSkinData* main = main_;
    return ClassFilterAccepts(in, [main, window](const std::wstring& name, bool& doSkin) {
        main->FormSkinQuery(window, name, doSkin);
    });
}

bool TSkinManage::AttachForm(HWND window) {
    if (!window || !::IsWindow(window)) return false;
    TAttachFactsOfWindow facts(*this, window);
    if (DecideAttach(facts) != TAttachRefusal::None) return false;
    TCustomForm* form = facts.Form();
    auto* skinner = new TFormSkinner(form);
    forms_.push_back(skinner);
    if (form) skinner->AttachFrameworkForm(facts.Data(), form);
    else skinner->AttachForeign(facts.Data(), window);
    ::PostMessageW(window, WM_SKINATTACHED, 0, 1000);
    return true;
}

void TSkinManage::ScanForm(TCustomForm* form) {
    if (!form || !form->GetVisible() || form->IsDestroying()) return;
    HWND h = form->GetHandle();
    if (::GetWindowLongW(h, GWL_STYLE) & WS_CHILD) return;
    AttachForm(h);
}

void TSkinManage::DetachAndFree(TFormSkinner* form) {
    HWND h = form->Window();
    RemoveForm(form);
    form->Detach();
    if (::IsWindow(h)) {
        ::InvalidateRect(h, nullptr, TRUE);
        ::UpdateWindow(h);
    }
    delete form;
}

void TSkinManage::RunPendingAction() {
    if (timer_) timer_->SetEnabled(false);
    TSkinData* d = requesting_;
    if (!d) return;
    switch (TickWork(ScopeOf(d), pendingAction_)) {
    case TTickWork::ActivateOneForm:
        active_ = scanning_ = true;
        for (int i = Screen->FormCount() - 1; i >= 0; --i)
            if (Screen->Forms(i) == d->Owner()) {
                ScanForm(Screen->Forms(i));
                break;
            }
        scanning_ = false;
        break;
    case TTickWork::ActivateAll:
        active_ = scanning_ = true;
        Purge();
        for (int i = Screen->FormCount() - 1; i >= 0; --i) ScanForm(Screen->Forms(i));
        scanning_ = false;
        break;
    case TTickWork::DeactivateOneForm:
        active_ = false;
        Purge();
        for (size_t i = forms_.size(); i-- > 0;)
            if (forms_[i]->SkinData() == d) {
                DetachAndFree(forms_[i]);
                break;
            }
        break;
    case TTickWork::DeactivateAll:
        active_ = false;
        Purge();
        while (!forms_.empty()) DetachAndFree(forms_.front());
        break;
    case TTickWork::RefreshFirst:
        Purge();
        for (TFormSkinner* form : forms_)
            if (form->SkinData() == d) {
                form->RebuildMetrics();
                form->Recolour();
                break;
            }
        break;
    case TTickWork::RefreshAll: {
        Purge();
        std::vector<TFormSkinner*> users;
        for (TFormSkinner* form : forms_)
            if (form->SkinData() == d) users.push_back(form);
        for (TFormSkinner* form : users) form->RebuildMetrics();
        for (TFormSkinner* form : users) form->Recolour();
        break;
    }
    case TTickWork::Purge: Purge(); break;
    case TTickWork::None: break;
    }
    if (requesting_ == d) {
        d->NotifySkinChanged();
        requesting_ = nullptr;
    }
}

void TSkinManage::SetMdiChildMaximized(bool value) {
    if (value == mdiChildMaximized_) return;
    mdiChildMaximized_ = value;
    if (main_ && main_->HasOption(xoMDIChildBorder)) return;
    for (TFormSkinner* form : forms_) {
        if (form->Mdi() != TMdiKind::Child) continue;
        if (value) {
            form->RemoveRegion();
        } else if (form->GetShowState() != TShowState::Minimized) {
            form->SetShowState(TShowState::Normal);
            form->UpdateRegion();
            if (!form->HasRegion())
                ::SetWindowPos(form->Window(), nullptr, 0, 0, 0, 0,
                               SWP_FRAMECHANGED | SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
        }
    }
}

// --- popup menus -----------------------------------------------------------------------

void TSkinManage::AttachPopupMenu(HWND window) {
    if (!active_ || IsPopupSkinned(window)) return;
    if (::IsWindow(window) && ::SendMessageW(window, WM_SKINQUERY, 0, 0) == 1) return;
    TSkinData* d = ChooseSkinData(window, L"#32768");
    if (!d || !d->GetHasSkin()) return;
    const bool allowed = MenuKind == mkSystemMenu        ? d->HasControl(xcSystemMenu)
                         : MenuKind == mkMenuBarDropDown ? (d->HasControl(xcMainMenu) || d->HasControl(xcMenuItem))
                                                         : d->HasControl(xcPopupMenu);
    if (!allowed) return;
    auto popup = std::make_unique<TPopupMenuSkinner>(d);
    if (!popup->Attach(window)) return;
    if (MenuBarTracking) popup->SetMenuBar(true);
    popups_.push_back(std::move(popup));
}

bool TSkinManage::DetachPopupMenu(HWND window) {
    bool found = false;
    for (auto it = popups_.begin(); it != popups_.end(); ++it)
        if ((*it)->Window() == window) {
            (*it)->Restore();
            popups_.erase(it);
            found = true;
            break;
        }
    if (popups_.empty()) {
        MenuBarTracking = false;
        MenuKind = mkPopup;
    }
    return found;
}

void TSkinManage::MarkPopupsMenuBar() {
    for (auto& p : popups_) p->SetMenuBar(true);
}

void TSkinManage::BindPopupMenu(HMENU menu) {
    if (!menu || PopupFor(menu)) return;
    for (auto it = popups_.rbegin(); it != popups_.rend(); ++it)
        if (!(*it)->Menu()) {
            (*it)->SetMenu(menu);
            return;
        }
}

TPopupMenuSkinner* TSkinManage::PopupFor(HMENU menu) const {
    if (!menu) return nullptr;
    for (auto& p : popups_)
        if (p->Menu() == menu) return p.get();
    return nullptr;
}

TBitmap* TSkinManage::PopupBackground(HMENU menu) const {
    TPopupMenuSkinner* popup = PopupFor(menu);
    return popup ? popup->Border() : nullptr;
}

HWND TSkinManage::NewestPopupWindow() const { return popups_.empty() ? nullptr : popups_.back()->Window(); }

bool TSkinManage::IsPopupSkinned(HWND window) const {
    for (auto& p : popups_)
        if (p->Window() == window) return true;
    return false;
}

// --- installation ------------------------------------------------------------------------

void InstallWindowSkinning() {
    InstallSkinManagerFactory([]() -> std::unique_ptr<ISkinManager> { return std::make_unique<TSkinManage>(); });
    static bool teardownAdded = false;
    if (!teardownAdded) {
        teardownAdded = true;
        Application->AddTeardown(&DestroySkinManager);
    }
}

}  // namespace vx
