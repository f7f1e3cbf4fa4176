#pragma once
// What the transfer forms share: the PC address the device is to use as
// TFTP server, the port the module's server listens on, and the folder the
// system log lands in.
#include "os/Network.h"

#include <functional>
#include <string>
#include <vector>

class QvTFTPServer;
class TEdit;
class TStrings;

// Each octet of ip AND the one of mask ("" parts and non-numbers count 0).
std::string NetworkAddressOf(const std::string& ip, const std::string& mask);

// Puts the first PC address in the device's subnet (as the main window's
// capability fields give it) into edit; failing that, the address in the
// /24 network of the first local gateway. False when there is none; the edit
// is then left as it was.
bool FindLocalIPInDeviceSubnet(TEdit* edit);
bool FindLocalIPInDeviceSubnet(TEdit* edit, const std::vector<os::NetInterface>& interfaces);

// Where the search above gets the PC's interfaces and the local gateways
// (the machine's own unless a test gives others).
std::function<std::vector<os::NetInterface>()>& LocalInterfaceSource();
std::function<void(TStrings& gateways)>& LocalGatewaySource();

// The UDP port of the transfer server: the TFTP port 69 unless a test runs
// it elsewhere.
int& TFTPServicePort();

// Starts (or re-aims) the server on the transfer port for the current
// device with root as its folder. False with the reason in *reason when it
// cannot open its port (69 needs root or CAP_NET_BIND_SERVICE on Linux).
bool StartTransferServer(QvTFTPServer& server, const std::string& root, std::string* reason);

// Where "LogFile.RD" goes: the executable's folder when it is writable, else
// the user's data folder (created on demand). A test may set its own.
std::string LogFolder();
std::string& LogFolderOverride();

// A file dialog's path split into its folder (with its final separator) and
// name; false when there is no folder part or no name.
bool SplitTransferPath(const std::string& path, std::string* folder, std::string* name);
