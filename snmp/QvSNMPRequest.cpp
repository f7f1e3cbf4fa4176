#include "snmp/QvSNMPRequest.h"

#include <QTimer>
#include <memory>
#include <unistd.h>

#include "base/Events.h"
#include "base/Exception.h"
#include "snmp/QvNumList.h"
#include "snmp/engine/StatusTable.h"

namespace {

constexpr const char* kNotDone = "(NOTDONE)";

std::vector<std::string> SentOids(const snmpeng::Pdu& pdu) {
    std::vector<std::string> out;
    out.reserve(pdu.vbs.size());
    for (const snmpeng::Vb& vb : pdu.vbs)
        out.push_back(vb.oid);
    return out;
}

// A table without key columns has an empty index: its rows sit right under
// the column, with no "." after it.
std::string WithIndex(const std::string& base, const std::string& index) {
    return index.empty() ? base : base + "." + index;
}

// What a set changes of each record for the time of one request. Restored in
// place, so pointers a form keeps to a record or its value stay valid.
struct VarState {
    int access;
    std::string value;
    std::string instance;
};

std::vector<VarState> SaveStates(const QvSNMPVarList& vars) {
    std::vector<VarState> out;
    out.reserve(static_cast<size_t>(vars.Count()));
    for (int i = 0; i < vars.Count(); ++i) {
        const QvSNMPVar* v = vars.Item(i);
        out.push_back({v->Access, *v->Value, *v->Instance});
    }
    return out;
}

void RestoreStates(QvSNMPVarList& vars, const std::vector<VarState>& saved) {
    for (int i = 0; i < vars.Count() && i < static_cast<int>(saved.size()); ++i) {
        QvSNMPVar* v = vars.Item(i);
        const VarState& s = saved[static_cast<size_t>(i)];
        v->Access = s.access;
        *v->Value = s.value;
        *v->Instance = s.instance;
    }
}

QvSNMPDevice SplitDevice(const std::string& text) {
    QvSNMPDevice d;
    size_t slash = text.find('/');
    d.Address = text.substr(0, slash);
    d.Port =
        slash == std::string::npos ? 0 : static_cast<uint16_t>(std::atoi(text.c_str() + slash + 1));
    return d;
}

} // namespace

// Completions may arrive after the request is gone (beyond the destructor's
// wait); they find the token cleared and do nothing.
struct QvRequestToken {
    QvSNMPRequest* request;
};

QvSNMPRequest::QvSNMPRequest() : Timeout(g_DefaultTimeout) {
    LoadDefaults();
    token_ = std::make_shared<QvRequestToken>(QvRequestToken{this});
}

QvSNMPRequest::~QvSNMPRequest() {
    Alive = 0;
    // The owner's derived parts are gone by now: a click that reached them
    // would call into a half-destroyed object, so input waits for later.
    UserInputHold hold;
    uint32_t start = GetTickCount();
    // Bounded in real time as well, in case the tick source is a test's.
    for (int round = 0; !abandoned_ && round < 12000 && Outstanding - completing_ >= 1 &&
                        GetTickCount() - start < 6000;
         ++round) {
        ProcessMessagesWithoutInput();
        g_SnmpEventProcessor.OnTimer();
        if (Outstanding - completing_ >= 1) usleep(500);
    }
    token_->request = nullptr;
}

void QvSNMPRequest::LoadDefaults() {
    Device = g_DefaultDevice;
    Scope = g_DefaultScope;
    Security = g_DefaultSecurity;
}

std::string QvSNMPRequest::BaseOid(int i) const {
    std::string base = vars.Item(i)->Oid ? vars.Item(i)->Oid : "";
    if (!vars.InstanceSuffix.empty()) base += "." + vars.InstanceSuffix;
    return base;
}

snmpeng::Target QvSNMPRequest::BuildTarget(int) {
    snmpeng::Target t;
    if (!snmpeng::ResolveAddress(Device.Address)) RaiseQvSNMPError(QVERR_INVALID_ADDRESS);
    t.address = Device.Address;
    t.port = Device.Port;
    t.version = Security.Version;
    t.retries = Retries;
    t.timeout = Timeout;
    if (Security.Version == 3) {
        t.securityModel = Security.SecurityModel;
        t.securityName = Security.SecurityName;
        if (g_Snmp)
            g_Snmp->AddUser({Security.SecurityName, Security.AuthProtocol, Security.PrivProtocol,
                             Security.AuthPassword, Security.PrivPassword});
    } else {
        t.readCommunity = Security.ReadCommunity;
        t.writeCommunity = Security.WriteCommunity;
    }
    return t;
}

snmpeng::Pdu QvSNMPRequest::BuildPdu(int kind) {
    snmpeng::Pdu pdu;
    pdu.type = kind == 2 ? snmpeng::kSet : kind == 1 ? snmpeng::kGetNext : snmpeng::kGet;
    pdu.securityLevel = Security.SecurityLevel;
    pdu.contextName = Scope.ContextName;
    pdu.contextEngineId = Scope.ContextEngineId;
    const uint8_t type = vars.ItemType;
    if (kind == 1 && (type == SVT_SV || type == MVT_SV))
        RaiseQvSNMPError(QVERR_GETNEXT_SINGLE_VALUE);
    if (kind == 2 && type > MVT_UMV) RaiseQvSNMPError(QVERR_BAD_ITEM_TYPE);
    for (int i = 0; i < vars.Count(); ++i) {
        QvSNMPVar* v = vars.Item(i);
        std::string base = BaseOid(i);
        Vb vb;
        if (kind == 0) {
            if (!vars.IsReadable(i)) continue;
            v->Instance->clear();
            vb.oid = type == SVT_SV ? base + ".0" : base;
        } else if (kind == 1) {
            if (!vars.IsReadable(i)) continue;
            vb.oid = v->Instance->empty() ? base : *v->Instance;
        } else {
            if (vars.IsTable() && i < static_cast<int>(vars.PKeyCount)) continue;
            if (!vars.IsWritable(i)) continue;
            vb.oid = type == SVT_SV   ? base + ".0"
                     : type == MVT_SV ? base
                                      : WithIndex(base, BuildIndexOid());
            ValueToVb(i, vb);
        }
        pdu.vbs.push_back(std::move(vb));
    }
    return pdu;
}

void QvSNMPRequest::DecodeRowKeys(const std::string& rowInstance) {
    std::string rest = rowInstance;
    for (int i = 0; i < static_cast<int>(vars.PKeyCount) && i < vars.Count(); ++i) {
        if (rest.empty()) RaiseQvSNMPError(QVERR_BAD_KEY_COUNT);
        if (!vars.IsReadable(i)) *vars.Item(i)->Instance = BaseOid(i) + "." + rest;
        rest = OidToKeyValue(i, rest);
    }
}

std::string QvSNMPRequest::BuildIndexOid() {
    std::string out;
    for (int i = 0; i < static_cast<int>(vars.PKeyCount) && i < vars.Count(); ++i) {
        std::string part;
        KeyValueToOid(i, part);
        if (part.empty()) continue;
        if (!out.empty()) out += ".";
        out += part;
    }
    return out;
}

void QvSNMPRequest::Report(int code, const std::string& text) {
    Failures += 1;
    QvSNMPError e;
    e.Code = code;
    e.Message = text;
    e.FailureCount = Failures;
    LastFailure = e;
    if (!ResultCallback) return;
    ResultCallback(&e);
}

// An SNMPv2 agent reports a missing object or the end of its view in the
// binding, an SNMPv1 agent with noSuchName and the request's own bindings:
// the layer makes the first look like the second, so both versions end a walk
// and fail a read alike.
void QvSNMPRequest::MapV2Exceptions(snmpeng::Pdu& reply, const std::vector<std::string>& sent) {
    if (reply.errorStatus != 0) return;
    for (size_t j = 0; j < reply.vbs.size(); ++j)
        if (reply.vbs[j].IsException()) {
            reply.errorStatus = snmpeng::kPduNoSuchName;
            reply.errorIndex = static_cast<int>(j) + 1;
            for (size_t k = 0; k < reply.vbs.size() && k < sent.size(); ++k) {
                reply.vbs[k].SetNull();
                reply.vbs[k].oid = sent[k];
            }
            return;
        }
}

QvSNMPRequest::StoreResult QvSNMPRequest::StoreReply(const snmpeng::Pdu& reply,
                                                     const std::vector<std::string>& sent,
                                                     int* code, bool sync) {
    StoreResult r;
    const bool table = vars.IsTable();
    if (*code == -102 && table) {
        // An agent past the end of its view answers noSuchName with the
        // bindings it was sent: the walk is over and nothing failed. Any
        // other binding means the agent refused the walk.
        bool echoed = reply.vbs.size() == sent.size();
        for (size_t k = 0; echoed && k < sent.size(); ++k)
            echoed = reply.vbs[k].oid == sent[k];
        r.walkOver = true;
        if (echoed && !sync) *code = 0;
        r.failed = !echoed;
        return r;
    }
    int readable = 0, ended = 0;
    size_t j = 0;
    bool rowTaken = false;
    std::vector<int> endedColumns;
    for (int i = 0; i < vars.Count(); ++i) {
        if (!vars.IsReadable(i)) continue;
        ++readable;
        QvSNMPVar* v = vars.Item(i);
        if (j >= reply.vbs.size()) { // a short reply ends what it lacks
            ++ended;
            continue;
        }
        const Vb& vb = reply.vbs[j++];
        std::string base = BaseOid(i);
        if (IsEndOfWalk(base, *v->Instance, vb.oid)) {
            *v->Value = kNotDone;
            // The column waits at the others' row, so its next get-next
            // repeats their position.
            if (vars.PKeyCount > 0) *v->Instance = WithIndex(base, BuildIndexOid());
            endedColumns.push_back(i);
            ++ended;
            continue;
        }
        VbToValue(i, vb);
        *v->Instance = vb.oid;
        if (!rowTaken && vb.oid.size() > base.size()) {
            r.rowInstance = vb.oid.substr(base.size() + 1);
            rowTaken = true;
        }
    }
    // Without key columns the row is known only by its instance, which a
    // later column may be the first to bring.
    if (vars.PKeyCount == 0)
        for (int i : endedColumns)
            *vars.Item(i)->Instance = WithIndex(BaseOid(i), r.rowInstance);
    if (ended == readable) r.walkOver = true;
    return r;
}

bool QvSNMPRequest::Get(bool* ok, bool first) {
    if (!Alive) {
        *ok = false;
        return false;
    }
    const bool table = vars.IsTable();
    if (vars.ItemType > MVT_UMV) {
        *ok = false;
        Report(QvLayerErrorCode(QVERR_BAD_ITEM_TYPE), g_QvSnmpMessages[QVERR_BAD_ITEM_TYPE]);
        return false;
    }
    snmpeng::Target target = BuildTarget(first ? 0 : 1);
    snmpeng::Pdu pdu = BuildPdu(first ? 0 : 1);
    if (table) pdu.type = snmpeng::kGetNext;
    snmpeng::Pdu reply;
    int status = g_Snmp ? g_Snmp->Send(target, pdu, &reply) : snmpeng::kClassInvalid;
    bool answered = status == 0;
    if (answered) {
        MapV2Exceptions(reply, SentOids(pdu));
        status = reply.errorStatus;
    }
    int code = 0;
    std::string text;
    MapSnmpError(status, &code, &text);
    if (code != 0 && !(code == -102 && table)) {
        *ok = false;
        Report(code, text);
    }
    if (!answered) return false;
    StoreResult r = StoreReply(reply, SentOids(pdu), &code, true);
    if (r.failed) {
        *ok = false;
        Report(code, text);
        return false;
    }
    if (r.walkOver) return false;
    if (table) DecodeRowKeys(r.rowInstance);
    for (int i = 0; i < vars.Count(); ++i)
        EvaluateDerived(i, true);
    return table;
}

void QvSNMPRequest::MarkNumbers(const std::string& numbers,
                                const std::vector<std::string>* values) {
    if (numbers.empty()) return;
    QvNumList<int> list(',');
    list.Parse(numbers);
    for (int i = 0; i < vars.Count(); ++i) {
        int at = list.IndexOf(i);
        QvSNMPVar* v = vars.Item(i);
        if (at < 0) {
            v->Access |= QvAccess::Invalid;
            continue;
        }
        v->Access &= ~QvAccess::Invalid;
        if (values && at < static_cast<int>(values->size())) *v->Value = (*values)[at];
    }
}

bool QvSNMPRequest::Set(bool* ok, const std::string& numbers,
                        const std::vector<std::string>* values) {
    if (!Alive) {
        *ok = false;
        return false;
    }
    const std::vector<VarState> saved = SaveStates(vars);
    snmpeng::Target target;
    snmpeng::Pdu pdu;
    try {
        MarkNumbers(numbers, values);
        for (int i = 0; i < vars.Count(); ++i)
            EvaluateDerived(i, false);
        target = BuildTarget(2);
        pdu = BuildPdu(2);
    } catch (...) {
        RestoreStates(vars, saved);
        throw;
    }
    snmpeng::Pdu reply;
    int status = g_Snmp ? g_Snmp->Send(target, pdu, &reply) : snmpeng::kClassInvalid;
    RestoreStates(vars, saved);
    if (status == 0) status = reply.errorStatus;
    int code = 0;
    std::string text;
    MapSnmpError(status, &code, &text);
    if (code != 0) {
        *ok = false;
        Report(code, text);
    }
    return false;
}

void QvSNMPRequest::GetAsync(QvDoneClosure done, bool first) {
    if (!Alive) return;
    if (vars.ItemType > MVT_UMV) {
        Report(QvLayerErrorCode(QVERR_BAD_ITEM_TYPE), g_QvSnmpMessages[QVERR_BAD_ITEM_TYPE]);
        return;
    }
    SendAsync(first ? 0 : 1, true, std::move(done));
}

void QvSNMPRequest::SetAsync(QvDoneClosure done, const std::string& numbers,
                             const std::vector<std::string>* values) {
    if (!Alive) return;
    const std::vector<VarState> saved = SaveStates(vars);
    try {
        MarkNumbers(numbers, values);
        for (int i = 0; i < vars.Count(); ++i)
            EvaluateDerived(i, false);
        SendAsync(2, false, std::move(done));
    } catch (...) {
        RestoreStates(vars, saved);
        throw;
    }
    RestoreStates(vars, saved);
}

void QvSNMPRequest::SendAsync(int kind, bool store, QvDoneClosure done) {
    snmpeng::Target target = BuildTarget(kind);
    snmpeng::Pdu pdu = BuildPdu(kind);
    if (kind != 2 && vars.IsTable()) pdu.type = snmpeng::kGetNext;
    std::shared_ptr<QvRequestToken> token = token_;
    auto completion = [token, store, done, sent = SentOids(pdu)](
                          int reason, const snmpeng::Pdu& reply, const snmpeng::Target& t) {
        if (token->request) token->request->Complete(reason, reply, sent, t, store, done);
    };
    Outstanding += 1;
    int status = g_Snmp ? g_Snmp->SendAsync(target, pdu, completion) : snmpeng::kClassInvalid;
    if (status == 0) return;
    int code = 0;
    std::string text;
    MapSnmpError(status, &code, &text);
    Report(code, text);
    // The send failed, so no reply will come: complete it from the event
    // loop like any other, so that waiting forms and the count recover.
    QTimer::singleShot(0, [completion, status, target] {
        snmpeng::Pdu none;
        completion(status, none, target);
    });
}

void QvSNMPRequest::Complete(int reason, const snmpeng::Pdu& replyIn,
                             const std::vector<std::string>& sent, const snmpeng::Target& target,
                             bool store, const QvDoneClosure& done) {
    // During the destructor's wait completions still run: the closure's owner
    // decides whether it still cares.
    if (reason == snmpeng::kSessionClosing) {
        Outstanding -= 1;
        return;
    }
    snmpeng::Pdu reply = replyIn;
    QvSNMPError e;
    int status = reason;
    if (reason == 0) {
        MapV2Exceptions(reply, sent);
        status = reply.errorStatus;
    }
    MapSnmpError(status, &e.Code, &e.Message);
    e.ErrorIndex = reply.errorIndex;
    e.Device = SplitDevice(target.AddressText());
    const bool table = vars.IsTable();
    bool finished = true;
    try {
        // Only reads store; a set answered with any error has failed.
        if (reason == 0 && store && (e.Code == 0 || (e.Code == -102 && table))) {
            int code = e.Code;
            StoreResult r = StoreReply(reply, sent, &code, false);
            if (code != e.Code) MapSnmpError(code, &e.Code, &e.Message);
            if (!r.walkOver) {
                if (table) DecodeRowKeys(r.rowInstance);
                for (int i = 0; i < vars.Count(); ++i)
                    EvaluateDerived(i, true);
                finished = !table;
            }
        }
    } catch (const Exception& ex) {
        e.Code = ex.HelpContext();
        e.Message = ex.Message();
        finished = true;
    }
    e.Finished = finished ? 1 : 0;
    // The token outlives the request: when the closure deleted it, nothing
    // of it may be touched afterwards.
    std::shared_ptr<QvRequestToken> token = token_;
    ++completing_;
    if (done) RunGuarded([&] { done(&e, &vars); });
    if (!token->request) return;
    --completing_;
    Outstanding -= 1;
}
