#include "snmp/QvSession.h"

#include <QCoreApplication>
#include <QSocketNotifier>
#include <QTimer>

#include "snmp/QvIni.h"

Snmp* g_Snmp = nullptr;
QvSNMPDevice g_DefaultDevice;
QvSNMPScope g_DefaultScope;
QvSNMPSecurity g_DefaultSecurity;
int g_DefaultTimeout = 100;
_SnmpEventProcessor g_SnmpEventProcessor;

const char* const QvBootCounterFileName = "QvSNMP_PP_BootCounter";
const char* const QvEngineId = "QvSNMP_PP_Application";

namespace {
long g_boots = 0;
}

long QvCurrentEngineBoots() {
    return g_boots;
}

_SnmpEventProcessor::_SnmpEventProcessor() = default;

_SnmpEventProcessor::~_SnmpEventProcessor() {
    if (g_Snmp) g_Snmp->SetSocketsChanged(nullptr);
    notifiers_.clear();
    // The timer belongs to the application's thread; at program end the
    // application object may already be gone, and with it the timer's loop:
    // then the timer is left to the end of the process (still referenced).
    if (QCoreApplication::instance()) {
        delete timer_;
        timer_ = nullptr;
    }
}

void _SnmpEventProcessor::Start() {
    enabled_ = true;
    if (!timer_) {
        timer_ = new QTimer();
        timer_->setInterval(IntervalMs);
        QObject::connect(timer_, &QTimer::timeout, [this] { OnTimer(); });
    }
    timer_->start();
    // A socket opened by a send gets its notifier at once, not at the next
    // tick, so the first reply is not held back.
    if (g_Snmp) {
        g_Snmp->SetSocketsChanged([this] {
            if (enabled_) SyncNotifiers();
        });
    }
    SyncNotifiers();
}

void _SnmpEventProcessor::Stop() {
    enabled_ = false;
    if (timer_) timer_->stop();
    notifiers_.clear();
    generation_ = ~0u;
}

bool _SnmpEventProcessor::Running() const {
    return enabled_ && timer_ && timer_->isActive();
}

void _SnmpEventProcessor::OnTimer() {
    if (!g_Snmp) return;
    g_Snmp->ProcessEvents();
    if (enabled_) SyncNotifiers();
}

void _SnmpEventProcessor::SyncNotifiers() {
    if (!g_Snmp || !QCoreApplication::instance()) return;
    if (g_Snmp->SocketGeneration() == generation_) return;
    generation_ = g_Snmp->SocketGeneration();
    notifiers_.clear();
    for (int fd : g_Snmp->Sockets()) {
        auto n = std::make_unique<QSocketNotifier>(fd, QSocketNotifier::Read);
        QObject::connect(n.get(), &QSocketNotifier::activated, [this] { OnTimer(); });
        notifiers_.push_back(std::move(n));
    }
}

void CreateGlobalSession(const std::string& folder) {
    int status = 0;
    // Called once per run; a second call keeps the session that requests
    // may still be using.
    if (!g_Snmp) {
        auto session = std::make_unique<Snmp>(status, 0);
        if (status != 0) RaiseQvSNMPError(QVERR_CREATE_SESSION);
        g_Snmp = session.release();
    }

    long boots = 0;
    std::string file = JoinPath(folder, QvBootCounterFileName);
    status = snmpeng::GetBootCounter(file, QvEngineId, &boots);
    if (status < -2) RaiseQvSNMPError(QVERR_LOAD_BOOT_COUNTER);
    if (status != 0) boots = 0;
    ++boots;
    if (snmpeng::SaveBootCounter(file, QvEngineId, boots) != 0)
        RaiseQvSNMPError(QVERR_SAVE_BOOT_COUNTER);
    snmpeng::MpInit(QvEngineId, boots);
    g_boots = boots;

    g_DefaultDevice = QvSNMPDevice{"127.0.0.1", 161};
    g_DefaultScope = QvSNMPScope{};
    g_DefaultSecurity = QvSNMPSecurity{};
    g_DefaultTimeout = 100;
    g_SnmpEventProcessor.Start();
}
