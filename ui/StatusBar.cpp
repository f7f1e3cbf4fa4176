#include "ui/StatusBar.h"

#include "ui/Strings.h"
#include "ui/detail/Qt.h"

#include <QPainter>
#include <QWidget>

#include <algorithm>

using namespace lmrui;

class StatusWidget : public QWidget {
public:
    explicit StatusWidget(TStatusBar* bar) : bar_(bar) {}

protected:
    void paintEvent(QPaintEvent*) override {
        QPainter p(this);
        p.fillRect(rect(), palette().color(QPalette::Window));
        p.setPen(QColor(160, 160, 160));
        p.drawLine(0, 0, width(), 0);
        p.setPen(palette().color(QPalette::WindowText));
        if (bar_->SimplePanel()) {
            p.drawText(rect().adjusted(4, 1, -4, 0), Qt::AlignLeft | Qt::AlignVCenter,
                       Q(bar_->SimpleText()));
            return;
        }
        int x = 0;
        const int n = bar_->Panels().Count();
        for (int i = 0; i < n; ++i) {
            TStatusPanel* panel = bar_->Panels()[i];
            const int w = i == n - 1 ? std::max(panel->Width(), width() - x) : panel->Width();
            const QRect r(x, 2, w - 2, height() - 3);
            p.setPen(QColor(160, 160, 160));
            p.drawRect(r);
            p.setPen(palette().color(QPalette::WindowText));
            p.drawText(r.adjusted(3, 0, -3, 0), Qt::AlignLeft | Qt::AlignVCenter, Q(panel->Text()));
            x += w;
        }
    }

private:
    TStatusBar* bar_;
};

void TStatusPanel::SetText(const std::string& text) {
    text_ = text;
    bar_->PanelChanged(this, true);
}

void TStatusPanel::SetWidth(int width) {
    width_ = std::max(0, width);
    bar_->PanelChanged(this, false);
}

int TStatusPanel::Index() const {
    const auto& v = bar_->Panels().panels_;
    return static_cast<int>(std::find(v.begin(), v.end(), this) - v.begin());
}

TStatusPanels::~TStatusPanels() {
    for (TStatusPanel* p : panels_)
        delete p;
}

TStatusPanel* TStatusPanels::Items(int index) const {
    if (index < 0 || index >= Count())
        throw EListError("List index out of bounds (" + std::to_string(index) + ")");
    return panels_[static_cast<size_t>(index)];
}

TStatusPanel* TStatusPanels::Add() {
    auto* p = new TStatusPanel(bar_);
    panels_.push_back(p);
    bar_->Rebuild();
    return p;
}

void TStatusPanels::Delete(int index) {
    TStatusPanel* p = Items(index);
    panels_.erase(panels_.begin() + index);
    delete p;
    bar_->Rebuild();
}

void TStatusPanels::Clear() {
    for (TStatusPanel* p : panels_)
        delete p;
    panels_.clear();
    bar_->Rebuild();
}

TStatusBar::TStatusBar(TComponent* owner) : TWinControl(owner), panels_(new TStatusPanels(this)) {
    auto* w = new StatusWidget(this);
    SetWidget(w);
    WatchWidget(w);
    SetTabStop(false);
    w->resize(300, 19);
    SetAlign(alBottom);
}

TStatusBar::~TStatusBar() = default;

void TStatusBar::SetSimplePanel(bool on) {
    if (on == simplePanel_) return;
    simplePanel_ = on;
    Rebuild();
}

void TStatusBar::SetSimpleText(const std::string& text) {
    simpleText_ = text;
    // A written simple text must be seen: the bar switches to it.
    simplePanel_ = true;
    Rebuild();
}

void TStatusBar::PanelChanged(TStatusPanel*, bool textWritten) {
    if (textWritten) simplePanel_ = false;
    Rebuild();
}

void TStatusBar::Rebuild() {
    Invalidate();
}

std::string TStatusBar::ShownText() const {
    if (simplePanel_) return simpleText_;
    std::string out;
    for (int i = 0; i < panels_->Count(); ++i) {
        if (i) out += " | ";
        out += (*panels_)[i]->Text();
    }
    return out;
}
