#pragma once
// One Apply of a form: its groups are written one after another, and the form
// hears of success only once every write has completed and succeeded. The
// first failure ends the sequence; its text is shown (a box owned by the
// group's form) and the form hears of it too. Synchronous and asynchronous
// groups may be mixed. A form that goes away while a write is outstanding
// hears nothing: its groups stop their completions, and this object only
// keeps a weak hold on its state.
#include <functional>
#include <memory>
#include <string>

#include "snmp/QvErrors.h"

class QvSNMPRequest2Controls;
class TWinControl;

class QvWriteSequence {
public:
    // ok false: failure holds the first failure (its code and text).
    using Done = std::function<void(bool ok, const QvSNMPError& failure)>;

    QvWriteSequence();
    ~QvWriteSequence();
    QvWriteSequence(const QvWriteSequence&) = delete;
    QvWriteSequence& operator=(const QvWriteSequence&) = delete;

    // Adds a write of group: Write(reread, collect on, numbers, no values).
    void Add(QvSNMPRequest2Controls* group, bool reread = true, const std::string& numbers = "");
    // The same for a group whose values the form sets itself (a command):
    // it is written even when its read failed.
    void AddCommand(QvSNMPRequest2Controls* group, bool reread = true,
                    const std::string& numbers = "");
    // Whether the failure is shown in a box before done hears of it.
    void SetShowFailure(bool show);
    // Starts the writes; done runs once at the end. Refused (false) while a
    // sequence is running or when nothing was added. The steps are used up.
    // Before the first write, every bound, enabled edit of the groups whose
    // variable is written passes its constraint, else the Apply ends as a
    // failure after the constraint's message. A group whose last read failed
    // is left out: it holds no value of the device; when nothing is left,
    // the run fails with that read's failure.
    bool Start(Done done);
    bool Running() const;
    // Whether any sequence alive now is running (a window about to close, or
    // a test, waits for the Apply to end).
    static bool AnyRunning();
    // The group whose write ended the last run; null after a run that succeeded.
    QvSNMPRequest2Controls* FailedGroup() const;
    // How many groups the last Start left out because their read had failed.
    int LeftOut() const;

private:
    struct State;
    static void Next(const std::shared_ptr<State>& s);
    bool ConstraintsHold() const;
    static void Finish(const std::shared_ptr<State>& s, bool ok, const QvSNMPError& failure,
                       TWinControl* owner);
    std::shared_ptr<State> state_;
};
