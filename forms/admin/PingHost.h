#pragma once
// ICMP echo test of an address: the LAN form and the static pool dialog ask
// it whether a new address already answers on the network.
#include <cstddef>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>

// Answered: an echo reply from the address with our identifier and sequence
// came back. Silent: none within the attempts. Unchecked: this process has
// no way to send ICMP, so nothing is known. Unresolved: no such host.
enum class PingResult { Answered, Silent, Unchecked, Unresolved };

// Where echo requests go out and replies come in (a socket, or a fake).
class IcmpChannel {
public:
    virtual ~IcmpChannel() = default;
    // One echo request datagram to the address (network byte order).
    virtual bool Send(const std::uint8_t* data, std::size_t length, std::uint32_t address) = 0;
    // Waits up to waitMs for one datagram; its length (0 when none came),
    // the sender's address in *from.
    virtual int Receive(std::uint8_t* buffer, std::size_t capacity, int waitMs,
                        std::uint32_t* from) = 0;
    // Raw sockets deliver the IP header in front of the ICMP message.
    virtual bool WithIpHeader() const = 0;
    // The identifier replies carry (unprivileged sockets put in their own).
    virtual std::uint16_t ReplyIdentifier(std::uint16_t sent) const { return sent; }
};

using IcmpChannelFactory = std::function<std::unique_ptr<IcmpChannel>()>;
// Replaces how channels are opened (null: real sockets); returns the old one.
IcmpChannelFactory SetIcmpChannelFactory(IcmpChannelFactory factory);
// A raw ICMP socket, else an unprivileged ICMP datagram socket, else null.
std::unique_ptr<IcmpChannel> OpenSystemIcmpChannel();

// Sums 16-bit words, adds a last odd byte, folds the carries and returns
// the complement (RFC 1071).
std::uint16_t IcmpChecksum(const std::uint8_t* bytes, std::size_t length);

// Up to three echo requests, each waited for up to a second. A dotted
// address is read as DottedAddress reads it, never by the resolver (which
// takes "010" as octal); other digits-and-dots texts are unresolved.
PingResult PingAddress(const std::string& host);
// True only when the address answered; an unknown host shows "Unable to
// resolve " and the host.
bool PingHost(const char* host);

// The echo attempts and the wait per attempt.
constexpr int kPingAttempts = 3;
constexpr int kPingWaitMs = 1000;
