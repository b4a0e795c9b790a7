#include "framework/StatusBar.h"

#include <algorithm>

namespace vx {

// --- Status bar --------------------------------------------------------------------------------------------

void TStatusPanel::SetText(const std::wstring& text) {
    text_ = text;
    owner_->UpdatePanels();
}
void TStatusPanel::SetWidth(int width) {
    width_ = width;
    owner_->UpdatePanels();
}
void TStatusPanel::SetAlignment(TAlignment a) {
    alignment_ = a;
    owner_->UpdatePanels();
}

TStatusPanel* TStatusPanels::Add() {
    TStatusPanel* panel = Append(std::make_unique<TStatusPanel>(owner_));
    owner_->UpdatePanels();
    return panel;
}

void TStatusPanels::Clear() {
    DropAll();
    owner_->UpdatePanels();
}

VX_IMPLEMENT_CLASS_WITH_PROPERTIES(TStatusBar, TWinControl)

void TStatusBar::RegisterProperties(TPropertyRegistrar<TStatusBar>& r) {
    r.Boolean(L"SimplePanel", &TStatusBar::GetSimplePanel, &TStatusBar::SetSimplePanel)
        .Text(L"SimpleText", &TStatusBar::GetSimpleText, &TStatusBar::SetSimpleText)
        .Boolean(L"SizeGrip", &TStatusBar::GetSizeGrip, &TStatusBar::SetSizeGrip);
}

TStatusBar::TStatusBar(TComponent* owner) : TWinControl(owner), panels_(std::make_unique<TStatusPanels>(this)) {
    SetColor(clBtnFace);
    SetBounds(0, 0, 200, 19);
    SetAlign(alBottom);
}

TStatusBar::~TStatusBar() = default;

void TStatusBar::CreateParams(TCreateParams& p) {
    TWinControl::CreateParams(p);
    CreateSubClass(p, STATUSCLASSNAMEW);
    p.Style |= CCS_NOPARENTALIGN | CCS_NORESIZE | CCS_NOMOVEY;
    if (sizeGrip_) p.Style |= SBARS_SIZEGRIP;
}

void TStatusBar::InitializeWindow() { UpdatePanels(); }

void TStatusBar::UpdatePanels() {
    if (!HandleAllocated()) return;
    ::SendMessageW(handle_, SB_SIMPLE, simplePanel_ ? TRUE : FALSE, 0);
    if (simplePanel_) {
        ::SendMessageW(handle_, SB_SETTEXTW, 255 | SBT_NOBORDERS, reinterpret_cast<LPARAM>(simpleText_.c_str()));
        return;
    }
    std::vector<int> edges;
    int x = 0;
    for (int i = 0; i < panels_->Count(); ++i) {
        x += panels_->Items(i)->GetWidth();
        edges.push_back(i + 1 == panels_->Count() ? -1 : x);
    }
    if (edges.empty()) edges.push_back(-1);
    ::SendMessageW(handle_, SB_SETPARTS, edges.size(), reinterpret_cast<LPARAM>(edges.data()));
    for (int i = 0; i < panels_->Count(); ++i) {
        std::wstring text = panels_->Items(i)->GetText();
        TAlignment a = panels_->Items(i)->GetAlignment();
        if (a == taCenter) text = L"\t" + text;
        else if (a == taRightJustify) text = L"\t\t" + text;
        ::SendMessageW(handle_, SB_SETTEXTW, i, reinterpret_cast<LPARAM>(text.c_str()));
    }
}

void TStatusBar::SetSimplePanel(bool v) {
    simplePanel_ = v;
    UpdatePanels();
}
void TStatusBar::SetSimpleText(const std::wstring& text) {
    simpleText_ = text;
    UpdatePanels();
}
void TStatusBar::SetSizeGrip(bool v) {
    if (v == sizeGrip_) return;
    sizeGrip_ = v;
    RecreateWnd();
}

}  // namespace vx
