#include "ui/Control.h"

#include "ui/Application.h"
#include "ui/Form.h"
#include "ui/PageControl.h"
#include "ui/Widgets.h"
#include "ui/detail/Hooks.h"
#include "ui/detail/Qt.h"

#include <QApplication>
#include <QEvent>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPointer>
#include <QWidget>

#include <algorithm>
#include <unordered_map>

namespace lmrui {

namespace {

std::unordered_map<std::uint64_t, TControl*>& Registry() {
    static auto* const registry = new std::unordered_map<std::uint64_t, TControl*>;
    return *registry;
}
std::uint64_t g_nextSerial = 0;
const char* const kControlProperty = "lmrControl";

// Keys, focus moves and resizes of the windowed controls.
class WinFilter : public QObject {
public:
    explicit WinFilter(TWinControl* owner) : QObject(nullptr), owner_(owner) {}
    bool eventFilter(QObject* watched, QEvent* e) override;

private:
    TWinControl* owner_;
};

class MouseFilter : public QObject {
public:
    explicit MouseFilter(TControl* owner) : owner_(owner) {}
    bool eventFilter(QObject*, QEvent* e) override {
        switch (e->type()) {
        case QEvent::MouseButtonRelease: {
            auto* me = static_cast<QMouseEvent*>(e);
            if (me->button() == Qt::LeftButton && owner_->Widget() &&
                owner_->Widget()->rect().contains(me->position().toPoint()))
                SafeDispatch([this] {
                    if (owner_->OnClick) owner_->OnClick(owner_);
                });
            break;
        }
        case QEvent::MouseButtonDblClick:
            SafeDispatch([this] {
                if (owner_->OnDblClick) owner_->OnDblClick(owner_);
            });
            break;
        case QEvent::MouseMove:
            DispatchMouseMove(owner_, static_cast<QMouseEvent*>(e));
            break;
        default:
            break;
        }
        return false;
    }

private:
    TControl* owner_;
};

} // namespace

TControl* FindControl(std::uint64_t serial) {
    auto it = Registry().find(serial);
    return it == Registry().end() ? nullptr : it->second;
}

void EnsureHooks() {
    static bool done = false;
    auto* app = qobject_cast<QApplication*>(QCoreApplication::instance());
    if (done || !app) return;
    done = true;
    // The layer follows Qt's focus inside a form and fires OnExit/OnEnter
    // itself; focus that goes to a widget of no form (a message box) is
    // ignored, so it is not an exit.
    QObject::connect(app, &QApplication::focusChanged, app, [](QWidget*, QWidget* now) {
        if (!now) return;
        TControl* c = TControl::FromWidget(now);
        while (c && !dynamic_cast<TWinControl*>(c))
            c = c->Parent();
        auto* w = dynamic_cast<TWinControl*>(c);
        if (!w || dynamic_cast<TForm*>(w)) return;
        TForm* form = w->ParentForm();
        if (!form || form->ActiveControl() == w) return;
        SafeDispatch([form, w] { form->FocusControl(w); });
    });
}

namespace {
class ResizeFilter : public QObject {
public:
    explicit ResizeFilter(std::function<void()> fn) : fn_(std::move(fn)) {}
    bool eventFilter(QObject*, QEvent* e) override {
        if (e->type() == QEvent::Resize) fn_();
        return false;
    }

private:
    std::function<void()> fn_;
};
} // namespace

void OnWidgetResize(QWidget* widget, std::function<void()> fn) {
    auto* filter = new ResizeFilter(std::move(fn));
    filter->setParent(widget);
    widget->installEventFilter(filter);
}

void WatchMouse(TControl* control, QWidget* widget) {
    auto* filter = new MouseFilter(control);
    filter->setParent(widget);
    widget->installEventFilter(filter);
    widget->setMouseTracking(true);
}

unsigned short VirtualKey(int key, const QString& text) {
    if (key >= Qt::Key_A && key <= Qt::Key_Z)
        return static_cast<unsigned short>('A' + key - Qt::Key_A);
    if (key >= Qt::Key_0 && key <= Qt::Key_9)
        return static_cast<unsigned short>('0' + key - Qt::Key_0);
    if (key >= Qt::Key_F1 && key <= Qt::Key_F24)
        return static_cast<unsigned short>(VK_F1 + key - Qt::Key_F1);
    switch (key) {
    case Qt::Key_Backspace:
        return VK_BACK;
    case Qt::Key_Tab:
    case Qt::Key_Backtab:
        return VK_TAB;
    case Qt::Key_Return:
    case Qt::Key_Enter:
        return VK_RETURN;
    case Qt::Key_Escape:
        return VK_ESCAPE;
    case Qt::Key_Space:
        return VK_SPACE;
    case Qt::Key_PageUp:
        return VK_PRIOR;
    case Qt::Key_PageDown:
        return VK_NEXT;
    case Qt::Key_End:
        return VK_END;
    case Qt::Key_Home:
        return VK_HOME;
    case Qt::Key_Left:
        return VK_LEFT;
    case Qt::Key_Up:
        return VK_UP;
    case Qt::Key_Right:
        return VK_RIGHT;
    case Qt::Key_Down:
        return VK_DOWN;
    case Qt::Key_Insert:
        return VK_INSERT;
    case Qt::Key_Delete:
        return VK_DELETE;
    case Qt::Key_Shift:
        return 0x10;
    case Qt::Key_Control:
        return 0x11;
    case Qt::Key_Alt:
        return 0x12;
    default:
        break;
    }
    if (text.size() == 1 && text[0].unicode() < 0x80) return 0xBA; // some punctuation key
    return 0;
}

TShiftState ShiftOf(int modifiers, int buttons) {
    TShiftState s = 0;
    if (modifiers & Qt::ShiftModifier) s |= ssShift;
    if (modifiers & Qt::AltModifier) s |= ssAlt;
    if (modifiers & Qt::ControlModifier) s |= ssCtrl;
    if (buttons & Qt::LeftButton) s |= ssLeft;
    if (buttons & Qt::RightButton) s |= ssRight;
    if (buttons & Qt::MiddleButton) s |= ssMiddle;
    return s;
}

void SetBaseColor(QWidget* widget, TColor color) {
    QPalette pal = widget->palette();
    pal.setColor(QPalette::Base, ToQColor(color));
    widget->setPalette(pal);
}

void DispatchMouseMove(TControl* control, const QMouseEvent* me) {
    const QPoint p = me->position().toPoint();
    const TShiftState shift =
        ShiftOf(static_cast<int>(me->modifiers()), static_cast<int>(me->buttons()));
    SafeDispatch([&] {
        if (control->OnMouseMove) control->OnMouseMove(control, shift, p.x(), p.y());
    });
}

bool WinFilter::eventFilter(QObject* watched, QEvent* e) {
    switch (e->type()) {
    case QEvent::KeyPress:
    case QEvent::KeyRelease: {
        auto* ke = static_cast<QKeyEvent*>(e);
        const bool up = e->type() == QEvent::KeyRelease;
        unsigned short vk = VirtualKey(ke->key(), ke->text());
        const TShiftState shift = ShiftOf(static_cast<int>(ke->modifiers()));
        if (vk) {
            bool swallow = false;
            SafeDispatch([&] { swallow = owner_->HandleKeyDown(vk, shift, up); });
            if (swallow) return true;
        }
        if (up) return false;
        TForm* form = owner_->ParentForm();
        if ((ke->key() == Qt::Key_Tab || ke->key() == Qt::Key_Backtab) &&
            !(ke->modifiers() & Qt::ControlModifier)) {
            // Our own tab order, not Qt's focus chain.
            const bool forward = ke->key() == Qt::Key_Tab && !(ke->modifiers() & Qt::ShiftModifier);
            if (form) SafeDispatch([&] { form->SelectNext(owner_, forward, true); });
            return true;
        }
        const QString text = ke->text();
        if (text.size() == 1 && text[0].unicode() < 0x100) {
            char key = static_cast<char>(text[0].unicode());
            const char typed = key;
            bool swallow = false;
            SafeDispatch([&] { swallow = owner_->HandleKeyPress(key); });
            if (swallow) return true;
            if (key != typed) {
                SafeDispatch([&] { owner_->TakeReplacedKey(key); });
                return true;
            }
            if (form && (key == '\r' || key == '\x1b')) {
                // The default and cancel buttons of the form answer Enter and Escape.
                for (int i = 0; i < form->ComponentCount(); ++i) {
                    auto* b = dynamic_cast<TButton*>(form->Components(i));
                    if (!b || !b->CanFocus()) continue;
                    if ((key == '\r' && b->Default() && !dynamic_cast<TMemo*>(owner_)) ||
                        (key == '\x1b' && b->Cancel())) {
                        SafeDispatch([b] { b->Click(); });
                        return true;
                    }
                }
            }
        }
        return false;
    }
    case QEvent::Resize:
        if (watched == owner_->ClientWidget() || watched == owner_->Widget()) {
            owner_->AlignControls();
            if (watched == owner_->Widget())
                SafeDispatch([this] {
                    if (owner_->OnResize) owner_->OnResize(owner_);
                });
        }
        return false;
    default:
        return false;
    }
}

} // namespace lmrui

using namespace lmrui;

// --- TControl ------------------------------------------------------------------

TControl::TControl(TComponent* owner) : TComponent(owner) {
    serial_ = ++g_nextSerial;
    Registry()[serial_] = this;
    EnsureHooks();
    font_.OnChange = [this] { ApplyFont(); };
}

TControl::~TControl() {
    SetDestroying();
    Registry().erase(serial_);
    DestroyComponents();
    if (TForm* form = ParentForm(); form && form != this) form->ControlGone(this);
    if (parent_) {
        TWinControl* p = parent_;
        p->RemoveControl(this);
        parent_ = nullptr;
        if (align_ != alNone && !p->Destroying()) p->AlignControls();
    }
    if (widget_) {
        QWidget* w = widget_;
        widget_ = nullptr;
        QObject::disconnect(w, &QObject::destroyed, nullptr, nullptr);
        delete w;
    }
}

void TControl::SetWidget(QWidget* widget) {
    widget_ = widget;
    widget->setProperty(kControlProperty,
                        QVariant::fromValue<quintptr>(reinterpret_cast<quintptr>(this)));
    QObject::connect(widget, &QObject::destroyed, [this] { widget_ = nullptr; });
    if (!parent_ && !dynamic_cast<TForm*>(this)) {
        if (auto* p = dynamic_cast<TWinControl*>(Owner())) SetParent(p);
    }
}

void TControl::ForgetWidget() {
    widget_ = nullptr;
}

TControl* TControl::FromWidget(const QWidget* widget) {
    for (const QWidget* w = widget; w; w = w->parentWidget()) {
        const QVariant v = w->property(kControlProperty);
        if (v.isValid()) return reinterpret_cast<TControl*>(v.value<quintptr>());
    }
    return nullptr;
}

void TControl::SetParent(TWinControl* parent) {
    if (parent == parent_) return;
    if (parent == this) return;
    TWinControl* old = parent_;
    if (old) {
        if (TForm* form = ParentForm(); form && form != this) form->ControlGone(this);
        old->RemoveControl(this);
    }
    parent_ = parent;
    if (parent) parent->InsertControl(this);
    if (widget_) {
        const QRect g = widget_->geometry();
        widget_->setParent(parent ? parent->ClientWidget() : nullptr);
        widget_->setGeometry(g);
        if (parent) widget_->setVisible(visible_);
        widget_->setEnabled(enabled_);
    }
    if (align_ != alNone) {
        if (old) old->AlignControls();
        if (parent) parent->AlignControls();
    }
}

void TControl::SetVisible(bool visible) {
    if (visible == visible_) return;
    visible_ = visible;
    if (widget_ && widget_->parentWidget()) widget_->setVisible(visible);
    if (align_ != alNone) RequestRealign();
}

void TControl::SetEnabled(bool enabled) {
    if (enabled == enabled_) return;
    enabled_ = enabled;
    if (widget_) widget_->setEnabled(enabled);
}

bool TControl::Showing() const {
    const TControl* c = this;
    for (; c; c = c->parent_) {
        if (!c->visible_) return false;
        if (!c->parent_) break;
    }
    auto* form = dynamic_cast<const TForm*>(c);
    return form && form->IsShown();
}

int TControl::Left() const {
    return widget_ ? widget_->x() : 0;
}
int TControl::Top() const {
    return widget_ ? widget_->y() : 0;
}
int TControl::Width() const {
    return widget_ ? widget_->width() : 0;
}
int TControl::Height() const {
    return widget_ ? widget_->height() : 0;
}
void TControl::SetLeft(int v) {
    SetBounds(v, Top(), Width(), Height());
}
void TControl::SetTop(int v) {
    SetBounds(Left(), v, Width(), Height());
}
void TControl::SetWidth(int v) {
    SetBounds(Left(), Top(), v, Height());
}
void TControl::SetHeight(int v) {
    SetBounds(Left(), Top(), Width(), v);
}

void TControl::SetBounds(int left, int top, int width, int height) {
    if (!widget_) return;
    width = std::max(0, width);
    height = std::max(0, height);
    if (widget_->isWindow()) {
        widget_->move(left, top);
        widget_->resize(width, height);
    } else {
        widget_->setGeometry(left, top, width, height);
    }
    if (align_ != alNone) RequestRealign();
    if (auto* box = dynamic_cast<TScrollBox*>(parent_)) box->UpdateScrollRange();
    // Hidden widgets get their resize events only when shown: align now.
    if (auto* self = dynamic_cast<TWinControl*>(this)) self->AlignControls();
}

void TControl::SetAlign(TAlign align) {
    if (align == align_) return;
    align_ = align;
    RequestRealign();
}

void TControl::RequestRealign() {
    if (parent_ && !parent_->Destroying()) parent_->AlignControls();
}

void TControl::SetColor(TColor color) {
    color_ = color;
    ApplyColor();
}

void TControl::ApplyColor() {
    if (!widget_) return;
    QPalette pal = widget_->palette();
    pal.setColor(QPalette::Window, ToQColor(color_));
    widget_->setPalette(pal);
    widget_->setAutoFillBackground(color_ != clBtnFace);
}

void TControl::ApplyFont() {
    if (!widget_) return;
    QFont f = widget_->font();
    if (font_.Size() > 0) f.setPointSize(font_.Size());
    if (!font_.Name().empty()) f.setFamily(Q(font_.Name()));
    f.setBold(font_.Style() & fsBold);
    f.setItalic(font_.Style() & fsItalic);
    f.setUnderline(font_.Style() & fsUnderline);
    widget_->setFont(f);
    QPalette pal = widget_->palette();
    pal.setColor(QPalette::WindowText, ToQColor(font_.Color()));
    pal.setColor(QPalette::Text, ToQColor(font_.Color()));
    pal.setColor(QPalette::ButtonText, ToQColor(font_.Color()));
    widget_->setPalette(pal);
}

void TControl::SetHint(const std::string& hint) {
    hint_ = hint;
    if (widget_) widget_->setToolTip(showHint_ ? Q(hint) : QString());
}

void TControl::SetShowHint(bool on) {
    showHint_ = on;
    SetHint(hint_);
}

std::string TControl::GetText() const {
    return text_;
}
void TControl::SetTextValue(const std::string& text) {
    text_ = text;
}

void TControl::BringToFront() {
    if (widget_) widget_->raise();
    if (widget_ && widget_->isWindow()) widget_->activateWindow();
}
void TControl::SendToBack() {
    if (widget_) widget_->lower();
}
void TControl::Invalidate() {
    if (widget_) widget_->update();
}
void TControl::Repaint() {
    if (widget_) widget_->repaint();
}
void TControl::Update() {
    if (widget_) widget_->repaint();
}

void TControl::Dispatch(TMessage& message) {
    if (OnMessage) {
        bool handled = false;
        OnMessage(message, handled);
        if (handled) return;
    }
    DefaultHandler(message);
}

void TControl::DefaultHandler(TMessage&) {}

std::intptr_t TControl::Perform(unsigned msg, std::uintptr_t wparam, std::intptr_t lparam) {
    TMessage m;
    m.Msg = msg;
    m.WParam = wparam;
    m.LParam = lparam;
    Dispatch(m);
    return m.Result;
}

void TControl::Click() {
    SafeNotify(OnClick, this);
}

TForm* TControl::ParentForm() const {
    return GetParentForm(this);
}

TForm* GetParentForm(const TControl* control) {
    const TControl* c = control;
    while (c && c->Parent())
        c = c->Parent();
    return const_cast<TForm*>(dynamic_cast<const TForm*>(c));
}

// --- TWinControl ---------------------------------------------------------------

TWinControl::TWinControl(TComponent* owner) : TControl(owner) {}

TWinControl::~TWinControl() {
    SetDestroying();
    DestroyComponents();
    // Children owned elsewhere keep their objects; they only lose this parent.
    while (!controls_.empty()) {
        TControl* c = controls_.back();
        controls_.pop_back();
        c->parent_ = nullptr;
        if (c->widget_) {
            c->widget_->hide();
            c->widget_->setParent(nullptr);
        }
    }
    tabList_.clear();
}

TControl* TWinControl::Controls(int index) const {
    if (index < 0 || index >= ControlCount()) return nullptr;
    return controls_[static_cast<size_t>(index)];
}

void TWinControl::InsertControl(TControl* control) {
    controls_.push_back(control);
    if (auto* w = dynamic_cast<TWinControl*>(control)) tabList_.push_back(w);
}

void TWinControl::RemoveControl(TControl* control) {
    controls_.erase(std::remove(controls_.begin(), controls_.end(), control), controls_.end());
    tabList_.erase(std::remove(tabList_.begin(), tabList_.end(), control), tabList_.end());
}

int TWinControl::TabOrder() const {
    TWinControl* p = Parent();
    if (!p) return -1;
    auto it = std::find(p->tabList_.begin(), p->tabList_.end(), this);
    return it == p->tabList_.end() ? -1 : static_cast<int>(it - p->tabList_.begin());
}

void TWinControl::SetTabOrder(int order) {
    TWinControl* p = Parent();
    if (!p) return;
    auto& list = p->tabList_;
    list.erase(std::remove(list.begin(), list.end(), this), list.end());
    order = std::clamp(order, 0, static_cast<int>(list.size()));
    list.insert(list.begin() + order, this);
}

bool TWinControl::CanFocus() const {
    const TControl* c = this;
    while (c) {
        if (!c->Enabled()) return false;
        if (dynamic_cast<const TForm*>(c)) return true;
        if (!c->Visible()) return false;
        if (auto* page = dynamic_cast<const TTabSheet*>(c)) {
            if (page->PageControl() && page->PageControl()->ActivePage() != page) return false;
        }
        c = c->Parent();
    }
    return false; // not on a form
}

void TWinControl::SetFocus() {
    if (auto* form = dynamic_cast<TForm*>(this)) {
        if (Widget()) Widget()->activateWindow();
        (void)form;
        return;
    }
    if (!CanFocus()) return;
    if (TForm* form = ParentForm()) form->FocusControl(this);
}

bool TWinControl::Focused() const {
    TForm* form = ParentForm();
    return form && form->ActiveControl() == this;
}

TWinControl* TWinControl::FindNextControl(TWinControl* current, bool forward,
                                          bool checkTabStop) const {
    // Every windowed descendant: each control, then its own children, in tab order.
    std::vector<TWinControl*> list;
    std::function<void(const TWinControl*)> collect = [&](const TWinControl* w) {
        for (TWinControl* c : w->tabList_) {
            list.push_back(c);
            collect(c);
        }
    };
    collect(this);
    if (list.empty()) return nullptr;
    const int n = static_cast<int>(list.size());
    auto it = std::find(list.begin(), list.end(), current);
    int start = it == list.end() ? (forward ? n - 1 : 0) : static_cast<int>(it - list.begin());
    int i = start;
    for (int step = 0; step < n; ++step) {
        i = forward ? (i + 1) % n : (i - 1 + n) % n;
        TWinControl* c = list[static_cast<size_t>(i)];
        if (c == current) continue;
        if (!c->CanFocus()) continue;
        if (checkTabStop && !c->TabStop()) continue;
        return c;
    }
    return nullptr;
}

void TWinControl::SelectNext(TWinControl* current, bool forward, bool checkTabStop) {
    if (TWinControl* next = FindNextControl(current, forward, checkTabStop)) next->SetFocus();
}

void TWinControl::SetBorderWidth(int w) {
    borderWidth_ = std::max(0, w);
    AlignControls();
}

void TWinControl::AlignControls() {
    if (aligning_ || Destroying()) return;
    aligning_ = true;
    int left = borderWidth_, top = borderWidth_;
    int right = ClientWidth() - borderWidth_, bottom = ClientHeight() - borderWidth_;
    for (TAlign pass : {alTop, alBottom, alLeft, alRight, alClient}) {
        for (TControl* c : controls_) {
            if (c->Align() != pass || !c->Visible() || !c->widget_) continue;
            const int w = c->Width(), h = c->Height();
            QRect r;
            switch (pass) {
            case alTop:
                r = QRect(left, top, std::max(0, right - left), h);
                top += h;
                break;
            case alBottom:
                r = QRect(left, bottom - h, std::max(0, right - left), h);
                bottom -= h;
                break;
            case alLeft:
                r = QRect(left, top, w, std::max(0, bottom - top));
                left += w;
                break;
            case alRight:
                r = QRect(right - w, top, w, std::max(0, bottom - top));
                right -= w;
                break;
            default:
                r = QRect(left, top, std::max(0, right - left), std::max(0, bottom - top));
                break;
            }
            if (c->widget_->geometry() != r) {
                c->widget_->setGeometry(r);
                if (auto* w = dynamic_cast<TWinControl*>(c)) w->AlignControls();
            }
        }
    }
    aligning_ = false;
}

void TWinControl::DefaultHandler(TMessage& message) {
    switch (message.Msg) {
    case WM_NEXTDLGCTL:
        if (TForm* form = ParentForm()) {
            if (message.LParam == 0) {
                form->SelectNext(form->ActiveControl(), message.WParam == 0, true);
            } else if (auto* target = reinterpret_cast<TWinControl*>(message.WParam)) {
                target->SetFocus();
            }
        }
        break;
    case WM_CLOSE:
        if (auto* form = dynamic_cast<TForm*>(this)) form->Close();
        break;
    default:
        break;
    }
}

void TWinControl::WatchWidget(QWidget* widget) {
    auto* filter = new WinFilter(this);
    filter->setParent(widget);
    widget->installEventFilter(filter);
}

bool TWinControl::HandleKeyPress(char& key) {
    TForm* form = ParentForm();
    if (form && form != this && form->KeyPreview() && form->OnKeyPress) {
        form->OnKeyPress(form, key);
        if (key == 0) return true;
    }
    if (OnKeyPress) OnKeyPress(this, key);
    return key == 0;
}

bool TWinControl::HandleKeyDown(unsigned short& key, TShiftState shift, bool up) {
    TForm* form = ParentForm();
    if (form && form != this && form->KeyPreview()) {
        auto& e = up ? form->OnKeyUp : form->OnKeyDown;
        if (e) e(form, key, shift);
        if (key == 0) return true;
    }
    auto& e = up ? OnKeyUp : OnKeyDown;
    if (e) e(this, key, shift);
    return key == 0;
}
