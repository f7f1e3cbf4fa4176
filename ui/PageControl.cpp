#include "ui/PageControl.h"

#include "ui/Application.h"
#include "ui/detail/Qt.h"

#include <QSignalBlocker>
#include <QTabWidget>
#include <QWidget>

#include <algorithm>

using namespace lmrui;

TTabSheet::TTabSheet(TComponent* owner) : TWinControl(owner) {
    auto* w = new QWidget;
    SetTabStop(false);
    SetWidget(w);
    WatchWidget(w);
}

TTabSheet::~TTabSheet() {
    if (pageControl_) pageControl_->RemovePage(this);
}

void TTabSheet::SetParent(TWinControl* parent) {
    auto* pc = dynamic_cast<TPageControl*>(parent);
    if (pageControl_ && pageControl_ != pc) {
        pageControl_->RemovePage(this);
        pageControl_ = nullptr;
    }
    TWinControl::SetParent(parent);
    if (pc && pageControl_ != pc) {
        pageControl_ = pc;
        pc->InsertPage(this);
    }
}

void TTabSheet::SetPageControl(TPageControl* pc) {
    SetParent(pc);
}

void TTabSheet::SetTabVisible(bool on) {
    if (on == tabVisible_) return;
    tabVisible_ = on;
    if (pageControl_) pageControl_->PageChanged(this);
}

int TTabSheet::PageIndex() const {
    if (!pageControl_) return -1;
    const auto& v = pageControl_->pages_;
    return static_cast<int>(std::find(v.begin(), v.end(), this) - v.begin());
}

int TTabSheet::TabIndex() const {
    if (!pageControl_ || !tabVisible_) return -1;
    int n = 0;
    for (TTabSheet* p : pageControl_->pages_) {
        if (p == this) return n;
        if (p->tabVisible_) ++n;
    }
    return -1;
}

std::string TTabSheet::GetText() const {
    return caption_;
}

void TTabSheet::SetTextValue(const std::string& text) {
    caption_ = text;
    if (pageControl_) pageControl_->PageChanged(this);
}

TPageControl::TPageControl(TComponent* owner) : TWinControl(owner) {
    tabs_ = new QTabWidget;
    SetWidget(tabs_);
    WatchWidget(tabs_);
    tabs_->resize(289, 193);
    QObject::connect(tabs_, &QTabWidget::currentChanged, tabs_, [this](int i) { UserChanged(i); });
}

TPageControl::~TPageControl() {
    SetDestroying();
    DestroyComponents();
    for (TTabSheet* p : pages_)
        p->pageControl_ = nullptr;
    pages_.clear();
}

TTabSheet* TPageControl::Pages(int index) const {
    if (index < 0 || index >= PageCount()) return nullptr;
    return pages_[static_cast<size_t>(index)];
}

void TPageControl::InsertPage(TTabSheet* page) {
    ++quiet_;
    pages_.push_back(page);
    const int i = tabs_->addTab(page->Widget(), Q(page->caption_));
    tabs_->setTabVisible(i, page->tabVisible_);
    if (!active_ && page->tabVisible_) {
        active_ = page;
        tabs_->setCurrentIndex(i);
    }
    --quiet_;
}

void TPageControl::RemovePage(TTabSheet* page) {
    auto it = std::find(pages_.begin(), pages_.end(), page);
    if (it == pages_.end()) return;
    ++quiet_;
    const int i = static_cast<int>(it - pages_.begin());
    pages_.erase(it);
    if (!Destroying()) tabs_->removeTab(i);
    if (active_ == page) {
        const int ci = Destroying() ? -1 : tabs_->currentIndex();
        active_ = ci >= 0 && ci < PageCount() ? pages_[static_cast<size_t>(ci)] : nullptr;
    }
    --quiet_;
}

void TPageControl::PageChanged(TTabSheet* page) {
    const int i = page->PageIndex();
    if (i < 0) return;
    ++quiet_;
    tabs_->setTabText(i, Q(page->caption_));
    tabs_->setTabVisible(i, page->tabVisible_);
    const int ci = tabs_->currentIndex();
    active_ = ci >= 0 && ci < PageCount() ? pages_[static_cast<size_t>(ci)] : nullptr;
    --quiet_;
}

TTabSheet* TPageControl::ActivePage() const {
    return active_;
}

void TPageControl::SetActivePage(TTabSheet* page) {
    if (page && page->pageControl_ != this) return;
    ++quiet_;
    active_ = page;
    tabs_->setCurrentIndex(page ? page->PageIndex() : -1);
    --quiet_;
}

int TPageControl::ActivePageIndex() const {
    return active_ ? active_->PageIndex() : -1;
}

void TPageControl::SetActivePageIndex(int index) {
    SetActivePage(Pages(index));
}

void TPageControl::UserChanged(int qtIndex) {
    if (quiet_ || Destroying()) return;
    TTabSheet* page =
        qtIndex >= 0 && qtIndex < PageCount() ? pages_[static_cast<size_t>(qtIndex)] : nullptr;
    if (page == active_) return;
    bool allow = true;
    if (OnChanging) SafeDispatch([&] { OnChanging(this, allow); });
    if (!allow) {
        ++quiet_;
        tabs_->setCurrentIndex(active_ ? active_->PageIndex() : -1);
        --quiet_;
        return;
    }
    active_ = page;
    SafeNotify(OnChange, this);
}

void TPageControl::ClickTab(TTabSheet* page) {
    if (!page || page->pageControl_ != this || !page->tabVisible_ || !Enabled()) return;
    tabs_->setCurrentIndex(page->PageIndex());
}
