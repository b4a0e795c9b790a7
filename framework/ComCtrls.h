#pragma once
// The common controls: list view, tree view, progress bar, track bar, up-down, tab
// control, page control, status bar and date-time picker.

#include <windows.h>
#include <commctrl.h>

#include <memory>
#include <vector>

#include "framework/Controls.h"
#include "framework/ImgList.h"
#include "framework/StdCtrls.h"

namespace vx {

class TCustomListView;
class TListItems;

// Items a collection owns and hands out by index; an index out of range gives nullptr.
// The collections add what their control must hear about each change.
template <class Item>
class TOwnedItems {
public:
    int Count() const { return static_cast<int>(items_.size()); }
    Item* Items(int index) const {
        return index < 0 || index >= Count() ? nullptr : items_[static_cast<size_t>(index)].get();
    }
    Item* operator[](int index) const { return Items(index); }

protected:
    Item* Append(std::unique_ptr<Item> item) {
        items_.push_back(std::move(item));
        return items_.back().get();
    }
    void DropAll() { items_.clear(); }

private:
    std::vector<std::unique_ptr<Item>> items_;
};

// --- List view -------------------------------------------------------------------------------

class TListColumn : public TPersistent {
    VX_DECLARE_CLASS(TListColumn, TPersistent)
public:
    TListColumn(TCustomListView* owner, int index) : owner_(owner), index_(index) {}
    std::wstring GetCaption() const { return caption_; }
    void SetCaption(const std::wstring& caption);
    int GetWidth() const;
    void SetWidth(int width);
    TAlignment GetAlignment() const { return alignment_; }
    void SetAlignment(TAlignment alignment);
    int Index() const { return index_; }
    static void RegisterProperties(TPropertyRegistrar<TListColumn>& r);

private:
    friend class TListColumns;
    friend class TCustomListView;
    TCustomListView* owner_;
    int index_;
    std::wstring caption_;
    int width_ = 50;
    TAlignment alignment_ = taLeftJustify;
};

class TListColumns : public TOwnedItems<TListColumn> {
public:
    explicit TListColumns(TCustomListView* owner) : owner_(owner) {}
    TListColumn* Add();
    void Clear();

private:
    TCustomListView* owner_;
};

class TListItem : public TPersistent {
    VX_DECLARE_CLASS(TListItem, TPersistent)
public:
    explicit TListItem(TListItems* owner);
    ~TListItem() override;
    std::wstring GetCaption() const { return caption_; }
    void SetCaption(const std::wstring& caption);
    // Texts of the further columns; changes show at once.
    TStrings* GetSubItems() const { return subItems_.get(); }
    int GetImageIndex() const { return imageIndex_; }
    void SetImageIndex(int index);
    bool GetSelected() const;
    void SetSelected(bool value);
    bool GetFocused() const;
    void SetFocused(bool value);
    void* GetData() const { return data_; }
    void SetData(void* data) { data_ = data; }
    int Index() const { return index_; }
    TCustomListView* ListView() const;
    // Scrolls the list so that the item is visible.
    void MakeVisible();
    void Update();
    void Delete();
    static void RegisterProperties(TPropertyRegistrar<TListItem>& r);

private:
    friend class TListItems;
    friend class TCustomListView;
    TListItems* owner_;
    int index_ = -1;
    std::wstring caption_;
    std::unique_ptr<TStringList> subItems_;
    int imageIndex_ = -1;
    void* data_ = nullptr;
    bool selected_ = false;  // kept while the control has no window
};

class TListItems {
public:
    explicit TListItems(TCustomListView* owner) : owner_(owner) {}
    ~TListItems();
    // Appends a new item and returns it.
    TListItem* Add();
    TListItem* Insert(int index);
    void Delete(int index);
    void Clear();
    int Count() const { return static_cast<int>(items_.size()); }
    TListItem* Items(int index) const;
    TListItem* operator[](int index) const { return Items(index); }
    int IndexOf(const TListItem* item) const;
    // Batches many changes: the control redraws once at the end.
    void BeginUpdate();
    void EndUpdate();
    TCustomListView* Owner() const { return owner_; }

private:
    friend class TCustomListView;
    friend class TListItem;
    void Reindex(int from);
    TCustomListView* owner_;
    std::vector<TListItem*> items_;
    int updateCount_ = 0;
};

enum TViewStyle { vsIcon, vsSmallIcon, vsList, vsReport };
enum TItemChange { ctText, ctImage, ctState };

using TLVSelectItemEvent = std::function<void(TObject* Sender, TListItem* Item, bool Selected)>;
using TLVColumnClickEvent = std::function<void(TObject* Sender, TListColumn* Column)>;
using TLVChangeEvent = std::function<void(TObject* Sender, TListItem* Item, TItemChange Change)>;

class TCustomListView : public TWinControl {
    VX_DECLARE_CLASS(TCustomListView, TWinControl)
public:
    explicit TCustomListView(TComponent* owner);
    ~TCustomListView() override;

    TListColumns* GetColumns() const { return columns_.get(); }
    TListItems* GetItems() const { return items_.get(); }
    TViewStyle GetViewStyle() const { return viewStyle_; }
    void SetViewStyle(TViewStyle style);
    bool GetMultiSelect() const { return multiSelect_; }
    void SetMultiSelect(bool value);
    bool GetRowSelect() const { return rowSelect_; }
    void SetRowSelect(bool value);
    bool GetReadOnly() const { return readOnly_; }
    void SetReadOnly(bool value);
    bool GetGridLines() const { return gridLines_; }
    void SetGridLines(bool value);
    bool GetHideSelection() const { return hideSelection_; }
    void SetHideSelection(bool value);
    bool GetShowColumnHeaders() const { return showColumnHeaders_; }
    void SetShowColumnHeaders(bool value);
    // With OwnerData the window holds no copies of the rows, only their number: it asks
    // for each row's text, picture and nothing else when it draws it, and keeps the
    // selection itself. Adding thousands of rows then costs one message. Changing it
    // makes the window anew.
    bool GetOwnerData() const { return ownerData_; }
    void SetOwnerData(bool value);
    TBorderStyle GetBorderStyle() const { return borderStyle_; }
    void SetBorderStyle(TBorderStyle value);
    TCustomImageList* GetSmallImages() const { return smallImages_; }
    void SetSmallImages(TCustomImageList* images);
    TCustomImageList* GetLargeImages() const { return largeImages_; }
    void SetLargeImages(TCustomImageList* images);
    // The first selected item in list order, or null.
    TListItem* GetSelected() const;
    void SetSelected(TListItem* item);
    int SelCount() const;
    TListItem* GetItemFocused() const;
    // The item at a client point, or null.
    TListItem* GetItemAt(int x, int y) const;
    void ClearSelection();
    void SelectAll();
    // The list view paints through its own off-screen buffer.
    void SetDoubleBuffered(bool value) override;

    TLVSelectItemEvent OnSelectItem;
    TLVColumnClickEvent OnColumnClick;
    TLVChangeEvent OnChange;
    static void RegisterProperties(TPropertyRegistrar<TCustomListView>& r);

protected:
    void CreateParams(TCreateParams& params) override;
    void InitializeWindow() override;
    void DestroyWnd() override;
    void WndProc(TMessage& message) override;
    void Notification(TComponent* component, TOperation operation) override;

private:
    friend class TListItems;
    friend class TListItem;
    friend class TListColumn;
    friend class TListColumns;
    void InsertNativeColumn(TListColumn* column);
    void UpdateNativeColumn(TListColumn* column);
    void InsertNativeItem(TListItem* item);
    // Tells an owner-data window how many rows there are (once per update bracket).
    void SyncNativeCount();
    void UpdateExStyle();
    void HandleNotify(TMessage& message);

    std::unique_ptr<TListColumns> columns_;
    std::unique_ptr<TListItems> items_;
    TViewStyle viewStyle_ = vsIcon;
    bool multiSelect_ = false, rowSelect_ = false, readOnly_ = false, gridLines_ = false, hideSelection_ = true;
    bool showColumnHeaders_ = true;
    bool ownerData_ = false;
    bool countPending_ = false;  // rows added to an owner-data window inside an update bracket
    TBorderStyle borderStyle_ = bsSingle;
    TCustomImageList* smallImages_ = nullptr;
    TCustomImageList* largeImages_ = nullptr;
    std::wstring textBuffer_;
};

class TListView : public TCustomListView {
    VX_DECLARE_CLASS(TListView, TCustomListView)
public:
    explicit TListView(TComponent* owner) : TCustomListView(owner) {}
};

// --- Tree view ----------------------------------------------------------------------------------

class TCustomTreeView;
class TTreeNodes;

class TTreeNode : public TPersistent {
    VX_DECLARE_CLASS(TTreeNode, TPersistent)
public:
    TTreeNode(TTreeNodes* owner, TTreeNode* parent);
    ~TTreeNode() override;
    std::wstring GetText() const { return text_; }
    void SetText(const std::wstring& text);
    int GetImageIndex() const { return imageIndex_; }
    void SetImageIndex(int index);
    int GetSelectedIndex() const { return selectedIndex_; }
    void SetSelectedIndex(int index);
    void* GetData() const { return data_; }
    void SetData(void* data) { data_ = data; }
    TTreeNode* GetParent() const { return parent_; }
    int Count() const { return static_cast<int>(children_.size()); }
    TTreeNode* Item(int index) const;
    TTreeNode* GetFirstChild() const { return children_.empty() ? nullptr : children_.front(); }
    bool HasChildren() const { return !children_.empty(); }
    int Index() const;
    int Level() const;
    // The next node in the order of a fully expanded tree.
    TTreeNode* GetNext() const;
    TTreeNode* GetNextSibling() const;
    void Expand(bool recursive);
    void Collapse(bool recursive);
    bool GetExpanded() const;
    bool GetSelected() const;
    void SetSelected(bool value);
    void MakeVisible();
    HTREEITEM ItemId() const { return item_; }
    void Delete();
    static void RegisterProperties(TPropertyRegistrar<TTreeNode>& r);

private:
    friend class TTreeNodes;
    friend class TCustomTreeView;
    void InsertNative(HTREEITEM after);
    void UpdateNative();
    TTreeNodes* owner_;
    TTreeNode* parent_;
    std::vector<TTreeNode*> children_;
    std::wstring text_;
    int imageIndex_ = -1, selectedIndex_ = -1;
    void* data_ = nullptr;
    bool expanded_ = false;
    HTREEITEM item_ = nullptr;
};

class TTreeNodes {
public:
    explicit TTreeNodes(TCustomTreeView* owner) : owner_(owner) {}
    ~TTreeNodes();
    // A node after the last sibling of `sibling` (at the top level when null).
    TTreeNode* Add(TTreeNode* sibling, const std::wstring& text);
    TTreeNode* AddFirst(TTreeNode* sibling, const std::wstring& text);
    // A node as the last child of `parent` (at the top level when null).
    TTreeNode* AddChild(TTreeNode* parent, const std::wstring& text);
    TTreeNode* AddChildFirst(TTreeNode* parent, const std::wstring& text);
    void Delete(TTreeNode* node);
    void Clear();
    // All nodes, in the order of a fully expanded tree.
    int Count() const;
    TTreeNode* Item(int index) const;
    TTreeNode* GetFirstNode() const { return roots_.empty() ? nullptr : roots_.front(); }
    TCustomTreeView* Owner() const { return owner_; }
    void BeginUpdate();
    void EndUpdate();

private:
    friend class TTreeNode;
    friend class TCustomTreeView;
    TTreeNode* Insert(TTreeNode* parent, int position, const std::wstring& text);
    std::vector<TTreeNode*>& SiblingList(TTreeNode* parent) { return parent ? parent->children_ : roots_; }
    TCustomTreeView* owner_;
    std::vector<TTreeNode*> roots_;
    int updateCount_ = 0;
};

using TTVChangedEvent = std::function<void(TObject* Sender, TTreeNode* Node)>;

class TCustomTreeView : public TWinControl {
    VX_DECLARE_CLASS(TCustomTreeView, TWinControl)
public:
    explicit TCustomTreeView(TComponent* owner);
    ~TCustomTreeView() override;
    TTreeNodes* GetItems() const { return items_.get(); }
    TTreeNode* GetSelected() const;
    void SetSelected(TTreeNode* node);
    int GetIndent() const;
    void SetIndent(int value);
    bool GetShowLines() const { return showLines_; }
    void SetShowLines(bool v);
    bool GetShowButtons() const { return showButtons_; }
    void SetShowButtons(bool v);
    bool GetShowRoot() const { return showRoot_; }
    void SetShowRoot(bool v);
    bool GetReadOnly() const { return readOnly_; }
    void SetReadOnly(bool v);
    bool GetHideSelection() const { return hideSelection_; }
    void SetHideSelection(bool v);
    bool GetRowSelect() const { return rowSelect_; }
    void SetRowSelect(bool v);
    TBorderStyle GetBorderStyle() const { return borderStyle_; }
    void SetBorderStyle(TBorderStyle value);
    TCustomImageList* GetImages() const { return images_; }
    void SetImages(TCustomImageList* images);
    void FullExpand();
    void FullCollapse();
    TTreeNode* GetNodeAt(int x, int y) const;

    TTVChangedEvent OnChange;
    static void RegisterProperties(TPropertyRegistrar<TCustomTreeView>& r);

protected:
    void CreateParams(TCreateParams& params) override;
    void InitializeWindow() override;
    void DestroyWnd() override;
    void WndProc(TMessage& message) override;
    void Notification(TComponent* component, TOperation operation) override;

private:
    friend class TTreeNode;
    friend class TTreeNodes;
    std::unique_ptr<TTreeNodes> items_;
    TTreeNode* selected_ = nullptr;  // kept while the control has no window
    int indent_ = 19;
    bool showLines_ = true, showButtons_ = true, showRoot_ = true, readOnly_ = false, hideSelection_ = true,
         rowSelect_ = false;
    TBorderStyle borderStyle_ = bsSingle;
    TCustomImageList* images_ = nullptr;
    bool destroyingNodes_ = false;
};

class TTreeView : public TCustomTreeView {
    VX_DECLARE_CLASS(TTreeView, TCustomTreeView)
public:
    explicit TTreeView(TComponent* owner) : TCustomTreeView(owner) {}
};

// --- Progress bar, track bar, up-down --------------------------------------------------------------

enum TProgressBarOrientation { pbHorizontal, pbVertical };

class TProgressBar : public TWinControl {
    VX_DECLARE_CLASS(TProgressBar, TWinControl)
public:
    explicit TProgressBar(TComponent* owner);
    int GetMin() const { return min_; }
    void SetMin(int v);
    int GetMax() const { return max_; }
    void SetMax(int v);
    int GetPosition() const;
    void SetPosition(int v);
    int GetStep() const { return step_; }
    void SetStep(int v) { step_ = v; }
    void StepIt() { SetPosition(GetPosition() + step_); }
    void StepBy(int delta) { SetPosition(GetPosition() + delta); }
    bool GetSmooth() const { return smooth_; }
    void SetSmooth(bool v);
    TProgressBarOrientation GetOrientation() const { return orientation_; }
    void SetOrientation(TProgressBarOrientation v);
    static void RegisterProperties(TPropertyRegistrar<TProgressBar>& r);

protected:
    void CreateParams(TCreateParams& params) override;
    void InitializeWindow() override;

private:
    int min_ = 0, max_ = 100, position_ = 0, step_ = 10;
    bool smooth_ = false;
    TProgressBarOrientation orientation_ = pbHorizontal;
};

enum TTrackBarOrientation { trHorizontal, trVertical };

class TTrackBar : public TWinControl {
    VX_DECLARE_CLASS(TTrackBar, TWinControl)
public:
    explicit TTrackBar(TComponent* owner);
    int GetMin() const { return min_; }
    void SetMin(int v);
    int GetMax() const { return max_; }
    void SetMax(int v);
    int GetPosition() const;
    void SetPosition(int v);
    int GetFrequency() const { return frequency_; }
    void SetFrequency(int v);
    TTrackBarOrientation GetOrientation() const { return orientation_; }
    void SetOrientation(TTrackBarOrientation v);
    TNotifyEvent OnChange;
    static void RegisterProperties(TPropertyRegistrar<TTrackBar>& r);

protected:
    void CreateParams(TCreateParams& params) override;
    void InitializeWindow() override;
    void WndProc(TMessage& message) override;

private:
    int min_ = 0, max_ = 10, position_ = 0, frequency_ = 1;
    TTrackBarOrientation orientation_ = trHorizontal;
};

enum TUDOrientation { udHorizontal, udVertical };
enum TUDBtnType { btNext, btPrev };

class TCustomUpDown : public TWinControl {
    VX_DECLARE_CLASS(TCustomUpDown, TWinControl)
public:
    explicit TCustomUpDown(TComponent* owner);
    int GetMin() const { return min_; }
    void SetMin(int v);
    int GetMax() const { return max_; }
    void SetMax(int v);
    int GetPosition() const;
    void SetPosition(int v);
    int GetIncrement() const { return increment_; }
    void SetIncrement(int v);
    bool GetWrap() const { return wrap_; }
    void SetWrap(bool v);
    TUDOrientation GetOrientation() const { return orientation_; }
    void SetOrientation(TUDOrientation v);
    // The edit whose text shows the position.
    TWinControl* GetAssociate() const { return associate_; }
    void SetAssociate(TWinControl* control);
    std::function<void(TObject* Sender, TUDBtnType Button)> OnClick;
    static void RegisterProperties(TPropertyRegistrar<TCustomUpDown>& r);

protected:
    void CreateParams(TCreateParams& params) override;
    void InitializeWindow() override;
    void WndProc(TMessage& message) override;
    void Notification(TComponent* component, TOperation operation) override;

private:
    int min_ = 0, max_ = 100, position_ = 0, increment_ = 1;
    bool wrap_ = false;
    TUDOrientation orientation_ = udVertical;
    TWinControl* associate_ = nullptr;
};

class TUpDown : public TCustomUpDown {
    VX_DECLARE_CLASS(TUpDown, TCustomUpDown)
public:
    explicit TUpDown(TComponent* owner) : TCustomUpDown(owner) {}
};

// --- Tabs and pages ------------------------------------------------------------------------------------

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

// --- Status bar --------------------------------------------------------------------------------------------

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

// --- Date-time picker ------------------------------------------------------------------------------------

enum TDateTimeKind { dtkDate, dtkTime };
enum TDTDateFormat { dfShort, dfLong };

class TDateTimePicker : public TWinControl {
    VX_DECLARE_CLASS(TDateTimePicker, TWinControl)
public:
    explicit TDateTimePicker(TComponent* owner);
    SYSTEMTIME GetDateTime() const;
    void SetDateTime(const SYSTEMTIME& value);
    TDateTimeKind GetKind() const { return kind_; }
    void SetKind(TDateTimeKind kind);
    TDTDateFormat GetDateFormat() const { return dateFormat_; }
    void SetDateFormat(TDTDateFormat format);
    TNotifyEvent OnChange;
    static void RegisterProperties(TPropertyRegistrar<TDateTimePicker>& r);

protected:
    void CreateParams(TCreateParams& params) override;
    void InitializeWindow() override;
    void DestroyWnd() override;
    void WndProc(TMessage& message) override;

private:
    SYSTEMTIME value_{};
    TDateTimeKind kind_ = dtkDate;
    TDTDateFormat dateFormat_ = dfShort;
};

}  // namespace vx
