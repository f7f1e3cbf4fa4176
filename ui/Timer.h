#pragma once
// Timers: OnTimer every Interval milliseconds while Enabled, run on the GUI
// thread by whichever loop is running. Fire() runs one tick synchronously.
#include "ui/Component.h"

class QTimer;

class TTimer : public TComponent {
public:
    explicit TTimer(TComponent* owner);
    ~TTimer() override;
    unsigned Interval() const { return interval_; }
    void SetInterval(unsigned ms);
    bool Enabled() const { return enabled_; }
    void SetEnabled(bool on);
    // Runs OnTimer once now, as a tick would (whether or not enabled).
    void Fire();
    // True while the Qt timer behind it runs (false when timers are frozen
    // for a test, when disabled or with interval 0).
    bool Running() const;

    TNotifyEvent OnTimer;

    // Every timer of the process: frozen timers tick only through Fire().
    static void SetFrozen(bool frozen);
    static bool Frozen();

private:
    void Update();
    QTimer* timer_;
    unsigned interval_ = 1000;
    bool enabled_ = true;
};
