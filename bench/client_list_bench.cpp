// The client information form listing 16, 64 and 256 stations of the
// simulated device over 127.0.0.1 (SNMPv2c): the time from opening the form
// to the filled list (the acquire write, then the table walk one row per
// get-next through the event pump), best of a few runs, and per station.
//
//   client_list_bench [runs]      (default 3)
#include "app/TMainForm.h"
#include "forms/admin/TClientInformation.h"
#include "os/Runtime.h"
#include "snmp/QvSession.h"
#include "support/SimFixture.h"
#include "support/TempDir.h"
#include "tests/forms/admin/client_data.h"
#include "ui/Application.h"
#include "ui/Widgets.h"

#include <QApplication>
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <string>

namespace {

using Clock = std::chrono::steady_clock;

// Seconds until the list is filled; negative when it was not within a minute.
double OpenOnce(int expected) {
    const auto start = Clock::now();
    std::unique_ptr<TClientInformation> form(NewForm<TClientInformation>(Application));
    while (form->Busy) {
        if (Clock::now() - start > std::chrono::seconds(60)) return -1;
        Application->ProcessMessages();
    }
    const double s = std::chrono::duration<double>(Clock::now() - start).count();
    if (form->NumOfRecord->Caption() != std::to_string(expected)) return -1;
    return s;
}

} // namespace

int main(int argc, char** argv) {
    const int runs = argc > 1 ? std::max(1, std::atoi(argv[1])) : 3;
    setenv("QT_QPA_PLATFORM", "offscreen", 0);
    os::EnsureRuntimeDir();
    QApplication app(argc, argv);
    lmrtest::TempDir sessionDir("client-bench");
    CreateGlobalSession(sessionDir.path() + "/");
    TMainForm* main = new TMainForm(nullptr); // made, not started
    main->Ed_ClientAddSSID->SetText("1");

    std::printf("%-10s %12s %16s\n", "stations", "best s", "ms per station");
    int status = 0;
    for (int n : {16, 64, 256}) {
        lmrtest::TempDir dir("client-bench");
        lmrtest::SimOptions options;
        options.extraArgs = {"--data", statustest::DataFileWithClients(dir, n)};
        lmrtest::SimDevice dev(options);
        if (!dev.start()) {
            std::fprintf(stderr, "simulator: %s\n", dev.error().c_str());
            return 1;
        }
        g_DefaultDevice.Address = dev.host();
        g_DefaultDevice.Port = static_cast<uint16_t>(dev.port());
        g_DefaultSecurity = QvSNMPSecurity{};
        g_DefaultSecurity.Version = 1;
        g_DefaultTimeout = 300;
        double best = 1e30;
        for (int r = 0; r < runs; ++r) {
            const double s = OpenOnce(n);
            if (s < 0) {
                std::fprintf(stderr, "%d stations: the list did not fill\n", n);
                status = 1;
                break;
            }
            best = std::min(best, s);
        }
        if (status) break;
        std::printf("%-10d %12.3f %16.3f\n", n, best, best * 1000.0 / n);
    }
    delete main;
    return status;
}
