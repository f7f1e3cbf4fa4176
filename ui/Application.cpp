#include "ui/Application.h"

#include "ui/Control.h"
#include "ui/Dialogs.h"
#include "base/Exception.h"
#include "ui/Form.h"
#include "ui/detail/Qt.h"

#include <QApplication>
#include <QCoreApplication>
#include <QEvent>
#include <QEventLoop>
#include <QObject>
#include <QPointer>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <thread>
#include <time.h>
#include <unistd.h>

namespace {

TApplication g_application;

int g_beeps = 0;
bool g_beepSilent = false;

} // namespace

TApplication* const Application = &g_application;

TApplication::TApplication() : TComponent(nullptr) {
    SetDispatchGuard(SafeDispatch);
}

TApplication::~TApplication() {
    // Forms left at program end are freed only while Qt still runs.
    if (!QCoreApplication::instance()) {
        // Kept reachable on purpose: their widgets cannot be freed any more.
        static auto* const kept = new std::vector<TComponent*>;
        while (ComponentCount() > 0) {
            TComponent* c = Components(ComponentCount() - 1);
            RemoveComponent(c);
            kept->push_back(c);
        }
    }
}

std::string TApplication::ExeName() const {
    char buffer[4096];
    const ssize_t n = readlink("/proc/self/exe", buffer, sizeof buffer - 1);
    if (n <= 0) return std::string();
    return std::string(buffer, static_cast<size_t>(n));
}

void TApplication::Run() {
    if (terminated_) return;
    lmrui::EnsureHooks();
    if (mainForm_) SafeDispatch([this] { mainForm_->Show(); });
    if (terminated_) return;
    QEventLoop loop;
    EnterLoop(&loop);
    try {
        if (!terminated_) loop.exec();
    } catch (...) {
        LeaveLoop(&loop); // the loop dies with this frame
        throw;
    }
    LeaveLoop(&loop);
}

void TApplication::ProcessMessages() {
    ::ProcessMessages();
}

void TApplication::Terminate() {
    terminated_ = true;
    for (void* l : loops_)
        static_cast<QEventLoop*>(l)->exit(0);
}

void TApplication::EnterLoop(void* loop) {
    loops_.push_back(loop);
}

void TApplication::LeaveLoop(void* loop) {
    auto it = std::find(loops_.begin(), loops_.end(), loop);
    if (it != loops_.end()) loops_.erase(it);
}

int TApplication::MessageBox(const std::string& text, const std::string& caption, unsigned flags) {
    return ::MessageBox(nullptr, text, caption, flags);
}

void TApplication::ShowException(const std::exception& e) {
    if (OnException) {
        OnException(e);
        return;
    }
    BoxRequest r;
    r.kind = BoxKind::Exception;
    r.text = e.what();
    // The class library ends the shown message with a full stop.
    if (!r.text.empty() && static_cast<unsigned char>(r.text.back()) > '.') r.text += '.';
    r.caption = title_;
    r.buttons = mbOK;
    r.type = mtError;
    if (auto* le = dynamic_cast<const Exception*>(&e)) r.helpContext = le->HelpContext();
    ShowBox(r);
}

void TApplication::HandleException() {
    try {
        throw;
    } catch (const std::exception& e) {
        ShowException(e);
    } catch (...) {
        ShowException(Exception("Unknown exception"));
    }
}

void SafeDispatch(const std::function<void()>& fn) {
    if (!fn) return;
    try {
        fn();
    } catch (...) {
        try {
            Application->HandleException();
        } catch (...) {
            // A failing exception display must not take the loop down.
        }
    }
}

void SafeNotify(const TNotifyEvent& event, TObject* sender) {
    SafeDispatch([&event, sender] {
        if (event) event(sender);
    });
}

bool PostMessage(TControl* target, unsigned msg, std::uintptr_t wparam, std::intptr_t lparam) {
    if (!target || !QCoreApplication::instance()) return false;
    const std::uint64_t serial = target->Serial();
    PostCall([serial, msg, wparam, lparam] {
        TControl* c = lmrui::FindControl(serial);
        if (!c) return; // the target is gone
        TMessage m;
        m.Msg = msg;
        m.WParam = wparam;
        m.LParam = lparam;
        SafeDispatch([c, &m] { c->Dispatch(m); });
    });
    return true;
}

std::intptr_t SendMessage(TControl* target, unsigned msg, std::uintptr_t wparam,
                          std::intptr_t lparam) {
    if (!target) return 0;
    return target->Perform(msg, wparam, lparam);
}

void Beep(unsigned, unsigned) {
    ++g_beeps;
    if (!g_beepSilent && qobject_cast<QApplication*>(QCoreApplication::instance()))
        QApplication::beep();
}
int BeepCount() {
    return g_beeps;
}
void SetBeepSilent(bool silent) {
    g_beepSilent = silent;
}
