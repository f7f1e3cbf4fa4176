#include "binding/QvWaitIdle.h"

#include "base/Events.h"
#include "binding/QvSNMPRequest2Controls.h"
#include "snmp/QvSNMPRequest.h"
#include "snmp/QvSession.h"

#include <QCoreApplication>
#include <QEventLoop>

namespace {

// Short enough to keep the window responsive, long enough not to spin a core.
constexpr std::uint32_t kNapMs = 10;

void HandleNonInputEvents() {
    if (!QCoreApplication::instance()) return;
    QCoreApplication::sendPostedEvents();
    QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
}

} // namespace

std::uint32_t QvReplyBoundMs(const QvSNMPRequest& r) {
    const std::int64_t timeout = r.Timeout > 0 ? r.Timeout : 0;
    const std::int64_t sends = r.Retries > 0 ? std::int64_t{r.Retries} + 1 : 1;
    const std::int64_t ms = timeout * 10 * sends;
    return ms > 0xFFFFFFFFLL ? 0xFFFFFFFFu : static_cast<std::uint32_t>(ms);
}

bool QvWaitWhile(const std::function<bool()>& busy, std::uint32_t boundMs) {
    if (!busy) return true;
    const std::uint32_t start = GetTickCount();
    while (busy()) {
        if (GetTickCount() - start >= boundMs) return !busy();
        HandleNonInputEvents();
        // Replies are taken in by the session's pump; a frozen timer must not stall it.
        g_SnmpEventProcessor.OnTimer();
        if (!busy()) break;
        Sleep(kNapMs);
    }
    return true;
}

bool WaitWhileBusy(QvSNMPRequest2Controls& group, std::uint32_t boundMs) {
    if (QvWaitWhile([&group] { return group.busy != 0; }, boundMs)) return true;
    group.request.Alive = 0;
    group.busy = 0;
    return false;
}
