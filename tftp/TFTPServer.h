// The module's own TFTP server (octet transfers, 512-byte blocks, no
// options). The access point is always the client; the server answers only
// the device it was started for and only inside its folder. Everything runs
// on the GUI thread: socket readiness through the event loop and a 20 ms
// timer for time-outs.
#pragma once

#include "os/UdpSocket.h"

#include <QObject>
#include <cstdint>
#include <functional>
#include <memory>
#include <stdexcept>
#include <string>
#include <vector>

class QTimer;

// Status codes handed to the status closure.
enum TFTPStatusCode : int {
    TFTP_SUCCESS = 3,
    TFTP_TRANSFERRING = 2,
    TFTP_CONNECTED = 1,
    TFTP_DISCONNECTED = 0,
    TFTP_UNDEFINED_ERROR = -1101,  // TFTP error code 0
    TFTP_FILE_NOT_FOUND = -1102,   // 1
    TFTP_ACCESS_VIOLATION = -1103, // 2
    TFTP_DISK_FULL = -1104,        // 3
    TFTP_BAD_OPERATION = -1105,    // 4
    TFTP_UNKNOWN_PORT = -1106,     // 5
    TFTP_FILE_EXISTS = -1107,      // 6
    TFTP_NO_SUCH_USER = -1108,     // 7
    TFTP_SOCKET_FAILED = -1109,
    TFTP_SEND_RECEIVE_FAILED = -1110,
    TFTP_SOCKET_NOT_READY = -1111,
    TFTP_BAD_PACKET = -1112,
    TFTP_TIMEOUT = -1113,
    TFTP_CANCELED = -1114,
};

// TFTP packet opcodes and error codes on the wire.
enum TFTPOpcode : std::uint16_t {
    TFTP_OP_RRQ = 1,
    TFTP_OP_WRQ = 2,
    TFTP_OP_DATA = 3,
    TFTP_OP_ACK = 4,
    TFTP_OP_ERROR = 5,
};

constexpr int kTFTPBlockSize = 512;
constexpr int kTFTPMaxBlock = 65535; // block numbers never wrap
constexpr int kTFTPStopWaitMs = 10000;
constexpr int kTFTPTimerIntervalMs = 20;

struct TFTPStatus {
    int code = TFTP_SOCKET_NOT_READY;
    std::string text;
};

// The text of a status code; "" for a code outside the table.
const std::string& TFTPStatusText(int code);

// The status closure: (status, cancel). Setting *cancel to true ends the
// session with TFTP_CANCELED at its next step.
using TFTPStatusHandler = std::function<void(TFTPStatus* status, bool* cancel)>;

// A monotonic clock in milliseconds; replaceable so tests can drive
// time-outs without waiting.
using TFTPClock = std::function<std::int64_t()>;
std::int64_t TFTPSteadyClockMs();

// Raised when the server cannot open its socket; carries the status code.
class QvTFTPException : public std::runtime_error {
public:
    QvTFTPException(int code, const std::string& text) : std::runtime_error(text), code_(code) {}
    int code() const noexcept { return code_; }

private:
    int code_;
};

// What the server knows of one request; each session keeps its own copy.
struct TFTPRequest {
    int operation = TFTP_OP_RRQ;
    std::string mode = "octet";
    std::string fileName;
    os::UdpEndpoint peer;
    int sessionNumber = -1;
    int timeout = 1000; // hundredths of a second
    int tries = 0;
    std::int64_t totalBytes = 0;
    int lastBlockLength = -1;
};

class QvTFTPServer;

class _TFTPSession {
public:
    enum State { Failed = 0, Running = 1, Succeeded = 2 };

    // root: the folder (with its final separator, "" for none).
    _TFTPSession(const std::string& root, const TFTPStatusHandler& onStatus,
                 const TFTPRequest& request, const TFTPClock& clock, std::uint32_t bindAddress,
                 bool targetBusy);
    virtual ~_TFTPSession();
    _TFTPSession(const _TFTPSession&) = delete;
    _TFTPSession& operator=(const _TFTPSession&) = delete;

    virtual void Start();
    virtual void OnSocketMessage();
    // Called when the deadline has passed: the last DATA or ACK is sent
    // again until it has gone out `retries` times; true when the session
    // gives up.
    virtual bool Resend(int retries);
    virtual bool MatchesPeer(const TFTPRequest& request) const;
    // A repeated request from the same peer: the first answer got lost.
    virtual void OnRepeatedRequest();
    // Ends a running session with a status (Stop's abort, a time-out).
    virtual void Abort(int code);

    int state() const { return state_; }
    const TFTPStatus& status() const { return status_; }
    const TFTPRequest& request() const { return request_; }
    bool isWriting() const { return request_.operation == TFTP_OP_WRQ; }
    bool isRunning() const { return state_ == Running; }
    // Inside its status closure (which may be running an event loop).
    bool isReporting() const { return reporting_ > 0; }
    // Past its deadline (running) or its linger time (finished).
    bool deadlinePassed(std::int64_t now) const { return hasDeadline_ && now >= deadline_; }
    bool canBeRemoved(std::int64_t now) const;
    std::uint16_t localPort() const { return socket_.localEndpoint().port; }
    // No closure runs after this (the owner is going away).
    void DropStatusHandler() { onStatus_ = nullptr; }

protected:
    virtual void SetStatus(int code);

private:
    bool sendPacket(const void* data, std::size_t length);
    bool sendLast();
    // Sends the packet in the send buffer and waits for the reply; a failed
    // send ends the session.
    void sendAndAwaitReply();
    bool sendError(int tftpCode);
    void failWithError(int tftpCode, int statusCode);
    void setAck(int block); // the ACK of block into the send buffer
    void armDeadline();
    void closeFile();
    void discardUpload();
    bool sendNextBlock();
    void onAck(int block);
    void onData(int block, const unsigned char* payload, std::size_t length, std::size_t full);
    bool writeOut(const unsigned char* data, std::size_t length);
    bool flushOut();
    int commitUpload();
    int readBlock(unsigned char* out);
    void startRead(int dirfd);
    void startWrite(int dirfd);

    TFTPRequest request_;
    std::string root_;
    TFTPStatusHandler onStatus_;
    TFTPClock clock_;
    TFTPStatus status_;
    bool cancel_ = false;
    int state_ = Running;
    bool targetBusy_ = false;
    int reporting_ = 0;
    bool readDeferred_ = false; // a datagram came while reporting

    bool hasDeadline_ = false;
    std::int64_t deadline_ = 0;
    bool lingering_ = false;

    os::UdpSocket socket_;
    int file_ = -1;
    int dirfd_ = -1;
    std::string tempName_;
    bool committed_ = false;
    int lastBlock_ = -1; // the highest block accepted (WRQ) or sent (RRQ)
    bool firstPacket_ = true;

    unsigned char sendBuf_[4 + kTFTPBlockSize] = {};
    std::size_t sendLen_ = 0;

    // File I/O goes through one chunk buffer to keep system calls few.
    std::vector<unsigned char> chunk_;
    std::size_t chunkPos_ = 0;
    std::size_t chunkLen_ = 0;
    bool readEof_ = false;
};

class QvTFTPServer : public QObject {
public:
    explicit QvTFTPServer(QObject* owner = nullptr);
    ~QvTFTPServer() override;

    // time-out in hundredths of a second; retries: sends of one DATA or ACK in all.
    virtual void SetTimeout(int timeout, int retries);
    // Sessions created afterwards get it. It runs on the GUI thread and must
    // neither call Stop nor destroy the server; it may run an event loop (a
    // message box), during which its session waits.
    virtual void SetOnStatus(TFTPStatusHandler onStatus);
    virtual void SetClock(TFTPClock clock);
    // The address the server listens on ("0.0.0.0" unless set before Start).
    virtual void SetListenAddress(const std::string& address);
    // Only requests from this host (dotted or a name) are served.
    virtual void SetDeviceAddress(const std::string& address);
    // Serves root (files directly inside it, nothing else) on the port (0:
    // any free port) for requests from deviceAddress. Again while started:
    // only the folder and the device change. Upload temporaries that ended
    // runs left in the folder are removed. Raises QvTFTPException when the
    // device address does not resolve (nothing changes then) or the socket
    // cannot be opened.
    virtual void Start(const std::string& root, int port, const std::string& deviceAddress);
    // Waits up to 10 s for running transfers (pumping events), then aborts
    // the rest.
    virtual void Stop();

    // Limits the server to one transfer: TFTP_OP_RRQ, the device reads
    // fileName; TFTP_OP_WRQ, it writes fileName. Every other request (other
    // names, the other direction) gets an access violation and touches
    // nothing; operation 0 refuses everything. Until the first call the
    // server serves every plain name both ways.
    virtual void Announce(int operation, const std::string& fileName);
    // Refuses everything from now on (an order has ended).
    void Withdraw() { Announce(0, ""); }
    bool Announced() const { return restricted_; }
    // The announced operation (0: nothing is served).
    int AnnouncedOperation() const { return announcedOp_; }
    // Transfers of the announced file that completed since it was announced.
    int CompletedTransfers() const { return completed_; }
    // Runs (posted, never inside a session's report) after each completed
    // transfer of the announced file.
    void SetOnAnnouncedDone(std::function<void()> done) { onAnnouncedDone_ = std::move(done); }

    virtual void OnSocketMessage();
    virtual void OnTimer();

    bool isStarted() const { return socket_.isOpen(); }
    // The bound port (useful after Start with port 0).
    int LocalPort() const;
    const std::string& RootFolder() const { return rootFolder_; }
    std::size_t SessionCount() const { return sessions_.size(); }
    std::size_t RunningSessionCount() const;
    const std::vector<std::unique_ptr<_TFTPSession>>& Sessions() const { return sessions_; }
    int Retries() const { return retries_; }
    int Timeout() const { return timeout_; }

protected:
    virtual _TFTPSession* FindSession(const TFTPRequest& request) const;

private:
    void handleRequest(const unsigned char* data, std::size_t length, const os::UdpEndpoint& from);
    void refuse(const os::UdpEndpoint& to, int tftpCode);
    void noteCompleted();
    bool writeInProgress(const std::string& fileName) const;
    std::vector<std::unique_ptr<_TFTPSession>>::iterator findListed(const _TFTPSession* session);

    int retries_ = 3;
    int timeout_ = 1000;
    TFTPRequest request_;
    TFTPStatusHandler onStatus_;
    TFTPClock clock_;
    std::string rootFolder_;
    int port_ = 69;
    std::uint32_t listenAddress_ = 0;
    bool deviceKnown_ = false;
    std::uint32_t deviceAddress_ = 0;
    os::UdpSocket socket_;
    std::vector<std::unique_ptr<_TFTPSession>> sessions_;
    QTimer* timer_ = nullptr;
    bool destroying_ = false;

    bool restricted_ = false;
    int announcedOp_ = 0;
    std::string announcedName_;
    unsigned announcement_ = 0; // which announcement a session belongs to
    int completed_ = 0;
    std::function<void()> onAnnouncedDone_;
};
