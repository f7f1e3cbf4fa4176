#include "support/LayoutCheck.h"

#include "ui/Form.h"
#include "ui/ListView.h"
#include "ui/Widgets.h"

#include <QAbstractButton>
#include <QAbstractItemView>
#include <QFontMetrics>
#include <QGroupBox>
#include <QGuiApplication>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRect>
#include <QScreen>
#include <QScrollBar>
#include <QWidget>

#include <algorithm>
#include <tuple>

namespace lmrtest {
namespace {

// An edit's or a list's text is no name: it changes as the user types.
bool TextIsContent(const TControl* c) {
    return dynamic_cast<const TEdit*>(c) || dynamic_cast<const TComboBox*>(c) ||
           dynamic_cast<const TMemo*>(c);
}

std::string NameOf(const TControl* c) {
    if (!c->Name().empty()) return c->Name();
    if (!c->Caption().empty() && !TextIsContent(c)) return "\"" + c->Caption() + "\"";
    if (!c->Widget()) return "(unnamed)";
    return std::string("(unnamed ") + c->Widget()->metaObject()->className() + ")";
}

std::string Text(const QRect& r) {
    return "(" + std::to_string(r.x()) + "," + std::to_string(r.y()) + " " +
           std::to_string(r.width()) + "x" + std::to_string(r.height()) + ")";
}

bool OnScreen(const TControl* c, const QWidget* top) {
    return c->Widget() && c->Widget()->isVisibleTo(top);
}

// A picture is drawn behind what is placed on it.
bool IsPicture(const TControl* c) {
    return dynamic_cast<const TImage*>(c);
}

// Two rectangles share more than slack pixels each way.
bool Meet(const QRect& a, const QRect& b, int slack) {
    const QRect both = a.intersected(b);
    return both.width() > slack && both.height() > slack;
}

// The text a control shows on one line, as the user reads it.
QString ShownText(const QWidget* w) {
    if (auto* l = qobject_cast<const QLabel*>(w)) return l->wordWrap() ? QString() : l->text();
    if (auto* b = qobject_cast<const QAbstractButton*>(w)) return b->text();
    // A secret is measured as a row of stars: its dots are read by none.
    if (auto* e = qobject_cast<const QLineEdit*>(w))
        return e->echoMode() == QLineEdit::Normal ? e->text() : QString(e->text().size(), '*');
    return QString();
}

// The width the control needs for its text, with what the text sits in;
// 0 when it shows none.
int WidthNeeded(const QWidget* w) {
    const QString text = ShownText(w);
    if (text.isEmpty()) return 0;
    const int advance = w->fontMetrics().horizontalAdvance(text);
    if (auto* l = qobject_cast<const QLabel*>(w)) return advance + 2 * l->margin();
    // The text and the bevel round it; the style's wider margins of a size
    // hint are no need, a caption inside them still reads whole.
    if (qobject_cast<const QPushButton*>(w)) return advance + 6;
    // The box or circle, its gap and the text.
    if (auto* b = qobject_cast<const QAbstractButton*>(w))
        return std::max(b->sizeHint().width(), advance + 20);
    // The frame and the text margins of a line edit.
    return advance + 8;
}

// Where a caption lies, in the parent's coordinates; empty for none (an
// edit's text scrolls inside its frame).
QRect TextRect(const QWidget* w) {
    if (qobject_cast<const QLineEdit*>(w)) return QRect();
    const int width = WidthNeeded(w);
    const QRect box = w->geometry();
    if (width == 0) return QRect();
    Qt::Alignment align = Qt::AlignLeft;
    if (auto* l = qobject_cast<const QLabel*>(w)) align = l->alignment();
    if (qobject_cast<const QPushButton*>(w)) align = Qt::AlignHCenter;
    int left = box.left();
    if (align & Qt::AlignRight) left = box.right() + 1 - width;
    if (align & Qt::AlignHCenter) left = box.center().x() - width / 2;
    return QRect(left, box.top(), width, box.height());
}

void CheckText(const TControl* c, const LayoutOptions& options,
               std::vector<std::string>& faults) {
    const QWidget* w = c->Widget();
    if (!options.editTextFits && qobject_cast<const QLineEdit*>(w)) return;
    const int need = WidthNeeded(w);
    if (need > w->width() + options.slack)
        faults.push_back(NameOf(c) + " \"" + ShownText(w).toStdString() + "\" needs " +
                         std::to_string(need) + " pixels, has " + std::to_string(w->width()));
    // A wrapped label has its width; its lines must fit its height.
    if (auto* l = qobject_cast<const QLabel*>(w); l && l->wordWrap() && !l->text().isEmpty()) {
        const int lines = l->heightForWidth(l->width());
        if (lines > l->height() + options.slack)
            faults.push_back(NameOf(c) + " \"" + c->Caption() + "\" needs " +
                             std::to_string(lines) + " pixels of height, has " +
                             std::to_string(l->height()));
    }
}

void CheckList(const TListView* list, int slack, std::vector<std::string>& faults) {
    auto* view = qobject_cast<const QAbstractItemView*>(list->Widget());
    if (!view) view = list->Widget()->findChild<const QAbstractItemView*>();
    if (view && view->horizontalScrollBar()->maximum() > slack)
        faults.push_back(NameOf(list) + " needs sideways scrolling to show its columns");
    if (list->ViewStyle() != vsReport) return;
    int sum = 0;
    for (int k = 0; k < list->Columns().Count(); ++k)
        sum += list->Columns()[k]->Width();
    // The list's frame takes a few of its pixels.
    const int room = list->Widget()->width() - 4;
    if (sum > room + slack)
        faults.push_back(NameOf(list) + "'s columns need " + std::to_string(sum) +
                         " pixels, it shows " + std::to_string(room));
}

// Two siblings: a caption that reaches the other, or one box on the other.
void CheckPair(const TControl* a, const TControl* b, int slack,
               std::vector<std::string>& faults) {
    if (IsPicture(a) || IsPicture(b)) return;
    const QRect ra = a->Widget()->geometry();
    const QRect rb = b->Widget()->geometry();
    bool said = false;
    for (auto [c, o, other] : {std::tuple(a, b, rb), std::tuple(b, a, ra)}) {
        if (Meet(TextRect(c->Widget()), other, slack)) {
            faults.push_back(NameOf(c) + " \"" + ShownText(c->Widget()).toStdString() +
                             "\" runs into " + NameOf(o) + " " + Text(other));
            said = true;
        }
    }
    if (!said && Meet(ra, rb, slack))
        faults.push_back(NameOf(a) + " " + Text(ra) + " overlaps " + NameOf(b) + " " + Text(rb));
}

void Check(const TWinControl& parent, const QWidget* top, const LayoutOptions& options,
           std::vector<std::string>& faults) {
    if (!parent.ClientWidget()) return;
    const int slack = options.slack;
    std::vector<const TControl*> shown;
    for (int i = 0; i < parent.ControlCount(); ++i) {
        const TControl* c = parent.Controls(i);
        if (OnScreen(c, top)) shown.push_back(c);
    }
    // A group box's caption is drawn over its top edge: no room for children.
    int captionBottom = 0;
    if (auto* g = qobject_cast<const QGroupBox*>(parent.Widget()); g && !g->title().isEmpty())
        captionBottom = QFontMetrics(g->font()).height();
    for (size_t i = 0; i < shown.size(); ++i) {
        const TControl* c = shown[i];
        const QWidget* w = c->Widget();
        const QRect r = w->geometry();
        // What really holds the widget: a page's is its tab control's stack.
        const QWidget* home = w->parentWidget();
        if (home && !home->rect().adjusted(-slack, -slack, slack, slack).contains(r))
            faults.push_back(NameOf(c) + " " + Text(r) + " is cut off by " + NameOf(&parent) +
                             " " + Text(home->rect()));
        if (r.top() + slack < captionBottom)
            faults.push_back(NameOf(c) + " " + Text(r) + " runs into the caption of " +
                             NameOf(&parent));
        CheckText(c, options, faults);
        if (auto* list = dynamic_cast<const TListView*>(c)) CheckList(list, slack, faults);
        for (size_t j = i + 1; j < shown.size(); ++j)
            CheckPair(c, shown[j], slack, faults);
        if (auto* win = dynamic_cast<const TWinControl*>(c)) Check(*win, top, options, faults);
    }
}

} // namespace

std::vector<std::string> LayoutFaults(const TForm& form, const LayoutOptions& options) {
    std::vector<std::string> faults;
    const QWidget* top = form.Widget();
    if (!top) return {NameOf(&form) + " has no window"};
    if (options.mustBeShown && !top->isVisible()) faults.push_back(NameOf(&form) + " is not shown");
    if (QScreen* screen = QGuiApplication::primaryScreen(); screen && options.windowOnScreen) {
        const QRect area = screen->availableGeometry();
        if (!area.contains(top->frameGeometry()))
            faults.push_back(NameOf(&form) + " " + Text(top->frameGeometry()) +
                             " lies outside the screen " + Text(area));
    }
    Check(form, top, options, faults);
    return faults;
}

} // namespace lmrtest
