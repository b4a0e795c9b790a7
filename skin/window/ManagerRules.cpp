#include "skin/window/ManagerRules.h"

namespace vx {

std::wstring LowerAscii(std::wstring text) {
    for (wchar_t& c : text)
        if (c >= L'A' && c <= L'Z') c = static_cast<wchar_t>(c - L'A' + L'a');
    return text;
}

TAttachRefusal DecideAttach(IAttachFacts& facts) {
    using namespace style_bits;
    if (!facts.ManagerActive()) return TAttachRefusal::NotActive;
    facts.Purge();
    if (facts.AnswersSkinQuery() || facts.HasFormObject()) return TAttachRefusal::AlreadySkinned;
    const bool framework = facts.FindFrameworkForm();
    if (!facts.Scanning()) {
        const std::uint32_t style = facts.Style();
        if ((style & Child) && !(facts.ExStyle() & ExMdiChild) && LowerAscii(facts.ParentClassName()) != L"mdiclient")
            return TAttachRefusal::OrdinaryChild;
    }
    const std::wstring className = facts.ClassName();
    if (!framework && !facts.InstanceIsModule() && className != L"#32770") return TAttachRefusal::NotOurs;
    if (!facts.HasArea() && !(facts.ExStyle() & ExMdiChild)) return TAttachRefusal::NoArea;
    if (framework && facts.FormTag() == 99) return TAttachRefusal::Tag99;
    if (className.find(L"TcxPopupEditPopupWindow") != std::wstring::npos ||
        className.find(L"TTERenderWindow") != std::wstring::npos || className == L"TApplication")
        return TAttachRefusal::RefusedClass;
    if (!facts.ClassFilterAccepts(className)) return TAttachRefusal::ClassFilter;
    if (!facts.ChooseSkinData(className)) return TAttachRefusal::NoSkinData;
    if (!facts.ChosenHasSkin()) return TAttachRefusal::NoSkin;
    return TAttachRefusal::None;
}

bool ClassFilterAccepts(const TClassFilterInput& in, const std::function<void(const std::wstring&, bool&)>& formSkinQuery) {
    if (!in.HasMainSkinData) return true;
    bool doSkin = true;
    const std::wstring lower = LowerAscii(in.ClassName);
    if (!in.Preview && lower.find(L"preview") != std::wstring::npos) doSkin = false;
    if (in.ClassName == L"#32770" && (in.Style & style_bits::DialogBit200)) doSkin = false;
    if (lower == L"tpopupdbtreeview") doSkin = false;
    if (formSkinQuery) formSkinQuery(in.ClassName, doSkin);
    return doSkin;
}

int ChooseSkinData(const std::vector<TSkinDataEntry>& registered, const std::wstring& className) {
    const int n = static_cast<int>(registered.size());
    for (int i = n - 1; i >= 0; --i)
        if (registered[i].Scope == TSkinScope::OnlyThisForm && registered[i].OwnerIsThisWindow) return i;
    const std::wstring lower = LowerAscii(className);
    if (lower == L"tmessageform" || lower == L"#32770")
        for (int i = n - 1; i >= 0; --i)
            if (registered[i].Scope == TSkinScope::Dialog) return i;
    for (int i = n - 1; i >= 0; --i)
        if (registered[i].Scope == TSkinScope::MainForm) return i;
    return n > 0 ? 0 : -1;
}

void RequestAction(TActionState& s, std::uint32_t action, std::uint32_t delayMs) {
    s.PendingAction = action;
    s.TimerInterval = delayMs;
    if (s.State != 0) {
        s.TimerEnabled = true;
        return;
    }
    if (action == 1 || action == 2) s.Active = action == 1;
}

TTickWork TickWork(TSkinScope scope, std::uint32_t action) {
    const bool one = scope == TSkinScope::OnlyThisForm;
    switch (action) {
    case 1: return one ? TTickWork::ActivateOneForm : TTickWork::ActivateAll;
    case 2: return one ? TTickWork::DeactivateOneForm : TTickWork::DeactivateAll;
    case 3: return one ? TTickWork::RefreshFirst : TTickWork::RefreshAll;
    case 6: return TTickWork::Purge;
    default: return TTickWork::None;
    }
}

}  // namespace vx
