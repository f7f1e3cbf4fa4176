#include "tftp/TFTPServer.h"

#include "os/Path.h"

#include <QCoreApplication>
#include <QEventLoop>
#include <QTimer>
#include <algorithm>
#include <cerrno>
#include <chrono>
#include <csignal>
#include <cstdio>
#include <cstring>
#include <dirent.h>
#include <fcntl.h>
#include <random>
#include <sys/stat.h>
#include <unistd.h>

namespace {

constexpr std::size_t kChunkSize = 64 * 1024;
// More running sessions than this are refused: every one holds a socket and a file.
constexpr std::size_t kMaxRunningSessions = 64;
// Bounded work per readiness event, so one busy socket cannot starve the loop.
constexpr int kMaxDatagramsPerEvent = 64;

const std::string kStatusTexts[18] = {
    "(QvTFTP) Success to transfer file.",
    "(QvTFTP) File is transferring...",
    "(QvTFTP) A TFTP session is connected...",
    "(QvTFTP) A TFTP session is disconnected...",
    "(QvTFTP) Undefined error:",
    "(QvTFTP) File not found!",
    "(QvTFTP) Access violation!",
    "(QvTFTP) Disk full!",
    "(QvTFTP) Bad operation!",
    "(QvTFTP) Unknown port!",
    "(QvTFTP) File already exist!",
    "(QvTFTP) No such user!",
    "(QvTFTP) Fail to open socket!Please check if the network is ready.",
    "(QvTFTP) Fail to send or receive socket packet!",
    "(QvTFTP) Socket is not ready!",
    "(QvTFTP) Bad packet!",
    "(QvTFTP) Timeout!",
    "(QvTFTP) Transfer has been canceled.",
};

inline std::uint16_t Get16(const unsigned char* p) {
    return static_cast<std::uint16_t>((p[0] << 8) | p[1]);
}

inline void Put16(unsigned char* p, unsigned v) {
    p[0] = static_cast<unsigned char>((v >> 8) & 0xFF);
    p[1] = static_cast<unsigned char>(v & 0xFF);
}

// ERROR packets carry an empty message: 5 bytes in all.
bool SendError(os::UdpSocket& socket, const os::UdpEndpoint& to, int tftpCode) {
    unsigned char pkt[5] = {0, TFTP_OP_ERROR, 0, 0, 0};
    Put16(pkt + 2, static_cast<unsigned>(tftpCode));
    return socket.send(pkt, sizeof pkt, to);
}

// Only a plain name directly inside the folder: no separators, no "..", no
// hidden names (which also keeps clients off the upload temporaries).
bool IsPlainFileName(const std::string& name) {
    if (name.empty() || name.size() > 255) return false;
    if (name[0] == '.') return false;
    if (name.find('/') != std::string::npos || name.find('\\') != std::string::npos) return false;
    return name.find("..") == std::string::npos;
}

unsigned g_tempCounter = 0;

// Upload temporaries are named ".tftp-upload.<pid>.<run>.<n>.part". The run
// token tells this process's files from those of an ended one that had the
// same pid.
constexpr char kTempPrefix[] = ".tftp-upload.";
constexpr char kTempSuffix[] = ".part";
constexpr std::size_t kRunTokenLength = 16;

const std::string& RunToken() {
    static const std::string token = [] {
        std::random_device rd;
        const std::uint64_t v = (static_cast<std::uint64_t>(rd()) << 32) ^ rd();
        char buf[kRunTokenLength + 1];
        std::snprintf(buf, sizeof buf, "%016llx", static_cast<unsigned long long>(v));
        return std::string(buf);
    }();
    return token;
}

std::string NewTempName() {
    return kTempPrefix + std::to_string(::getpid()) + "." + RunToken() + "." +
           std::to_string(g_tempCounter++) + kTempSuffix;
}

bool AllDigits(const std::string& s) {
    if (s.empty()) return false;
    for (char c : s)
        if (c < '0' || c > '9') return false;
    return true;
}

bool AllLowerHex(const std::string& s) {
    for (char c : s)
        if (!((c >= '0' && c <= '9') || (c >= 'a' && c <= 'f'))) return false;
    return true;
}

// True for a temporary whose writer has ended: another run with this
// process's pid, or a pid that no longer exists. A living other process's
// file is never touched (it may be another module serving the same folder).
bool IsOrphanedTemp(const std::string& name) {
    const std::size_t pre = sizeof kTempPrefix - 1, suf = sizeof kTempSuffix - 1;
    if (name.size() <= pre + suf || name.compare(0, pre, kTempPrefix) != 0 ||
        name.compare(name.size() - suf, suf, kTempSuffix) != 0)
        return false;
    const std::string middle = name.substr(pre, name.size() - pre - suf);
    const std::size_t dot1 = middle.find('.');
    const std::size_t dot2 = dot1 == std::string::npos ? dot1 : middle.find('.', dot1 + 1);
    if (dot2 == std::string::npos) return false;
    const std::string pidText = middle.substr(0, dot1);
    const std::string token = middle.substr(dot1 + 1, dot2 - dot1 - 1);
    if (!AllDigits(pidText) || pidText.size() > 9 || token.size() != kRunTokenLength ||
        !AllLowerHex(token) || !AllDigits(middle.substr(dot2 + 1)))
        return false;
    const long pid = std::stol(pidText);
    if (pid <= 0) return false;
    if (pid == static_cast<long>(::getpid())) return token != RunToken();
    return ::kill(static_cast<pid_t>(pid), 0) != 0 && errno == ESRCH;
}

// Removes the upload temporaries that killed runs left in the folder.
void SweepOrphanedTemps(const std::string& root) {
    if (root.empty()) return;
    const int dirfd = os::OpenFile(root, O_RDONLY | O_DIRECTORY);
    if (dirfd < 0) return;
    const int listfd = ::dup(dirfd);
    DIR* d = listfd >= 0 ? ::fdopendir(listfd) : nullptr;
    if (!d) {
        if (listfd >= 0) ::close(listfd);
        ::close(dirfd);
        return;
    }
    std::vector<std::string> doomed;
    while (dirent* e = ::readdir(d)) {
        const std::string name = e->d_name;
        struct stat st {};
        if (IsOrphanedTemp(name) && ::fstatat(dirfd, name.c_str(), &st, AT_SYMLINK_NOFOLLOW) == 0 &&
            S_ISREG(st.st_mode))
            doomed.push_back(name);
    }
    ::closedir(d);
    for (const std::string& name : doomed)
        ::unlinkat(dirfd, name.c_str(), 0);
    ::close(dirfd);
}

} // namespace

const std::string& TFTPStatusText(int code) {
    static const std::string empty;
    if (code >= 0 && code <= 3) return kStatusTexts[3 - code];
    if (code <= -1101 && code >= -1114) return kStatusTexts[-1097 - code];
    return empty;
}

std::int64_t TFTPSteadyClockMs() {
    using namespace std::chrono;
    return duration_cast<milliseconds>(steady_clock::now().time_since_epoch()).count();
}

// ---------------------------------------------------------------------------
// _TFTPSession

_TFTPSession::_TFTPSession(const std::string& root, const TFTPStatusHandler& onStatus,
                           const TFTPRequest& request, const TFTPClock& clock,
                           std::uint32_t bindAddress, bool targetBusy)
    : request_(request), root_(root), onStatus_(onStatus),
      clock_(clock ? clock : TFTPClock(TFTPSteadyClockMs)), targetBusy_(targetBusy) {
    request_.totalBytes = 0;
    request_.lastBlockLength = -1;
    SetStatus(TFTP_CONNECTED);
    if (!socket_.open(bindAddress, 0)) {
        SetStatus(TFTP_SOCKET_FAILED);
        return;
    }
    socket_.setOnReadable([this] { OnSocketMessage(); });
}

_TFTPSession::~_TFTPSession() {
    socket_.close();
    discardUpload();
    closeFile();
    if (dirfd_ >= 0) ::close(dirfd_);
    SetStatus(TFTP_DISCONNECTED);
}

void _TFTPSession::SetStatus(int code) {
    status_.code = code;
    status_.text = TFTPStatusText(code);
    if (onStatus_) {
        // The closure may run an event loop (a message box); until it returns
        // neither the timer nor this session's socket moves the session on.
        ++reporting_;
        onStatus_(&status_, &cancel_);
        --reporting_;
    }
    if (code == TFTP_SUCCESS) {
        closeFile();
        state_ = Succeeded;
    } else if (code < 0) {
        closeFile();
        discardUpload();
        state_ = Failed;
        hasDeadline_ = false;
        lingering_ = false;
    } else {
        state_ = Running;
    }
    if (reporting_ == 0 && readDeferred_) {
        readDeferred_ = false;
        if (socket_.isOpen()) socket_.setOnReadable([this] { OnSocketMessage(); });
    }
}

bool _TFTPSession::canBeRemoved(std::int64_t now) const {
    if (state_ == Running || reporting_ > 0) return false;
    return !lingering_ || now >= deadline_;
}

bool _TFTPSession::MatchesPeer(const TFTPRequest& r) const {
    return r.operation == request_.operation && r.mode == request_.mode &&
           r.peer == request_.peer && r.fileName == request_.fileName;
}

void _TFTPSession::armDeadline() {
    hasDeadline_ = true;
    deadline_ = clock_() + 10LL * request_.timeout;
}

bool _TFTPSession::sendPacket(const void* data, std::size_t length) {
    return socket_.send(data, length, request_.peer);
}

bool _TFTPSession::sendLast() {
    return sendLen_ > 0 && sendPacket(sendBuf_, sendLen_);
}

void _TFTPSession::sendAndAwaitReply() {
    if (!sendLast()) {
        SetStatus(TFTP_SEND_RECEIVE_FAILED);
        return;
    }
    armDeadline();
    SetStatus(TFTP_TRANSFERRING);
}

bool _TFTPSession::sendError(int tftpCode) {
    // Built in its own buffer: the last DATA or ACK stays intact.
    return SendError(socket_, request_.peer, tftpCode);
}

void _TFTPSession::setAck(int block) {
    Put16(sendBuf_, TFTP_OP_ACK);
    Put16(sendBuf_ + 2, static_cast<unsigned>(block));
    sendLen_ = 4;
}

void _TFTPSession::failWithError(int tftpCode, int statusCode) {
    SetStatus(sendError(tftpCode) ? statusCode : TFTP_SEND_RECEIVE_FAILED);
}

void _TFTPSession::closeFile() {
    if (file_ >= 0) {
        ::close(file_);
        file_ = -1;
    }
}

void _TFTPSession::discardUpload() {
    if (!tempName_.empty() && !committed_ && dirfd_ >= 0) {
        closeFile();
        ::unlinkat(dirfd_, tempName_.c_str(), 0);
    }
    tempName_.clear();
}

void _TFTPSession::Abort(int code) {
    if (state_ == Running) SetStatus(code);
}

void _TFTPSession::Start() {
    if (state_ != Running) return;
    if (cancel_) {
        SetStatus(TFTP_CANCELED);
        return;
    }
    const bool reading = request_.operation == TFTP_OP_RRQ;
    if (request_.operation != TFTP_OP_RRQ && request_.operation != TFTP_OP_WRQ) {
        failWithError(4, TFTP_BAD_OPERATION);
        return;
    }
    if (root_.empty() || !IsPlainFileName(request_.fileName)) {
        failWithError(2, TFTP_ACCESS_VIOLATION);
        return;
    }
    // The folder may come Windows-style ("\" separators, other case).
    int dirfd = os::OpenFile(root_, O_RDONLY | O_DIRECTORY);
    if (dirfd < 0) {
        if (reading)
            failWithError(1, TFTP_FILE_NOT_FOUND);
        else
            failWithError(2, TFTP_ACCESS_VIOLATION);
        return;
    }
    dirfd_ = dirfd;
    if (reading)
        startRead(dirfd);
    else
        startWrite(dirfd);
}

void _TFTPSession::startRead(int dirfd) {
    // O_NOFOLLOW: a symbolic link is refused, never followed out of the folder.
    // O_NONBLOCK: a FIFO must not hang the GUI thread before it is refused.
    int fd = ::openat(dirfd, request_.fileName.c_str(),
                      O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC | O_NOCTTY);
    if (fd < 0) {
        if (errno == ENOENT)
            failWithError(1, TFTP_FILE_NOT_FOUND);
        else
            failWithError(2, TFTP_ACCESS_VIOLATION);
        return;
    }
    struct stat st {};
    if (::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode)) {
        ::close(fd);
        failWithError(2, TFTP_ACCESS_VIOLATION);
        return;
    }
    // Block numbers never wrap: refuse at once what would need block 65536.
    if (st.st_size >= static_cast<off_t>(kTFTPMaxBlock) * kTFTPBlockSize) {
        ::close(fd);
        failWithError(0, TFTP_UNDEFINED_ERROR);
        return;
    }
    file_ = fd;
    chunk_.resize(kChunkSize);
    lastBlock_ = 0;
    sendNextBlock();
}

int _TFTPSession::readBlock(unsigned char* out) {
    int got = 0;
    while (got < kTFTPBlockSize) {
        if (chunkPos_ == chunkLen_) {
            if (readEof_) break;
            ssize_t n;
            do {
                n = ::read(file_, chunk_.data(), chunk_.size());
            } while (n < 0 && errno == EINTR);
            if (n < 0) return -1;
            if (n == 0) {
                readEof_ = true;
                break;
            }
            chunkPos_ = 0;
            chunkLen_ = static_cast<std::size_t>(n);
        }
        std::size_t take = std::min<std::size_t>(kTFTPBlockSize - got, chunkLen_ - chunkPos_);
        std::memcpy(out + got, chunk_.data() + chunkPos_, take);
        chunkPos_ += take;
        got += static_cast<int>(take);
    }
    return got;
}

bool _TFTPSession::sendNextBlock() {
    if (lastBlock_ >= kTFTPMaxBlock) {
        failWithError(0, TFTP_UNDEFINED_ERROR);
        return false;
    }
    int n = readBlock(sendBuf_ + 4);
    if (n < 0) {
        failWithError(0, TFTP_UNDEFINED_ERROR);
        return false;
    }
    const int block = lastBlock_ + 1;
    Put16(sendBuf_, TFTP_OP_DATA);
    Put16(sendBuf_ + 2, static_cast<unsigned>(block));
    sendLen_ = 4 + static_cast<std::size_t>(n);
    request_.lastBlockLength = n;
    request_.totalBytes += n;
    lastBlock_ = block;
    if (!sendLast()) {
        SetStatus(TFTP_SEND_RECEIVE_FAILED);
        return false;
    }
    request_.tries = 1;
    armDeadline();
    SetStatus(TFTP_TRANSFERRING);
    return true;
}

void _TFTPSession::onAck(int block) {
    // Only the ACK of the block just sent moves the transfer; older ones are
    // ignored, so duplicates never trigger duplicate DATA.
    if (block != lastBlock_) return;
    hasDeadline_ = false;
    firstPacket_ = false;
    if (cancel_) {
        SetStatus(TFTP_CANCELED);
        return;
    }
    if (request_.lastBlockLength < kTFTPBlockSize) {
        SetStatus(TFTP_SUCCESS);
        return;
    }
    sendNextBlock();
}

void _TFTPSession::startWrite(int dirfd) {
    if (targetBusy_) {
        // Another session is writing this file: no interleaved writes.
        failWithError(2, TFTP_ACCESS_VIOLATION);
        return;
    }
    const char* name = request_.fileName.c_str();
    struct stat st {};
    bool exists = false;
    if (::fstatat(dirfd, name, &st, AT_SYMLINK_NOFOLLOW) == 0) {
        exists = true;
        if (!S_ISREG(st.st_mode) || (st.st_mode & 0222) == 0 ||
            ::faccessat(dirfd, name, W_OK, AT_EACCESS) != 0) {
            failWithError(2, TFTP_ACCESS_VIOLATION);
            return;
        }
    } else if (errno != ENOENT) {
        failWithError(2, TFTP_ACCESS_VIOLATION);
        return;
    }
    // Received data goes to a temporary file that replaces the target only
    // when the transfer succeeded.
    tempName_ = NewTempName();
    int fd = ::openat(dirfd, tempName_.c_str(),
                      O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0666);
    if (fd < 0) {
        tempName_.clear();
        failWithError(2, TFTP_ACCESS_VIOLATION);
        return;
    }
    if (exists) ::fchmod(fd, st.st_mode & 07777);
    file_ = fd;
    chunk_.resize(kChunkSize);
    chunkLen_ = 0;
    lastBlock_ = 0;
    setAck(0);
    request_.tries = 1;
    sendAndAwaitReply();
}

bool _TFTPSession::flushOut() {
    std::size_t done = 0;
    while (done < chunkLen_) {
        ssize_t n = ::write(file_, chunk_.data() + done, chunkLen_ - done);
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) return false;
        done += static_cast<std::size_t>(n);
    }
    chunkLen_ = 0;
    return true;
}

bool _TFTPSession::writeOut(const unsigned char* data, std::size_t length) {
    if (chunkLen_ + length > chunk_.size() && !flushOut()) return false;
    std::memcpy(chunk_.data() + chunkLen_, data, length);
    chunkLen_ += length;
    return true;
}

int _TFTPSession::commitUpload() {
    if (!flushOut() || ::fdatasync(file_) != 0) return 3;
    closeFile();
    if (::renameat(dirfd_, tempName_.c_str(), dirfd_, request_.fileName.c_str()) != 0) return 2;
    committed_ = true;
    tempName_.clear();
    return -1;
}

void _TFTPSession::onData(int block, const unsigned char* payload, std::size_t length,
                          std::size_t fullLength) {
    if (fullLength > static_cast<std::size_t>(kTFTPBlockSize)) {
        failWithError(4, TFTP_BAD_OPERATION);
        return;
    }
    if (block == lastBlock_ && lastBlock_ >= 1) {
        // Our ACK got lost: acknowledge again, write nothing.
        sendLast();
        return;
    }
    if (block != lastBlock_ + 1) return;
    hasDeadline_ = false;
    firstPacket_ = false;
    if (cancel_) {
        SetStatus(TFTP_CANCELED);
        return;
    }
    const bool last = length < static_cast<std::size_t>(kTFTPBlockSize);
    if (block == kTFTPMaxBlock && !last) {
        // The next block would need block number 65536.
        failWithError(0, TFTP_UNDEFINED_ERROR);
        return;
    }
    if (!writeOut(payload, length)) {
        failWithError(3, TFTP_DISK_FULL);
        return;
    }
    lastBlock_ = block;
    request_.lastBlockLength = static_cast<int>(length);
    request_.totalBytes += static_cast<std::int64_t>(length);
    setAck(block);
    if (last) {
        int err = commitUpload();
        if (err >= 0) {
            failWithError(err, err == 3 ? TFTP_DISK_FULL : TFTP_ACCESS_VIOLATION);
            return;
        }
        if (!sendLast()) {
            SetStatus(TFTP_SEND_RECEIVE_FAILED);
            return;
        }
        // Linger one reply time-out so a lost final ACK can be answered again.
        lingering_ = true;
        SetStatus(TFTP_SUCCESS);
        armDeadline();
        return;
    }
    request_.tries = 1;
    sendAndAwaitReply();
}

void _TFTPSession::OnSocketMessage() {
    if (reporting_ > 0) {
        // Inside this session's own status closure: read once it returns.
        readDeferred_ = true;
        socket_.setOnReadable(nullptr);
        return;
    }
    unsigned char buf[4 + kTFTPBlockSize];
    for (int i = 0; i < kMaxDatagramsPerEvent; ++i) {
        os::UdpSocket::Received r;
        if (!socket_.receive(buf, sizeof buf, &r)) break;
        if (state_ != Running && !lingering_) continue;
        const bool isError = r.fullLength >= 2 && Get16(buf) == TFTP_OP_ERROR;
        if (!(r.from == request_.peer)) {
            // Not our peer: tell it, and leave the transfer alone.
            if (!isError) SendError(socket_, r.from, 5);
            continue;
        }
        if (r.fullLength < 4) continue;
        const int op = Get16(buf);
        const int block = Get16(buf + 2);
        if (lingering_) {
            if (op == TFTP_OP_DATA && block == lastBlock_) sendLast();
            continue;
        }
        if (op == TFTP_OP_ERROR) {
            SetStatus(block <= 7 ? TFTP_UNDEFINED_ERROR - block : TFTP_UNDEFINED_ERROR);
            continue;
        }
        if (request_.operation == TFTP_OP_RRQ) {
            if (op == TFTP_OP_ACK) onAck(block);
        } else if (op == TFTP_OP_DATA) {
            onData(block, buf + 4, r.length - 4, r.fullLength - 4);
        }
    }
}

void _TFTPSession::OnRepeatedRequest() {
    if (state_ == Running && firstPacket_) sendLast();
}

bool _TFTPSession::Resend(int retries) {
    if (state_ != Running) return false;
    if (cancel_) {
        SetStatus(TFTP_CANCELED);
        return false;
    }
    // Both directions send their last packet (DATA or ACK) again: a writing
    // client that lost our ACK may wait for it rather than resend its DATA.
    if (request_.tries >= retries) return true;
    ++request_.tries;
    sendAndAwaitReply();
    return false;
}

// ---------------------------------------------------------------------------
// QvTFTPServer

QvTFTPServer::QvTFTPServer(QObject* owner) : QObject(owner), clock_(TFTPSteadyClockMs) {
    timer_ = new QTimer(this);
    timer_->setInterval(kTFTPTimerIntervalMs);
    QObject::connect(timer_, &QTimer::timeout, this, [this] { OnTimer(); });
}

QvTFTPServer::~QvTFTPServer() {
    // The owner is going away: no closure may run from here on, and nothing
    // waits.
    destroying_ = true;
    onStatus_ = nullptr;
    for (auto& s : sessions_)
        s->DropStatusHandler();
    Stop();
}

void QvTFTPServer::SetTimeout(int timeout, int retries) {
    timeout_ = timeout;
    retries_ = retries;
}

void QvTFTPServer::SetOnStatus(TFTPStatusHandler onStatus) {
    onStatus_ = std::move(onStatus);
}

void QvTFTPServer::SetClock(TFTPClock clock) {
    clock_ = clock ? std::move(clock) : TFTPClock(TFTPSteadyClockMs);
}

void QvTFTPServer::SetListenAddress(const std::string& address) {
    std::uint32_t a = 0;
    if (os::ParseIPv4(address, &a)) listenAddress_ = a;
}

void QvTFTPServer::SetDeviceAddress(const std::string& address) {
    // An address that does not resolve admits nobody.
    deviceKnown_ = os::ResolveIPv4(address, &deviceAddress_);
}

int QvTFTPServer::LocalPort() const {
    return socket_.isOpen() ? socket_.localEndpoint().port : 0;
}

std::size_t QvTFTPServer::RunningSessionCount() const {
    std::size_t n = 0;
    for (const auto& s : sessions_)
        n += s->isRunning() ? 1 : 0;
    return n;
}

void QvTFTPServer::Start(const std::string& root, int port, const std::string& deviceAddress) {
    // A device that cannot be named would be refused at every request.
    std::uint32_t device = 0;
    if (!os::ResolveIPv4(deviceAddress, &device))
        throw QvTFTPException(TFTP_SOCKET_FAILED, TFTPStatusText(TFTP_SOCKET_FAILED));
    if (root.empty()) {
        rootFolder_.clear();
    } else if (root.back() == '/') {
        rootFolder_ = root;
    } else if (root.back() == '\\') {
        rootFolder_ = root.substr(0, root.size() - 1) + "/";
    } else {
        rootFolder_ = root + "/";
    }
    port_ = port;
    deviceAddress_ = device;
    deviceKnown_ = true;
    SweepOrphanedTemps(rootFolder_);
    if (socket_.isOpen()) return;
    if (port < 0 || port > 65535 || !socket_.open(listenAddress_, static_cast<std::uint16_t>(port)))
        throw QvTFTPException(TFTP_SOCKET_FAILED, TFTPStatusText(TFTP_SOCKET_FAILED));
    socket_.setOnReadable([this] { OnSocketMessage(); });
    timer_->start();
}

void QvTFTPServer::Stop() {
    socket_.close();
    if (!destroying_ && RunningSessionCount() > 0 && QCoreApplication::instance()) {
        if (!timer_->isActive()) timer_->start();
        const std::int64_t start = clock_();
        // A second bound on the real clock in case the injected one stands still.
        const std::int64_t realStart = TFTPSteadyClockMs();
        while (RunningSessionCount() > 0 && clock_() - start < kTFTPStopWaitMs &&
               TFTPSteadyClockMs() - realStart < kTFTPStopWaitMs) {
            // The 20 ms timer guarantees a wake-up.
            QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
        }
    }
    // No tick may walk the list while the rest are aborted and destroyed,
    // since both report to closures that may run an event loop.
    timer_->stop();
    auto doomed = std::move(sessions_);
    sessions_.clear();
    for (auto& s : doomed)
        s->Abort(TFTP_CANCELED);
    doomed.clear();
}

void QvTFTPServer::Announce(int operation, const std::string& fileName) {
    restricted_ = true;
    announcedOp_ = operation == TFTP_OP_RRQ || operation == TFTP_OP_WRQ ? operation : 0;
    announcedName_ = announcedOp_ ? fileName : std::string();
    ++announcement_;
    completed_ = 0;
}

void QvTFTPServer::noteCompleted() {
    ++completed_;
    if (!onAnnouncedDone_ || destroying_) return;
    QMetaObject::invokeMethod(
        this,
        [this] {
            if (onAnnouncedDone_ && !destroying_) onAnnouncedDone_();
        },
        Qt::QueuedConnection);
}

_TFTPSession* QvTFTPServer::FindSession(const TFTPRequest& request) const {
    for (const auto& s : sessions_)
        if (s->MatchesPeer(request)) return s.get();
    return nullptr;
}

bool QvTFTPServer::writeInProgress(const std::string& fileName) const {
    for (const auto& s : sessions_)
        if (s->isRunning() && s->isWriting() && s->request().fileName == fileName) return true;
    return false;
}

void QvTFTPServer::refuse(const os::UdpEndpoint& to, int tftpCode) {
    SendError(socket_, to, tftpCode);
}

void QvTFTPServer::OnSocketMessage() {
    // Room for the longest request we serve; a longer one arrives truncated
    // and is dropped, since its terminators are lost.
    unsigned char buf[2048];
    for (int i = 0; i < kMaxDatagramsPerEvent && socket_.isOpen(); ++i) {
        os::UdpSocket::Received r;
        if (!socket_.receive(buf, sizeof buf, &r)) break;
        if (r.truncated) continue;
        handleRequest(buf, r.length, r.from);
    }
}

void QvTFTPServer::handleRequest(const unsigned char* data, std::size_t length,
                                 const os::UdpEndpoint& from) {
    if (length < 4) return;
    const int op = Get16(data);
    if (op != TFTP_OP_RRQ && op != TFTP_OP_WRQ) return;
    // Both strings must end inside the datagram; options after them are ignored.
    const unsigned char* end = data + length;
    const unsigned char* name = data + 2;
    const auto* nameEnd = static_cast<const unsigned char*>(std::memchr(name, 0, end - name));
    if (!nameEnd) return;
    const unsigned char* mode = nameEnd + 1;
    if (mode >= end) return;
    const auto* modeEnd = static_cast<const unsigned char*>(std::memchr(mode, 0, end - mode));
    if (!modeEnd) return;

    if (!deviceKnown_ || from.address != deviceAddress_) {
        refuse(from, 2);
        return;
    }
    TFTPRequest rq = request_;
    rq.operation = op;
    rq.fileName.assign(reinterpret_cast<const char*>(name), nameEnd - name);
    if (restricted_ && (op != announcedOp_ || rq.fileName != announcedName_)) {
        // Only the transfer the device was ordered to make.
        refuse(from, 2);
        return;
    }
    rq.mode.assign(reinterpret_cast<const char*>(mode), modeEnd - mode);
    rq.peer = from;
    rq.timeout = timeout_;
    rq.tries = 0;
    if (_TFTPSession* s = FindSession(rq)) {
        s->OnRepeatedRequest();
        return;
    }
    if (RunningSessionCount() >= kMaxRunningSessions) {
        refuse(from, 0);
        return;
    }
    rq.sessionNumber = ++request_.sessionNumber;
    const bool busy = op == TFTP_OP_WRQ && writeInProgress(rq.fileName);
    TFTPStatusHandler handler = onStatus_;
    if (restricted_) {
        // Counted before the closure runs, which may open a message box.
        const unsigned announcement = announcement_;
        handler = [this, announcement, user = onStatus_](TFTPStatus* status, bool* cancel) {
            if (status->code == TFTP_SUCCESS && restricted_ && announcement == announcement_)
                noteCompleted();
            if (user) user(status, cancel);
        };
    }
    auto session =
        std::make_unique<_TFTPSession>(rootFolder_, handler, rq, clock_, listenAddress_, busy);
    _TFTPSession* started = session.get();
    sessions_.push_back(std::move(session));
    started->Start();
}

std::vector<std::unique_ptr<_TFTPSession>>::iterator QvTFTPServer::findListed(
    const _TFTPSession* session) {
    return std::find_if(sessions_.begin(), sessions_.end(),
                        [session](const auto& s) { return s.get() == session; });
}

void QvTFTPServer::OnTimer() {
    if (sessions_.empty()) return;
    const std::int64_t now = clock_();
    // Every status closure may run an event loop in which this runs again and
    // the list changes: walk a copy and find each session again after it
    // has reported.
    const std::vector<_TFTPSession*> walk = [this] {
        std::vector<_TFTPSession*> v;
        v.reserve(sessions_.size());
        for (const auto& s : sessions_)
            v.push_back(s.get());
        return v;
    }();
    for (_TFTPSession* s : walk) {
        if (findListed(s) == sessions_.end() || s->isReporting()) continue;
        if (s->isRunning() && s->deadlinePassed(now) && s->Resend(retries_)) {
            s->Abort(TFTP_TIMEOUT);
        }
        auto it = findListed(s);
        if (it != sessions_.end() && s->canBeRemoved(now)) {
            std::unique_ptr<_TFTPSession> doomed = std::move(*it);
            sessions_.erase(it);
            doomed.reset();
        }
    }
}
