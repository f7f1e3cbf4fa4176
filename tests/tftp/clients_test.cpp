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

} // namespace
