#pragma once
// What the transfer forms share: the PC address the device is to use as
// TFTP server, the port the module's server listens on, and the folder the
// system log lands in.
#include "os/Network.h"

#include "tftp/TFTPServer.h"

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

class QObject;
class TFM_Waiting;
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

// The TFTP server of one transfer form: made and started when the form
// opens, serving nothing until an order announces its one transfer, and
// stopped (bounded) when the form goes.
class TransferService {
public:
    TransferService();
    ~TransferService();
    TransferService(const TransferService&) = delete;
    TransferService& operator=(const TransferService&) = delete;

    // timeout in hundredths of a second, retries: sends of one packet. On
    // failure "TFTP Service Init Error:" and the reason are shown, and false
    // tells the form not to open.
    bool Open(int timeout, int retries);
    bool Failed() const { return failed_; }
    QvTFTPServer* Server() const { return server_.get(); }

    // Serves exactly one transfer from folder: the device reads name
    // (TFTP_OP_RRQ) or writes it (TFTP_OP_WRQ). Drops a wait still out.
    // False with the reason when the server cannot take the folder.
    bool Announce(const std::string& folder, int operation, const std::string& name,
                  std::string* reason);
    // done(true) once the announced transfer has completed (also when it
    // already has), done(false) when boundMs pass first. Never blocks: done
    // runs from the event loop, and never after Withdraw or Close.
    void Await(std::uint32_t boundMs, std::function<void(bool complete)> done);
    bool Awaiting() const { return static_cast<bool>(done_); }
    // The order has ended: nothing is served and a wait still out is dropped.
    void Withdraw();
    // The last failure a transfer reported, else the time-out's text.
    std::string FailureText() const;
    void Close();

private:
    void Finish(bool complete);
    std::unique_ptr<QvTFTPServer> server_;
    std::unique_ptr<QObject> context_; // owns the wait's timer
    std::function<void(bool)> done_;
    std::string lastFailure_;
    bool failed_ = false;
};

// What the waiting dialog tells the user: text in its first line (the
// caption stays the dialog's own); the second line keeps "The device is
// restarting." only when it is.
void ShowWaitingText(TFM_Waiting& wait, const std::string& text, bool restarting = false);
