#pragma once
// What a user sees wrong on a form, found without looking at a picture: a
// control that sticks out of its parent (the parent clips it), a caption or
// an edit's text wider than its control, two visible siblings on top of one
// another. Each fault is one readable line; an empty list is a clean form.
#include "ui/Control.h"
#include "ui/Form.h"

#include <QAbstractButton>
#include <QFontMetrics>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRect>
#include <QWidget>
#include <string>
#include <vector>

namespace layouttest {

inline std::string NameOf(const TControl* c) {
    if (!c->Name().empty()) return c->Name();
    const std::string text = c->Caption();
    return text.empty() ? std::string("(unnamed)") : "\"" + text + "\"";
}

inline std::string Box(const QRect& r) {
    return "(" + std::to_string(r.x()) + "," + std::to_string(r.y()) + " " +
           std::to_string(r.width()) + "x" + std::to_string(r.height()) + ")";
}

// The width the control needs for its own text, or 0 when it has none.
inline int TextWidthNeeded(const QWidget* w) {
    if (auto* l = qobject_cast<const QLabel*>(w)) {
        if (l->wordWrap() || l->text().isEmpty()) return 0;
        return l->fontMetrics().horizontalAdvance(l->text()) + 2 * l->margin();
    }
    if (auto* b = qobject_cast<const QPushButton*>(w)) {
        if (b->text().isEmpty()) return 0;
        // A push button's size hint has a floor of its own; the text and
        // its bevel are what must fit.
        return b->fontMetrics().horizontalAdvance(b->text()) + 12;
    }
    if (auto* b = qobject_cast<const QAbstractButton*>(w)) {
        if (b->text().isEmpty()) return 0;
        return b->sizeHint().width(); // the box or circle and the text
    }
    if (auto* e = qobject_cast<const QLineEdit*>(w)) {
        if (e->text().isEmpty()) return 0;
        const QString shown =
            e->echoMode() == QLineEdit::Normal ? e->text() : QString(e->text().size(), '*');
        // The frame and the text margins of a line edit.
        return e->fontMetrics().horizontalAdvance(shown) + 8;
    }
    return 0;
}

inline void CollectFaults(const TWinControl* parent, std::vector<std::string>& out) {
    std::vector<const TControl*> shown;
    for (int k = 0; k < parent->ControlCount(); ++k) {
        const TControl* c = parent->Controls(k);
        if (!c || !c->Visible() || !c->Widget()) continue;
        shown.push_back(c);
    }
    const QWidget* area = parent->ClientWidget();
    for (const TControl* c : shown) {
        const QWidget* w = c->Widget();
        const QRect r = w->geometry();
        // Inside what actually holds it; a group box's title is no room.
        QRect room = w->parentWidget() ? w->parentWidget()->rect() : area->rect();
        if (auto* g = qobject_cast<const QGroupBox*>(w->parentWidget())) {
            if (!g->title().isEmpty()) room.setTop(g->fontMetrics().height() / 2 + 1);
        }
        if (!room.contains(r))
            out.push_back(NameOf(c) + " " + Box(r) + " lies outside its parent " + Box(room));
        const int need = TextWidthNeeded(w);
        if (need > r.width())
            out.push_back(NameOf(c) + " needs " + std::to_string(need) + " pixels for its text, has " +
                          std::to_string(r.width()));
        if (auto* wc = dynamic_cast<const TWinControl*>(c)) CollectFaults(wc, out);
    }
    for (size_t i = 0; i < shown.size(); ++i)
        for (size_t j = i + 1; j < shown.size(); ++j) {
            const QRect a = shown[i]->Widget()->geometry();
            const QRect b = shown[j]->Widget()->geometry();
            if (shown[i]->Widget()->parentWidget() != shown[j]->Widget()->parentWidget()) continue;
            if (a.intersects(b))
                out.push_back(NameOf(shown[i]) + " " + Box(a) + " overlaps " + NameOf(shown[j]) +
                              " " + Box(b));
        }
}

// The faults of a form as laid out now (show it first, so that aligned
// panels have their sizes).
inline std::vector<std::string> LayoutFaults(const TForm* form) {
    std::vector<std::string> out;
    CollectFaults(form, out);
    return out;
}

} // namespace layouttest
