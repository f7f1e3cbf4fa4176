#pragma once
// The list view in report style: columns, items with a caption and sub-items,
// one selected item, optional check boxes.
//
// OnSelectItem fires for the user's selection and for Selected set from code
// (the old item with false, the new one with true); Clear fires none.
// OnClick, OnDblClick and OnMouseMove come from the mouse only. OnChange
// fires whenever items are added, deleted or cleared.
#include "ui/Control.h"
#include "ui/Strings.h"

class QTreeWidget;
class QTreeWidgetItem;
class TListView;
class TListItems;

class TListItem : public TObject {
public:
    std::string Caption() const;
    void SetCaption(const std::string& text);
    TStrings& SubItems() { return *subItems_; }
    const TStrings& SubItems() const { return *subItems_; }
    int Index() const;
    bool Selected() const;
    void SetSelected(bool on);
    bool Checked() const;
    void SetChecked(bool on);
    void* Data() const { return data_; }
    void SetData(void* data) { data_ = data; }
    TListView* ListView() const { return owner_; }
    void Delete();
    void MakeVisible();
    // The text of column c: the caption for 0, sub-item c-1 after it.
    std::string ColumnText(int column) const;

    ~TListItem() override;

private:
    friend class TListView;
    friend class TListItems;
    friend class SubItemStrings;
    TListItem(TListView* owner, QTreeWidgetItem* item);
    TListView* owner_;
    QTreeWidgetItem* item_;
    std::unique_ptr<TStrings> subItems_;
    void* data_ = nullptr;
};

class TListItems {
public:
    int Count() const { return static_cast<int>(items_.size()); }
    TListItem* Item(int index) const;
    TListItem* operator[](int index) const { return Item(index); }
    TListItem* Add();
    TListItem* Insert(int index);
    void Delete(int index);
    void Clear();
    void BeginUpdate();
    void EndUpdate();
    int IndexOf(const TListItem* item) const;

private:
    friend class TListView;
    friend class TListItem;
    explicit TListItems(TListView* owner) : owner_(owner) {}
    TListView* owner_;
    std::vector<TListItem*> items_;
    int updating_ = 0;
};

class TListColumn : public TObject {
public:
    const std::string& Caption() const { return caption_; }
    void SetCaption(const std::string& text);
    // -1: fits the contents; -2: fits the header (and the contents).
    int Width() const;
    void SetWidth(int width);
    bool AutoSize() const { return autoSize_; }
    void SetAutoSize(bool on);
    int Index() const;

private:
    friend class TListColumns;
    friend class TListView;
    explicit TListColumn(TListView* owner) : owner_(owner) {}
    TListView* owner_;
    std::string caption_;
    int width_ = 50;
    bool autoSize_ = false;
};

class TListColumns {
public:
    int Count() const { return static_cast<int>(columns_.size()); }
    TListColumn* Items(int index) const;
    TListColumn* operator[](int index) const { return Items(index); }
    TListColumn* Add();
    void Delete(int index);
    void Clear();
    ~TListColumns();

private:
    friend class TListView;
    friend class TListColumn;
    explicit TListColumns(TListView* owner) : owner_(owner) {}
    TListView* owner_;
    std::vector<TListColumn*> columns_;
};

enum TViewStyle { vsIcon, vsSmallIcon, vsList, vsReport };

using TLVSelectItemEvent = std::function<void(TObject* sender, TListItem* item, bool selected)>;

class TListView : public TWinControl {
public:
    explicit TListView(TComponent* owner);
    ~TListView() override;

    TListItems& Items() { return *items_; }
    const TListItems& Items() const { return *items_; }
    TListColumns& Columns() { return *columns_; }
    const TListColumns& Columns() const { return *columns_; }

    TListItem* Selected() const { return selected_; }
    void SetSelected(TListItem* item); // null removes the selection
    int ItemIndex() const;
    void SetItemIndex(int index);
    TListItem* ItemFocused() const { return selected_; }
    // The item under a point of the client area, or null.
    TListItem* GetItemAt(int x, int y) const;

    TViewStyle ViewStyle() const { return viewStyle_; }
    void SetViewStyle(TViewStyle s);
    bool ReadOnly() const { return readOnly_; }
    void SetReadOnly(bool on) { readOnly_ = on; }
    bool RowSelect() const { return rowSelect_; }
    void SetRowSelect(bool on);
    bool GridLines() const { return gridLines_; }
    void SetGridLines(bool on);
    bool HideSelection() const { return hideSelection_; }
    void SetHideSelection(bool on);
    bool Checkboxes() const { return checkboxes_; }
    void SetCheckboxes(bool on);
    bool MultiSelect() const { return false; }
    void Clear() { items_->Clear(); }

    TLVSelectItemEvent OnSelectItem;
    TNotifyEvent OnChange;

    // Mouse actions as the user makes them, at a point of the client area.
    void ClickAt(int x, int y);
    void DblClickAt(int x, int y);
    void MouseMoveTo(int x, int y);
    // The user clicks an item (selection, then OnClick).
    void ClickItem(TListItem* item);
    // The client-area point at the middle of an item (for tests).
    void ItemPoint(const TListItem* item, int& x, int& y) const;

protected:
    void ApplyColor() override;
    void ApplyFont() override;

private:
    friend class TListItem;
    friend class TListItems;
    friend class TListColumn;
    friend class TListColumns;
    friend class ListViewHooks;
    void ItemsChanged();
    void ColumnsChanged();
    void ApplyColumnWidths();
    void FitColumnsLater();
    void ChangeSelection(TListItem* item); // fires OnSelectItem
    void QtSelectionChanged();
    void ItemRemoved(TListItem* item);
    QTreeWidget* tree_;
    std::unique_ptr<TListItems> items_;
    std::unique_ptr<TListColumns> columns_;
    TListItem* selected_ = nullptr;
    TViewStyle viewStyle_ = vsIcon;
    bool readOnly_ = false;
    bool rowSelect_ = false;
    bool gridLines_ = false;
    bool hideSelection_ = true;
    bool checkboxes_ = false;
    int quiet_ = 0;
    bool fitPending_ = false;
};
