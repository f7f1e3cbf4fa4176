// The main window against its floor, side by side in one run: the time from
// exec to the first painted window with the simulated device answering, the
// peak resident size, and the CPU used over an idle stretch of polling. The
// floor is a bare Qt window of the same size with a menu bar, the picture and
// a status bar. Both run as children of this program (it execs itself).
//
//   mainform_bench [runs] [idle-seconds]      (defaults 3 and 60)
#include "app/DevicePicture.h"
#include "app/MainUnit.h"
#include "app/TMainForm.h"
#include "os/Path.h"
#include "os/Runtime.h"
#include "snmp/QvSNMPRequest.h"
#include "support/Process.h"
#include "support/SimFixture.h"
#include "support/TempDir.h"
#include "ui/Application.h"

#include <QApplication>
#include <QEvent>
#include <QImage>
#include <QLabel>
#include <QMainWindow>
#include <QMenuBar>
#include <QPixmap>
#include <QStatusBar>
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <poll.h>
#include <sstream>
#include <string>
#include <thread>
#include <unistd.h>
#include <vector>

namespace {

using Clock = std::chrono::steady_clock;

// Writes one line to the parent when the watched window first paints.
class FirstPaint : public QObject {
public:
    bool eventFilter(QObject* o, QEvent* e) override {
        if (!done_ && e->type() == QEvent::Paint) {
            done_ = true;
            const char line[] = "painted\n";
            if (write(1, line, sizeof line - 1) < 0) {
            }
        }
        return QObject::eventFilter(o, e);
    }

private:
    bool done_ = false;
};

int RunModule(int argc, char** argv) {
    os::SetCommandLine(std::vector<std::string>{"/I127.0.0.1", "/Rtarnok"});
    QApplication app(argc, argv);
    FirstPaint watch;
    Application->SetTitle(g_ModelName);
    Application->CreateForm(MainForm);
    MainForm->Widget()->installEventFilter(&watch);
    Application->Run();
    delete MainForm;
    return 0;
}

int RunFloor(int argc, char** argv) {
    QApplication app(argc, argv);
    FirstPaint watch;
    QMainWindow w;
    w.setWindowTitle("LMR-7300AP : 127.0.0.1");
    for (const char* m : {"Home", "Advanced", "Tools", "Status", "Help"})
        w.menuBar()->addMenu(m)->addAction("Item");
    std::vector<unsigned char> rgb;
    int pw = 0, ph = 0;
    DecodeDevicePicture(rgb, pw, ph);
    auto* label = new QLabel;
    label->setPixmap(QPixmap::fromImage(QImage(rgb.data(), pw, ph, pw * 3, QImage::Format_RGB888)));
    w.setCentralWidget(label);
    w.statusBar()->showMessage("Get: Ok. Receive at 12:00:00 PM.");
    w.installEventFilter(&watch);
    w.show();
    return app.exec();
}

struct Child {
    pid_t pid = -1;
    int out = -1;
};

Child Spawn(const std::string& self, const char* mode, const std::string& dir) {
    int fds[2];
    if (pipe(fds) != 0) return {};
    pid_t pid = fork();
    if (pid == 0) {
        dup2(fds[1], 1);
        close(fds[0]);
        close(fds[1]);
        if (chdir(dir.c_str()) != 0) _exit(126);
        execl(self.c_str(), self.c_str(), mode, static_cast<char*>(nullptr));
        _exit(127);
    }
    close(fds[1]);
    return {pid, fds[0]};
}

// Seconds until the child reports its first paint (-1 on a failure).
double WaitPainted(const Child& c, Clock::time_point start) {
    std::string got;
    while (got.find("painted") == std::string::npos) {
        pollfd p{c.out, POLLIN, 0};
        if (poll(&p, 1, 20000) <= 0) return -1;
        char buf[64];
        ssize_t n = read(c.out, buf, sizeof buf);
        if (n <= 0) return -1;
        got.append(buf, static_cast<size_t>(n));
    }
    return std::chrono::duration<double>(Clock::now() - start).count();
}

// User plus system CPU seconds of a running process.
double CpuSeconds(pid_t pid) {
    std::ifstream f("/proc/" + std::to_string(pid) + "/stat");
    std::string text((std::istreambuf_iterator<char>(f)), std::istreambuf_iterator<char>());
    const size_t close = text.rfind(')');
    if (close == std::string::npos) return 0;
    std::istringstream rest(text.substr(close + 2));
    std::string field;
    double ticks = 0;
    for (int k = 3; k <= 15 && rest >> field; ++k)
        if (k == 14 || k == 15) ticks += std::stod(field);
    return ticks / static_cast<double>(sysconf(_SC_CLK_TCK));
}

// Peak resident size in KiB.
long PeakKiB(pid_t pid) {
    std::ifstream f("/proc/" + std::to_string(pid) + "/status");
    std::string line;
    while (std::getline(f, line))
        if (line.rfind("VmHWM:", 0) == 0) return std::atol(line.c_str() + 6);
    return 0;
}

void Stop(Child& c) {
    if (c.out >= 0) close(c.out);
    lmrtest::StopProcess(c.pid, 3000);
    c = {};
}

} // namespace

int main(int argc, char** argv) {
    if (argc > 1 && std::string(argv[1]) == "--module") return RunModule(argc, argv);
    if (argc > 1 && std::string(argv[1]) == "--floor") return RunFloor(argc, argv);

    const int runs = argc > 1 ? std::max(1, std::atoi(argv[1])) : 3;
    const int idle = argc > 2 ? std::max(5, std::atoi(argv[2])) : 60;
    if (!std::getenv("QT_QPA_PLATFORM")) setenv("QT_QPA_PLATFORM", "offscreen", 1);
    os::EnsureRuntimeDir();

    lmrtest::SimDevice dev;
    if (!dev.start()) {
        std::fprintf(stderr, "simulator: %s\n", dev.error().c_str());
        return 1;
    }
    lmrtest::TempDir dir("mainform-bench");
    dir.mkdir("conf");
    dir.mkdir("run");
    dir.write("registry.ini", "[HKEY_LOCAL_MACHINE\\SOFTWARE\\Quorvane\\Velkar5.1\\MibFile]\nPath=" +
                                  dir.file("conf") + "/\n");
    dir.write("conf/127.0.0.1.cfg",
              "[Program Information]\nAgentPort=" + std::to_string(dev.port()) + "\n");
    setenv("LMR_REGISTRY_FILE", dir.file("registry.ini").c_str(), 1);
    setenv("LMR_RUNTIME_DIR", dir.file("run").c_str(), 1);
    const std::string self = os::ExePath();

    // The round trips the window makes before it can be painted: one poll
    // and 23 probes, timed here as plain gets of the same size.
    double roundTrips = 0;
    {
        QApplication app(argc, argv);
        lmrtest::ScopedCwd cwd(dir.path());
        CreateGlobalSession("");
        g_DefaultDevice.Port = static_cast<uint16_t>(dev.port());
        const QvSNMPVar var[] = {{"1.3.6.1.2.1.1.1", "sysDescr", QvSyntax::DisplayStr,
                                  QvAccess::ReadOnly, nullptr, nullptr, nullptr, nullptr, nullptr,
                                  nullptr},
                                 {nullptr, nullptr, 0, 0, nullptr, nullptr, nullptr, nullptr,
                                  nullptr, nullptr}};
        QvSNMPRequest r;
        r.vars = QvSNMPVarList(var, SVT_SV, 0);
        const auto t0 = Clock::now();
        bool ok = true;
        for (int k = 0; k < 24; ++k)
            r.Get(&ok, true);
        roundTrips = std::chrono::duration<double>(Clock::now() - t0).count();
    }

    double bestModule = 1e30, bestFloor = 1e30;
    for (int run = 0; run < runs; ++run) {
        for (const char* mode : {"--floor", "--module"}) {
            const auto t0 = Clock::now();
            Child c = Spawn(self, mode, dir.path());
            const double t = WaitPainted(c, t0);
            Stop(c);
            if (t < 0) {
                std::fprintf(stderr, "%s never painted\n", mode);
                return 1;
            }
            double& best = mode[2] == 'm' ? bestModule : bestFloor;
            best = std::min(best, t);
        }
    }

    // Both idle side by side: CPU from the first paint on, then the peak size.
    Child floor = Spawn(self, "--floor", dir.path());
    Child module = Spawn(self, "--module", dir.path());
    const auto now = Clock::now();
    if (WaitPainted(floor, now) < 0 || WaitPainted(module, now) < 0) {
        std::fprintf(stderr, "a window never painted\n");
        return 1;
    }
    const double cpuFloor0 = CpuSeconds(floor.pid), cpuModule0 = CpuSeconds(module.pid);
    std::this_thread::sleep_for(std::chrono::seconds(idle));
    const double cpuFloor = CpuSeconds(floor.pid) - cpuFloor0;
    const double cpuModule = CpuSeconds(module.pid) - cpuModule0;
    const long rssFloor = PeakKiB(floor.pid), rssModule = PeakKiB(module.pid);
    Stop(floor);
    Stop(module);

    const double paintLimit = 1.5 * bestFloor + roundTrips;
    const double cpuShare = 100.0 * cpuModule / idle;
    std::printf("first paint    module %.3f s   floor %.3f s   limit %.3f s (1.5 x floor + %.3f s "
                "of round trips)  %s\n",
                bestModule, bestFloor, paintLimit, roundTrips,
                bestModule <= paintLimit ? "ok" : "OVER");
    std::printf("peak RSS       module %ld KiB   floor %ld KiB   ratio %.2f (limit 1.5)  %s\n",
                rssModule, rssFloor, rssFloor ? double(rssModule) / rssFloor : 0.0,
                rssModule <= 1.5 * rssFloor ? "ok" : "OVER");
    std::printf("idle CPU       module %.2f%%   floor %.2f%% of one core over %d s (limit 3%%)  %s\n",
                cpuShare, 100.0 * cpuFloor / idle, idle, cpuShare <= 3.0 ? "ok" : "OVER");
    dev.stop();
    return 0;
}
