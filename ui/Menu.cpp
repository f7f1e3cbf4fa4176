#include "ui/Menu.h"

#include "ui/Application.h"
#include "ui/Control.h"
#include "ui/Form.h"
#include "ui/detail/Qt.h"

#include <QAction>
#include <QMenu>
#include <QMenuBar>

#include <algorithm>

using namespace lmrui;

TMenuItem::TMenuItem(TComponent* owner) : TComponent(owner) {}

TMenuItem::~TMenuItem() {
    for (TMenuItem* child : items_)
        child->parentItem_ = nullptr;
    items_.clear();
    if (parentItem_) {
        auto& v = parentItem_->items_;
        v.erase(std::remove(v.begin(), v.end(), this), v.end());
        TMainMenu* root = parentItem_->RootMenu();
        parentItem_ = nullptr;
        if (root) root->Rebuild();
    }
}

TMainMenu* TMenuItem::RootMenu() const {
    const TMenuItem* i = this;
    while (i->parentItem_)
        i = i->parentItem_;
    return i->menu_;
}

void TMenuItem::Rebuild() {
    if (TMainMenu* root = RootMenu()) root->Rebuild();
}

void TMenuItem::SetCaption(const std::string& text) {
    caption_ = text;
    if (action_) action_->setText(Q(text));
}

void TMenuItem::SetVisible(bool on) {
    visible_ = on;
    if (action_) action_->setVisible(on);
}

void TMenuItem::SetEnabled(bool on) {
    enabled_ = on;
    if (action_) action_->setEnabled(on);
}

void TMenuItem::SetChecked(bool on) {
    checked_ = on;
    if (action_) {
        action_->setCheckable(on || action_->isCheckable());
        action_->setChecked(on);
    }
}

TMenuItem* TMenuItem::Items(int index) const {
    if (index < 0 || index >= Count()) return nullptr;
    return items_[static_cast<size_t>(index)];
}

void TMenuItem::Add(TMenuItem* item) {
    Insert(Count(), item);
}

void TMenuItem::Insert(int index, TMenuItem* item) {
    if (!item || item == this) return;
    if (item->parentItem_) item->parentItem_->Remove(item);
    index = std::clamp(index, 0, Count());
    items_.insert(items_.begin() + index, item);
    item->parentItem_ = this;
    Rebuild();
}

void TMenuItem::Remove(TMenuItem* item) {
    auto it = std::find(items_.begin(), items_.end(), item);
    if (it == items_.end()) return;
    items_.erase(it);
    item->parentItem_ = nullptr;
    Rebuild();
}

int TMenuItem::MenuIndex() const {
    if (!parentItem_) return -1;
    const auto& v = parentItem_->items_;
    return static_cast<int>(std::find(v.begin(), v.end(), this) - v.begin());
}

TMenuItem* TMenuItem::AddItem(const std::string& caption, TNotifyEvent onClick) {
    auto* item = new TMenuItem(this);
    item->SetCaption(caption);
    item->OnClick = std::move(onClick);
    Add(item);
    return item;
}

void TMenuItem::Click() {
    if (!enabled_) return;
    SafeNotify(OnClick, this);
}

TMainMenu::TMainMenu(TComponent* owner) : TComponent(owner) {
    root_ = new TMenuItem(this);
    root_->menu_ = this;
    if (auto* form = dynamic_cast<TForm*>(owner)) form->SetMenu(this);
}

TMainMenu::~TMainMenu() {
    if (bar_) {
        auto* form = dynamic_cast<TForm*>(TControl::FromWidget(bar_->parentWidget()));
        if (form && form->Menu() == this) form->SetMenu(nullptr);
    }
    AttachBar(nullptr);
    root_->menu_ = nullptr;
}

void TMainMenu::AttachBar(QMenuBar* bar) {
    if (bar_ && bar_ != bar) {
        root_->menu_ = nullptr; // no rebuilds while the old bar is emptied
        bar_->clear();
        for (QMenu* m : bar_->findChildren<QMenu*>(Qt::FindDirectChildrenOnly))
            delete m;
        root_->menu_ = this;
    }
    bar_ = bar;
    Rebuild();
}

void TMainMenu::Rebuild() {
    if (!bar_ || Destroying()) return;
    bar_->clear();
    for (QMenu* m : bar_->findChildren<QMenu*>(Qt::FindDirectChildrenOnly))
        delete m;
    Build(root_, bar_, nullptr);
}

void TMainMenu::Build(TMenuItem* item, QMenuBar* bar, QMenu* menu) {
    for (TMenuItem* child : item->items_) {
        child->submenu_ = nullptr;
        if (child->caption_ == "-" && menu) {
            child->action_ = menu->addSeparator();
        } else if (child->items_.empty()) {
            QAction* a =
                menu ? menu->addAction(Q(child->caption_)) : bar->addAction(Q(child->caption_));
            child->action_ = a;
            QObject::connect(a, &QAction::triggered, a, [child] { child->Click(); });
        } else {
            // A menu's own OnClick runs as it opens, before its items show.
            auto* m = new QMenu(Q(child->caption_), menu ? static_cast<QWidget*>(menu) : bar);
            child->submenu_ = m;
            child->action_ = m->menuAction();
            if (menu)
                menu->addMenu(m);
            else
                bar->addMenu(m);
            QObject::connect(m, &QMenu::aboutToShow, m, [child] { child->Click(); });
            Build(child, bar, m);
        }
        child->action_->setVisible(child->visible_);
        child->action_->setEnabled(child->enabled_);
        if (child->checked_) {
            child->action_->setCheckable(true);
            child->action_->setChecked(true);
        }
    }
}
