#include "support/LayoutCheck.h"

#include "ui/Form.h"
#include "ui/ListView.h"
#include "ui/PageControl.h"
#include "ui/Widgets.h"

#include <QAbstractItemView>
#include <QFontMetrics>
#include <QGuiApplication>
#include <QRect>
#include <QScreen>
#include <QScrollBar>
#include <QWidget>

#include <algorithm>

namespace lmrtest {
namespace {

// A pixel of slack: borders drawn on the parent's edge are no fault.
constexpr int kSlack = 1;

std::string NameOf(const TControl* c) {
    return c->Name().empty() ? std::string("(unnamed ") + typeid(*c).name() + ")" : c->Name();
}

std::string Text(const QRect& r) {
    return "(" + std::to_string(r.x()) + "," + std::to_string(r.y()) + " " +
           std::to_string(r.width()) + "x" + std::to_string(r.height()) + ")";
}

bool OnScreen(const TControl* c, const QWidget* top) {
    return c->Widget() && c->Widget()->isVisibleTo(top);
}

// Controls that show one line of caption text.
bool IsCaptioned(const TControl* c) {
    return dynamic_cast<const TLabel*>(c) || dynamic_cast<const TCheckBox*>(c) ||
           dynamic_cast<const TRadioButton*>(c) || dynamic_cast<const TButton*>(c);
}

// Where the caption's text lies inside the control's rectangle.
QRect CaptionRect(const TControl* c, const QRect& bounds) {
    const QFontMetrics fm(c->Widget()->font());
    int width = fm.horizontalAdvance(QString::fromStdString(c->Caption()));
    if (dynamic_cast<const TCheckBox*>(c) || dynamic_cast<const TRadioButton*>(c))
        width += 20; // the box and its gap
    if (dynamic_cast<const TButton*>(c)) width += 6;
    auto* label = dynamic_cast<const TLabel*>(c);
    if (label && label->WordWrap()) return bounds;
    if (label && label->Alignment() == taRightJustify)
        return QRect(bounds.right() + 1 - width, bounds.top(), width, bounds.height());
    if (label && label->Alignment() == taCenter)
        return QRect(bounds.center().x() - width / 2, bounds.top(), width, bounds.height());
    return QRect(bounds.left(), bounds.top(), width, bounds.height());
}

// Siblings a caption may lie upon: frames and pictures behind it.
bool IsBackground(const TControl* c) {
    return dynamic_cast<const TGroupBox*>(c) || dynamic_cast<const TPanel*>(c) ||
           dynamic_cast<const TImage*>(c) ||
           dynamic_cast<const TShape*>(c) || dynamic_cast<const TPageControl*>(c);
}

void Check(const TWinControl& parent, const QWidget* top, std::vector<std::string>& faults) {
    const QWidget* area = parent.ClientWidget();
    if (!area) return;
    std::vector<const TControl*> shown;
    for (int i = 0; i < parent.ControlCount(); ++i) {
        const TControl* c = parent.Controls(i);
        if (OnScreen(c, top)) shown.push_back(c);
    }
    const QRect inside = area->rect().adjusted(-kSlack, -kSlack, kSlack, kSlack);
    for (const TControl* c : shown) {
        const QRect r = c->Widget()->geometry();
        if (c->Widget()->parentWidget() == area && !inside.contains(r))
            faults.push_back(NameOf(c) + " " + Text(r) + " is cut off by " + NameOf(&parent) +
                             " " + Text(area->rect()));
        if (IsCaptioned(c) && !c->Caption().empty()) {
            const QRect text = CaptionRect(c, r);
            if (text.width() > r.width() + kSlack)
                faults.push_back(NameOf(c) + " \"" + c->Caption() + "\" needs " +
                                 std::to_string(text.width()) + " pixels, has " +
                                 std::to_string(r.width()));
            for (const TControl* o : shown) {
                if (o == c || IsBackground(o)) continue;
                const QRect other = o->Widget()->geometry();
                const QRect both = text.intersected(other);
                if (both.width() > kSlack && both.height() > kSlack)
                    faults.push_back(NameOf(c) + " \"" + c->Caption() + "\" runs into " +
                                     NameOf(o) + " " + Text(other));
            }
        }
        if (auto* list = dynamic_cast<const TListView*>(c)) {
            auto* view = qobject_cast<const QAbstractItemView*>(list->Widget());
            if (!view) view = list->Widget()->findChild<const QAbstractItemView*>();
            if (view && view->horizontalScrollBar()->maximum() > 0)
                faults.push_back(NameOf(c) + " needs sideways scrolling to show its columns");
        }
        if (auto* win = dynamic_cast<const TWinControl*>(c)) Check(*win, top, faults);
    }
}

} // namespace

std::vector<std::string> LayoutFaults(const TForm& form) {
    std::vector<std::string> faults;
    const QWidget* top = form.Widget();
    if (!top) return {"the form has no window"};
    if (QScreen* screen = QGuiApplication::primaryScreen()) {
        const QRect area = screen->availableGeometry();
        if (!area.contains(top->frameGeometry()))
            faults.push_back(NameOf(&form) + " " + Text(top->frameGeometry()) +
                             " lies outside the screen " + Text(area));
    }
    Check(form, top, faults);
    return faults;
}

} // namespace lmrtest
