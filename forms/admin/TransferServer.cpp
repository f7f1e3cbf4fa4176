#include "forms/admin/TransferServer.h"

#include "app/TMainForm.h"
#include "os/Path.h"
#include "snmp/QvSession.h"
#include "tftp/TFTPServer.h"
#include "ui/Strings.h"
#include "ui/Widgets.h"

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <sstream>
#include <sys/stat.h>
#include <unistd.h>

namespace {

int OctetOf(const std::string& part) {
    if (part.empty()) return 0;
    for (char c : part)
        if (c < '0' || c > '9') return 0;
    return part.size() > 3 ? 0 : std::atoi(part.c_str());
}

std::vector<std::string> PartsOf(const std::string& dotted) {
    std::vector<std::string> parts;
    std::string part;
    std::istringstream in(dotted);
    while (std::getline(in, part, '.'))
        parts.push_back(part);
    parts.resize(4);
    return parts;
}

bool MakeFolders(const std::string& path) {
    std::string sofar;
    std::istringstream in(path);
    std::string part;
    while (std::getline(in, part, '/')) {
        sofar += part + "/";
        if (part.empty()) continue;
        if (::mkdir(sofar.c_str(), 0700) != 0 && errno != EEXIST) return false;
    }
    return true;
}

} // namespace

std::string NetworkAddressOf(const std::string& ip, const std::string& mask) {
    const auto a = PartsOf(ip), m = PartsOf(mask);
    std::string out;
    for (int i = 0; i < 4; ++i) {
        if (i) out += ".";
        out += std::to_string(OctetOf(a[i]) & OctetOf(m[i]));
    }
    return out;
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
    const std::string exe = os::ExeDir();
    if (!exe.empty() && ::access(exe.c_str(), W_OK) == 0) return exe;
    std::string base;
    if (const char* xdg = std::getenv("XDG_DATA_HOME"); xdg && *xdg)
        base = xdg;
    else if (const char* home = std::getenv("HOME"); home && *home)
        base = std::string(home) + "/.local/share";
    else
        return exe;
    const std::string folder = base + "/lmr7300ap/";
    return MakeFolders(folder) ? folder : exe;
}

bool SplitTransferPath(const std::string& path, std::string* folder, std::string* name) {
    *folder = os::ExtractFilePath(path);
    *name = os::ExtractFileName(path);
    return !folder->empty() && !name->empty();
}
