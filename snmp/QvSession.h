#pragma once
// The one SNMP session of the run, the connection defaults every new request
// copies, and the event pump that completes asynchronous replies on the GUI
// thread (a 20 ms timer, plus a notifier on each session socket so a reply is
// handled as soon as it arrives).
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "snmp/QvErrors.h"
#include "snmp/engine/SnmpEngine.h"

class QTimer;
class QSocketNotifier;

using Snmp = snmpeng::Session;

// SNMPv3 scope of every PDU.
struct QvSNMPScope {
    std::string ContextEngineId;
    std::string ContextName;
};

// Version 3 selects SNMPv3 (USM); 0 SNMPv1; 1 and 2 SNMPv2c.
struct QvSNMPSecurity {
    uint8_t Version = 0;
    std::string ReadCommunity = "tarnok";
    std::string WriteCommunity = "quembel";
    int SecurityModel = 1;
    int SecurityLevel = 1;
    std::string SecurityName;
    std::string AuthPassword;
    std::string PrivPassword;
    int AuthProtocol = 1; // 1 none, 2 HMAC-MD5, 3 HMAC-SHA
    int PrivProtocol = 1; // 1 none, 2 DES, 19 AES-128
};

class _SnmpEventProcessor {
public:
    _SnmpEventProcessor();
    ~_SnmpEventProcessor();
    _SnmpEventProcessor(const _SnmpEventProcessor&) = delete;
    _SnmpEventProcessor& operator=(const _SnmpEventProcessor&) = delete;

    void Start();
    void Stop();
    bool Running() const;
    // One tick: lets the session deliver what is due. Safe to re-enter from a
    // completion that runs a nested message loop: the session never keeps the
    // library busy while our code runs.
    void OnTimer();

    static constexpr int IntervalMs = 20;

private:
    void SyncNotifiers();

    QTimer* timer_ = nullptr;
    bool enabled_ = false;
    unsigned generation_ = ~0u;
    std::vector<std::unique_ptr<QSocketNotifier>> notifiers_;
};

extern Snmp* g_Snmp;
extern QvSNMPDevice g_DefaultDevice;
extern QvSNMPScope g_DefaultScope;
extern QvSNMPSecurity g_DefaultSecurity;
extern int g_DefaultTimeout; // hundredths of a second
extern _SnmpEventProcessor g_SnmpEventProcessor;

extern const char* const QvBootCounterFileName; // "QvSNMP_PP_BootCounter"
extern const char* const QvEngineId;            // "QvSNMP_PP_Application"

// Creates the session, counts the engine boots in the folder's counter file,
// sets the defaults and starts the pump. Raises -506, -507 or -508.
void CreateGlobalSession(const std::string& folder);
// The boots value message processing was started with (0 before).
long QvCurrentEngineBoots();
