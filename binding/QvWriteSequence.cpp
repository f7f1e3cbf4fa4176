#include "binding/QvWriteSequence.h"

#include "base/Exception.h"
#include "binding/QvEditConstraint.h"
#include "binding/QvFailureCapture.h"
#include "binding/QvSNMPRequest2Controls.h"
#include "binding/QvSNMPRequest2Edits.h"
#include "ui/Widgets.h"

#include <algorithm>
#include <deque>
#include <utility>
#include <vector>

namespace {

QvSNMPError FailureOf(const std::exception& e) {
    QvSNMPError f;
    f.Message = e.what();
    f.Code = -1;
    if (auto* x = dynamic_cast<const Exception*>(&e)) f.Code = x->HelpContext();
    if (f.Code == 0) f.Code = -1;
    return f;
}

} // namespace

struct QvWriteSequence::State {
    struct Step {
        QvSNMPRequest2Controls* group;
        bool reread;
        std::string numbers;
        bool command;
    };
    std::deque<Step> steps;
    Done done;
    bool running = false;
    bool showFailure = true;
    QvSNMPRequest2Controls* failedGroup = nullptr;
    int leftOut = 0;
};

namespace {
std::vector<const QvWriteSequence*>& LiveSequences() {
    static std::vector<const QvWriteSequence*> sequences;
    return sequences;
}
} // namespace

QvWriteSequence::QvWriteSequence() : state_(std::make_shared<State>()) {
    LiveSequences().push_back(this);
}

QvWriteSequence::~QvWriteSequence() {
    state_->running = false;
    state_->steps.clear();
    auto& live = LiveSequences();
    live.erase(std::remove(live.begin(), live.end(), this), live.end());
}

bool QvWriteSequence::AnyRunning() {
    for (const QvWriteSequence* s : LiveSequences())
        if (s->Running()) return true;
    return false;
}

void QvWriteSequence::Add(QvSNMPRequest2Controls* group, bool reread, const std::string& numbers) {
    if (group) state_->steps.push_back({group, reread, numbers, false});
}

void QvWriteSequence::AddCommand(QvSNMPRequest2Controls* group, bool reread,
                                 const std::string& numbers) {
    if (group) state_->steps.push_back({group, reread, numbers, true});
}

void QvWriteSequence::SetShowFailure(bool show) { state_->showFailure = show; }

bool QvWriteSequence::Running() const { return state_->running; }
QvSNMPRequest2Controls* QvWriteSequence::FailedGroup() const { return state_->failedGroup; }
int QvWriteSequence::LeftOut() const { return state_->leftOut; }

bool QvWriteSequence::ConstraintsHold() const {
    for (const State::Step& step : state_->steps) {
        auto* g = dynamic_cast<QvSNMPRequest2Edits*>(step.group);
        if (!g) continue;
        for (int k = 0; k < g->AssociationCount(); ++k) {
            const ControlAssociation* a = g->Association(k);
            if (!a || a->variable < 0 || a->variable >= g->request.vars.Count() ||
                !g->request.vars.IsWritable(a->variable))
                continue;
            for (TControl* c : a->controls) {
                auto* edit = dynamic_cast<TEdit*>(c);
                if (!edit || !edit->Enabled() || edit->ReadOnly()) continue;
                if (!g->Constraint().CheckNow(edit)) return false;
            }
        }
    }
    return true;
}

bool QvWriteSequence::Start(Done done) {
    if (state_->running || state_->steps.empty()) return false;
    state_->done = std::move(done);
    state_->failedGroup = nullptr;
    state_->leftOut = 0;
    state_->running = true;
    std::shared_ptr<State> s = state_;
    QvSNMPRequest2Controls* firstLeftOut = nullptr;
    for (auto it = s->steps.begin(); it != s->steps.end();) {
        if (!it->command && it->group->ReadFailed()) {
            if (!firstLeftOut) firstLeftOut = it->group;
            ++s->leftOut;
            it = s->steps.erase(it);
        } else {
            ++it;
        }
    }
    if (s->steps.empty()) {
        s->failedGroup = firstLeftOut;
        Finish(s, false, firstLeftOut->LastReadFailure(), firstLeftOut->owner);
        return true;
    }
    if (!ConstraintsHold()) {
        QvSNMPError refused;
        refused.Code = QvLayerErrorCode(QVERR_UNKNOWN);
        Finish(s, false, refused, nullptr); // the constraint showed its message
        return true;
    }
    Next(s);
    return true;
}

void QvWriteSequence::Finish(const std::shared_ptr<State>& s, bool ok, const QvSNMPError& failure,
                             TWinControl* owner) {
    s->running = false;
    s->steps.clear();
    Done done = std::move(s->done);
    s->done = nullptr;
    // The box belongs to the form of the group that failed.
    if (!ok && s->showFailure && !failure.Message.empty()) QvShowOwnedMessage(owner, failure.Message);
    if (done) done(ok, failure);
}

void QvWriteSequence::Next(const std::shared_ptr<State>& s) {
    // Synchronous steps run in this loop; an asynchronous one continues from
    // its done closure.
    while (s->running) {
        if (s->steps.empty()) {
            Finish(s, true, QvSNMPError{}, nullptr);
            return;
        }
        State::Step step = s->steps.front();
        s->steps.pop_front();
        QvSNMPRequest2Controls* g = step.group;
        const bool async = g->mode == 1;
        std::weak_ptr<State> weak = s;
        QvSNMPDoneEvent previous = g->OnWriteDone;
        if (async) {
            g->OnWriteDone = [weak, previous](QvSNMPRequest2Controls* sender, QvSNMPError* e) {
                TWinControl* owner = sender->owner;
                // Back to the form's own closure before anything runs: it
                // may delete the group.
                sender->OnWriteDone = previous;
                QvSNMPError result = e ? *e : QvSNMPError{};
                if (previous) previous(sender, e);
                std::shared_ptr<State> st = weak.lock();
                if (!st || !st->running) return;
                if (result.Code != 0) {
                    st->failedGroup = sender;
                    Finish(st, false, result, owner);
                } else {
                    Next(st);
                }
            };
        }
        bool ok = true;
        QvSNMPError failure;
        bool failed = false;
        try {
            // A failed synchronous set, or an asynchronous send that failed
            // at once, reaches only the request's result callback.
            QvFailureCapture capture(g->request);
            ok = g->Write(step.reread, true, step.numbers, nullptr);
            if (capture.Failed()) {
                failed = true;
                failure = capture.First();
            } else if (!ok) {
                failed = true;
                failure.Code = -1;
            }
        } catch (const std::exception& e) {
            failed = true;
            failure = FailureOf(e);
        }
        if (async) {
            if (!failed && g->busy) return; // the done closure goes on
            g->OnWriteDone = previous;
            if (!failed) {
                // Ended at once without a reply (mode changed, request not
                // alive): nothing was written.
                failed = true;
                failure.Code = -1;
            }
        }
        if (failed) {
            s->failedGroup = g;
            Finish(s, false, failure, g->owner);
            return;
        }
    }
}
