#pragma once
// A scripted SNMP responder on 127.0.0.1, driven by the test's event loop. It
// stands beside snmpd only for what snmpd does not do on demand: answer tooBig,
// step back, fail mid-walk, stay silent, or show what each request carried.
// Its OIDs are 1.3... with arcs below 128; every value it sends is NULL.

#include <arpa/inet.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

#include <algorithm>
#include <functional>
#include <memory>
#include <sstream>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

#include <qlmib/ui/EventLoop.h>

namespace qlmib::test {

class ScriptedAgent {
public:
    struct Request {
        int pduType;  // 0xA0 GET, 0xA1 GET-NEXT, 0xA3 SET, 0xA5 GET-BULK
        long version;  // 0 for SNMPv1, 1 for v2c
        std::string community;
        long maxRepetitions;  // the error index field outside GET-BULK
        long requestId;
    };
    struct Reply {
        bool send = true;
        char errorStatus = 0;
        std::vector<std::string> oids;
    };

    ScriptedAgent(ui::EventLoop& loop, std::function<Reply(const Request&)> script) : script_(std::move(script)) {
        sockaddr_in address{AF_INET, 0, {htonl(INADDR_LOOPBACK)}, {}};
        socklen_t length = sizeof address;
        if (::bind(fd_, reinterpret_cast<sockaddr*>(&address), length) != 0 ||
            ::getsockname(fd_, reinterpret_cast<sockaddr*>(&address), &length) != 0)
            throw std::runtime_error("scripted agent socket");
        port_ = ntohs(address.sin_port);
        watch_ = loop.watchSocket(fd_, [this] { receive(); });
    }
    ~ScriptedAgent() {
        watch_.reset();
        ::close(fd_);
    }
    ScriptedAgent(const ScriptedAgent&) = delete;
    ScriptedAgent& operator=(const ScriptedAgent&) = delete;

    std::string address() const { return "127.0.0.1:" + std::to_string(port_); }

    std::vector<Request> requests;  // retransmissions included

private:
    // The next BER element of `data`: its tag and content.
    static std::pair<int, std::string_view> take(std::string_view& data) {
        size_t length = data.size() < 2 ? 0 : static_cast<unsigned char>(data[1]), header = 2;
        if (length & 0x80) {
            header += length & 0x7f;
            length = 0;
            for (size_t i = 2; i < std::min(header, data.size()); ++i)
                length = length * 256 + static_cast<unsigned char>(data[i]);
        }
        if (header + length > data.size()) throw std::runtime_error("bad BER from the engine");
        const int tag = static_cast<unsigned char>(data[0]);
        const auto content = data.substr(header, length);
        data.remove_prefix(header + length);
        return {tag, content};
    }
    static long integer(std::string_view content) {  // not negative
        long value = 0;
        for (const char c : content) value = value * 256 + static_cast<unsigned char>(c);
        return value;
    }
    static std::string element(int tag, std::string_view content) {
        if (content.size() > 127) throw std::length_error("the scripted agent answers short messages only");
        return std::string{static_cast<char>(tag), static_cast<char>(content.size())}.append(content);
    }

    void receive() {
        char buffer[65536];
        sockaddr_storage from{};
        socklen_t fromLength = sizeof from;
        const ssize_t n = ::recvfrom(fd_, buffer, sizeof buffer, 0, reinterpret_cast<sockaddr*>(&from), &fromLength);
        if (n <= 0) return;
        std::string_view message(buffer, static_cast<size_t>(n));
        message = take(message).second;
        const auto version = take(message).second, community = take(message).second;
        auto [pduType, pdu] = take(message);
        const auto requestId = take(pdu).second;
        take(pdu);  // non-repeaters or error status
        const long repetitions = integer(take(pdu).second);
        requests.push_back({pduType, integer(version), std::string(community), repetitions, integer(requestId)});
        const Reply reply = script_(requests.back());
        if (!reply.send) return;
        std::string bindings;
        for (const auto& oid : reply.oids) {
            std::string arcs = "\x2B";  // 1.3
            std::istringstream rest(oid.substr(4));
            for (std::string arc; std::getline(rest, arc, '.');) arcs += static_cast<char>(std::stoi(arc));
            bindings += element(0x30, element(0x06, arcs) + element(0x05, ""));
        }
        const std::string response = element(
            0x30, element(0x02, version) + element(0x04, community) +
                      element(0xA2, element(0x02, requestId) + element(0x02, std::string(1, reply.errorStatus)) +
                                        element(0x02, std::string(1, '\0')) + element(0x30, bindings)));
        ::sendto(fd_, response.data(), response.size(), 0, reinterpret_cast<sockaddr*>(&from), fromLength);
    }

    std::function<Reply(const Request&)> script_;
    int fd_ = ::socket(AF_INET, SOCK_DGRAM | SOCK_CLOEXEC, 0);
    int port_ = 0;
    std::unique_ptr<ui::SocketWatch> watch_;
};

}  // namespace qlmib::test
