// A scripted SNMPv1/v2c agent on 127.0.0.1 for replies no real agent gives:
// each request's identifiers go to a script that returns the error status,
// error index and bindings of the response. Integer and null values only.
// It answers from its own thread until it is destroyed.
#pragma once

#include <arpa/inet.h>
#include <atomic>
#include <cstdint>
#include <functional>
#include <netinet/in.h>
#include <optional>
#include <poll.h>
#include <string>
#include <sys/socket.h>
#include <thread>
#include <unistd.h>
#include <vector>

namespace fakeagent {

struct Binding {
    std::string oid;                // dotted, no leading dot
    std::optional<int64_t> integer; // none: a null value
};

struct Response {
    int errorStatus = 0;
    int errorIndex = 0;
    std::vector<Binding> bindings;
};

// pduTag: 0xA0 get, 0xA1 get-next, 0xA3 set; oids: the request's identifiers.
using Script = std::function<Response(int pduTag, const std::vector<std::string>& oids)>;

namespace ber {

inline std::string Length(size_t n) {
    if (n < 0x80) return std::string(1, static_cast<char>(n));
    std::string bytes;
    for (; n; n >>= 8)
        bytes.insert(bytes.begin(), static_cast<char>(n & 0xFF));
    return std::string(1, static_cast<char>(0x80 | bytes.size())) + bytes;
}

inline std::string Tlv(int tag, const std::string& content) {
    return std::string(1, static_cast<char>(tag)) + Length(content.size()) + content;
}

inline std::string Integer(int64_t v) {
    std::string out;
    for (int k = 7; k >= 0; --k)
        out.push_back(static_cast<char>((static_cast<uint64_t>(v) >> (8 * k)) & 0xFF));
    // Minimal two's complement: drop leading bytes that only repeat the sign.
    while (out.size() > 1 && ((out[0] == 0 && !(out[1] & 0x80)) ||
                              (out[0] == static_cast<char>(0xFF) && (out[1] & 0x80))))
        out.erase(out.begin());
    return Tlv(0x02, out);
}

inline std::string Oid(const std::string& dotted) {
    std::vector<uint64_t> arcs;
    size_t pos = 0;
    while (pos <= dotted.size()) {
        size_t dot = dotted.find('.', pos);
        if (dot == std::string::npos) dot = dotted.size();
        arcs.push_back(std::stoull(dotted.substr(pos, dot - pos)));
        pos = dot + 1;
    }
    std::string out;
    auto put = [&out](uint64_t v) {
        std::string b(1, static_cast<char>(v & 0x7F));
        for (v >>= 7; v; v >>= 7)
            b.insert(b.begin(), static_cast<char>(0x80 | (v & 0x7F)));
        out += b;
    };
    put(arcs.size() > 1 ? arcs[0] * 40 + arcs[1] : arcs[0] * 40);
    for (size_t k = 2; k < arcs.size(); ++k)
        put(arcs[k]);
    return Tlv(0x06, out);
}

// Reads one TLV at pos; false when the bytes run out.
inline bool Read(const std::string& in, size_t& pos, int& tag, std::string& content) {
    if (pos + 2 > in.size()) return false;
    tag = static_cast<unsigned char>(in[pos++]);
    size_t len = static_cast<unsigned char>(in[pos++]);
    if (len & 0x80) {
        int n = static_cast<int>(len & 0x7F);
        len = 0;
        for (int k = 0; k < n; ++k) {
            if (pos >= in.size()) return false;
            len = (len << 8) | static_cast<unsigned char>(in[pos++]);
        }
    }
    if (pos + len > in.size()) return false;
    content = in.substr(pos, len);
    pos += len;
    return true;
}

inline std::string OidText(const std::string& content) {
    std::string out;
    uint64_t v = 0;
    bool firstArc = true;
    for (unsigned char c : content) {
        v = (v << 7) | (c & 0x7F);
        if (c & 0x80) continue;
        if (firstArc) {
            out = std::to_string(v < 80 ? v / 40 : 2) + "." +
                  std::to_string(v < 80 ? v % 40 : v - 80);
            firstArc = false;
        } else {
            out += "." + std::to_string(v);
        }
        v = 0;
    }
    return out;
}

} // namespace ber

class Agent {
public:
    explicit Agent(Script script) : script_(std::move(script)) {
        fd_ = socket(AF_INET, SOCK_DGRAM | SOCK_CLOEXEC, 0);
        sockaddr_in addr{};
        addr.sin_family = AF_INET;
        addr.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        socklen_t len = sizeof(addr);
        if (fd_ < 0 || bind(fd_, reinterpret_cast<sockaddr*>(&addr), sizeof(addr)) != 0 ||
            getsockname(fd_, reinterpret_cast<sockaddr*>(&addr), &len) != 0)
            return;
        port_ = ntohs(addr.sin_port);
        thread_ = std::thread([this] { Run(); });
    }
    ~Agent() {
        stop_ = true;
        if (thread_.joinable()) thread_.join();
        if (fd_ >= 0) close(fd_);
    }
    Agent(const Agent&) = delete;
    Agent& operator=(const Agent&) = delete;

    uint16_t Port() const { return port_; }
    int Requests() const { return requests_; }

private:
    void Run() {
        // Polls in short slices so that the destructor's stop flag is seen.
        while (!stop_) {
            pollfd p{fd_, POLLIN, 0};
            if (poll(&p, 1, 20) <= 0) continue;
            char buf[4096];
            sockaddr_in from{};
            socklen_t fromLen = sizeof(from);
            ssize_t n =
                recvfrom(fd_, buf, sizeof(buf), 0, reinterpret_cast<sockaddr*>(&from), &fromLen);
            if (n <= 0) continue;
            std::string reply = Answer(std::string(buf, static_cast<size_t>(n)));
            if (!reply.empty())
                sendto(fd_, reply.data(), reply.size(), 0, reinterpret_cast<sockaddr*>(&from),
                       fromLen);
        }
    }

    std::string Answer(const std::string& packet) {
        using namespace ber;
        size_t pos = 0;
        int tag = 0;
        std::string message, version, community, pdu;
        if (!Read(packet, pos, tag, message) || tag != 0x30) return {};
        pos = 0;
        if (!Read(message, pos, tag, version) || !Read(message, pos, tag, community)) return {};
        int pduTag = 0;
        if (!Read(message, pos, pduTag, pdu)) return {};
        size_t p = 0;
        std::string requestId, status, index, list;
        if (!Read(pdu, p, tag, requestId) || !Read(pdu, p, tag, status) ||
            !Read(pdu, p, tag, index) || !Read(pdu, p, tag, list))
            return {};
        std::vector<std::string> oids;
        for (size_t q = 0; q < list.size();) {
            std::string vb, oid;
            if (!Read(list, q, tag, vb)) break;
            size_t r = 0;
            if (Read(vb, r, tag, oid) && tag == 0x06) oids.push_back(OidText(oid));
        }
        ++requests_;
        Response resp = script_(pduTag, oids);
        std::string vbs;
        for (const Binding& b : resp.bindings)
            vbs += Tlv(0x30, Oid(b.oid) + (b.integer ? Integer(*b.integer) : Tlv(0x05, "")));
        std::string body = Tlv(0x02, requestId) + Integer(resp.errorStatus) +
                           Integer(resp.errorIndex) + Tlv(0x30, vbs);
        return Tlv(0x30, Tlv(0x02, version) + Tlv(0x04, community) + Tlv(0xA2, body));
    }

    Script script_;
    int fd_ = -1;
    uint16_t port_ = 0;
    std::atomic<bool> stop_{false};
    std::atomic<int> requests_{0};
    std::thread thread_;
};

} // namespace fakeagent
