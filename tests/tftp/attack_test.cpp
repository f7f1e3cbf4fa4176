// The classic attack and failure list of TFTP servers, one row each, over raw
// datagrams. After every row nothing outside the served folder has changed,
// the folder holds only what the row expects, and no session is left.
#include "TftpHarness.h"

#include <fcntl.h>
#include <functional>
#include <sys/stat.h>

using namespace tftptest;

class AttackTest;

namespace {

const Bytes kGood = RandomBytes(1300, 42);
const Bytes kSecret = "outside the folder";

struct AttackRow {
    const char* name;
    std::function<void(AttackTest&)> script;
    // Names the folder holds afterwards besides the fixture's own.
    std::set<std::string> extraFiles = {};
};

void PrintTo(const AttackRow& row, std::ostream* os) {
    *os << row.name;
}

} // namespace

class AttackTest : public ServerTest, public ::testing::WithParamInterface<AttackRow> {
public:
    void SetUpFolder() {
        WriteFile(dir.file("good.bin"), kGood);
        WriteFile(outside.file("secret"), kSecret);
        ASSERT_EQ(::mkdir(dir.file("sub").c_str(), 0755), 0);
        WriteFile(dir.file("sub/inner"), "inner");
        ASSERT_EQ(::symlink(outside.file("secret").c_str(), dir.file("link").c_str()), 0);
        ASSERT_EQ(::mkfifo(dir.file("fifo").c_str(), 0644), 0);
        fixtureFiles = ListDir(dir.path());
    }

    // Sends one request; the answer, if any.
    std::optional<Packet> Ask(const Bytes& packet, int ms = 300) {
        client.send(packet, port);
        return client.recv(ms);
    }
    void ExpectError(const Bytes& packet, int code) {
        auto p = Ask(packet);
        ASSERT_TRUE(p) << "no answer";
        EXPECT_TRUE(p->isError(code)) << *p;
    }
    void ExpectSilence(const Bytes& packet) {
        client.send(packet, port);
        EXPECT_TRUE(client.silent(150));
        EXPECT_EQ(server.SessionCount(), 0u);
    }
    // A read that must be served whole from the folder's good.bin.
    void ExpectGoodDownload(const Bytes& request) {
        client.send(request, port);
        Bytes got;
        for (int block = 1; block < 10; ++block) {
            auto p = client.recv();
            ASSERT_TRUE(p && p->isData(block)) << "block " << block;
            got += p->payload();
            client.send(Ack(static_cast<unsigned>(block)), p->from.port);
            if (p->payload().size() < 512) break;
        }
        EXPECT_EQ(got, kGood);
    }

protected:
    void SetUp() override;

public:
    TempDir outside{"tftp-outside"};
    RawClient client;
    std::set<std::string> fixtureFiles;
};

void AttackTest::SetUp() {
    ServerTest::SetUp();
    SetUpFolder();
}

TEST_P(AttackTest, Row) {
    GetParam().script(*this);
    Settle();
    EXPECT_EQ(server.SessionCount(), 0u);
    EXPECT_EQ(ReadFile(outside.file("secret")), kSecret);
    EXPECT_EQ(ListDir(outside.path()), std::set<std::string>{"secret"});
    std::set<std::string> expected = fixtureFiles;
    expected.insert(GetParam().extraFiles.begin(), GetParam().extraFiles.end());
    EXPECT_EQ(ListDir(dir.path()), expected);
    EXPECT_EQ(ListDir(dir.file("sub")), std::set<std::string>{"inner"});
    EXPECT_EQ(ReadFile(dir.file("sub/inner")), "inner");
    struct stat st {};
    ASSERT_EQ(::lstat(dir.file("link").c_str(), &st), 0);
    EXPECT_TRUE(S_ISLNK(st.st_mode));
    EXPECT_EQ(ReadFile(dir.file("good.bin")), kGood);
    for (int c : codes)
        EXPECT_FALSE(TFTPStatusText(c).empty()) << c;
}

namespace {

// A refused path, read and write, each with its error and status.
std::vector<AttackRow> PathRows() {
    static const std::vector<std::pair<const char*, int>> fixed = {
        {"../secret", 2},
        {"/../secret", 2},
        {"..", 2},
        {".", 2},
        {"", 2},
        {"sub/inner", 2},
        {"sub\\inner", 2},
        {"..\\secret", 2},
        {"\\etc\\passwd", 2},
        {"link", 2},
        {"sub", 2},
        {"fifo", 2},
        {".hidden", 2},
        {"good.bin/..", 2},
        {"a/../good.bin", 2},
        {"missing.bin", 1},
        {"C:\\good.bin", 2},
    };
    std::vector<AttackRow> rows;
    for (const auto& [path, readError] : fixed) {
        const Bytes p = path;
        const int re = readError;
        rows.push_back({"read", [p, re](AttackTest& t) {
                            t.ExpectError(Rrq(p), re);
                            t.Settle();
                            EXPECT_EQ(t.codes, (std::vector<int>{TFTP_CONNECTED,
                                                                 re == 1 ? TFTP_FILE_NOT_FOUND
                                                                         : TFTP_ACCESS_VIOLATION,
                                                                 TFTP_DISCONNECTED}));
                        }});
        if (p != "missing.bin") {
            rows.push_back({"write", [p](AttackTest& t) {
                                t.ExpectError(Wrq(p), 2);
                                t.Settle();
                                EXPECT_EQ(t.codes,
                                          (std::vector<int>{TFTP_CONNECTED, TFTP_ACCESS_VIOLATION,
                                                            TFTP_DISCONNECTED}));
                            }});
        }
    }
    return rows;
}

std::vector<AttackRow> Rows() {
    std::vector<AttackRow> rows = PathRows();
    auto add = [&rows](AttackRow r) { rows.push_back(std::move(r)); };

    add({"AbsoluteReadOutside",
         [](AttackTest& t) { t.ExpectError(Rrq(t.outside.file("secret")), 2); }});
    add({"AbsoluteWriteOutside", [](AttackTest& t) {
             t.ExpectError(Wrq(t.outside.file("secret")), 2);
             t.ExpectError(Wrq(t.outside.file("new")), 2);
         }});
    add({"WriteThroughSymlink", [](AttackTest& t) { t.ExpectError(Wrq("link"), 2); }});
    for (std::size_t n : {100u, 255u}) {
        add({"LongNameRead", [n](AttackTest& t) { t.ExpectError(Rrq(Bytes(n, 'n')), 1); }});
        add({"LongNameWriteNoData", [n](AttackTest& t) {
                 auto p = t.Ask(Wrq(Bytes(n, 'w')));
                 ASSERT_TRUE(p && p->isAck(0)); // then silence: times out, leaves nothing
             }});
    }
    for (std::size_t n : {256u, 1000u, 2000u}) {
        add({"OverlongName", [n](AttackTest& t) {
                 t.ExpectError(Rrq(Bytes(n, 'n')), 2);
                 t.ExpectError(Wrq(Bytes(n, 'n')), 2);
             }});
    }
    add({"NameTooLongForADatagramBuffer",
         [](AttackTest& t) { t.ExpectSilence(Rrq(Bytes(3000, 'n'))); }});
    add({"NameWithoutNul", [](AttackTest& t) {
             t.ExpectSilence(U16(TFTP_OP_RRQ) + "good.bin");
             t.ExpectSilence(U16(TFTP_OP_WRQ) + "new.bin");
         }});
    add({"ModeWithoutNul", [](AttackTest& t) {
             t.ExpectSilence(U16(TFTP_OP_RRQ) + "good.bin" + Nul() + "octet");
             t.ExpectSilence(U16(TFTP_OP_WRQ) + "new.bin" + Nul() + "octet");
             t.ExpectSilence(U16(TFTP_OP_RRQ) + "good.bin" + Nul());
         }});
    add({"ShortPackets", [](AttackTest& t) {
             for (const Bytes& b : {Bytes(), Bytes(1, '\0'), U16(1), U16(1) + "a"})
                 t.ExpectSilence(b);
         }});
    add({"UnknownOpcodes", [](AttackTest& t) {
             for (unsigned op : {0u, 3u, 4u, 6u, 7u, 99u, 65535u})
                 t.ExpectSilence(U16(op) + "good.bin" + Nul() + "octet" + Nul());
         }});
    add({"OverlongErrorPacketToServer",
         [](AttackTest& t) { t.ExpectSilence(Error(0, Bytes(1400, 'e'))); }});
    add({"OverlongErrorPacketToSession", [](AttackTest& t) {
             auto d1 = t.Ask(Rrq("good.bin"));
             ASSERT_TRUE(d1 && d1->isData(1));
             t.client.send(Error(2, Bytes(60000, 'e')), d1->from.port);
             EXPECT_TRUE(t.client.silent());
             t.Settle();
             EXPECT_EQ(t.codes, (std::vector<int>{TFTP_CONNECTED, TFTP_TRANSFERRING,
                                                  TFTP_ACCESS_VIOLATION, TFTP_DISCONNECTED}));
         }});
    add({"OptionsAfterMode", [](AttackTest& t) {
             t.ExpectGoodDownload(Request(TFTP_OP_RRQ, "good.bin", "octet",
                                          Bytes("tsize\0"
                                                "0\0blksize\0"
                                                "1428\0",
                                                20)));
         }});
    add({"OptionsWithoutNuls", [](AttackTest& t) {
             t.ExpectGoodDownload(Request(TFTP_OP_RRQ, "good.bin", "octet", "blksize"));
             t.Settle();
             t.ExpectGoodDownload(Request(TFTP_OP_RRQ, "good.bin", "octet",
                                          Bytes("blksize\0"
                                                "1428",
                                                12)));
         }});
    add({"ForeignPortMidTransfer", [](AttackTest& t) {
             auto d1 = t.Ask(Rrq("good.bin"));
             ASSERT_TRUE(d1 && d1->isData(1));
             RawClient intruder;
             intruder.send(Ack(1), d1->from.port);
             intruder.send(Data(1, "junk"), d1->from.port);
             EXPECT_TRUE(intruder.recv()->isError(5));
             EXPECT_TRUE(intruder.recv()->isError(5));
             Bytes got = d1->payload();
             t.client.send(Ack(1), d1->from.port);
             for (int b = 2; b <= 3; ++b) {
                 auto p = t.client.recv();
                 ASSERT_TRUE(p && p->isData(b));
                 got += p->payload();
                 t.client.send(Ack(static_cast<unsigned>(b)), p->from.port);
             }
             EXPECT_EQ(got, kGood);
         }});
    add({"ForeignPortMidUpload",
         [](AttackTest& t) {
             auto a0 = t.Ask(Wrq("up.bin"));
             ASSERT_TRUE(a0 && a0->isAck(0));
             RawClient intruder;
             intruder.send(Data(1, "evil"), a0->from.port);
             EXPECT_TRUE(intruder.recv()->isError(5));
             t.client.send(Data(1, "fine"), a0->from.port);
             EXPECT_TRUE(t.client.recv()->isAck(1));
             EXPECT_EQ(ReadFile(t.dir.file("up.bin")), "fine");
         },
         {"up.bin"}});
    add({"ForeignAddress", [](AttackTest& t) {
             t.server.Start(t.dir.path(), 0, "127.0.0.9");
             t.ExpectError(Rrq("good.bin"), 2);
             t.ExpectError(Wrq("new.bin"), 2);
             EXPECT_TRUE(t.codes.empty());
         }});
    add({"DuplicateAndDelayedAcks", [](AttackTest& t) {
             auto d1 = t.Ask(Rrq("good.bin"));
             ASSERT_TRUE(d1 && d1->isData(1));
             const auto sp = d1->from.port;
             t.client.send(Ack(1), sp);
             ASSERT_TRUE(t.client.recv()->isData(2));
             for (int i = 0; i < 5; ++i)
                 t.client.send(Ack(1), sp); // delayed duplicates
             EXPECT_TRUE(t.client.silent()) << "duplicate DATA storm";
             t.client.send(Ack(2), sp);
             ASSERT_TRUE(t.client.recv()->isData(3));
             t.client.send(Ack(3), sp);
         }});
    add({"DuplicateDataAndLostFinalAck",
         [](AttackTest& t) {
             const Bytes b1 = RandomBytes(512, 1), b2 = RandomBytes(9, 2);
             auto a0 = t.Ask(Wrq("up.bin"));
             ASSERT_TRUE(a0 && a0->isAck(0));
             const auto sp = a0->from.port;
             for (int i = 0; i < 3; ++i) {
                 t.client.send(Data(1, b1), sp);
                 EXPECT_TRUE(t.client.recv()->isAck(1));
             }
             for (int i = 0; i < 3; ++i) {
                 t.client.send(Data(2, b2), sp);
                 EXPECT_TRUE(t.client.recv()->isAck(2));
             }
             EXPECT_EQ(ReadFile(t.dir.file("up.bin")), b1 + b2);
         },
         {"up.bin"}});
    add({"DataOver512Bytes",
         [](AttackTest& t) {
             WriteFile(t.dir.file("up.bin"), "previous");
             auto a0 = t.Ask(Wrq("up.bin"));
             ASSERT_TRUE(a0 && a0->isAck(0));
             t.client.send(Data(1, Bytes(513, 'x')), a0->from.port);
             EXPECT_TRUE(t.client.recv()->isError(4));
             t.Settle();
             EXPECT_EQ(t.codes, (std::vector<int>{TFTP_CONNECTED, TFTP_TRANSFERRING,
                                                  TFTP_BAD_OPERATION, TFTP_DISCONNECTED}));
             EXPECT_EQ(ReadFile(t.dir.file("up.bin")), "previous");
         },
         {"up.bin"}});
    add({"DataFarOver512Bytes", [](AttackTest& t) {
             auto a0 = t.Ask(Wrq("up.bin"));
             ASSERT_TRUE(a0 && a0->isAck(0));
             t.client.send(Data(1, Bytes(9000, 'x')), a0->from.port);
             EXPECT_TRUE(t.client.recv()->isError(4));
         }});
    add({"FileNeedingBlock65536",
         [](AttackTest& t) {
             int fd = ::open(t.dir.file("huge.bin").c_str(), O_CREAT | O_WRONLY, 0644);
             ASSERT_GE(fd, 0);
             ASSERT_EQ(::ftruncate(fd, static_cast<off_t>(65535) * 512 + 100), 0);
             ::close(fd);
             t.ExpectError(Rrq("huge.bin"), 0);
         },
         {"huge.bin"}});
    add({"RepeatedRequestsSamePeer", [](AttackTest& t) {
             auto d1 = t.Ask(Rrq("good.bin"));
             ASSERT_TRUE(d1 && d1->isData(1));
             for (int i = 0; i < 3; ++i)
                 t.client.send(Rrq("good.bin"), t.port);
             EXPECT_EQ(t.server.SessionCount(), 1u);
             t.client.send(Ack(1), d1->from.port);
             while (auto p = t.client.recv(150)) {
                 EXPECT_TRUE(p->isData(1) || p->isData(2)) << *p;
                 if (p->isData(2)) break;
             }
             EXPECT_EQ(t.server.SessionCount(), 1u);
         }});
    add({"TwoWritesToOneFile",
         [](AttackTest& t) {
             auto a0 = t.Ask(Wrq("up.bin"));
             ASSERT_TRUE(a0 && a0->isAck(0));
             RawClient second;
             second.send(Wrq("up.bin"), t.port);
             EXPECT_TRUE(second.recv()->isError(2));
             t.client.send(Data(1, "one"), a0->from.port);
             EXPECT_TRUE(t.client.recv()->isAck(1));
             EXPECT_EQ(ReadFile(t.dir.file("up.bin")), "one");
         },
         {"up.bin"}});
    add({"NetasciiMovedRaw",
         [](AttackTest& t) {
             t.ExpectGoodDownload(Rrq("good.bin", "netascii"));
             const Bytes raw("a\r\nb\rc\0d\n", 9);
             auto a0 = t.Ask(Wrq("text.txt", "netascii"));
             ASSERT_TRUE(a0 && a0->isAck(0));
             t.client.send(Data(1, raw), a0->from.port);
             EXPECT_TRUE(t.client.recv()->isAck(1));
             EXPECT_EQ(ReadFile(t.dir.file("text.txt")), raw);
         },
         {"text.txt"}});
    add({"PortAlreadyTaken", [](AttackTest& t) {
             QvTFTPServer second;
             second.SetListenAddress("127.0.0.1");
             EXPECT_THROW(second.Start(t.dir.path(), t.port, "127.0.0.1"), QvTFTPException);
             t.ExpectGoodDownload(Rrq("good.bin"));
         }});
    add({"RandomDatagramBurst", [](AttackTest& t) {
             std::mt19937 rng(7);
             auto d1 = t.Ask(Rrq("good.bin"));
             ASSERT_TRUE(d1 && d1->isData(1));
             RawClient noise;
             for (int i = 0; i < 2000; ++i) {
                 Bytes b = RandomBytes(rng() % 600, static_cast<unsigned>(i));
                 if (b.size() >= 2 && (i % 3) == 0) {
                     b[0] = 0;
                     b[1] = static_cast<char>(rng() % 7);
                 }
                 // Alternate the listening port, the session's port and the
                 // session's peer socket as sender.
                 RawClient& from = (i % 5 == 0) ? t.client : noise;
                 from.send(b, (i % 2) ? t.port : d1->from.port);
                 if (i % 50 == 0) QCoreApplication::processEvents();
             }
             Pump(100);
             t.Settle();
             // A normal transfer still succeeds afterwards.
             RawClient fresh;
             fresh.send(Rrq("good.bin"), t.port);
             Bytes got;
             for (int block = 1; block < 10; ++block) {
                 auto p = fresh.recv();
                 ASSERT_TRUE(p && p->isData(block));
                 got += p->payload();
                 fresh.send(Ack(static_cast<unsigned>(block)), p->from.port);
                 if (p->payload().size() < 512) break;
             }
             EXPECT_EQ(got, kGood);
         }});
    return rows;
}

std::string RowName(const ::testing::TestParamInfo<AttackRow>& info) {
    std::string n = std::string(info.param.name) + "_" + std::to_string(info.index);
    for (char& c : n)
        if (!std::isalnum(static_cast<unsigned char>(c))) c = '_';
    return n;
}

} // namespace

INSTANTIATE_TEST_SUITE_P(Attacks, AttackTest, ::testing::ValuesIn(Rows()), RowName);
