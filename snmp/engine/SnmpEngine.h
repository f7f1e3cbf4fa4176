// The protocol engine of the access layer: sessions, targets, PDUs and
// variable bindings on top of the system's SNMP C library. This header is the
// only way into that library; nothing outside snmp/engine/ sees its headers.
//
// Outcomes are reported as the status numbers the message tables are keyed
// by: class errors -1..-23, agent error status 1..19, USM 1400..1414 and
// message processing -1401..-1418 (see StatusTable.h).
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace snmpeng {

// ASN.1 tags of the values a binding carries.
enum VbSyntax : int {
    kSynInteger = 0x02,
    kSynBits = 0x03,
    kSynOctets = 0x04,
    kSynNull = 0x05,
    kSynOid = 0x06,
    kSynIpAddress = 0x40,
    kSynCounter = 0x41,
    kSynGauge = 0x42,
    kSynTimeTicks = 0x43,
    kSynOpaque = 0x44,
    kSynNsap = 0x45,
    kSynCounter64 = 0x46,
    kSynUInteger = 0x47,
    kSynNoSuchObject = 0x80,
    kSynNoSuchInstance = 0x81,
    kSynEndOfMibView = 0x82,
};

// One variable binding. The identifier is dotted text without a leading dot.
struct Vb {
    std::string oid;
    int syntax = kSynNull;
    int64_t integer = 0;    // INTEGER (signed)
    uint64_t unsigned_ = 0; // counters, gauges, time ticks, counter64
    std::string octets;     // octet strings, opaque, IP address (4 bytes)
    std::string oidValue;   // OBJECT IDENTIFIER value, dotted

    void SetNull() {
        std::string keep = std::move(oid);
        *this = Vb();
        oid = std::move(keep);
    }
    void SetInteger(int64_t v) { syntax = kSynInteger, integer = v; }
    void SetUnsigned(int syn, uint64_t v) { syntax = syn, unsigned_ = v; }
    void SetOctets(int syn, std::string v) { syntax = syn, octets = std::move(v); }
    void SetOidValue(std::string v) { syntax = kSynOid, oidValue = std::move(v); }
    bool IsException() const { return syntax >= kSynNoSuchObject && syntax <= kSynEndOfMibView; }
    // The value's own text form is empty (null, exceptions, empty strings).
    bool HasEmptyPrintable() const;
};

enum PduType : int { kGet = 0, kGetNext = 1, kSet = 2, kResponse = 3, kReport = 4 };

struct Pdu {
    int type = kGet;
    std::vector<Vb> vbs;
    int errorStatus = 0; // agent's error status (1..19)
    int errorIndex = 0;
    int securityLevel = 1; // 1 noAuthNoPriv, 2 authNoPriv, 3 authPriv
    std::string contextName;
    std::string contextEngineId;
};

// Protocol codes of the module: authentication 1 none, 2 MD5, 3 SHA; privacy
// 1 none, 2 DES, 3 triple-DES, 19 AES-128, 20 AES-192, 21 AES-256.
enum AuthProto : int { kAuthNone = 1, kAuthMd5 = 2, kAuthSha = 3 };
enum PrivProto : int {
    kPrivNone = 1,
    kPrivDes = 2,
    kPriv3Des = 3,
    kPrivAes128 = 19,
    kPrivAes192 = 20,
    kPrivAes256 = 21
};

struct UsmUser {
    std::string name;
    int authProtocol = kAuthNone;
    int privProtocol = kPrivNone;
    std::string authPassword;
    std::string privPassword;
};

// Where and how a request goes. Version 0 SNMPv1, 1 and 2 SNMPv2c, 3 SNMPv3.
struct Target {
    std::string address; // IPv4 address or host name
    uint16_t port = 161;
    int version = 0;
    int retries = 1;
    int timeout = 100; // hundredths of a second
    std::string readCommunity;
    std::string writeCommunity;
    int securityModel = 3;
    std::string securityName;

    // "a.b.c.d/port", the form completions report.
    std::string AddressText() const;
};

// Resolves the address text; false for an address that is not valid.
bool ResolveAddress(const std::string& text, uint32_t* ipv4 = nullptr);

// Library set-up for the whole process: keeps the library away from the
// system's configuration, state and MIB files. The state folder holds nothing
// we rely on. Safe to call more than once; later calls only reapply the boots.
int MpInit(const std::string& engineId, long boots);

// Boots counter file: one line per engine id, "<engine id in hex> <boots>".
// 0 found, -1 no entry, -2 no such file, -3 a malformed file.
int GetBootCounter(const std::string& file, const std::string& engineId, long* boots);
// 0 saved, -1 the file cannot be written.
int SaveBootCounter(const std::string& file, const std::string& engineId, long boots);

// The completion of an asynchronous request: reason 0 for a received reply
// (its error status in reply.errorStatus), or a failure status (-5 time-out,
// -8 closing, a USM or MP status for a report).
using Completion = std::function<void(int reason, const Pdu& reply, const Target& target)>;

class Session {
public:
    // status 0 on success; the session owns no socket until it is used.
    explicit Session(int& status, uint16_t localPort = 0);
    ~Session();
    Session(const Session&) = delete;
    Session& operator=(const Session&) = delete;

    // Registers a user for the following exchanges (replaces a user of the
    // same name whose credentials differ).
    int AddUser(const UsmUser& user);

    // Blocking exchange; returns 0 with the reply, or a failure status.
    int Send(const Target& target, const Pdu& pdu, Pdu* reply);
    // Asynchronous exchange; the completion runs later, from ProcessEvents,
    // never from inside the library. Returns the send status; a non-zero one
    // means the completion never comes.
    int SendAsync(const Target& target, const Pdu& pdu, Completion done);

    // Reads every datagram that has arrived, runs retransmissions and
    // time-outs, then runs the completions that became due. Re-entrant calls
    // (from inside a completion) still move the library on but defer the
    // running of completions to the outermost call.
    void ProcessEvents();
    // Asynchronous exchanges not completed yet.
    int Pending() const;
    // The sockets to watch for readability, and a counter that changes when
    // that set changes.
    std::vector<int> Sockets() const;
    unsigned SocketGeneration() const;
    // Called as soon as that set changes (a send to a new agent opens a
    // socket), so a watcher can listen before the first reply arrives.
    void SetSocketsChanged(std::function<void()> changed);
    // Milliseconds until the next retransmission or time-out is due (-1 none).
    int NextTimeoutMs() const;

    // Drops the cached engine time of every SNMPv3 agent we talked to, so the
    // next exchange synchronises again.
    void ForgetEngineTimes();

    struct Impl;

private:
    std::unique_ptr<Impl> d;
};

} // namespace snmpeng
