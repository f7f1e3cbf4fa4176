// Transfers with TFTP clients that were not written here: curl (with and
// without its default options) and the tftp-hpa client.
#include "TftpHarness.h"

#include <QStandardPaths>
#include <ostream>
#include <sys/stat.h>

using namespace tftptest;

namespace {

enum class Client { CurlNoOptions, CurlDefault, TftpHpa };

const char* ClientName(Client c) {
    switch (c) {
    case Client::CurlNoOptions:
        return "CurlNoOptions";
    case Client::CurlDefault:
        return "CurlDefault";
    case Client::TftpHpa:
        return "TftpHpa";
    }
    return "?";
}

// What the test list shows for a parameter: readable and the same every run
// (gtest's default prints the raw bytes, padding included).
void PrintTo(Client c, std::ostream* os) { *os << ClientName(c); }

QString Program(Client c) {
    return QStandardPaths::findExecutable(c == Client::TftpHpa ? "tftp" : "curl");
}

class ClientTest : public ::testing::Test {
protected:
    void SetUp() override {
        server.SetListenAddress("127.0.0.1");
        server.SetTimeout(50, 3);
        server.SetOnStatus([this](TFTPStatus* s, bool*) { codes.push_back(s->code); });
        server.Start(served.path(), 0, "127.0.0.1");
        port = server.LocalPort();
    }
    void TearDown() override { server.Stop(); }

    void RequireClient(Client c) {
        if (Program(c).isEmpty()) GTEST_SKIP() << ClientName(c) << " is not installed";
    }
    QString Url(const std::string& name) const {
        return QString("tftp://127.0.0.1:%1/%2").arg(port).arg(QString::fromStdString(name));
    }
    // One transfer of local to or from the server's remote name.
    ProcessResult Transfer(Client c, bool get, const std::string& local,
                           const std::string& remote) {
        const QString l = QString::fromStdString(local);
        const QString r = QString::fromStdString(remote);
        if (c == Client::TftpHpa)
            return RunClient(Program(c), {"-m", "octet", "127.0.0.1", QString::number(port), "-c",
                                          get ? "get" : "put", get ? r : l, get ? l : r});
        QStringList args{"-sS", "--path-as-is", "--max-time", "120"};
        if (c == Client::CurlNoOptions) args << "--tftp-no-options";
        if (get)
            args << Url(remote) << "-o" << l;
        else
            args << "-T" << l << Url(remote);
        return RunClient(Program(c), args);
    }
    ProcessResult Get(Client c, const std::string& name, const std::string& out) {
        return Transfer(c, true, out, name);
    }
    ProcessResult Put(Client c, const std::string& file, const std::string& name) {
        return Transfer(c, false, file, name);
    }
    // Waits until every session is gone (an upload lingers one time-out).
    void Drain() {
        EXPECT_TRUE(WaitUntil([this] { return server.SessionCount() == 0; }, 10000));
    }

    TempDir served{"tftp-served"};
    TempDir local{"tftp-local"};
    QvTFTPServer server;
    std::vector<int> codes;
    int port = 0;
};

struct Case {
    Client client;
    std::size_t size;
};

void PrintTo(const Case& c, std::ostream* os) {
    *os << ClientName(c.client) << ", " << c.size << " bytes";
}

class ClientTransferTest : public ClientTest, public ::testing::WithParamInterface<Case> {};

TEST_P(ClientTransferTest, DownloadIsByteIdentical) {
    const auto [client, size] = GetParam();
    RequireClient(client);
    const Bytes data = RandomBytes(size, static_cast<unsigned>(size) + 11);
    WriteFile(served.file("fw.tfp"), data);
    auto r = Get(client, "fw.tfp", local.file("out"));
    ASSERT_TRUE(r.finished) << r.output;
    EXPECT_EQ(r.exitCode, 0) << r.output;
    EXPECT_EQ(ReadFile(local.file("out")), data);
    Drain();
    ASSERT_GE(codes.size(), 3u);
    EXPECT_EQ(codes.front(), TFTP_CONNECTED);
    EXPECT_EQ(codes[codes.size() - 2], TFTP_SUCCESS);
    EXPECT_EQ(codes.back(), TFTP_DISCONNECTED);
    EXPECT_EQ(std::count(codes.begin(), codes.end(), TFTP_TRANSFERRING),
              static_cast<long>(size / 512 + 1))
        << "no resends on loopback";
}

TEST_P(ClientTransferTest, UploadIsByteIdentical) {
    const auto [client, size] = GetParam();
    RequireClient(client);
    const Bytes data = RandomBytes(size, static_cast<unsigned>(size) + 13);
    WriteFile(local.file("in.DCF"), data);
    WriteFile(served.file("cfg.DCF"), "previous contents");
    auto r = Put(client, local.file("in.DCF"), "cfg.DCF");
    ASSERT_TRUE(r.finished) << r.output;
    EXPECT_EQ(r.exitCode, 0) << r.output;
    Drain();
    EXPECT_EQ(ReadFile(served.file("cfg.DCF")), data);
    EXPECT_EQ(ListDir(served.path()), std::set<std::string>{"cfg.DCF"});
    ASSERT_GE(codes.size(), 3u);
    EXPECT_EQ(codes[codes.size() - 2], TFTP_SUCCESS);
    EXPECT_EQ(codes.back(), TFTP_DISCONNECTED);
}

std::vector<Case> Cases() {
    std::vector<Case> cases;
    for (Client c : {Client::CurlNoOptions, Client::CurlDefault, Client::TftpHpa})
        for (std::size_t n : {0u, 1u, 511u, 512u, 513u, 1024u, 3u * 1024 * 1024 + 77})
            cases.push_back({c, n});
    return cases;
}

std::string CaseName(const ::testing::TestParamInfo<Case>& info) {
    return std::string(ClientName(info.param.client)) + "_" + std::to_string(info.param.size);
}

INSTANTIATE_TEST_SUITE_P(Clients, ClientTransferTest, ::testing::ValuesIn(Cases()), CaseName);

class ClientFailureTest : public ClientTest, public ::testing::WithParamInterface<Client> {};

TEST_P(ClientFailureTest, MissingFileIsReported) {
    RequireClient(GetParam());
    auto r = Get(GetParam(), "missing.tfp", local.file("out"));
    ASSERT_TRUE(r.finished) << r.output;
    if (GetParam() == Client::TftpHpa) {
        EXPECT_NE(r.output.find("Error code 1"), std::string::npos) << r.output;
    } else {
        EXPECT_EQ(r.exitCode, 68) << r.output; // curl: TFTP file not found
    }
    Drain();
    EXPECT_EQ(codes, (std::vector<int>{TFTP_CONNECTED, TFTP_FILE_NOT_FOUND, TFTP_DISCONNECTED}));
}

TEST_P(ClientFailureTest, UnwritableTargetIsRefused) {
    RequireClient(GetParam());
    WriteFile(local.file("in.DCF"), "new contents");
    ASSERT_EQ(::mkdir(served.file("folder.DCF").c_str(), 0755), 0);
    WriteFile(served.file("readonly.DCF"), "keep me");
    ASSERT_EQ(::chmod(served.file("readonly.DCF").c_str(), 0444), 0);
    for (const char* target : {"folder.DCF", "readonly.DCF", "../escape.DCF"}) {
        codes.clear();
        auto r = Put(GetParam(), local.file("in.DCF"), target);
        ASSERT_TRUE(r.finished) << r.output;
        if (GetParam() == Client::TftpHpa) {
            EXPECT_NE(r.output.find("Error code 2"), std::string::npos) << target << r.output;
        } else {
            EXPECT_EQ(r.exitCode, 69) << target << r.output; // curl: TFTP permission
        }
        Drain();
        EXPECT_EQ(codes,
                  (std::vector<int>{TFTP_CONNECTED, TFTP_ACCESS_VIOLATION, TFTP_DISCONNECTED}))
            << target;
    }
    EXPECT_EQ(ReadFile(served.file("readonly.DCF")), "keep me");
    EXPECT_EQ(ListDir(served.path()), (std::set<std::string>{"folder.DCF", "readonly.DCF"}));
}

INSTANTIATE_TEST_SUITE_P(Clients, ClientFailureTest,
                         ::testing::Values(Client::CurlNoOptions, Client::CurlDefault,
                                           Client::TftpHpa),
                         [](const auto& info) { return std::string(ClientName(info.param)); });


// Announced transfers with curl from the device's address: exactly the one
// name in the one direction is served; everything else gets an access
// violation (curl's exit 69) and leaves the folder as it was.
struct AnnounceCase {
    const char* name;
    int announced;           // operation the server is told of (0: withdrawn)
    bool get;                // what the client asks for
    const char* remote;      // the name it asks for
    bool served;
};

void PrintTo(const AnnounceCase& c, std::ostream* os) { *os << c.name; }

class AnnouncedTransferTest : public ClientTest,
                              public ::testing::WithParamInterface<AnnounceCase> {};

TEST_P(AnnouncedTransferTest, OnlyTheAnnouncedTransferIsServed) {
    const AnnounceCase& c = GetParam();
    RequireClient(Client::CurlNoOptions);
    WriteFile(served.file("fw.tfp"), "the user's image");
    WriteFile(served.file("cfg.DCF"), "the saved settings");
    WriteFile(local.file("upload"), "from the device");
    const std::set<std::string> before = ListDir(served.path());
    const std::string announcedName = c.announced == TFTP_OP_RRQ ? "fw.tfp" : "cfg.DCF";
    server.Announce(c.announced, announcedName);
    auto r = c.get ? Get(Client::CurlNoOptions, c.remote, local.file("out"))
                   : Put(Client::CurlNoOptions, local.file("upload"), c.remote);
    ASSERT_TRUE(r.finished) << r.output;
    Drain();
    if (c.served) {
        EXPECT_EQ(r.exitCode, 0) << r.output;
        EXPECT_EQ(server.CompletedTransfers(), 1);
        if (c.get)
            EXPECT_EQ(ReadFile(local.file("out")), Bytes("the user's image"));
        else
            EXPECT_EQ(ReadFile(served.file(c.remote)), Bytes("from the device"));
        return;
    }
    EXPECT_EQ(r.exitCode, 69) << r.output; // curl: TFTP access violation
    EXPECT_EQ(server.CompletedTransfers(), 0);
    EXPECT_TRUE(codes.empty()) << "no session for a refused request";
    EXPECT_EQ(ListDir(served.path()), before);
    EXPECT_EQ(ReadFile(served.file("fw.tfp")), Bytes("the user's image"));
    EXPECT_EQ(ReadFile(served.file("cfg.DCF")), Bytes("the saved settings"));
}

INSTANTIATE_TEST_SUITE_P(
    Announced, AnnouncedTransferTest,
    ::testing::Values(
        AnnounceCase{"ReadOfTheImage", TFTP_OP_RRQ, true, "fw.tfp", true},
        AnnounceCase{"ReadOfAnotherName", TFTP_OP_RRQ, true, "cfg.DCF", false},
        AnnounceCase{"WriteOverTheImage", TFTP_OP_RRQ, false, "fw.tfp", false},
        AnnounceCase{"WriteOfANewNameWhileReading", TFTP_OP_RRQ, false, "new.bin", false},
        AnnounceCase{"WriteOfTheSave", TFTP_OP_WRQ, false, "cfg.DCF", true},
        AnnounceCase{"ReadOfTheSave", TFTP_OP_WRQ, true, "cfg.DCF", false},
        AnnounceCase{"WriteOfAnotherName", TFTP_OP_WRQ, false, "other.DCF", false},
        AnnounceCase{"WriteOfTheSaveInOtherCase", TFTP_OP_WRQ, false, "CFG.DCF", false},
        AnnounceCase{"WithdrawnRead", 0, true, "fw.tfp", false},
        AnnounceCase{"WithdrawnWrite", 0, false, "cfg.DCF", false}),
    [](const auto& info) { return std::string(info.param.name); });

} // namespace
