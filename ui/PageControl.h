#pragma once
// Tabbed pages: TPageControl holds TTabSheet pages. OnChange fires when the
// user picks a tab; ActivePage set from code fires nothing. A page whose
// TabVisible is false keeps its place but shows no tab.
#include "ui/Control.h"

class QTabWidget;
class TPageControl;

class TTabSheet : public TWinControl {
public:
    // An owner that is a page control also becomes the page's control.
    explicit TTabSheet(TComponent* owner);
    ~TTabSheet() override;
    TPageControl* PageControl() const { return pageControl_; }
    void SetPageControl(TPageControl* pc);
    void SetParent(TWinControl* parent) override;
    bool TabVisible() const { return tabVisible_; }
    void SetTabVisible(bool on);
    int PageIndex() const;
    // Index among the pages whose tab is visible, -1 when hidden.
    int TabIndex() const;

protected:
    std::string GetText() const override;
    void SetTextValue(const std::string& text) override;

private:
    friend class TPageControl;
    TPageControl* pageControl_ = nullptr;
    bool tabVisible_ = true;
    std::string caption_;
};

class TPageControl : public TWinControl {
public:
    explicit TPageControl(TComponent* owner);
    ~TPageControl() override;
    int PageCount() const { return static_cast<int>(pages_.size()); }
    TTabSheet* Pages(int index) const;
    TTabSheet* ActivePage() const;
    void SetActivePage(TTabSheet* page);
    int ActivePageIndex() const;
    void SetActivePageIndex(int index);
    // The user clicks the tab of a page (OnChanging may refuse, then OnChange).
    void ClickTab(TTabSheet* page);

    TNotifyEvent OnChange;
    std::function<void(TObject* sender, bool& allowChange)> OnChanging;

private:
    friend class TTabSheet;
    void InsertPage(TTabSheet* page);
    void RemovePage(TTabSheet* page);
    void PageChanged(TTabSheet* page);
    void UserChanged(int qtIndex);
    QTabWidget* tabs_;
    std::vector<TTabSheet*> pages_;
    TTabSheet* active_ = nullptr;
    int quiet_ = 0;
};
