#include "forms/admin/TransferServer.h"

#include "app/AddressChecks.h"
#include "app/TFM_Waiting.h"
#include "app/TMainForm.h"
#include "os/Path.h"
#include "os/StateFolder.h"
#include "snmp/QvSession.h"
#include "tftp/TFTPServer.h"
#include "ui/Dialogs.h"
#include "ui/Strings.h"
#include "ui/Widgets.h"

#include <QObject>
#include <QTimer>
#include <algorithm>
#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <sstream>
#include <sys/stat.h>
#include <unistd.h>

std::string NetworkAddressOf(const std::string& ip, const std::string& mask) {
    return AddressChecks::NetworkAddressOf(ip, mask);
}

std::function<std::vector<os::NetInterface>()>& LocalInterfaceSource() {
    static std::function<std::vector<os::NetInterface>()> source;
    return source;
}

std::function<void(TStrings& gateways)>& LocalGatewaySource() {
    static std::function<void(TStrings & gateways)> source;
    return source;
}

bool FindLocalIPInDeviceSubnet(TEdit* edit) {
    if (LocalInterfaceSource()) return FindLocalIPInDeviceSubnet(edit, LocalInterfaceSource()());
    return FindLocalIPInDeviceSubnet(edit, os::LocalInterfaces(os::kMaxInterfaces));
}

bool FindLocalIPInDeviceSubnet(TEdit* edit, const std::vector<os::NetInterface>& interfaces) {
    if (!edit || !MainForm || !MainForm->IPAddressEdit || !MainForm->SubMaskEdit) return false;
    const std::string devNet =
        NetworkAddressOf(MainForm->IPAddressEdit->Text(), MainForm->SubMaskEdit->Text());
    for (const auto& itf : interfaces) {
        if (NetworkAddressOf(itf.Address, itf.Netmask) == devNet) {
            edit->SetText(itf.Address);
            break;
        }
    }
    if (!edit->Text().empty()) return true;
    TStringList gateways;
    if (LocalGatewaySource())
        LocalGatewaySource()(gateways);
    else
        MainForm->GetLocalGateways(gateways);
    if (gateways.Count() == 0) return false;
    const std::string gwNet = NetworkAddressOf(gateways.Strings(0), "255.255.255.0");
    for (const auto& itf : interfaces) {
        if (NetworkAddressOf(itf.Address, itf.Netmask) == gwNet) {
            edit->SetText(itf.Address);
            return true;
        }
    }
    return false;
}

int& TFTPServicePort() {
    static int port = 69;
    return port;
}

bool StartTransferServer(QvTFTPServer& server, const std::string& root, std::string* reason) {
    try {
        errno = 0;
        server.Start(root, TFTPServicePort(), g_DefaultDevice.Address);
        return true;
    } catch (const QvTFTPException& e) {
        std::string text = e.what();
        if (errno != 0) text += std::string(" (") + std::strerror(errno) + ")";
        if (reason) *reason = text;
        return false;
    }
}

std::string& LogFolderOverride() {
    static std::string folder;
    return folder;
}

std::string LogFolder() {
    if (!LogFolderOverride().empty()) return LogFolderOverride();
    return os::ProgramDataFolder();
}

bool SplitTransferPath(const std::string& path, std::string* folder, std::string* name) {
    *folder = os::ExtractFilePath(path);
    *name = os::ExtractFileName(path);
    return !folder->empty() && !name->empty();
}

TransferService::TransferService() = default;

TransferService::~TransferService() { Close(); }

bool TransferService::Open(int timeout, int retries) {
    server_ = std::make_unique<QvTFTPServer>();
    server_->SetTimeout(timeout, retries);
    server_->SetOnStatus([this](TFTPStatus* status, bool*) {
        if (status->code < 0) lastFailure_ = status->text;
    });
    server_->SetOnAnnouncedDone([this] {
        if (done_) Finish(true);
    });
    server_->Announce(0, "");
    std::string reason;
    if (StartTransferServer(*server_, "", &reason)) return true;
    failed_ = true;
    // Only the form goes; the rest of the program carries on.
    ShowMessage("TFTP Service Init Error:" + reason);
    return false;
}

bool TransferService::Announce(const std::string& folder, int operation, const std::string& name,
                               std::string* reason) {
    Withdraw();
    if (!server_ || failed_) {
        if (reason) *reason = TFTPStatusText(TFTP_SOCKET_NOT_READY);
        return false;
    }
    if (!StartTransferServer(*server_, folder, reason)) return false;
    lastFailure_.clear();
    server_->Announce(operation, name);
    return true;
}

void TransferService::Await(std::uint32_t boundMs, std::function<void(bool complete)> done) {
    context_.reset();
    done_ = std::move(done);
    if (!server_ || !done_) return;
    context_ = std::make_unique<QObject>();
    if (server_->CompletedTransfers() > 0) {
        QTimer::singleShot(0, context_.get(), [this] { Finish(true); });
        return;
    }
    QTimer::singleShot(static_cast<int>(std::min<std::uint32_t>(boundMs, 0x7fffffff)),
                       context_.get(), [this] { Finish(false); });
}

void TransferService::Finish(bool complete) {
    auto done = std::move(done_);
    done_ = nullptr;
    context_.reset();
    if (done) done(complete);
}

void TransferService::Withdraw() {
    done_ = nullptr;
    context_.reset();
    if (server_) server_->Withdraw();
}

std::string TransferService::FailureText() const {
    return lastFailure_.empty() ? TFTPStatusText(TFTP_TIMEOUT) : lastFailure_;
}

void TransferService::Close() {
    done_ = nullptr;
    context_.reset();
    if (!server_) return;
    server_->Withdraw();
    server_->Stop();
    server_.reset();
}

void ShowWaitingText(TFM_Waiting& wait, const std::string& text, bool restarting) {
    wait.Label2->SetCaption(text);
    if (!restarting) wait.Label3->SetCaption("");
}
