#pragma once
// The list view control with its columns and its items.

#include <windows.h>
#include <commctrl.h>

#include <memory>
#include <vector>

#include "framework/Controls.h"
#include "framework/ImgList.h"
#include "framework/OwnedItems.h"

namespace vx {

class TCustomListView;
class TListItems;

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

}  // namespace vx
