#pragma once
// What a look at a shown form would catch: a control reaching out of its
// parent, two controls on top of each other, a label whose text is wider
// than its box or runs into its neighbour, a report list whose columns only
// show by scrolling. The form must be shown (offscreen is enough).
#include "ui/Control.h"
#include "ui/ListView.h"
#include "ui/Widgets.h"

#include <QFontMetrics>
#include <QRect>
#include <QWidget>
#include <string>
#include <vector>

namespace lmrtest_modes {

inline std::string LayoutName(const TControl* c) {
    const std::string name = c->Name();
    if (!name.empty()) return name;
    return "\"" + c->Caption() + "\"";
}

// The part of a label its text covers, in its parent's coordinates.
inline QRect LabelTextRect(const TLabel* l) {
    const QFontMetrics fm(l->Widget()->font());
    const int w = fm.horizontalAdvance(QString::fromStdString(l->Caption()));
    const QRect box = l->Widget()->geometry();
    return QRect(box.left(), box.top(), w, box.height());
}

inline void CollectLayoutFaults(const TWinControl* parent, std::vector<std::string>& out) {
    std::vector<TControl*> shown;
    for (int i = 0; i < parent->ControlCount(); ++i) {
        TControl* c = parent->Controls(i);
        if (c->Widget() && c->Widget()->isVisible()) shown.push_back(c);
    }
    for (TControl* c : shown) {
        const QWidget* w = c->Widget();
        const QWidget* home = w->parentWidget();
        if (home && !home->rect().contains(w->geometry()))
            out.push_back(LayoutName(c) + " lies outside its parent");
        if (auto* l = dynamic_cast<TLabel*>(c); l && !l->WordWrap()) {
            if (LabelTextRect(l).width() > w->width()) out.push_back(LayoutName(c) + " is cut off");
        }
        if (auto* lv = dynamic_cast<TListView*>(c); lv && lv->ViewStyle() == vsReport) {
            int sum = 0;
            for (int k = 0; k < lv->Columns().Count(); ++k)
                sum += lv->Columns()[k]->Width();
            if (sum > w->width() - 4) out.push_back(LayoutName(c) + "'s columns need scrolling");
        }
        if (auto* win = dynamic_cast<TWinControl*>(c)) CollectLayoutFaults(win, out);
    }
    for (size_t i = 0; i < shown.size(); ++i)
        for (size_t j = i + 1; j < shown.size(); ++j) {
            auto area = [](const TControl* c) {
                const auto* l = dynamic_cast<const TLabel*>(c);
                return l ? LabelTextRect(l) : c->Widget()->geometry();
            };
            if (area(shown[i]).intersects(area(shown[j])))
                out.push_back(LayoutName(shown[i]) + " overlaps " + LayoutName(shown[j]));
        }
}

// Every fault of a shown form, one line each.
inline std::vector<std::string> LayoutFaults(const TWinControl* form) {
    std::vector<std::string> out;
    CollectLayoutFaults(form, out);
    return out;
}

} // namespace lmrtest_modes
