// Throughput of the module's TFTP server against tftpd-hpa over 127.0.0.1,
// both driven by the same curl client: a 16 MiB download and upload each,
// best of a few runs, reported as ratios, plus our server's CPU time per MiB.
//
//   tftp_bench [runs]        (default 3; needs curl and /usr/sbin/in.tftpd)
#include "support/Process.h"
#include "support/TempDir.h"
#include "tftp/TFTPServer.h"

#include <QCoreApplication>
#include <QEventLoop>
#include <QProcess>
#include <QStandardPaths>
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <random>
#include <string>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

namespace {

constexpr std::size_t kSize = 16u << 20;
constexpr double kMiB = 1024.0 * 1024.0;

double Now() {
    return static_cast<double>(TFTPSteadyClockMs()) / 1000.0;
}

double CpuSeconds() {
    rusage ru{};
    getrusage(RUSAGE_SELF, &ru);
    return static_cast<double>(ru.ru_utime.tv_sec + ru.ru_stime.tv_sec) +
           static_cast<double>(ru.ru_utime.tv_usec + ru.ru_stime.tv_usec) / 1e6;
}

bool SameFile(const std::string& a, const std::string& b) {
    std::ifstream fa(a, std::ios::binary), fb(b, std::ios::binary);
    if (!fa || !fb) return false;
    return std::string(std::istreambuf_iterator<char>(fa), {}) ==
           std::string(std::istreambuf_iterator<char>(fb), {});
}

// Runs curl with our event loop turning; false on failure or overrun.
bool RunCurl(const QStringList& args) {
    QProcess p;
    p.setProcessChannelMode(QProcess::ForwardedChannels);
    p.start("curl", args);
    if (!p.waitForStarted(5000)) return false;
    const double end = Now() + 120;
    while (p.state() != QProcess::NotRunning && Now() < end)
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
    if (p.state() != QProcess::NotRunning) {
        p.kill();
        p.waitForFinished(5000);
        return false;
    }
    return p.exitStatus() == QProcess::NormalExit && p.exitCode() == 0;
}

struct Result {
    double down = 0, up = 0; // seconds, best run
    double cpuDown = 0, cpuUp = 0;
};

// One download and one upload against the server on port, best of runs.
bool Measure(int port, const std::string& served, const std::string& local, int runs, Result* r,
             bool countCpu) {
    const QString base = QString("tftp://127.0.0.1:%1/").arg(port);
    r->down = r->up = 1e9;
    for (int i = 0; i < runs; ++i) {
        const std::string out = local + "/down.bin";
        unlink(out.c_str());
        double c0 = CpuSeconds(), t0 = Now();
        if (!RunCurl({"-sS", base + "source.bin", "-o", QString::fromStdString(out)})) return false;
        double t = Now() - t0, c = CpuSeconds() - c0;
        if (!SameFile(out, served + "/source.bin")) {
            std::fprintf(stderr, "download differs\n");
            return false;
        }
        if (t < r->down) {
            r->down = t;
            if (countCpu) r->cpuDown = c;
        }
        const std::string name = "up" + std::to_string(i) + ".bin";
        c0 = CpuSeconds();
        t0 = Now();
        if (!RunCurl({"-sS", "-T", QString::fromStdString(local + "/source.bin"),
                      base + QString::fromStdString(name)}))
            return false;
        t = Now() - t0;
        c = CpuSeconds() - c0;
        if (!SameFile(local + "/source.bin", served + "/" + name)) {
            std::fprintf(stderr, "upload differs\n");
            return false;
        }
        if (t < r->up) {
            r->up = t;
            if (countCpu) r->cpuUp = c;
        }
    }
    return true;
}

pid_t StartTftpd(const std::string& folder, int port) {
    pid_t pid = fork();
    if (pid == 0) {
        const std::string addr = "127.0.0.1:" + std::to_string(port);
        // Foreground, this address only, uploads may create files, no
        // permission games, stay the current user, confined to the folder.
        execl("/usr/sbin/in.tftpd", "in.tftpd", "-L", "-a", addr.c_str(), "-c", "-p", "-u", "root",
              "-s", folder.c_str(), static_cast<char*>(nullptr));
        _exit(127);
    }
    return pid;
}

} // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    const int runs = argc > 1 ? std::max(1, std::atoi(argv[1])) : 3;
    if (QStandardPaths::findExecutable("curl").isEmpty() || access("/usr/sbin/in.tftpd", X_OK)) {
        std::fprintf(stderr, "needs curl and /usr/sbin/in.tftpd (tftpd-hpa)\n");
        return 2;
    }
    const lmrtest::TempDir localDir("bench-local"), oursDir("bench-ours"), theirsDir("bench-hpa");
    if (!localDir.ok() || !oursDir.ok() || !theirsDir.ok()) return 2;
    const std::string &local = localDir.path(), &ours = oursDir.path(), &theirs = theirsDir.path();
    {
        std::mt19937 rng(1);
        std::string data(kSize, '\0');
        for (auto& c : data)
            c = static_cast<char>(rng() & 0xFF);
        for (const std::string& d : {local, ours, theirs}) {
            std::ofstream(d + "/source.bin", std::ios::binary).write(data.data(), kSize);
        }
    }
    chmod(theirs.c_str(), 0777);

    int rc = 0;
    Result us, them;
    {
        QvTFTPServer server;
        server.SetListenAddress("127.0.0.1");
        server.SetTimeout(100, 3);
        server.Start(ours, 0, "127.0.0.1");
        if (!Measure(server.LocalPort(), ours, local, runs, &us, true)) rc = 1;
        server.Stop();
    }
    const int port = lmrtest::FreeUdpPort();
    pid_t pid = rc == 0 ? StartTftpd(theirs, port) : -1;
    if (pid > 0) {
        usleep(200000); // let it bind
        if (!Measure(port, theirs, local, runs, &them, false)) rc = 1;
    }
    lmrtest::StopProcess(pid, 2000);

    if (rc == 0) {
        const double mib = kSize / kMiB;
        std::printf("16 MiB over 127.0.0.1 with curl, best of %d\n", runs);
        std::printf("%-10s %12s %12s\n", "", "download", "upload");
        std::printf("%-10s %9.1f MiB/s %9.1f MiB/s\n", "ours", mib / us.down, mib / us.up);
        std::printf("%-10s %9.1f MiB/s %9.1f MiB/s\n", "tftpd-hpa", mib / them.down, mib / them.up);
        std::printf("%-10s %12.2f %12.2f   (ours / tftpd-hpa, above 1 is faster)\n", "ratio",
                    them.down / us.down, them.up / us.up);
        std::printf("our server CPU: %.2f ms/MiB download, %.2f ms/MiB upload\n",
                    1000 * us.cpuDown / mib, 1000 * us.cpuUp / mib);
    }
    return rc;
}
