// UDP sockets for the whole program. Readiness is delivered on the thread that
// installed the callback (the GUI thread) through the Qt event loop.
#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>

class QSocketNotifier;

namespace os {

// An IPv4 address and UDP port, both in host byte order.
struct UdpEndpoint {
    std::uint32_t address = 0;
    std::uint16_t port = 0;

    bool operator==(const UdpEndpoint&) const = default;
    // Dotted text of the address only ("127.0.0.1").
    std::string addressText() const;
    // "a.b.c.d:port"
    std::string toString() const;
};

// Parses a dotted IPv4 address; false for anything else.
bool ParseIPv4(const std::string& text, std::uint32_t* address);
// Dotted address, or a host name resolved to its first IPv4 address.
bool ResolveIPv4(const std::string& host, std::uint32_t* address);

constexpr std::uint32_t kLoopbackAddress = 0x7F000001u;

class UdpSocket {
public:
    struct Received {
        std::size_t length = 0;     // bytes copied into the caller's buffer
        std::size_t fullLength = 0; // the datagram's real size
        bool truncated = false;     // fullLength > the buffer
        UdpEndpoint from;
    };

    UdpSocket();
    ~UdpSocket();
    UdpSocket(const UdpSocket&) = delete;
    UdpSocket& operator=(const UdpSocket&) = delete;

    // Creates a non-blocking socket bound to address:port (port 0: any free
    // port). No SO_REUSEADDR, so a port in use is reported, not shared.
    bool open(std::uint32_t address, std::uint16_t port);
    bool isOpen() const { return fd_ >= 0; }
    int fd() const { return fd_; }
    UdpEndpoint localEndpoint() const;
    // errno of the last failed call, 0 after a success.
    int lastError() const { return lastError_; }

    // Called on the installing thread whenever a datagram can be read. The
    // callback must read (or the socket stays readable) and may close the
    // socket, but must not destroy it.
    void setOnReadable(std::function<void()> onReadable);

    // One datagram without blocking; false when none is waiting or on error.
    bool receive(void* buffer, std::size_t capacity, Received* out);
    // Sends one whole datagram; false on error or a short send.
    bool send(const void* data, std::size_t length, const UdpEndpoint& to);

    void close();

private:
    void dropNotifier();

    int fd_ = -1;
    int lastError_ = 0;
    std::function<void()> onReadable_;
    QSocketNotifier* notifier_ = nullptr;
    bool inCallback_ = false;
    std::shared_ptr<bool> alive_;
};

} // namespace os
