#pragma once
// The status bar with its panels, or one simple text.

#include <windows.h>
#include <commctrl.h>

#include <memory>
#include <string>

#include "framework/Controls.h"
#include "framework/OwnedItems.h"

namespace vx {

class TStatusBar;

class TStatusPanel {
public:
    explicit TStatusPanel(TStatusBar* owner) : owner_(owner) {}
    std::wstring GetText() const { return text_; }
    void SetText(const std::wstring& text);
    int GetWidth() const { return width_; }
    void SetWidth(int width);
    TAlignment GetAlignment() const { return alignment_; }
    void SetAlignment(TAlignment a);

private:
    TStatusBar* owner_;
    std::wstring text_;
    int width_ = 50;
    TAlignment alignment_ = taLeftJustify;
};

class TStatusPanels : public TOwnedItems<TStatusPanel> {
public:
    explicit TStatusPanels(TStatusBar* owner) : owner_(owner) {}
    TStatusPanel* Add();
    void Clear();

private:
    TStatusBar* owner_;
};

class TStatusBar : public TWinControl {
    VX_DECLARE_CLASS(TStatusBar, TWinControl)
public:
    explicit TStatusBar(TComponent* owner);
    ~TStatusBar() override;
    TStatusPanels* GetPanels() const { return panels_.get(); }
    bool GetSimplePanel() const { return simplePanel_; }
    void SetSimplePanel(bool v);
    std::wstring GetSimpleText() const { return simpleText_; }
    void SetSimpleText(const std::wstring& text);
    bool GetSizeGrip() const { return sizeGrip_; }
    void SetSizeGrip(bool v);
    // Re-sends the panels to the window.
    void UpdatePanels();
    static void RegisterProperties(TPropertyRegistrar<TStatusBar>& r);

protected:
    void CreateParams(TCreateParams& params) override;
    void InitializeWindow() override;

private:
    std::unique_ptr<TStatusPanels> panels_;
    bool simplePanel_ = false;
    std::wstring simpleText_;
    bool sizeGrip_ = true;
};

}  // namespace vx
