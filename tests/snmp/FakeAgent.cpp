#include "FakeAgent.h"

#include <arpa/inet.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

#include <cstring>
#include <stdexcept>
#include <string_view>

namespace qlmib::snmp::test {
namespace {

// Just enough BER for SNMPv1/v2c messages.
struct Reader {
    std::string_view data;

    // The next element: its tag, and its content as a reader.
    std::pair<int, Reader> next() {
        if (data.size() < 2) throw std::runtime_error("short BER element");
        const int tag = static_cast<unsigned char>(data[0]);
        size_t length = static_cast<unsigned char>(data[1]), header = 2;
        if (length & 0x80) {
            const size_t count = length & 0x7f;
            length = 0;
            for (size_t i = 0; i < count; ++i) length = length * 256 + static_cast<unsigned char>(data[2 + i]);
            header += count;
        }
        if (header + length > data.size()) throw std::runtime_error("BER length past the end");
        Reader content{data.substr(header, length)};
        data.remove_prefix(header + length);
        return {tag, content};
    }
    long integer() {
        auto [tag, content] = next();
        long value = content.data.empty() || static_cast<signed char>(content.data[0]) >= 0 ? 0 : -1;
        for (const char c : content.data) value = value * 256 + static_cast<unsigned char>(c);
        return value;
    }
    std::string oid() {
        auto [tag, content] = next();
        const auto& bytes = content.data;
        if (bytes.empty()) return {};
        std::string text = std::to_string(static_cast<unsigned char>(bytes[0]) / 40) + "." +
                           std::to_string(static_cast<unsigned char>(bytes[0]) % 40);
        unsigned long arc = 0;
        for (size_t i = 1; i < bytes.size(); ++i) {
            arc = arc * 128 + (static_cast<unsigned char>(bytes[i]) & 0x7f);
            if (!(bytes[i] & 0x80)) {
                text += "." + std::to_string(arc);
                arc = 0;
            }
        }
        return text;
    }
};

std::string element(int tag, const std::string& content) {
    std::string out(1, static_cast<char>(tag));
    if (content.size() < 128) {
        out += static_cast<char>(content.size());
    } else {
        out += static_cast<char>(0x82);
        out += static_cast<char>(content.size() >> 8);
        out += static_cast<char>(content.size() & 0xff);
    }
    return out + content;
}

std::string integer(long value) {
    std::string bytes;
    for (;;) {
        bytes.insert(bytes.begin(), static_cast<char>(value & 0xff));
        const bool negative = bytes.front() & 0x80;
        value >>= 8;
        if ((value == 0 && !negative) || (value == -1 && negative)) break;
    }
    return element(0x02, bytes);
}

std::string oid(const std::string& text) {
    std::vector<unsigned long> arcs;
    for (size_t start = 0; start <= text.size();) {
        const size_t dot = std::min(text.find('.', start), text.size());
        arcs.push_back(std::stoul(text.substr(start, dot - start)));
        start = dot + 1;
    }
    std::string bytes(1, static_cast<char>(arcs[0] * 40 + arcs[1]));
    for (size_t i = 2; i < arcs.size(); ++i) {
        std::string arc(1, static_cast<char>(arcs[i] & 0x7f));
        for (unsigned long rest = arcs[i] >> 7; rest; rest >>= 7) arc.insert(arc.begin(), static_cast<char>(0x80 | (rest & 0x7f)));
        bytes += arc;
    }
    return element(0x06, bytes);
}

}  // namespace

FakeAgent::FakeAgent(ui::EventLoop& loop, Script script) : script_(std::move(script)) {
    fd_ = ::socket(AF_INET, SOCK_DGRAM | SOCK_CLOEXEC, 0);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    socklen_t length = sizeof address;
    if (fd_ < 0 || ::bind(fd_, reinterpret_cast<sockaddr*>(&address), sizeof address) != 0 ||
        ::getsockname(fd_, reinterpret_cast<sockaddr*>(&address), &length) != 0)
        throw std::runtime_error(std::string("fake agent socket: ") + std::strerror(errno));
    port_ = ntohs(address.sin_port);
    watch_ = loop.watchSocket(fd_, [this] { receive(); });
}

FakeAgent::~FakeAgent() {
    watch_.reset();
    ::close(fd_);
}

void FakeAgent::receive() {
    char buffer[65536];
    sockaddr_storage from{};
    socklen_t fromLength = sizeof from;
    const ssize_t n = ::recvfrom(fd_, buffer, sizeof buffer, 0, reinterpret_cast<sockaddr*>(&from), &fromLength);
    if (n <= 0) return;

    Reader message = Reader{std::string_view(buffer, static_cast<size_t>(n))}.next().second;
    const long version = message.integer();
    const std::string community(message.next().second.data);
    auto [pduType, pdu] = message.next();
    Request request;
    request.pduType = pduType;
    request.version = version;
    request.community = community;
    request.requestId = pdu.integer();
    request.nonRepeaters = pdu.integer();
    request.maxRepetitions = pdu.integer();
    for (Reader list = pdu.next().second; !list.data.empty();) request.oids.push_back(list.next().second.oid());
    requests_.push_back(request);

    const Reply reply = script_(request);
    if (!reply.send) return;
    std::string bindings;
    for (const auto& b : reply.bindings) bindings += element(0x30, oid(b.oid) + element(b.type, b.content));
    const std::string response = element(
        0x30, integer(version) + element(0x04, community) +
                  element(0xA2, integer(request.requestId) + integer(reply.errorStatus) + integer(reply.errorIndex) +
                                    element(0x30, bindings)));
    ::sendto(fd_, response.data(), response.size(), 0, reinterpret_cast<sockaddr*>(&from), fromLength);
}

}  // namespace qlmib::snmp::test
