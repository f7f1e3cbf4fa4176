#include "ui/ListView.h"

#include "ui/Application.h"
#include "ui/detail/Hooks.h"
#include "ui/detail/Qt.h"

#include <QApplication>
#include <QHeaderView>
#include <QMouseEvent>
#include <QSignalBlocker>
#include <QTimer>
#include <QToolTip>
#include <QTreeWidget>

#include <algorithm>

using namespace lmrui;

// The sub-items of one row; every change shows in the row's columns.
class SubItemStrings : public TStrings {
public:
    explicit SubItemStrings(TListItem* item) : item_(item) {}
    int Count() const override { return static_cast<int>(texts_.size()); }
    std::string Strings(int index) const override {
        CheckIndex(index, Count());
        return texts_[static_cast<size_t>(index)];
    }
    void SetStrings(int index, const std::string& text) override {
        CheckIndex(index, Count());
        texts_[static_cast<size_t>(index)] = text;
        Show();
    }
    void Insert(int index, const std::string& text) override {
        if (index < 0 || index > Count()) IndexError(index);
        texts_.insert(texts_.begin() + index, text);
        Show();
    }
    void Delete(int index) override {
        CheckIndex(index, Count());
        texts_.erase(texts_.begin() + index);
        Show();
    }
    void Clear() override {
        texts_.clear();
        Show();
    }
    void Show() {
        QTreeWidgetItem* q = item_->item_;
        if (!q) return;
        const int n = static_cast<int>(texts_.size());
        for (int i = 0; i < n; ++i)
            q->setText(i + 1, Q(texts_[static_cast<size_t>(i)]));
        for (int i = n + 1; i < q->columnCount(); ++i)
            q->setText(i, QString());
    }

private:
    TListItem* item_;
    std::vector<std::string> texts_;
};

// --- TListItem -------------------------------------------------------------------

TListItem::TListItem(TListView* owner, QTreeWidgetItem* item)
    : owner_(owner), item_(item), subItems_(std::make_unique<SubItemStrings>(this)) {}

TListItem::~TListItem() {
    delete item_;
}

std::string TListItem::Caption() const {
    return S(item_->text(0));
}
void TListItem::SetCaption(const std::string& text) {
    item_->setText(0, Q(text));
}
int TListItem::Index() const {
    return owner_->items_->IndexOf(this);
}
bool TListItem::Selected() const {
    return owner_->selected_ == this;
}

void TListItem::SetSelected(bool on) {
    if (on)
        owner_->SetSelected(this);
    else if (owner_->selected_ == this)
        owner_->SetSelected(nullptr);
}

bool TListItem::Checked() const {
    return item_->checkState(0) == Qt::Checked;
}

void TListItem::SetChecked(bool on) {
    ++owner_->quiet_;
    item_->setCheckState(0, on ? Qt::Checked : Qt::Unchecked);
    --owner_->quiet_;
}

void TListItem::Delete() {
    owner_->items_->Delete(Index());
}

void TListItem::MakeVisible() {
    owner_->tree_->scrollToItem(item_);
}

std::string TListItem::ColumnText(int column) const {
    if (column == 0) return Caption();
    if (column - 1 < subItems_->Count()) return subItems_->Strings(column - 1);
    return std::string();
}

// --- TListItems ------------------------------------------------------------------

TListItem* TListItems::Item(int index) const {
    if (index < 0 || index >= Count())
        throw EListError("List index out of bounds (" + std::to_string(index) + ")");
    return items_[static_cast<size_t>(index)];
}

TListItem* TListItems::Add() {
    return Insert(Count());
}

TListItem* TListItems::Insert(int index) {
    index = std::clamp(index, 0, Count());
    auto* q = new QTreeWidgetItem;
    auto* item = new TListItem(owner_, q);
    if (owner_->checkboxes_) q->setCheckState(0, Qt::Unchecked);
    {
        const QSignalBlocker block(owner_->tree_);
        ++owner_->quiet_;
        owner_->tree_->insertTopLevelItem(index, q);
        --owner_->quiet_;
    }
    items_.insert(items_.begin() + index, item);
    owner_->ItemsChanged();
    return item;
}

void TListItems::Delete(int index) {
    TListItem* item = Item(index);
    items_.erase(items_.begin() + index);
    owner_->ItemRemoved(item);
    {
        const QSignalBlocker block(owner_->tree_);
        ++owner_->quiet_;
        delete item;
        --owner_->quiet_;
    }
    owner_->ItemsChanged();
}

void TListItems::Clear() {
    if (items_.empty()) return;
    owner_->selected_ = nullptr;
    {
        const QSignalBlocker block(owner_->tree_);
        ++owner_->quiet_;
        for (TListItem* item : items_)
            delete item;
        items_.clear();
        --owner_->quiet_;
    }
    owner_->ItemsChanged();
}

void TListItems::BeginUpdate() {
    ++updating_;
    owner_->tree_->setUpdatesEnabled(false);
}

void TListItems::EndUpdate() {
    if (updating_ == 0) return;
    if (--updating_ == 0) {
        owner_->tree_->setUpdatesEnabled(true);
        owner_->ItemsChanged();
    }
}

int TListItems::IndexOf(const TListItem* item) const {
    auto it = std::find(items_.begin(), items_.end(), item);
    return it == items_.end() ? -1 : static_cast<int>(it - items_.begin());
}

// --- TListColumn(s) --------------------------------------------------------------

void TListColumn::SetCaption(const std::string& text) {
    caption_ = text;
    owner_->ColumnsChanged();
}

int TListColumn::Width() const {
    if (width_ >= 0) return width_;
    const int i = Index();
    return i >= 0 ? owner_->tree_->columnWidth(i) : width_;
}

void TListColumn::SetWidth(int width) {
    width_ = width;
    owner_->ApplyColumnWidths();
}

void TListColumn::SetAutoSize(bool on) {
    autoSize_ = on;
    owner_->ApplyColumnWidths();
}

int TListColumn::Index() const {
    const auto& v = owner_->columns_->columns_;
    auto it = std::find(v.begin(), v.end(), this);
    return it == v.end() ? -1 : static_cast<int>(it - v.begin());
}

TListColumns::~TListColumns() {
    for (TListColumn* c : columns_)
        delete c;
}

TListColumn* TListColumns::Items(int index) const {
    if (index < 0 || index >= Count())
        throw EListError("List index out of bounds (" + std::to_string(index) + ")");
    return columns_[static_cast<size_t>(index)];
}

TListColumn* TListColumns::Add() {
    auto* c = new TListColumn(owner_);
    columns_.push_back(c);
    owner_->ColumnsChanged();
    return c;
}

void TListColumns::Delete(int index) {
    TListColumn* c = Items(index);
    columns_.erase(columns_.begin() + index);
    delete c;
    owner_->ColumnsChanged();
}

void TListColumns::Clear() {
    for (TListColumn* c : columns_)
        delete c;
    columns_.clear();
    owner_->ColumnsChanged();
}

// --- TListView -------------------------------------------------------------------

class ListViewHooks : public QObject {
public:
    explicit ListViewHooks(TListView* lv) : lv_(lv) {}
    bool eventFilter(QObject*, QEvent* e) override {
        switch (e->type()) {
        case QEvent::MouseButtonPress: {
            auto* me = static_cast<QMouseEvent*>(e);
            const QPoint p = me->position().toPoint();
            if (!lv_->tree_->itemAt(p) && lv_->Enabled()) {
                // A click on empty space removes the selection.
                SafeDispatch([&] { lv_->ChangeSelection(nullptr); });
            }
            break;
        }
        case QEvent::MouseButtonRelease: {
            auto* me = static_cast<QMouseEvent*>(e);
            // The release that ends a double click is no second click.
            if (afterDouble_) {
                afterDouble_ = false;
                break;
            }
            if (me->button() == Qt::LeftButton)
                SafeDispatch([this] {
                    if (lv_->OnClick) lv_->OnClick(lv_);
                });
            break;
        }
        case QEvent::MouseButtonDblClick:
            afterDouble_ = true;
            SafeDispatch([this] {
                if (lv_->OnDblClick) lv_->OnDblClick(lv_);
            });
            break;
        case QEvent::MouseMove:
            DispatchMouseMove(lv_, static_cast<QMouseEvent*>(e));
            break;
        case QEvent::ToolTip:
            if (!lv_->ShowHint() || lv_->Hint().empty()) return true;
            break;
        default:
            break;
        }
        return false;
    }

private:
    TListView* lv_;
    bool afterDouble_ = false;
};

TListView::TListView(TComponent* owner)
    : TWinControl(owner), items_(new TListItems(this)), columns_(new TListColumns(this)) {
    tree_ = new QTreeWidget;
    tree_->setRootIsDecorated(false);
    tree_->setUniformRowHeights(true);
    tree_->setSelectionMode(QAbstractItemView::SingleSelection);
    tree_->setSelectionBehavior(QAbstractItemView::SelectRows);
    tree_->setAllColumnsShowFocus(true);
    tree_->setColumnCount(1);
    tree_->header()->setStretchLastSection(false);
    tree_->header()->setSectionsMovable(false);
    tree_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    SetWidget(tree_);
    WatchWidget(tree_);
    SetColor(clWindow);
    tree_->resize(250, 150);
    auto* hooks = new ListViewHooks(this);
    hooks->setParent(tree_);
    tree_->viewport()->installEventFilter(hooks);
    tree_->viewport()->setMouseTracking(true);
    QObject::connect(tree_, &QTreeWidget::itemSelectionChanged, tree_,
                     [this] { QtSelectionChanged(); });
    SetViewStyle(vsIcon);
    SetHideSelection(true);
}

TListView::~TListView() {
    SetDestroying();
    selected_ = nullptr;
    ++quiet_;
    const QSignalBlocker block(tree_);
    for (TListItem* item : items_->items_)
        delete item;
    items_->items_.clear();
}

void TListView::ItemsChanged() {
    if (items_->updating_ > 0 || Destroying()) return;
    FitColumnsLater();
    SafeNotify(OnChange, this);
}

void TListView::ColumnsChanged() {
    const int n = std::max(1, columns_->Count());
    tree_->setColumnCount(n);
    QStringList labels;
    for (TListColumn* c : columns_->columns_)
        labels << Q(c->caption_);
    if (labels.isEmpty()) labels << QString();
    tree_->setHeaderLabels(labels);
    for (TListItem* item : items_->items_)
        static_cast<SubItemStrings&>(item->SubItems()).Show();
    ApplyColumnWidths();
}

void TListView::ApplyColumnWidths() {
    QHeaderView* header = tree_->header();
    for (int i = 0; i < columns_->Count(); ++i) {
        TListColumn* c = columns_->columns_[static_cast<size_t>(i)];
        if (c->width_ == 0) {
            tree_->setColumnHidden(i, true);
            continue;
        }
        tree_->setColumnHidden(i, false);
        if (c->autoSize_) {
            header->setSectionResizeMode(i, QHeaderView::Stretch);
        } else {
            header->setSectionResizeMode(i, QHeaderView::Interactive);
            if (c->width_ > 0)
                tree_->setColumnWidth(i, c->width_);
            else
                tree_->resizeColumnToContents(i);
        }
    }
}

void TListView::FitColumnsLater() {
    // Columns that fit their contents are fitted once the changes are over.
    if (fitPending_) return;
    bool any = false;
    for (TListColumn* c : columns_->columns_)
        any = any || (c->width_ < 0 && !c->autoSize_);
    if (!any) return;
    fitPending_ = true;
    QTimer::singleShot(0, tree_, [this] {
        fitPending_ = false;
        ApplyColumnWidths();
    });
}

void TListView::ItemRemoved(TListItem* item) {
    if (selected_ == item) selected_ = nullptr;
}

void TListView::ChangeSelection(TListItem* item) {
    if (item == selected_) return;
    TListItem* old = selected_;
    selected_ = item;
    {
        const QSignalBlocker block(tree_);
        ++quiet_;
        tree_->clearSelection();
        if (item) {
            tree_->setCurrentItem(item->item_);
            item->item_->setSelected(true);
        }
        --quiet_;
    }
    const std::uint64_t serial = Serial();
    if (old && OnSelectItem) OnSelectItem(this, old, false);
    if (!FindControl(serial)) return;
    if (item && selected_ == item && OnSelectItem) OnSelectItem(this, item, true);
}

void TListView::QtSelectionChanged() {
    if (quiet_) return;
    const auto selected = tree_->selectedItems();
    TListItem* now = nullptr;
    if (!selected.isEmpty())
        for (TListItem* item : items_->items_)
            if (item->item_ == selected.first()) now = item;
    SafeDispatch([&] { ChangeSelection(now); });
}

void TListView::SetSelected(TListItem* item) {
    if (item && item->owner_ != this) return;
    SafeDispatch([&] { ChangeSelection(item); });
}

int TListView::ItemIndex() const {
    return selected_ ? selected_->Index() : -1;
}

void TListView::SetItemIndex(int index) {
    SetSelected(index >= 0 && index < items_->Count() ? items_->Item(index) : nullptr);
}

TListItem* TListView::GetItemAt(int x, int y) const {
    QTreeWidgetItem* q = tree_->itemAt(QPoint(x, y));
    if (!q) return nullptr;
    for (TListItem* item : items_->items_)
        if (item->item_ == q) return item;
    return nullptr;
}

void TListView::SetViewStyle(TViewStyle s) {
    viewStyle_ = s;
    tree_->setHeaderHidden(s != vsReport);
}

void TListView::SetRowSelect(bool on) {
    rowSelect_ = on;
}

void TListView::SetGridLines(bool on) {
    gridLines_ = on;
    tree_->setStyleSheet(on ? "QTreeView::item { border-right: 1px solid #d8d8d8; "
                              "border-bottom: 1px solid #d8d8d8; }"
                            : QString());
}

void TListView::SetHideSelection(bool on) {
    hideSelection_ = on;
    QPalette pal = tree_->palette();
    if (on) {
        // Without the focus the selection is not shown, the text still is.
        pal.setColor(QPalette::Inactive, QPalette::Highlight,
                     pal.color(QPalette::Active, QPalette::Base));
        pal.setColor(QPalette::Inactive, QPalette::HighlightedText,
                     pal.color(QPalette::Active, QPalette::Text));
    } else {
        pal.setColor(QPalette::Inactive, QPalette::Highlight,
                     pal.color(QPalette::Active, QPalette::Highlight));
        pal.setColor(QPalette::Inactive, QPalette::HighlightedText,
                     pal.color(QPalette::Active, QPalette::HighlightedText));
    }
    tree_->setPalette(pal);
}

void TListView::SetCheckboxes(bool on) {
    checkboxes_ = on;
    ++quiet_;
    for (TListItem* item : items_->items_) {
        if (on)
            item->item_->setCheckState(0, Qt::Unchecked);
        else
            item->item_->setData(0, Qt::CheckStateRole, QVariant());
    }
    --quiet_;
}

void TListView::ItemPoint(const TListItem* item, int& x, int& y) const {
    const QRect r = tree_->visualItemRect(item->item_);
    x = r.x() + std::min(10, r.width() / 2);
    y = r.center().y();
}

namespace {
void SendMouse(QWidget* w, QEvent::Type type, int x, int y) {
    const QPointF local(x, y);
    const QPointF global = w->mapToGlobal(local.toPoint());
    const Qt::MouseButton button = type == QEvent::MouseMove ? Qt::NoButton : Qt::LeftButton;
    const Qt::MouseButtons buttons = type == QEvent::MouseButtonRelease || type == QEvent::MouseMove
                                         ? Qt::NoButton
                                         : Qt::LeftButton;
    QMouseEvent e(type, local, global, button, buttons, Qt::NoModifier);
    QApplication::sendEvent(w, &e);
}
} // namespace

void TListView::ClickAt(int x, int y) {
    if (!Enabled()) return;
    SendMouse(tree_->viewport(), QEvent::MouseButtonPress, x, y);
    SendMouse(tree_->viewport(), QEvent::MouseButtonRelease, x, y);
}

void TListView::DblClickAt(int x, int y) {
    if (!Enabled()) return;
    ClickAt(x, y);
    SendMouse(tree_->viewport(), QEvent::MouseButtonDblClick, x, y);
    SendMouse(tree_->viewport(), QEvent::MouseButtonRelease, x, y);
}

void TListView::MouseMoveTo(int x, int y) {
    SendMouse(tree_->viewport(), QEvent::MouseMove, x, y);
}

void TListView::ClickItem(TListItem* item) {
    if (!item) return;
    int x = 0, y = 0;
    ItemPoint(item, x, y);
    ClickAt(x, y);
}

void TListView::ApplyColor() {
    SetBaseColor(tree_, Color());
}

void TListView::ApplyFont() {
    TControl::ApplyFont();
    ApplyColor();
}
