#include "base/Events.h"

#include <QCoreApplication>
#include <QEvent>
#include <QEventLoop>
#include <QObject>
#include <QPointer>
#include <QThread>

#include <algorithm>
#include <chrono>
#include <memory>
#include <thread>
#include <time.h>
#include <vector>

namespace {

// Carries one posted call through Qt's queue, so that every loop (main,
// modal, processEvents) delivers posted work in the order it was posted.
class PostedCall : public QEvent {
public:
    static QEvent::Type Kind() {
        static const auto type = static_cast<QEvent::Type>(QEvent::registerEventType());
        return type;
    }
    explicit PostedCall(std::function<void()> fn) : QEvent(Kind()), fn_(std::move(fn)) {}
    const std::function<void()>& Fn() const { return fn_; }

private:
    std::function<void()> fn_;
};

// Function-local, so that a guard installed during static start-up finds it.
std::function<void(const std::function<void()>&)>& Guard() {
    static std::function<void(const std::function<void()>&)> guard;
    return guard;
}

class Poster : public QObject {
public:
    bool event(QEvent* e) override {
        if (e->type() == PostedCall::Kind()) {
            RunGuarded(static_cast<PostedCall*>(e)->Fn());
            return true;
        }
        return QObject::event(e);
    }
};

Poster* ThePoster() {
    static QPointer<Poster> poster;
    if (!poster) poster = new Poster;
    return poster;
}

bool IsUserInput(QEvent::Type t) {
    switch (t) {
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonRelease:
    case QEvent::MouseButtonDblClick:
    case QEvent::MouseMove:
    case QEvent::NonClientAreaMouseButtonPress:
    case QEvent::NonClientAreaMouseButtonRelease:
    case QEvent::NonClientAreaMouseButtonDblClick:
    case QEvent::NonClientAreaMouseMove:
    case QEvent::KeyPress:
    case QEvent::KeyRelease:
    case QEvent::ShortcutOverride:
    case QEvent::Shortcut:
    case QEvent::Wheel:
    case QEvent::ContextMenu:
    case QEvent::TouchBegin:
    case QEvent::TouchUpdate:
    case QEvent::TouchEnd:
    case QEvent::TouchCancel:
    case QEvent::TabletPress:
    case QEvent::TabletMove:
    case QEvent::TabletRelease:
        return true;
    default:
        return false;
    }
}

int LoopLevel() {
    return QThread::currentThread()->loopLevel();
}

std::function<std::uint32_t()> g_tickSource;
std::function<void(std::uint32_t)> g_sleepHandler;

} // namespace

// Filters the application's events: user input for the loop level it was
// made at is copied and swallowed, everything else passes.
class UserInputHolder : public QObject {
public:
    UserInputHolder() : level_(LoopLevel()) {
        QCoreApplication::instance()->installEventFilter(this);
    }
    ~UserInputHolder() override {
        if (QCoreApplication* app = QCoreApplication::instance()) app->removeEventFilter(this);
        for (Held& h : held_)
            if (h.receiver) QCoreApplication::postEvent(h.receiver, h.event.release());
        std::vector<UserInputHolder*>& active = Active();
        active.erase(std::remove(active.begin(), active.end(), this), active.end());
    }
    int Level() const { return level_; }
    static std::vector<UserInputHolder*>& Active() {
        static std::vector<UserInputHolder*> active;
        return active;
    }

protected:
    bool eventFilter(QObject* receiver, QEvent* e) override {
        if (!IsUserInput(e->type()) || LoopLevel() != level_) return false;
        held_.push_back({receiver, std::unique_ptr<QEvent>(e->clone())});
        return true;
    }

private:
    struct Held {
        QPointer<QObject> receiver;
        std::unique_ptr<QEvent> event;
    };
    int level_;
    std::vector<Held> held_;
};

UserInputHold::UserInputHold() {
    if (!QCoreApplication::instance()) return;
    std::vector<UserInputHolder*>& active = UserInputHolder::Active();
    if (!active.empty() && active.back()->Level() == LoopLevel()) return;
    holder_ = new UserInputHolder;
    active.push_back(holder_);
}

UserInputHold::~UserInputHold() {
    delete holder_;
}

void ProcessMessagesWithoutInput() {
    if (!QCoreApplication::instance()) return;
    UserInputHold hold;
    QCoreApplication::sendPostedEvents();
    QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
}

void PostCall(std::function<void()> fn) {
    if (!QCoreApplication::instance() || !fn) return;
    QCoreApplication::postEvent(ThePoster(), new PostedCall(std::move(fn)));
}

void ProcessMessages() {
    if (!QCoreApplication::instance()) return;
    QCoreApplication::sendPostedEvents();
    QCoreApplication::processEvents(QEventLoop::AllEvents);
}

void RunGuarded(const std::function<void()>& fn) {
    if (!fn) return;
    if (Guard())
        Guard()(fn);
    else
        fn();
}

void SetDispatchGuard(std::function<void(const std::function<void()>&)> guard) {
    Guard() = std::move(guard);
}

std::uint32_t GetTickCount() {
    if (g_tickSource) return g_tickSource();
    timespec ts{};
    clock_gettime(CLOCK_MONOTONIC, &ts);
    const auto ms = static_cast<std::uint64_t>(ts.tv_sec) * 1000u +
                    static_cast<std::uint64_t>(ts.tv_nsec) / 1000000u;
    return static_cast<std::uint32_t>(ms);
}

void Sleep(std::uint32_t ms) {
    if (g_sleepHandler) {
        g_sleepHandler(ms);
        return;
    }
    std::this_thread::sleep_for(std::chrono::milliseconds(ms));
}

void SetTickCountSource(std::function<std::uint32_t()> source) {
    g_tickSource = std::move(source);
}
void SetSleepHandler(std::function<void(std::uint32_t)> handler) {
    g_sleepHandler = std::move(handler);
}
