#include "binding/QvSNMPRequest2Controls.h"

#include "binding/QvEditConstraint.h"
#include "snmp/QvExpression.h"
#include "snmp/QvNumList.h"
#include "ui/Application.h"
#include "base/Exception.h"
#include "ui/StatusBar.h"
#include "ui/Strings.h"
#include "base/SysUtils.h"
#include "ui/Widgets.h"

#include <algorithm>
#include <exception>
#include <utility>
#include <vector>

namespace {

bool IsSingleKind(uint8_t kind) {
    return kind == SVT_SV || kind == MVT_SV;
}
bool IsTableKind(uint8_t kind) {
    return kind == MVT_FMV || kind == MVT_UMV;
}

// Deletes from just after the first "[ERROR]" through the end of the first
// "[VARLIST]" when the error stands first.
std::string DropVarList(std::string line) {
    const std::string error = "[ERROR]", list = "[VARLIST]";
    size_t e = line.find(error), v = line.find(list);
    if (e != std::string::npos && v != std::string::npos && e < v)
        line.erase(e + error.size(), v + list.size() - (e + error.size()));
    return line;
}

// Passes the failure being handled on to the caller, an Exception of any
// kind as a plain one.
[[noreturn]] void RethrowPlain() {
    try {
        throw;
    } catch (const Exception& e) {
        throw Exception(e.Message(), e.HelpContext());
    }
}

// The failure record a done closure gets for an exception raised while a
// completion was handled: its code tells the form the operation failed.
QvSNMPError FailureRecord(const std::exception& e) {
    QvSNMPError failure;
    failure.Message = MessageOf(e);
    auto* ours = dynamic_cast<const Exception*>(&e);
    failure.Code = ours && ours->HelpContext() != 0 ? ours->HelpContext()
                                                   : QvLayerErrorCode(QVERR_UNKNOWN);
    failure.FailureCount = 1;
    return failure;
}

// Leaves variables out of one set by their invalid flag, as the request
// does for the numbers it is given, and puts the flags back at its end.
class LeaveOutScope {
public:
    explicit LeaveOutScope(QvSNMPVarList& vars) : vars_(vars) {}
    ~LeaveOutScope() { Restore(); }
    LeaveOutScope(const LeaveOutScope&) = delete;
    LeaveOutScope& operator=(const LeaveOutScope&) = delete;

    // Sends the numbered variables (all valid ones when numbers is empty)
    // but those left out.
    void Mark(const std::string& numbers, const std::vector<int>& leftOut) {
        QvNumList<int> listed(',');
        listed.Parse(numbers);
        for (int i = 0; i < vars_.Count(); ++i) {
            QvSNMPVar* v = vars_.Item(i);
            bool sent = numbers.empty() ? !(v->Access & QvAccess::Invalid) : listed.IndexOf(i) >= 0;
            if (std::find(leftOut.begin(), leftOut.end(), i) != leftOut.end()) sent = false;
            const int access = sent ? v->Access & ~QvAccess::Invalid : v->Access | QvAccess::Invalid;
            if (access == v->Access) continue;
            saved_.emplace_back(i, v->Access);
            v->Access = access;
        }
    }
    void Restore() {
        for (const auto& [i, access] : saved_)
            if (i < vars_.Count()) vars_.Item(i)->Access = access;
        saved_.clear();
    }

private:
    QvSNMPVarList& vars_;
    std::vector<std::pair<int, int>> saved_;
};

} // namespace

namespace {
std::vector<QvSNMPRequest2Controls*>& LiveGroups() {
    static std::vector<QvSNMPRequest2Controls*> groups;
    return groups;
}
} // namespace

QvSNMPRequest2Controls::QvSNMPRequest2Controls(TWinControl* ownerForm)
    : owner(ownerForm), alive_(std::make_shared<bool>(true)) {
    LiveGroups().push_back(this);
}

QvSNMPRequest2Controls::~QvSNMPRequest2Controls() {
    Shutdown();
    auto& groups = LiveGroups();
    groups.erase(std::remove(groups.begin(), groups.end(), this), groups.end());
}

const std::vector<QvSNMPRequest2Controls*>& QvSNMPRequest2Controls::Live() {
    return LiveGroups();
}

void QvSNMPRequest2Controls::Shutdown() {
    *alive_ = false;
    busy = 0;
    // From here on the request starts nothing and runs no closure of ours;
    // its destructor still waits for the replies that are due.
    request.Alive = 0;
}

QvSNMPError QvSNMPRequest2Controls::SuccessRecord() {
    QvSNMPError ok;
    ok.Code = 0;
    ok.Message = g_QvSnmpMessages[QVERR_OK];
    ok.FailureCount = -1;
    return ok;
}

void QvSNMPRequest2Controls::CallResultCallback() {
    if (!request.ResultCallback) return;
    QvSNMPError ok = SuccessRecord();
    request.ResultCallback(&ok);
}

std::string QvSNMPRequest2Controls::BuildFilterText() {
    if (!filterSource || filterText.empty()) return std::string();
    return filterSource->ExpandVariables(filterText, true, '#');
}

bool QvSNMPRequest2Controls::RowPasses(const std::string& filter) {
    return request.AcceptsCondition(filter) && request.IsRowAccepted();
}

bool QvSNMPRequest2Controls::TakeRow(const std::string& filter) {
    std::shared_ptr<bool> alive = alive_;
    if (RowPasses(filter)) {
        RowReceived();
        if (!*alive) return false;
        ++rowsRead;
    }
    return true;
}

QvDoneClosure
QvSNMPRequest2Controls::Completion(void (QvSNMPRequest2Controls::*done)(QvSNMPError*)) {
    std::shared_ptr<bool> alive = alive_;
    return [this, alive, done](QvSNMPError* error, QvSNMPVarList*) {
        if (!*alive) return;
        QvSNMPError result = *error;
        PostCall([this, alive, done, result]() mutable {
            if (*alive) (this->*done)(&result);
        });
    };
}

void QvSNMPRequest2Controls::EndRead(const QvSNMPError* failure) {
    if (failure) {
        readState_ = QvReadState::Failed;
        lastReadFailure_ = *failure;
        if (lastReadFailure_.Code == 0) lastReadFailure_.Code = QvLayerErrorCode(QVERR_UNKNOWN);
    } else {
        readState_ = QvReadState::Succeeded;
        lastReadFailure_ = QvSNMPError{};
    }
    ReadEnded();
}

void QvSNMPRequest2Controls::EndIfSendFailed(int64_t failuresBefore) {
    // A send that failed at once never completes: the operation ends here.
    if (request.Failures != failuresBefore && busy && request.Outstanding == 0) busy = 0;
}

bool QvSNMPRequest2Controls::Read() {
    bool ok = true;
    lastOperation = 0;
    unsent_.clear(); // the controls are about to show the device's values
    std::shared_ptr<bool> alive = alive_; // hooks and rows may delete us
    BeforeRead();
    if (!*alive) return false;
    const int64_t failuresBefore = request.Failures;
    try {
        std::string filter = BuildFilterText();
        rowsRead = 0;
        if (mode == 0) {
            readState_ = QvReadState::Running;
            busy = 1;
            const uint8_t kind = request.vars.ItemType;
            if (IsSingleKind(kind)) {
                request.Get(&ok, true);
                if (!TakeRow(filter)) return false;
            } else if (IsTableKind(kind)) {
                bool more = request.Get(&ok, true);
                while (more) {
                    if (!TakeRow(filter)) return false;
                    more = request.Get(&ok, false);
                }
            }
            busy = 0;
            const bool failed = !ok || request.Failures != failuresBefore;
            EndRead(failed ? &request.LastFailure : nullptr);
            if (!*alive) return false;
            AfterRead();
            if (!*alive) return false;
            if (ok) CallResultCallback();
        } else if (mode == 1) {
            readState_ = QvReadState::Running;
            busy = 1;
            if (request.Alive) {
                StartAsyncRead(true);
            } else {
                busy = 0;
                QvSNMPError gone;
                EndRead(&gone);
            }
        }
    } catch (const std::exception& e) {
        if (*alive) {
            busy = 0;
            QvSNMPError failure = FailureRecord(e);
            EndRead(&failure);
        }
        RethrowPlain();
    } catch (...) {
        if (*alive) busy = 0;
        RethrowPlain();
    }
    return ok;
}

void QvSNMPRequest2Controls::StartAsyncRead(bool first) {
    std::shared_ptr<bool> alive = alive_;
    const int64_t failuresBefore = request.Failures;
    request.GetAsync(Completion(&QvSNMPRequest2Controls::OnAsyncReadDone), first);
    if (!*alive) return;
    EndIfSendFailed(failuresBefore);
    if (!busy && readState_ == QvReadState::Running) EndRead(&request.LastFailure);
}

// Calls a copy: a closure that deletes this driver destroys the original
// while it runs.
void QvSNMPRequest2Controls::Fire(const QvSNMPDoneEvent& event, QvSNMPError* error) {
    if (!event) return;
    QvSNMPDoneEvent copy = event;
    copy(this, error);
}

void QvSNMPRequest2Controls::ReportFailure(const std::string& message) {
    if (statusBar)
        ReportToStatusBar(message);
    else
        QvShowOwnedMessage(owner, message);
}

void QvSNMPRequest2Controls::OnAsyncReadDone(QvSNMPError* error) {
    std::shared_ptr<bool> alive = alive_;
    if (!*alive) return;
    if (!request.Alive) { // being destroyed: no more calls out
        busy = 0;
        return;
    }
    if (error->Code != 0) {
        busy = 0;
        lastOperation = 0;
        EndRead(error);
        if (!*alive) return;
        Fire(OnReadDone, error);
        return;
    }
    try {
        std::string filter = BuildFilterText();
        const uint8_t kind = request.vars.ItemType;
        if (IsTableKind(kind) && !error->Finished) {
            if (!TakeRow(filter)) return;
            if (request.Alive) {
                StartAsyncRead(false);
                return;
            }
        } else if (!IsTableKind(kind) && !TakeRow(filter)) {
            return;
        }
        busy = 0;
        lastOperation = 0;
        EndRead(nullptr);
        if (!*alive) return;
        AfterRead();
        if (!*alive) return;
        CallResultCallback();
    } catch (const std::exception& e) {
        // Nobody up the stack of a completion could handle it: report it, and
        // end the read through its closure like any other failure.
        if (!*alive) return;
        EndWithFailure(0, OnReadDone, e);
        return;
    }
    if (!*alive) return;
    Fire(OnReadDone, error);
}

void QvSNMPRequest2Controls::EndWithFailure(int operation, const QvSNMPDoneEvent& done,
                                            const std::exception& e) {
    std::shared_ptr<bool> alive = alive_;
    busy = 0;
    lastOperation = operation;
    QvSNMPError failure = FailureRecord(e);
    failure.Device = request.Device;
    if (operation == 0) {
        EndRead(&failure);
        if (!*alive) return;
    }
    ReportFailure(failure.Message);
    if (!*alive) return;
    lastOperation = operation;
    Fire(done, &failure);
}

bool QvSNMPRequest2Controls::Write(bool reread, bool collect, const std::string& numbers,
                                   TStrings* values) {
    bool ok = true;
    lastOperation = 1;
    rereadAfterWrite = reread;
    std::shared_ptr<bool> alive = alive_;
    std::vector<std::string> copied;
    const std::vector<std::string>* vals = nullptr;
    BeforeWrite();
    if (!*alive) return false;
    try {
        if (collect) {
            CollectValues();
            if (!*alive) return false;
        }
        if (values) {
            copied = values->ToVector();
            vals = &copied;
        }
        // Marks what CollectValues left out for this one set; the flags
        // come back when it goes.
        LeaveOutScope leaveOut(request.vars);
        std::string send = numbers;
        if (!vals && !unsent_.empty()) {
            leaveOut.Mark(numbers, unsent_);
            send.clear();
        }
        unsent_.clear();
        if (mode == 0) {
            busy = 1;
            request.Set(&ok, send, vals);
            busy = 0;
            AfterWrite();
            if (!*alive) return false;
            if (ok) {
                CallResultCallback();
                if (!*alive) return false;
            }
            leaveOut.Restore();
            if (IsTableKind(request.vars.ItemType) && rereadAfterWrite) Read();
        } else if (mode == 1) {
            busy = 1;
            if (request.Alive) {
                const int64_t failuresBefore = request.Failures;
                request.SetAsync(Completion(&QvSNMPRequest2Controls::OnAsyncWriteDone), send,
                                 vals);
                if (*alive) EndIfSendFailed(failuresBefore);
            } else {
                busy = 0;
            }
        }
    } catch (...) {
        if (*alive) busy = 0;
        RethrowPlain();
    }
    return ok;
}

void QvSNMPRequest2Controls::OnAsyncWriteDone(QvSNMPError* error) {
    std::shared_ptr<bool> alive = alive_;
    if (!*alive) return;
    if (!request.Alive) {
        busy = 0;
        return;
    }
    if (error->Code != 0) {
        busy = 0;
        lastOperation = 1;
        Fire(OnWriteDone, error);
        return;
    }
    try {
        busy = 0;
        lastOperation = 1;
        AfterWrite();
        if (!*alive) return;
        CallResultCallback();
    } catch (const std::exception& e) {
        if (!*alive) return;
        EndWithFailure(1, OnWriteDone, e);
        return;
    }
    if (!*alive) return;
    Fire(OnWriteDone, error);
    if (!*alive) return;
    if (IsTableKind(request.vars.ItemType) && rereadAfterWrite) Read();
}

void QvSNMPRequest2Controls::ReportToStatusBar(const std::string& errorText) {
    if (!statusBar) return;
    std::string line = g_ReportTemplates[lastOperation == 1 ? 1 : 0];
    const std::string& name = request.vars.Name;
    if (name.empty())
        line = DropVarList(line);
    else
        line = StringReplaceAll(line, "[VARLIST]", name);
    line = StringReplaceAll(line, "[ERROR]", errorText);
    line = StringReplaceAll(line, "[TIME]", FormatDateTime("hh:nn:ss ampm", Now()));
    if (auto* memo = dynamic_cast<TMemo*>(statusBar))
        memo->Lines().Add(line);
    else if (auto* bar = dynamic_cast<TStatusBar*>(statusBar))
        bar->SetSimpleText(line);
    else if (auto* panel = dynamic_cast<TStatusPanel*>(statusBar))
        panel->SetText(line);
}

void QvSNMPRequest2Controls::ReportReadResult(QvSNMPError* error) {
    lastOperation = 0;
    ReportFailure(error->Message);
}

void QvSNMPRequest2Controls::ReportWriteResult(QvSNMPError* error) {
    lastOperation = 1;
    ReportFailure(error->Message);
}
