#include "ui/Form.h"

#include "ui/Application.h"
#include "base/Exception.h"
#include "ui/Menu.h"
#include "ui/Testing.h"
#include "ui/detail/Qt.h"

#include <QCloseEvent>
#include <QEventLoop>
#include <QGuiApplication>
#include <QMenuBar>
#include <QScreen>
#include <QTimer>
#include <QWidget>

#include <algorithm>

using namespace lmrui;

namespace {

std::vector<TForm*>& AllForms() {
    static auto* const forms = new std::vector<TForm*>;
    return *forms;
}

ModalHook g_modalHook;
int g_modalTimeoutMs = 0;
std::function<void(TForm*)> g_onModalTimeout;

bool Contains(const TControl* ancestor, const TControl* c) {
    for (; c; c = c->Parent())
        if (c == ancestor) return true;
    return false;
}

} // namespace

void SetModalHook(ModalHook hook) {
    g_modalHook = std::move(hook);
}
void SetModalTimeout(int ms, std::function<void(TForm*)> onTimeout) {
    g_modalTimeoutMs = ms;
    g_onModalTimeout = std::move(onTimeout);
}

// The top-level window: an optional menu bar above the client area; the close
// box asks the form instead of closing the window.
class FormWidget : public QWidget {
public:
    explicit FormWidget(TForm* form) : QWidget(nullptr, Qt::Window), form_(form) {
        client = new QWidget(this);
        client->setObjectName("client");
    }
    void Layout() {
        int top = 0;
        if (bar && !bar->isHidden()) {
            const int h = bar->sizeHint().height();
            bar->setGeometry(0, 0, width(), h);
            top = h;
        }
        client->setGeometry(0, top, width(), std::max(0, height() - top));
        form_->AlignControls();
    }
    int BarHeight() const { return bar && !bar->isHidden() ? bar->sizeHint().height() : 0; }

    QWidget* client;
    QMenuBar* bar = nullptr;

protected:
    void resizeEvent(QResizeEvent* e) override {
        QWidget::resizeEvent(e);
        Layout();
    }
    void closeEvent(QCloseEvent* e) override {
        // The form hides itself when its close events allow it.
        e->ignore();
        SafeDispatch([this] { form_->Close(); });
    }

private:
    TForm* form_;
};

TForm::TForm(TComponent* owner) : TWinControl(owner) {
    auto* w = new FormWidget(this);
    client_ = w->client;
    SetWidget(w);
    TControl::SetVisible(false);
    WatchWidget(w);
    WatchWidget(client_);
    SetTabStop(false);
    w->resize(320, 240);
    AllForms().push_back(this);
}

TForm::~TForm() {
    DoDestroy();
    SetDestroying();
    if (loop_) static_cast<QEventLoop*>(loop_)->exit(0);
    if (Application->MainForm() == this) Application->SetMainForm(nullptr);
    DestroyComponents();
    if (menu_) {
        menu_->AttachBar(nullptr);
        menu_ = nullptr;
    }
    auto& all = AllForms();
    all.erase(std::remove(all.begin(), all.end(), this), all.end());
}

std::vector<TForm*> TForm::Forms() {
    return AllForms();
}

void TForm::DoCreate() {
    if (created_) return;
    created_ = true;
    SafeNotify(OnCreate, this);
}

void TForm::DoDestroy() {
    if (destroyed_) return;
    destroyed_ = true;
    SafeNotify(OnDestroy, this);
}

std::string TForm::GetText() const {
    return caption_;
}

void TForm::SetTextValue(const std::string& text) {
    caption_ = text;
    if (Widget()) Widget()->setWindowTitle(Q(text));
}

void TForm::SetBounds(int left, int top, int width, int height) {
    TWinControl::SetBounds(left, top, width, height);
    static_cast<FormWidget*>(Widget())->Layout();
}

int TForm::ClientWidth() const {
    return client_ ? client_->width() : 0;
}
int TForm::ClientHeight() const {
    return client_ ? client_->height() : 0;
}

void TForm::SetClientWidth(int v) {
    auto* w = static_cast<FormWidget*>(Widget());
    w->resize(std::max(0, v), w->height());
    w->Layout();
}

void TForm::SetClientHeight(int v) {
    auto* w = static_cast<FormWidget*>(Widget());
    w->resize(w->width(), std::max(0, v) + w->BarHeight());
    w->Layout();
}

void TForm::SetBorderStyle(TFormBorderStyle s) {
    borderStyle_ = s;
}
void TForm::SetBorderIcons(TBorderIcons icons) {
    borderIcons_ = icons;
}

void TForm::SetMenu(TMainMenu* menu) {
    auto* w = static_cast<FormWidget*>(Widget());
    if (menu_ && menu_ != menu) menu_->AttachBar(nullptr);
    menu_ = menu;
    if (menu) {
        if (!w->bar) w->bar = new QMenuBar(w);
        w->bar->show();
        menu->AttachBar(w->bar);
    } else if (w->bar) {
        w->bar->hide();
    }
    w->Layout();
}

bool TForm::IsShown() const {
    return shown_;
}

bool TForm::Active() const {
    return Widget() && Widget()->isActiveWindow();
}

namespace {

// Where a window goes so that all of it lies inside the area; one larger
// than the area keeps its top-left corner (its title bar) inside.
QPoint KeepInside(const QRect& window, const QRect& area) {
    const int x = std::max(area.left(), std::min(window.left(), area.right() + 1 - window.width()));
    const int y = std::max(area.top(), std::min(window.top(), area.bottom() + 1 - window.height()));
    return QPoint(x, y);
}

// The same once the window is on screen and its frame is known.
void KeepFrameInside(QWidget* w) {
    QRect area(0, 0, 1024, 768);
    if (QScreen* screen = QGuiApplication::primaryScreen()) area = screen->availableGeometry();
    const QRect frame = w->frameGeometry();
    const QPoint shift = KeepInside(frame, area) - frame.topLeft();
    if (!shift.isNull()) w->move(w->pos() + shift);
}

} // namespace

void TForm::PlaceOnShow() {
    QWidget* w = Widget();
    QRect area(0, 0, 1024, 768);
    if (QScreen* screen = QGuiApplication::primaryScreen()) area = screen->availableGeometry();
    const TForm* around = nullptr;
    bool centre = true;
    switch (position_) {
    case poMainFormCenter:
        around = Application->MainForm();
        break;
    case poOwnerFormCenter:
        // A form owned by the application has no owner form: the main
        // window it was opened from stands in.
        around = dynamic_cast<TForm*>(Owner());
        if (!around) around = Application->MainForm();
        break;
    case poScreenCenter:
    case poDesktopCenter:
        break;
    default:
        centre = false;
        break;
    }
    QPoint at = w->pos();
    if (centre) {
        QRect r = area;
        if (around && around != this && around->IsShown()) r = around->Widget()->frameGeometry();
        at = QPoint(r.center().x() - w->width() / 2, r.center().y() - w->height() / 2);
    }
    // Once shown, the frame's size is known; before, the client's must do.
    const QSize frame = w->frameGeometry().size().expandedTo(w->size());
    w->move(KeepInside(QRect(at, frame), area));
}

void TForm::SetVisible(bool visible) {
    QWidget* w = Widget();
    if (visible) {
        if (!created_) DoCreate();
        if (shown_) {
            w->raise();
            return;
        }
        TControl::SetVisible(true);
        Qt::WindowFlags flags = Qt::Window | Qt::WindowTitleHint | Qt::WindowCloseButtonHint;
        if (borderIcons_ & biMinimize) flags |= Qt::WindowMinimizeButtonHint;
        if ((borderIcons_ & biMaximize) && borderStyle_ == bsSizeable)
            flags |= Qt::WindowMaximizeButtonHint;
        if (borderStyle_ == bsDialog) flags |= Qt::Dialog;
        w->setWindowFlags(flags);
        PlaceOnShow();
        shown_ = true;
        w->show();
        KeepFrameInside(w);
        w->activateWindow();
        SafeNotify(OnShow, this);
        if (!shown_) return;
        // The form's first control takes the focus, as the class library does.
        TWinControl* first = activeControl_;
        if (!first) first = FindNextControl(nullptr, true, true);
        if (first && first->CanFocus()) {
            if (activeControl_ == first) {
                if (QWidget* fw = first->FocusWidget()) fw->setFocus(Qt::OtherFocusReason);
            } else {
                MoveFocus(first);
            }
        }
    } else {
        TControl::SetVisible(false);
        if (!shown_) return;
        shown_ = false;
        w->hide();
        SafeNotify(OnHide, this);
    }
}

bool TForm::CloseQuery() {
    bool canClose = true;
    if (OnCloseQuery) {
        try {
            OnCloseQuery(this, canClose);
        } catch (...) {
            canClose = false;
            Application->HandleException();
        }
    }
    return canClose;
}

bool TForm::DoClose(TCloseAction& action) {
    SafeDispatch([&] {
        if (OnClose) OnClose(this, action);
    });
    return action != caNone;
}

void TForm::Close() {
    if (modal_) {
        SetModalResult(mrCancel);
        return;
    }
    if (!CloseQuery()) return;
    TCloseAction action = caHide;
    if (!DoClose(action)) return;
    if (Application->MainForm() == this) {
        SetVisible(false);
        Application->Terminate();
        return;
    }
    switch (action) {
    case caFree:
        SetVisible(false);
        Release();
        break;
    case caMinimize:
        if (Widget()) Widget()->showMinimized();
        break;
    default:
        SetVisible(false);
        break;
    }
}

bool TForm::CloseFromUser() {
    Close();
    return false;
}

void TForm::SetModalResult(TModalResult mr) {
    modalResult_ = mr;
    if (mr != mrNone && loop_) static_cast<QEventLoop*>(loop_)->exit(0);
}

TModalResult TForm::ShowModal() {
    if (Application->Terminated()) return mrCancel;
    if (modal_ || shown_) throw Exception("Cannot make a visible window modal");
    if (!created_) DoCreate();
    modal_ = true;
    modalResult_ = mrNone;
    forceClose_ = false;
    QWidget* w = Widget();
    w->setWindowModality(Qt::ApplicationModal);
    QEventLoop loop;
    loop_ = &loop;
    Application->EnterLoop(&loop);
    // Whatever ends the loop, also an exception that escaped it, the
    // application must not keep this loop, which dies with the frame.
    bool left = false;
    auto leave = [&] {
        if (left) return;
        left = true;
        Application->LeaveLoop(&loop);
        loop_ = nullptr;
    };
    try {
        SetVisible(true);

        const std::uint64_t serial = Serial();
        if (g_modalHook) {
            ModalHook hook = g_modalHook;
            PostCall([serial, hook] {
                auto* form = dynamic_cast<TForm*>(FindControl(serial));
                if (form && form->Modal()) SafeDispatch([&] { hook(form); });
            });
        }
        QTimer safety;
        if (g_modalTimeoutMs > 0) {
            safety.setSingleShot(true);
            QObject::connect(&safety, &QTimer::timeout, [this, &loop] {
                if (loop_ != &loop) return;
                // A form nobody closed: close it by force and report it.
                forceClose_ = true;
                modalResult_ = mrCancel;
                loop.exit(0);
                if (g_onModalTimeout) g_onModalTimeout(this);
            });
            safety.start(g_modalTimeoutMs);
        }

        TCloseAction action = caHide;
        for (;;) {
            if (modalResult_ == mrNone && !Application->Terminated()) loop.exec();
            if (Application->Terminated()) {
                if (modalResult_ == mrNone) modalResult_ = mrCancel;
                break;
            }
            if (modalResult_ == mrNone) continue;
            if (forceClose_) break;
            bool ok = CloseQuery();
            if (ok) {
                action = caHide;
                ok = DoClose(action);
            }
            if (ok) break;
            modalResult_ = mrNone;
        }
        safety.stop();
        leave();
        const TModalResult result = modalResult_;
        SetVisible(false);
        modal_ = false;
        w->setWindowModality(Qt::NonModal);
        if (action == caFree) Release();
        return result;
    } catch (...) {
        leave();
        modal_ = false;
        modalResult_ = mrCancel;
        try {
            SetVisible(false);
        } catch (...) {
            // The first failure is the one to pass on.
        }
        w->setWindowModality(Qt::NonModal);
        throw;
    }
}

void TForm::Release() {
    const std::uint64_t serial = Serial();
    PostCall([serial] {
        if (TControl* c = FindControl(serial)) delete c;
    });
}

void TForm::SetActiveControl(TWinControl* control) {
    if (!shown_) {
        // Takes the focus when the form shows.
        activeControl_ = control;
        return;
    }
    FocusControl(control);
}

void TForm::FocusControl(TWinControl* control) {
    if (!control || control == this) return;
    if (!control->CanFocus()) return;
    if (control->ParentForm() != this) return;
    MoveFocus(control);
}

void TForm::MoveFocus(TWinControl* target) {
    if (inExit_) {
        // A handler of OnExit moves the focus: it goes there instead.
        exitRedirect_ = target;
        return;
    }
    auto qtFocus = [this](TWinControl* c) {
        if (!c || !shown_) return;
        if (QWidget* fw = c->FocusWidget()) fw->setFocus(Qt::OtherFocusReason);
    };
    TWinControl* old = activeControl_;
    if (target == old) {
        qtFocus(target);
        return;
    }
    if (old) {
        std::vector<std::uint64_t> exits;
        for (TControl* c = old; c && c != this && !Contains(c, target); c = c->Parent())
            exits.push_back(c->Serial());
        inExit_ = true;
        exitRedirect_ = nullptr;
        for (std::uint64_t s : exits) {
            auto* c = dynamic_cast<TWinControl*>(FindControl(s));
            if (c) SafeNotify(c->OnExit, c);
        }
        inExit_ = false;
        if (exitRedirect_) {
            target = exitRedirect_;
            exitRedirect_ = nullptr;
            if (target == old || !FindControl(target->Serial())) {
                qtFocus(old);
                return;
            }
        }
    }
    TWinControl* from = FindControl(old ? old->Serial() : 0) ? old : nullptr;
    activeControl_ = target;
    std::vector<std::uint64_t> enters;
    for (TControl* c = target; c && c != this && !Contains(c, from); c = c->Parent())
        enters.insert(enters.begin(), c->Serial());
    for (std::uint64_t s : enters) {
        auto* c = dynamic_cast<TWinControl*>(FindControl(s));
        if (c) SafeNotify(c->OnEnter, c);
    }
    qtFocus(activeControl_);
}

void TForm::ControlGone(TControl* control) {
    if (activeControl_ && Contains(control, activeControl_)) activeControl_ = nullptr;
    if (exitRedirect_ && Contains(control, exitRedirect_)) exitRedirect_ = nullptr;
}

void TForm::SetFrame(const Frame& frame) {
    SetName(frame.name);
    SetCaption(frame.caption);
    SetBorderStyle(frame.border);
    SetPosition(frame.position);
    if (frame.clientWidth > 0) SetClientWidth(frame.clientWidth);
    if (frame.clientHeight > 0) SetClientHeight(frame.clientHeight);
}
