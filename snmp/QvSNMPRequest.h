#pragma once
// One request: a copy of the connection parameters and one variable list,
// read with get or get-next and written with set, each blocking or completed
// later by the event pump. Values move between display text and the wire by
// the virtual conversion operations.
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "snmp/QvErrors.h"
#include "snmp/QvSNMPVar.h"
#include "snmp/QvSession.h"

using QvResultCallback = void (*)(QvSNMPError*);
// Completion closure of an asynchronous exchange.
using QvDoneClosure = std::function<void(QvSNMPError*, QvSNMPVarList*)>;

using Vb = snmpeng::Vb;

class QvSNMPRequest {
public:
    QvSNMPRequest();
    virtual ~QvSNMPRequest();
    QvSNMPRequest(const QvSNMPRequest&) = delete;
    QvSNMPRequest& operator=(const QvSNMPRequest&) = delete;

    QvResultCallback ResultCallback = nullptr;
    int Timeout;     // hundredths of a second
    int Retries = 1; // repeats after the first try
    QvSNMPDevice Device;
    QvSNMPScope Scope;
    QvSNMPSecurity Security;
    QvSNMPVarList vars;
    std::string RowCondition;
    uint8_t Alive = 1;
    int Outstanding = 0;
    int64_t Failures = 0;
    // The last failure reported, whether or not a callback was set.
    QvSNMPError LastFailure;

    void LoadDefaults();
    // Gives up on the replies still due: none of them is accepted any more,
    // and the destructor does not wait for them.
    void Abandon() {
        Alive = 0;
        abandoned_ = true;
    }

    // One blocking exchange: get (first) or get-next for the table kinds;
    // true when a table row was stored. *ok goes false on a failure.
    bool Get(bool* ok, bool first);
    void GetAsync(QvDoneClosure done, bool first);
    // numbers: comma-separated variable indices to write (empty: all), with
    // their values in the same order when values is given. Returns false.
    bool Set(bool* ok, const std::string& numbers, const std::vector<std::string>* values);
    void SetAsync(QvDoneClosure done, const std::string& numbers,
                  const std::vector<std::string>* values);

    snmpeng::Target BuildTarget(int kind);
    snmpeng::Pdu BuildPdu(int kind); // 0 get, 1 get-next, 2 set
    void DecodeRowKeys(const std::string& rowInstance);
    std::string BuildIndexOid();
    bool IsRowAccepted() { return EvaluateCondition(RowCondition); }
    bool AcceptsCondition(const std::string& text) { return EvaluateCondition(text); }

    // Conversion by syntax, in slot order.
    virtual std::string ExpandVariables(const std::string& text, bool quote, char marker);
    virtual std::string OidToKeyValue(int i, const std::string& suffix);
    virtual void KeyValueToOid(int i, std::string& out);
    virtual void VbToValue(int i, const Vb& vb);
    virtual void ValueToVb(int i, Vb& vb);
    virtual void EvaluateDerived(int i, bool afterGet);
    virtual bool EvaluateCondition(const std::string& text);
    virtual bool IsEndOfWalk(const std::string& base, const std::string& previous,
                             const std::string& received);

    // Identifier of variable i without instance: Oid, or Oid.InstanceSuffix.
    std::string BaseOid(int i) const;

private:
    struct StoreResult {
        bool walkOver = false;
        bool failed = false; // a noSuchName that is no end of the walk
        std::string rowInstance;
    };
    // sent: the identifiers of the request, binding by binding.
    StoreResult StoreReply(const snmpeng::Pdu& reply, const std::vector<std::string>& sent,
                           int* code, bool sync);
    void Report(int code, const std::string& text);
    void MarkNumbers(const std::string& numbers, const std::vector<std::string>* values);
    void SendAsync(int kind, bool store, QvDoneClosure done);
    void Complete(int reason, const snmpeng::Pdu& reply, const std::vector<std::string>& sent,
                  const snmpeng::Target& target, bool store, const QvDoneClosure& done);
    static void MapV2Exceptions(snmpeng::Pdu& reply, const std::vector<std::string>& sent);

    // Shared with pending completions, cleared when the request is gone.
    std::shared_ptr<struct QvRequestToken> token_;
    // Completions whose closure is running now: a closure may delete the
    // request, whose destructor must then not wait for them.
    int completing_ = 0;
    bool abandoned_ = false;
};

// Time ticks in the display form ("1 day 0:00:01.00") and back.
std::string QvTimeTicksToText(uint32_t hundredths);
uint32_t QvTextToTimeTicks(const std::string& text);
// Upper-case hexadecimal of every byte, and back (blanks dropped, an odd first
// digit alone, foreign characters count 0).
std::string QvBytesToHex(const std::string& bytes);
std::string QvHexToBytes(const std::string& text);
