#pragma once
// ICMP echo ("ping") of an IPv4 address. An unprivileged ping socket is used
// where the system allows one (net.ipv4.ping_group_range), else a raw socket
// (root or CAP_NET_RAW); without either nothing can be sent and the address
// counts as not answering.
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace os {

// RFC 1071 sum of 16-bit words in memory order (a last odd byte added alone),
// carries folded twice, complemented.
uint16_t IcmpChecksum(const uint8_t* data, size_t length);

// The 12-byte echo request: type 8, code 0, checksum, then identifier,
// sequence and timestamp in this machine's byte order.
std::vector<uint8_t> BuildEchoRequest(uint16_t identifier, uint16_t sequence, uint32_t timestamp);

// True when data is an echo reply (type 0) carrying identifier and sequence.
// withIpHeader: the datagram starts with its IP header (raw sockets).
// checkIdentifier false leaves the identifier to the kernel (ping sockets).
bool IsEchoReply(const uint8_t* data, size_t length, bool withIpHeader, uint16_t identifier,
                 uint16_t sequence, bool checkIdentifier = true);

// A host name or dotted address as a dotted IPv4 address; false when neither.
bool ResolveIPv4(const std::string& host, std::string& dotted);

enum class IcmpSocketKind { None, Ping, Raw };
enum class IcmpMode { Auto, PingOnly, RawOnly };

class EchoSocket {
public:
    EchoSocket() = default;
    ~EchoSocket() { close(); }
    EchoSocket(const EchoSocket&) = delete;
    EchoSocket& operator=(const EchoSocket&) = delete;

    // False (kind None, reason in error()) when no socket of the mode can be had.
    bool open(IcmpMode mode = IcmpMode::Auto);
    void close();
    IcmpSocketKind kind() const { return kind_; }
    const std::string& error() const { return error_; }

    // Sends one request to a dotted address and waits up to timeoutMs for its
    // reply; other ICMP traffic arriving meanwhile is passed over.
    bool echo(const std::string& address, int timeoutMs);

private:
    int fd_ = -1;
    IcmpSocketKind kind_ = IcmpSocketKind::None;
    std::string error_;
};

struct EchoResult {
    bool answered = false;
    IcmpSocketKind socket = IcmpSocketKind::None;
    std::string error; // why nothing could be sent, if so
};

// One request with its own socket, closed again before returning.
EchoResult IcmpEcho(const std::string& host, int timeoutMs, IcmpMode mode = IcmpMode::Auto);

// The sequence number the next request will carry (one counter for the module).
uint16_t NextEchoSequence();

} // namespace os
