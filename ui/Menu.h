#pragma once
// Main menus: TMainMenu (its form shows it as the menu bar) and TMenuItem. A
// top item's OnClick fires when its menu opens; a command's when chosen.
#include "ui/Component.h"
#include <string>
#include <vector>

class QMenu;
class QMenuBar;
class QAction;
class TMainMenu;

class TMenuItem : public TComponent {
public:
    explicit TMenuItem(TComponent* owner);
    ~TMenuItem() override;

    const std::string& Caption() const { return caption_; }
    void SetCaption(const std::string& text);
    bool Visible() const { return visible_; }
    void SetVisible(bool on);
    bool Enabled() const { return enabled_; }
    void SetEnabled(bool on);
    bool Checked() const { return checked_; }
    void SetChecked(bool on);

    int Count() const { return static_cast<int>(items_.size()); }
    TMenuItem* Items(int index) const;
    TMenuItem* operator[](int index) const { return Items(index); }
    void Add(TMenuItem* item);
    void Insert(int index, TMenuItem* item);
    void Remove(TMenuItem* item);
    TMenuItem* ParentItem() const { return parentItem_; }
    int MenuIndex() const;
    // A new item with this caption (and handler) appended here.
    TMenuItem* AddItem(const std::string& caption, TNotifyEvent onClick = nullptr);

    // Runs OnClick as choosing the item (or opening its menu) would.
    void Click();

    TNotifyEvent OnClick;

private:
    friend class TMainMenu;
    void Rebuild();
    TMainMenu* RootMenu() const;
    std::string caption_;
    bool visible_ = true;
    bool enabled_ = true;
    bool checked_ = false;
    std::vector<TMenuItem*> items_;
    TMenuItem* parentItem_ = nullptr;
    TMainMenu* menu_ = nullptr; // set on the root item
    QAction* action_ = nullptr;
    QMenu* submenu_ = nullptr;
};

class TMainMenu : public TComponent {
public:
    // A form owner takes this menu as its menu bar.
    explicit TMainMenu(TComponent* owner);
    ~TMainMenu() override;
    TMenuItem& Items() { return *root_; }
    const TMenuItem& Items() const { return *root_; }
    // The bar this menu fills (the form creates it).
    void AttachBar(QMenuBar* bar);
    QMenuBar* Bar() const { return bar_; }

private:
    friend class TMenuItem;
    void Rebuild();
    static void Build(TMenuItem* item, QMenuBar* bar, QMenu* menu);
    TMenuItem* root_;
    QMenuBar* bar_ = nullptr;
};
