#include "ui/Timer.h"

#include "ui/Application.h"

#include <QTimer>

#include <algorithm>

namespace {
bool g_frozen = false;
std::vector<TTimer*>& AllTimers() {
    static auto* const timers = new std::vector<TTimer*>;
    return *timers;
}
} // namespace

TTimer::TTimer(TComponent* owner) : TComponent(owner) {
    timer_ = new QTimer;
    QObject::connect(timer_, &QTimer::timeout, timer_, [this] { Fire(); });
    AllTimers().push_back(this);
    Update();
}

TTimer::~TTimer() {
    auto& all = AllTimers();
    all.erase(std::remove(all.begin(), all.end(), this), all.end());
    delete timer_;
}

void TTimer::SetInterval(unsigned ms) {
    if (ms == interval_) return;
    interval_ = ms;
    Update();
}

void TTimer::SetEnabled(bool on) {
    if (on == enabled_) return;
    enabled_ = on;
    Update();
}

void TTimer::Update() {
    // Changing Interval or Enabled starts the period again, as the original does.
    timer_->stop();
    if (enabled_ && interval_ > 0 && !g_frozen) timer_->start(static_cast<int>(interval_));
}

bool TTimer::Running() const {
    return timer_->isActive();
}

void TTimer::Fire() {
    SafeNotify(OnTimer, this);
}

void TTimer::SetFrozen(bool frozen) {
    if (frozen == g_frozen) return;
    g_frozen = frozen;
    for (TTimer* t : AllTimers())
        t->Update();
}

bool TTimer::Frozen() {
    return g_frozen;
}
