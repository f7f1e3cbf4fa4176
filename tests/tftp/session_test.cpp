// Transfers driven packet by packet by a scripted client: status sequences,
// block-number rules, time-outs, cancel, Stop and destruction.
#include "TftpHarness.h"

#include <QEventLoop>
#include <QPointer>
#include <QTimer>
#include <csignal>
#include <fcntl.h>
#include <regex>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>

using namespace tftptest;

namespace {

constexpr int S = TFTP_SUCCESS, T = TFTP_TRANSFERRING, C = TFTP_CONNECTED, D = TFTP_DISCONNECTED;

std::vector<int> Repeat(int code, int n) {
    return std::vector<int>(static_cast<std::size_t>(n), code);
}

std::vector<int> Cat(std::initializer_list<std::vector<int>> parts) {
    std::vector<int> out;
    for (const auto& p : parts)
        out.insert(out.end(), p.begin(), p.end());
    return out;
}

// Downloads name with the scripted client, acknowledging every block.
std::optional<Bytes> Download(RawClient& c, std::uint16_t port, const Bytes& name,
                              const Bytes& mode = "octet") {
    c.send(Rrq(name, mode), port);
    Bytes got;
    for (int block = 1; block <= 70000; ++block) {
        auto p = c.recv();
        if (!p || !p->isData(block)) return std::nullopt;
        got += p->payload();
        c.send(Ack(static_cast<unsigned>(block)), p->from.port);
        if (p->payload().size() < 512) return got;
    }
    return std::nullopt;
}

// Uploads data; returns the session's port, 0 on a protocol failure.
std::uint16_t Upload(RawClient& c, std::uint16_t port, const Bytes& name, const Bytes& data,
                     const Bytes& mode = "octet") {
    c.send(Wrq(name, mode), port);
    auto ack = c.recv();
    if (!ack || !ack->isAck(0)) return 0;
    const std::uint16_t sp = ack->from.port;
    for (std::size_t off = 0, block = 1;; off += 512, ++block) {
        Bytes chunk = off < data.size() ? data.substr(off, 512) : Bytes();
        c.send(Data(static_cast<unsigned>(block), chunk), sp);
        auto a = c.recv();
        if (!a || !a->isAck(static_cast<int>(block))) return 0;
        if (chunk.size() < 512) return sp;
    }
}

} // namespace

TEST(TFTPStatusTextTest, EveryCodeHasItsText) {
    const std::pair<int, const char*> rows[] = {
        {3, "(QvTFTP) Success to transfer file."},
        {2, "(QvTFTP) File is transferring..."},
        {1, "(QvTFTP) A TFTP session is connected..."},
        {0, "(QvTFTP) A TFTP session is disconnected..."},
        {-1101, "(QvTFTP) Undefined error:"},
        {-1102, "(QvTFTP) File not found!"},
        {-1103, "(QvTFTP) Access violation!"},
        {-1104, "(QvTFTP) Disk full!"},
        {-1105, "(QvTFTP) Bad operation!"},
        {-1106, "(QvTFTP) Unknown port!"},
        {-1107, "(QvTFTP) File already exist!"},
        {-1108, "(QvTFTP) No such user!"},
        {-1109, "(QvTFTP) Fail to open socket!Please check if the network is ready."},
        {-1110, "(QvTFTP) Fail to send or receive socket packet!"},
        {-1111, "(QvTFTP) Socket is not ready!"},
        {-1112, "(QvTFTP) Bad packet!"},
        {-1113, "(QvTFTP) Timeout!"},
        {-1114, "(QvTFTP) Transfer has been canceled."},
    };
    for (const auto& [code, text] : rows)
        EXPECT_EQ(TFTPStatusText(code), text) << code;
    for (int code : {4, -1, -1100, -1115})
        EXPECT_EQ(TFTPStatusText(code), "") << code;
}

class SizeTest : public ServerTest, public ::testing::WithParamInterface<std::size_t> {};

TEST_P(SizeTest, DownloadIsByteIdenticalWithStatusSequence) {
    const std::size_t n = GetParam();
    const Bytes data = RandomBytes(n, static_cast<unsigned>(n));
    WriteFile(dir.file("fw.tfp"), data);
    RawClient c;
    auto got = Download(c, port, "fw.tfp");
    ASSERT_TRUE(got);
    EXPECT_EQ(*got, data);
    Settle();
    const int blocks = static_cast<int>(n / 512 + 1);
    EXPECT_EQ(codes, Cat({{C}, Repeat(T, blocks), {S, D}}));
    EXPECT_EQ(texts.front(), "(QvTFTP) A TFTP session is connected...");
}

TEST_P(SizeTest, UploadIsByteIdenticalWithStatusSequence) {
    const std::size_t n = GetParam();
    const Bytes data = RandomBytes(n, static_cast<unsigned>(n) + 7);
    RawClient c;
    ASSERT_NE(Upload(c, port, "cfg.DCF", data), 0);
    EXPECT_EQ(ReadFile(dir.file("cfg.DCF")), data);
    Settle();
    const int blocks = static_cast<int>(n / 512 + 1);
    // ACK 0 and every ACK but the last report "transferring".
    EXPECT_EQ(codes, Cat({{C}, Repeat(T, blocks), {S, D}}));
    EXPECT_EQ(ListDir(dir.path()), std::set<std::string>{"cfg.DCF"});
}

INSTANTIATE_TEST_SUITE_P(Sizes, SizeTest, ::testing::Values(0, 1, 511, 512, 513, 1024, 5000));

TEST_F(ServerTest, DuplicateAndEarlyAcksAreIgnored) {
    const Bytes data = RandomBytes(1500, 1);
    WriteFile(dir.file("a.bin"), data);
    RawClient c;
    c.send(Rrq("a.bin"), port);
    auto d1 = c.recv();
    ASSERT_TRUE(d1 && d1->isData(1));
    const std::uint16_t sp = d1->from.port;
    c.send(Ack(0), sp); // stale
    c.send(Ack(2), sp); // for a block not yet sent
    EXPECT_TRUE(c.silent());
    c.send(Ack(1), sp);
    auto d2 = c.recv();
    ASSERT_TRUE(d2 && d2->isData(2));
    c.send(Ack(1), sp);
    c.send(Ack(1), sp);
    EXPECT_TRUE(c.silent()) << "duplicate ACKs must not trigger duplicate DATA";
    c.send(Ack(2), sp);
    auto d3 = c.recv();
    ASSERT_TRUE(d3 && d3->isData(3));
    EXPECT_EQ(d1->payload() + d2->payload() + d3->payload(), data);
    c.send(Ack(3), sp);
    Settle();
    EXPECT_EQ(codes, (std::vector<int>{C, T, T, T, S, D}));
}

TEST_F(ServerTest, DuplicateDataIsAcknowledgedAgainAndWrittenOnce) {
    RawClient c;
    c.send(Wrq("up.bin"), port);
    auto a0 = c.recv();
    ASSERT_TRUE(a0 && a0->isAck(0));
    const std::uint16_t sp = a0->from.port;
    const Bytes b1 = RandomBytes(512, 2), b2 = RandomBytes(100, 3);
    c.send(Data(1, b1), sp);
    ASSERT_TRUE(c.recv()->isAck(1));
    c.send(Data(1, b1), sp); // our ACK "got lost"
    auto again = c.recv();
    ASSERT_TRUE(again && again->isAck(1));
    c.send(Data(3, b2), sp); // out of order: ignored
    EXPECT_TRUE(c.silent());
    c.send(Data(2, b2), sp);
    ASSERT_TRUE(c.recv()->isAck(2));
    // Final ACK lost: the client sends the last block again.
    c.send(Data(2, b2), sp);
    auto final2 = c.recv();
    ASSERT_TRUE(final2 && final2->isAck(2));
    EXPECT_EQ(ReadFile(dir.file("up.bin")), b1 + b2);
    Settle();
    EXPECT_EQ(codes, (std::vector<int>{C, T, T, S, D}));
}

TEST_F(ServerTest, ForeignPortGetsErrorFiveAndTransferGoesOn) {
    const Bytes data = RandomBytes(700, 4);
    WriteFile(dir.file("a.bin"), data);
    RawClient c, intruder;
    c.send(Rrq("a.bin"), port);
    auto d1 = c.recv();
    ASSERT_TRUE(d1 && d1->isData(1));
    intruder.send(Ack(1), d1->from.port);
    auto e = intruder.recv();
    ASSERT_TRUE(e && e->isError(5));
    EXPECT_TRUE(c.silent());
    c.send(Ack(1), d1->from.port);
    auto d2 = c.recv();
    ASSERT_TRUE(d2 && d2->isData(2));
    EXPECT_EQ(d1->payload() + d2->payload(), data);
    c.send(Ack(2), d1->from.port);
    Settle();
    EXPECT_EQ(codes, (std::vector<int>{C, T, T, S, D}));
}

namespace {

struct RetryRow {
    bool upload;
    int retries;
};

void PrintTo(const RetryRow& row, std::ostream* os) {
    *os << (row.upload ? "writer" : "reader") << " with " << row.retries << " sends";
}

} // namespace

class RetryTest : public ServerTest, public ::testing::WithParamInterface<RetryRow> {};

// The last packet (DATA 1 or ACK 0) goes out exactly `retries` times, each
// one time-out after the previous, then the session gives up.
TEST_P(RetryTest, SilentPeerTimesOutAfterExactlyTheRetries) {
    const auto [upload, retries] = GetParam();
    server.SetTimeout(50, retries);
    WriteFile(dir.file("a.bin"), "abc");
    RawClient c;
    c.send(upload ? Wrq("up.bin") : Rrq("a.bin"), port);
    auto isFirst = [upload](const Packet& p) { return upload ? p.isAck(0) : p.isData(1); };
    auto first = c.recv();
    ASSERT_TRUE(first && isFirst(*first));
    int sends = 1;
    for (int i = 0; i < 20 && server.SessionCount() > 0; ++i) {
        while (auto p = c.recv(50)) {
            EXPECT_TRUE(isFirst(*p)) << *p;
            ++sends;
        }
        Advance(499);
        EXPECT_TRUE(c.silent(30)) << "resent before the time-out";
        Advance(2);
    }
    EXPECT_EQ(sends, retries);
    EXPECT_EQ(codes, Cat({{C}, Repeat(T, retries), {TFTP_TIMEOUT, D}}));
    EXPECT_EQ(ListDir(dir.path()), std::set<std::string>{"a.bin"}) << "upload left its temporary";
}

INSTANTIATE_TEST_SUITE_P(Retries, RetryTest,
                         ::testing::Values(RetryRow{false, 1}, RetryRow{false, 3},
                                           RetryRow{false, 5}, RetryRow{true, 1},
                                           RetryRow{true, 3}, RetryRow{true, 5}),
                         [](const auto& info) {
                             return std::string(info.param.upload ? "Writer" : "Reader") +
                                    std::to_string(info.param.retries);
                         });

class LostAckTest : public ServerTest, public ::testing::WithParamInterface<int> {};

// A writing client that waits for an ACK it never got (and does not send its
// DATA again) gets that ACK once more after one time-out.
TEST_P(LostAckTest, WriterResendsItsLastAckOnATimeOut) {
    const int lost = GetParam();
    const Bytes data = RandomBytes(1124, 11); // blocks 1 and 2 full, 3 short
    RawClient c;
    c.send(Wrq("up.bin"), port);
    for (int block = 0; block <= 3; ++block) {
        auto a = c.recv();
        ASSERT_TRUE(a && a->isAck(block)) << block;
        const std::uint16_t sp = a->from.port;
        if (block == lost) {
            Advance(999);
            EXPECT_TRUE(c.silent()) << "resent before the time-out";
            Advance(2);
            auto again = c.recv();
            ASSERT_TRUE(again && again->isAck(block)) << "ACK " << block << " not resent";
            EXPECT_EQ(again->from.port, sp);
        }
        if (block < 3)
            c.send(Data(static_cast<unsigned>(block + 1),
                        data.substr(static_cast<std::size_t>(block) * 512, 512)),
                   sp);
    }
    EXPECT_EQ(ReadFile(dir.file("up.bin")), data);
    Settle();
    // ACK 0, the resent ACK and ACKs 1 and 2 each report "transferring".
    EXPECT_EQ(codes, Cat({{C}, Repeat(T, 4), {S, D}}));
}

INSTANTIATE_TEST_SUITE_P(Blocks, LostAckTest, ::testing::Values(0, 1, 2),
                         [](const auto& info) { return "Ack" + std::to_string(info.param); });

TEST_F(ServerTest, RepeatedRequestMakesOneSessionAndResendsALostFirstPacket) {
    WriteFile(dir.file("a.bin"), "hello");
    RawClient c;
    c.send(Rrq("a.bin"), port);
    ASSERT_TRUE(c.recv()->isData(1));
    c.send(Rrq("a.bin"), port); // as if DATA 1 got lost
    auto again = c.recv();
    ASSERT_TRUE(again && again->isData(1));
    EXPECT_EQ(server.SessionCount(), 1u);
    c.send(Ack(1), again->from.port);
    Settle();
    EXPECT_EQ(codes, (std::vector<int>{C, T, S, D}));

    // A lost ACK 0 of a write is recovered the same way.
    codes.clear();
    c.send(Wrq("up.bin"), port);
    ASSERT_TRUE(c.recv()->isAck(0));
    c.send(Wrq("up.bin"), port);
    auto ack0 = c.recv();
    ASSERT_TRUE(ack0 && ack0->isAck(0));
    c.send(Data(1, "xyz"), ack0->from.port);
    ASSERT_TRUE(c.recv()->isAck(1));
    EXPECT_EQ(ReadFile(dir.file("up.bin")), "xyz");
}

TEST_F(ServerTest, CancelFromTheStatusClosureEndsAtTheNextStep) {
    WriteFile(dir.file("a.bin"), RandomBytes(2000, 5));
    cancelAt = T;
    RawClient c;
    c.send(Rrq("a.bin"), port);
    auto d1 = c.recv();
    ASSERT_TRUE(d1 && d1->isData(1));
    c.send(Ack(1), d1->from.port);
    EXPECT_TRUE(c.silent());
    Settle();
    EXPECT_EQ(codes, (std::vector<int>{C, T, TFTP_CANCELED, D}));
}

TEST_F(ServerTest, CanceledOrFailedUploadKeepsThePreviousFile) {
    WriteFile(dir.file("cfg.DCF"), "old good file");
    cancelAt = T;
    cancelAfter = 2; // after ACK 1
    RawClient c;
    c.send(Wrq("cfg.DCF"), port);
    auto a0 = c.recv();
    ASSERT_TRUE(a0 && a0->isAck(0));
    c.send(Data(1, RandomBytes(512, 6)), a0->from.port);
    ASSERT_TRUE(c.recv()->isAck(1));
    c.send(Data(2, RandomBytes(512, 7)), a0->from.port);
    EXPECT_TRUE(c.silent());
    Settle();
    EXPECT_EQ(codes, (std::vector<int>{C, T, T, TFTP_CANCELED, D}));
    EXPECT_EQ(ReadFile(dir.file("cfg.DCF")), "old good file");
    EXPECT_EQ(ListDir(dir.path()), std::set<std::string>{"cfg.DCF"});
}

TEST_F(ServerTest, ReceivedErrorEndsTheSessionWithItsStatus) {
    const std::pair<unsigned, int> rows[] = {
        {0, TFTP_UNDEFINED_ERROR}, {1, TFTP_FILE_NOT_FOUND},  {3, TFTP_DISK_FULL},
        {7, TFTP_NO_SUCH_USER},    {8, TFTP_UNDEFINED_ERROR}, {65535, TFTP_UNDEFINED_ERROR}};
    WriteFile(dir.file("a.bin"), RandomBytes(600, 8));
    for (const auto& [code, status] : rows) {
        codes.clear();
        RawClient c;
        c.send(Rrq("a.bin"), port);
        auto d1 = c.recv();
        ASSERT_TRUE(d1 && d1->isData(1));
        c.send(Error(code, Bytes(1400, 'x')), d1->from.port);
        EXPECT_TRUE(c.silent()) << code;
        Settle();
        EXPECT_EQ(codes, (std::vector<int>{C, T, status, D})) << code;
    }
}

TEST_F(ServerTest, TwoWritesToOneFileNeverInterleave) {
    RawClient a, b;
    a.send(Wrq("cfg.DCF"), port);
    auto a0 = a.recv();
    ASSERT_TRUE(a0 && a0->isAck(0));
    b.send(Wrq("cfg.DCF"), port);
    auto refused = b.recv();
    ASSERT_TRUE(refused && refused->isError(2));
    Advance(0); // the refused session goes now
    a.send(Data(1, "first"), a0->from.port);
    ASSERT_TRUE(a.recv()->isAck(1));
    EXPECT_EQ(ReadFile(dir.file("cfg.DCF")), "first");
    Settle();
    EXPECT_EQ(codes, (std::vector<int>{C, T, C, TFTP_ACCESS_VIOLATION, D, S, D}));
}

TEST_F(ServerTest, RequestsFromAnotherHostAreRefused) {
    WriteFile(dir.file("a.bin"), "x");
    server.Start(dir.path(), 69, "127.0.0.2"); // started: only the device changes
    EXPECT_EQ(server.LocalPort(), port);
    RawClient c;
    c.send(Rrq("a.bin"), port);
    auto e = c.recv();
    ASSERT_TRUE(e && e->isError(2));
    EXPECT_EQ(e->from.port, port);
    EXPECT_EQ(server.SessionCount(), 0u);
    EXPECT_TRUE(codes.empty());
}

namespace {

// A name with a label longer than 63 bytes: refused by the resolver before
// any query is made.
const std::string kUnresolvable = std::string(64, 'a') + ".invalid";

} // namespace

TEST(TFTPServerStartTest, DeviceAddressThatDoesNotResolveFailsTheStart) {
    TempDir dir;
    for (const std::string& device : {std::string(), kUnresolvable}) {
        QvTFTPServer server;
        server.SetListenAddress("127.0.0.1");
        try {
            server.Start(dir.path(), 0, device);
            ADD_FAILURE() << "started for '" << device << "'";
        } catch (const QvTFTPException& e) {
            EXPECT_EQ(e.code(), TFTP_SOCKET_FAILED) << device;
            EXPECT_STREQ(e.what(), TFTPStatusText(TFTP_SOCKET_FAILED).c_str());
        }
        EXPECT_FALSE(server.isStarted()) << device;
    }
}

TEST_F(ServerTest, RestartWithAnUnresolvableDeviceFailsAndChangesNothing) {
    WriteFile(dir.file("a.bin"), "still served");
    TempDir other;
    EXPECT_THROW(server.Start(other.path(), 0, kUnresolvable), QvTFTPException);
    EXPECT_TRUE(server.isStarted());
    EXPECT_EQ(server.LocalPort(), port);
    EXPECT_EQ(server.RootFolder(), dir.path() + "/");
    RawClient c;
    EXPECT_EQ(Download(c, port, "a.bin"), "still served");
}

namespace {

// Upload temporaries are ".tftp-upload.<pid>.<run token>.<n>.part".
struct TempName {
    long pid = 0;
    std::string token;
};

std::optional<TempName> ParseTempName(const std::string& name) {
    static const std::regex re(R"(\.tftp-upload\.([0-9]+)\.([0-9a-f]{16})\.[0-9]+\.part)");
    std::smatch m;
    if (!std::regex_match(name, m, re)) return std::nullopt;
    return TempName{std::stol(m[1]), m[2]};
}

std::string TempFileName(long pid, const std::string& token, int n) {
    return ".tftp-upload." + std::to_string(pid) + "." + token + "." + std::to_string(n) + ".part";
}

// The pid of a child that has ended and been reaped.
long EndedPid() {
    const pid_t child = ::fork();
    if (child == 0) ::_exit(0);
    if (child < 0) return -1;
    ::waitpid(child, nullptr, 0);
    return child;
}

} // namespace

TEST_F(ServerTest, StartSweepsTemporariesOfEndedRunsOnly) {
    // A second server of this process is mid-upload in the folder.
    QvTFTPServer live;
    live.SetListenAddress("127.0.0.1");
    live.Start(dir.path(), 0, "127.0.0.1");
    RawClient c;
    c.send(Wrq("live.DCF"), static_cast<std::uint16_t>(live.LocalPort()));
    auto a0 = c.recv();
    ASSERT_TRUE(a0 && a0->isAck(0));
    std::string liveTemp;
    for (const std::string& n : ListDir(dir.path()))
        if (ParseTempName(n)) liveTemp = n;
    ASSERT_FALSE(liveTemp.empty()) << "no temporary for the running upload";
    const TempName self = *ParseTempName(liveTemp);
    ASSERT_EQ(self.pid, static_cast<long>(::getpid()));
    std::string otherRun = self.token;
    otherRun[0] = otherRun[0] == '0' ? '1' : '0';
    const long ended = EndedPid();
    ASSERT_GT(ended, 0);

    const std::vector<std::string> swept = {
        TempFileName(ended, self.token, 0),
        TempFileName(ended, otherRun, 7),
        TempFileName(self.pid, otherRun, 3), // an earlier run that had this pid
    };
    const std::vector<std::string> kept = {
        "cfg.DCF",
        ".tftp-upload.notes",
        TempFileName(ended, self.token, 1) + ".bak",
        TempFileName(static_cast<long>(::getppid()), otherRun, 0), // a running program's
    };
    for (const auto& n : swept)
        WriteFile(dir.file(n), "left over");
    for (const auto& n : kept)
        WriteFile(dir.file(n), "keep");
    ASSERT_EQ(::mkdir(dir.file(TempFileName(ended, self.token, 2)).c_str(), 0755), 0);

    server.Start(dir.path(), 0, "127.0.0.1"); // already started: the folder is taken again
    std::set<std::string> expected(kept.begin(), kept.end());
    expected.insert(liveTemp);
    expected.insert(TempFileName(ended, self.token, 2)); // a folder is never removed
    EXPECT_EQ(ListDir(dir.path()), expected);

    // The running upload goes on undisturbed.
    c.send(Data(1, "live data"), a0->from.port);
    auto a1 = c.recv();
    ASSERT_TRUE(a1 && a1->isAck(1));
    EXPECT_EQ(ReadFile(dir.file("live.DCF")), "live data");

    // A server that is not yet started sweeps at its Start as well.
    WriteFile(dir.file(swept[0]), "left over");
    QvTFTPServer fresh;
    fresh.SetListenAddress("127.0.0.1");
    fresh.Start(dir.path(), 0, "127.0.0.1");
    EXPECT_FALSE(ListDir(dir.path()).count(swept[0]));
}

TEST_F(ServerTest, StartWhileStartedTakesTheNewFolder) {
    TempDir other;
    WriteFile(other.file("b.bin"), "from the other folder");
    server.Start(other.path(), 0, "127.0.0.1");
    EXPECT_EQ(server.LocalPort(), port);
    EXPECT_EQ(server.RootFolder(), other.path() + "/");
    RawClient c;
    EXPECT_EQ(Download(c, port, "b.bin"), "from the other folder");
    Settle();
    server.Start("", 0, "127.0.0.1");
    EXPECT_EQ(server.RootFolder(), "");
    c.send(Rrq("b.bin"), port);
    auto refused = c.recv();
    ASSERT_TRUE(refused);
    EXPECT_TRUE(refused->isError(2)) << "no folder: nothing is served";
}

TEST_F(ServerTest, AWindowsStyleFolderIsServed) {
    ASSERT_EQ(::mkdir(dir.file("Firmware").c_str(), 0755), 0);
    WriteFile(dir.file("Firmware/ap.tfp"), "image");
    // Backslashes and another case, as a folder typed on the PC side reads.
    server.Start(dir.path() + "\\FIRMWARE\\", 0, "127.0.0.1");
    RawClient c;
    EXPECT_EQ(Download(c, port, "ap.tfp"), "image");
    ASSERT_NE(Upload(c, port, "cfg.DCF", "settings"), 0);
    EXPECT_EQ(ReadFile(dir.file("Firmware/cfg.DCF")), "settings");
}

TEST_F(ServerTest, NetasciiIsMovedAsRawBytes) {
    const Bytes data = Bytes("line\r\nbare\rcr\nnul\0end\n", 22) + RandomBytes(600, 9);
    WriteFile(dir.file("a.txt"), data);
    RawClient c;
    EXPECT_EQ(Download(c, port, "a.txt", "netascii"), data);
    ASSERT_NE(Upload(c, port, "b.txt", data, "NETASCII"), 0);
    EXPECT_EQ(ReadFile(dir.file("b.txt")), data);
}

TEST_F(ServerTest, OptionsAreIgnoredNeverAnswered) {
    WriteFile(dir.file("a.bin"), RandomBytes(3000, 10));
    RawClient c;
    c.send(Request(TFTP_OP_RRQ, "a.bin", "octet",
                   Bytes("blksize\0"
                         "1468\0tsize\0"
                         "0\0timeout\0"
                         "5\0",
                         28)),
           port);
    auto d1 = c.recv();
    ASSERT_TRUE(d1);
    EXPECT_TRUE(d1->isData(1)) << "no OACK";
    EXPECT_EQ(d1->payload().size(), 512u);
}

TEST_F(ServerTest, FileNeedingBlock65536IsRefusedAtOnce) {
    const off_t limit = static_cast<off_t>(65535) * 512;
    for (off_t size : {limit - 1, limit}) {
        codes.clear();
        const std::string name = "big" + std::to_string(size);
        int fd = ::open(dir.file(name).c_str(), O_CREAT | O_WRONLY, 0644);
        ASSERT_GE(fd, 0);
        ASSERT_EQ(::ftruncate(fd, size), 0); // sparse
        ::close(fd);
        RawClient c;
        c.send(Rrq(name), port);
        auto p = c.recv();
        ASSERT_TRUE(p);
        if (size < limit) {
            EXPECT_TRUE(p->isData(1));
            c.send(Error(0), p->from.port);
        } else {
            EXPECT_TRUE(p->isError(0));
        }
        Settle();
        if (size == limit) {
            EXPECT_EQ(codes, (std::vector<int>{C, TFTP_UNDEFINED_ERROR, D}));
        }
    }
}

TEST_F(ServerTest, UploadFailsWhenBlock65535IsFull) {
    RawClient c;
    c.send(Wrq("huge.bin"), port);
    auto a0 = c.recv();
    ASSERT_TRUE(a0 && a0->isAck(0));
    const Bytes block(512, 'z');
    for (unsigned b = 1; b < 65535; ++b) {
        c.send(Data(b, block), a0->from.port);
        auto a = c.recv();
        ASSERT_TRUE(a && a->isAck(static_cast<int>(b))) << b;
    }
    c.send(Data(65535, block), a0->from.port);
    auto e = c.recv();
    ASSERT_TRUE(e && e->isError(0));
    Settle();
    EXPECT_EQ(codes.back(), D);
    EXPECT_EQ(codes[codes.size() - 2], TFTP_UNDEFINED_ERROR);
    EXPECT_TRUE(ListDir(dir.path()).empty());
}

TEST_F(ServerTest, WriteErrorIsDiskFullAndKeepsTheOldFile) {
    WriteFile(dir.file("cfg.DCF"), "old");
    struct rlimit old {};
    ASSERT_EQ(getrlimit(RLIMIT_FSIZE, &old), 0);
    if (old.rlim_max != RLIM_INFINITY && old.rlim_max < 200 * 1024)
        GTEST_SKIP() << "file-size limit already below the test's needs";
    auto oldHandler = std::signal(SIGXFSZ, SIG_IGN);
    struct rlimit small = old;
    small.rlim_cur = 100 * 1024;
    ASSERT_EQ(setrlimit(RLIMIT_FSIZE, &small), 0);
    RawClient c;
    c.send(Wrq("cfg.DCF"), port);
    auto a0 = c.recv();
    int errorAt = 0;
    if (a0 && a0->isAck(0)) {
        for (unsigned b = 1; b <= 600 && !errorAt; ++b) {
            c.send(Data(b, Bytes(512, 'q')), a0->from.port);
            auto a = c.recv();
            if (!a) break;
            if (a->isError(3))
                errorAt = static_cast<int>(b);
            else if (!a->isAck(static_cast<int>(b)))
                break;
        }
    }
    setrlimit(RLIMIT_FSIZE, &old);
    std::signal(SIGXFSZ, oldHandler);
    EXPECT_GT(errorAt, 0) << "no ERROR 3 before 300 KiB";
    Settle();
    EXPECT_EQ(codes.back(), D);
    EXPECT_EQ(codes[codes.size() - 2], TFTP_DISK_FULL);
    EXPECT_EQ(texts[texts.size() - 2], "(QvTFTP) Disk full!");
    EXPECT_EQ(ReadFile(dir.file("cfg.DCF")), "old");
    EXPECT_EQ(ListDir(dir.path()), std::set<std::string>{"cfg.DCF"});
}

TEST_F(ServerTest, PortAlreadyTakenIsReported) {
    QvTFTPServer second;
    second.SetListenAddress("127.0.0.1");
    try {
        second.Start(dir.path(), port, "127.0.0.1");
        FAIL() << "second server shared the port";
    } catch (const QvTFTPException& e) {
        EXPECT_EQ(e.code(), TFTP_SOCKET_FAILED);
        EXPECT_STREQ(e.what(),
                     "(QvTFTP) Fail to open socket!Please check if the network is ready.");
    }
    EXPECT_FALSE(second.isStarted());
}

TEST_F(ServerTest, StopWithoutSessionsReturnsAtOnceAndCanStartAgain) {
    server.Stop();
    EXPECT_FALSE(server.isStarted());
    server.Start(dir.path(), 0, "127.0.0.1");
    port = static_cast<std::uint16_t>(server.LocalPort());
    WriteFile(dir.file("a.bin"), "again");
    RawClient c;
    EXPECT_EQ(Download(c, port, "a.bin"), "again");
}

TEST_F(ServerTest, StopAbortsAStuckSessionAfterItsBoundedWait) {
    server.SetTimeout(1000000, 3); // the session itself would wait far longer
    RawClient c;
    c.send(Wrq("up.bin"), port);
    auto a0 = c.recv();
    ASSERT_TRUE(a0 && a0->isAck(0));
    c.send(Data(1, Bytes(512, 'a')), a0->from.port);
    ASSERT_TRUE(c.recv()->isAck(1));
    // Let the test clock run fast while Stop waits.
    server.SetClock([this] { return now += 500; });
    server.Stop();
    EXPECT_EQ(server.SessionCount(), 0u);
    EXPECT_EQ(codes, (std::vector<int>{C, T, T, TFTP_CANCELED, D}));
    EXPECT_TRUE(ListDir(dir.path()).empty()) << "aborted upload left its temporary";
}

TEST_F(ServerTest, StopWaitsForATransferThatEnds) {
    WriteFile(dir.file("a.bin"), "abc");
    RawClient c;
    c.send(Rrq("a.bin"), port);
    ASSERT_TRUE(c.recv()->isData(1));
    // The client answers from inside Stop's wait: the status closure acks.
    server.SetOnStatus([&](TFTPStatus* s, bool*) { codes.push_back(s->code); });
    bool acked = false;
    QTimer::singleShot(30, [&] {
        c.send(Ack(1), server.Sessions().front()->localPort());
        acked = true;
    });
    server.Stop();
    EXPECT_TRUE(acked);
    EXPECT_EQ(codes, (std::vector<int>{C, T, S, D}));
}

TEST(TFTPServerLifetimeTest, NoClosureRunsOnceDestructionHasBegun) {
    TempDir dir;
    WriteFile(dir.file("cfg.DCF"), "keep");
    std::vector<int> codes;
    auto* server = new QvTFTPServer;
    server->SetListenAddress("127.0.0.1");
    server->SetOnStatus([&](TFTPStatus* s, bool*) { codes.push_back(s->code); });
    server->Start(dir.path(), 0, "127.0.0.1");
    RawClient c;
    c.send(Wrq("cfg.DCF"), static_cast<std::uint16_t>(server->LocalPort()));
    auto a0 = c.recv();
    ASSERT_TRUE(a0 && a0->isAck(0));
    c.send(Data(1, Bytes(512, 'n')), a0->from.port);
    ASSERT_TRUE(c.recv()->isAck(1));
    const auto seen = codes;
    delete server;
    EXPECT_EQ(codes, seen);
    EXPECT_EQ(ReadFile(dir.file("cfg.DCF")), "keep");
    EXPECT_EQ(ListDir(dir.path()), std::set<std::string>{"cfg.DCF"});
}

TEST(TFTPServerLifetimeTest, OwnerDeletesTheServer) {
    TempDir dir;
    std::vector<int> codes;
    auto* owner = new QObject;
    QPointer<QvTFTPServer> server = new QvTFTPServer(owner);
    server->SetListenAddress("127.0.0.1");
    server->SetOnStatus([&](TFTPStatus* s, bool*) { codes.push_back(s->code); });
    server->Start(dir.path(), 0, "127.0.0.1");
    ASSERT_TRUE(server->isStarted());
    const auto port = static_cast<std::uint16_t>(server->LocalPort());
    RawClient c;
    c.send(Wrq("cfg.DCF"), port);
    auto a0 = c.recv();
    ASSERT_TRUE(a0 && a0->isAck(0));
    const auto seen = codes;
    delete owner;
    EXPECT_TRUE(server.isNull());
    EXPECT_EQ(codes, seen) << "a closure ran during the owner's destruction";
    EXPECT_TRUE(ListDir(dir.path()).empty()) << "the upload's temporary is left";
    os::UdpSocket rebind; // both sockets are closed
    EXPECT_TRUE(rebind.open(os::kLoopbackAddress, port));
    EXPECT_TRUE(rebind.open(os::kLoopbackAddress, a0->from.port));
}

// A status closure that runs an event loop, as a message box does. Inside it
// the fake clock runs far past every time-out and linger while the timer
// ticks; the session that is reporting must be left alone until its closure
// returns, and every status must be reported once.
class NestedLoopTest;

namespace {

struct NestedRow {
    const char* name;
    int loopOn; // the first report of this code runs the loop
    std::function<void(NestedLoopTest&)> script;
    std::vector<int> expected;
    int stepMs = 500; // fake time per pass of the loop
    // Runs at the loop's first pass.
    std::function<void(NestedLoopTest&)> during = nullptr;
};

void PrintTo(const NestedRow& row, std::ostream* os) {
    *os << row.name;
}

} // namespace

class NestedLoopTest : public ServerTest, public ::testing::WithParamInterface<NestedRow> {
public:
    void SetUp() override {
        ServerTest::SetUp();
        server.SetOnStatus([this](TFTPStatus* s, bool*) {
            codes.push_back(s->code);
            if (reporting == s) insideOwnLoop.push_back(s->code);
            if (s->code == GetParam().loopOn && !reporting && !looped) {
                looped = true;
                reporting = s;
                RunLoop();
                reporting = nullptr;
            }
        });
    }
    // 40 passes of the loop, each moving the fake clock and ticking the timer.
    void RunLoop() {
        QEventLoop loop;
        QTimer pass;
        int passes = 0;
        QObject::connect(&pass, &QTimer::timeout, [&] {
            if (passes == 0 && GetParam().during) GetParam().during(*this);
            now += GetParam().stepMs;
            server.OnTimer();
            if (++passes == 40) loop.quit();
        });
        pass.start(0);
        loop.exec();
    }
    // The test clock is polled while a reader stays silent until it gives up.
    void SilentReader() {
        WriteFile(dir.file("a.bin"), "abc");
        RawClient c;
        c.send(Rrq("a.bin"), port);
        auto d1 = c.recv();
        ASSERT_TRUE(d1 && d1->isData(1));
        Settle();
    }

    RawClient client;
    TFTPStatus* reporting = nullptr;
    bool looped = false;
    std::vector<int> insideOwnLoop;
};

TEST_P(NestedLoopTest, ReportingSessionIsLeftAloneUntilItsClosureReturns) {
    GetParam().script(*this);
    Settle();
    EXPECT_TRUE(looped) << "the loop never ran";
    EXPECT_EQ(server.SessionCount(), 0u);
    EXPECT_TRUE(insideOwnLoop.empty())
        << "the session went on inside its own closure: " << ::testing::PrintToString(insideOwnLoop);
    EXPECT_EQ(codes, GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(
    Closures, NestedLoopTest,
    ::testing::Values(
        NestedRow{"ReaderFirstBlock", T, [](NestedLoopTest& t) { t.SilentReader(); },
                  {C, T, T, T, TFTP_TIMEOUT, D}},
        NestedRow{"ReaderTimeOut", TFTP_TIMEOUT, [](NestedLoopTest& t) { t.SilentReader(); },
                  {C, T, T, T, TFTP_TIMEOUT, D}},
        NestedRow{"ReaderGetsError", TFTP_UNDEFINED_ERROR,
                  [](NestedLoopTest& t) {
                      WriteFile(t.dir.file("a.bin"), "abc");
                      RawClient c;
                      c.send(Rrq("a.bin"), t.port);
                      auto d1 = c.recv();
                      ASSERT_TRUE(d1 && d1->isData(1));
                      c.send(Error(0), d1->from.port);
                      EXPECT_TRUE(c.silent());
                  },
                  {C, T, TFTP_UNDEFINED_ERROR, D}},
        NestedRow{"WriterFirstAck", T,
                  [](NestedLoopTest& t) {
                      RawClient c;
                      c.send(Wrq("up.bin"), t.port);
                      auto a0 = c.recv();
                      ASSERT_TRUE(a0 && a0->isAck(0));
                      t.Settle();
                      EXPECT_TRUE(ListDir(t.dir.path()).empty());
                  },
                  {C, T, T, T, TFTP_TIMEOUT, D}},
        NestedRow{"WriterSuccessPastItsLinger", S,
                  [](NestedLoopTest& t) {
                      RawClient c;
                      ASSERT_NE(Upload(c, t.port, "up.bin", "abc"), 0);
                      EXPECT_EQ(ReadFile(t.dir.file("up.bin")), "abc");
                  },
                  {C, T, S, D}},
        NestedRow{"Disconnect", D,
                  [](NestedLoopTest& t) {
                      WriteFile(t.dir.file("a.bin"), "abc");
                      RawClient c;
                      EXPECT_EQ(Download(c, t.port, "a.bin"), "abc");
                  },
                  {C, T, S, D}},
        // The peer's ACK arrives while the closure of the DATA it answers
        // still runs: it is taken once the closure returns.
        NestedRow{"ReaderAckedDuringTheLoop", T,
                  [](NestedLoopTest& t) {
                      WriteFile(t.dir.file("a.bin"), "abc");
                      t.client.send(Rrq("a.bin"), t.port);
                      ASSERT_TRUE(WaitUntil([&] { return t.looped && t.reporting == nullptr; }));
                  },
                  {C, T, S, D}, 0,
                  [](NestedLoopTest& t) {
                      auto d1 = t.client.recv();
                      ASSERT_TRUE(d1 && d1->isData(1));
                      t.client.send(Ack(1), d1->from.port);
                      EXPECT_TRUE(t.client.silent());
                  }},
        // A lingering writer listed before the reader leaves inside the
        // reader's closure.
        NestedRow{"AnotherSessionLeavesMeanwhile", TFTP_TIMEOUT,
                  [](NestedLoopTest& t) {
                      WriteFile(t.dir.file("a.bin"), "abc");
                      RawClient w, r;
                      t.server.SetTimeout(500, 3);
                      w.send(Wrq("up.bin"), t.port);
                      auto a0 = w.recv();
                      ASSERT_TRUE(a0 && a0->isAck(0));
                      t.server.SetTimeout(100, 3);
                      r.send(Rrq("a.bin"), t.port);
                      ASSERT_TRUE(r.recv()->isData(1));
                      t.Advance(1000);
                      t.Advance(1000);
                      t.Advance(500);
                      w.send(Data(1, "x"), a0->from.port);
                      ASSERT_TRUE(w.recv()->isAck(1));
                      t.Advance(500);
                  },
                  {C, T, C, T, T, T, S, TFTP_TIMEOUT, D, D}}),
    [](const auto& info) { return std::string(info.param.name); });
