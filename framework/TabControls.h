#pragma once
// Tabs and pages: the tab control, and the page control with its tab sheets.

#include <windows.h>
#include <commctrl.h>

#include <functional>
#include <memory>
#include <vector>

#include "framework/Controls.h"

namespace vx {

class TCustomTabControl : public TWinControl {
    VX_DECLARE_CLASS(TCustomTabControl, TWinControl)
public:
    explicit TCustomTabControl(TComponent* owner);
    ~TCustomTabControl() override;
    TStrings* GetTabs() const { return tabs_.get(); }
    int GetTabIndex() const;
    void SetTabIndex(int index);
    // The area inside the tabs (client coordinates).
    RECT DisplayRect() const;
    TNotifyEvent OnChange;
    std::function<void(TObject* Sender, bool& AllowChange)> OnChanging;
    static void RegisterProperties(TPropertyRegistrar<TCustomTabControl>& r);

protected:
    void CreateParams(TCreateParams& params) override;
    void InitializeWindow() override;
    void DestroyWnd() override;
    void WndProc(TMessage& message) override;
    void AdjustClientRect(RECT& rect) const override;
    virtual void Change();
    void TabsChanged();
    std::unique_ptr<TStringList> tabs_;
    int tabIndex_ = -1;
};

class TTabControl : public TCustomTabControl {
    VX_DECLARE_CLASS(TTabControl, TCustomTabControl)
public:
    explicit TTabControl(TComponent* owner) : TCustomTabControl(owner) {}
};

class TPageControl;

class TTabSheet : public TCustomControl {
    VX_DECLARE_CLASS(TTabSheet, TCustomControl)
public:
    explicit TTabSheet(TComponent* owner);
    ~TTabSheet() override;
    TPageControl* GetPageControl() const { return pageControl_; }
    // Puts the sheet into a page control (as its last page).
    void SetPageControl(TPageControl* control);
    int PageIndex() const;

protected:
    void TextChanged() override;

private:
    friend class TPageControl;
    TPageControl* pageControl_ = nullptr;
};

class TPageControl : public TCustomTabControl {
    VX_DECLARE_CLASS(TPageControl, TCustomTabControl)
public:
    explicit TPageControl(TComponent* owner);
    ~TPageControl() override;
    int PageCount() const { return static_cast<int>(pages_.size()); }
    TTabSheet* Pages(int index) const;
    TTabSheet* GetActivePage() const { return activePage_; }
    void SetActivePage(TTabSheet* page);
    int GetActivePageIndex() const;
    void SetActivePageIndex(int index);
    static void RegisterProperties(TPropertyRegistrar<TPageControl>& r);

protected:
    void Change() override;
    void AlignControls(RECT& rect) override;

private:
    friend class TTabSheet;
    void InsertPage(TTabSheet* page);
    void RemovePage(TTabSheet* page);
    void SheetCaptionChanged();
    std::vector<TTabSheet*> pages_;
    TTabSheet* activePage_ = nullptr;
};

}  // namespace vx
