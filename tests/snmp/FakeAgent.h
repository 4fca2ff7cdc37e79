#pragma once
// A scripted SNMP responder on 127.0.0.1, driven by the test's event loop.
// It stands in for snmpd only where a test needs an answer a real agent does
// not give on demand: tooBig to a bulk request, an OID that steps back, or
// silence while retransmissions are counted.

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include <qlmib/ui/EventLoop.h>

namespace qlmib::snmp::test {

class FakeAgent {
public:
    struct Request {
        int pduType = 0;  // 0xA0 GET, 0xA1 GET-NEXT, 0xA3 SET, 0xA5 GET-BULK
        long version = 0;  // 0 for SNMPv1, 1 for v2c
        std::string community;
        long requestId = 0;
        long nonRepeaters = 0, maxRepetitions = 0;  // error status and index outside GET-BULK
        std::vector<std::string> oids;
    };
    struct Binding {
        std::string oid;
        int type = 4;         // BER tag of the value
        std::string content;  // the value's encoded octets
    };
    struct Reply {
        bool send = true;
        long errorStatus = 0, errorIndex = 0;
        std::vector<Binding> bindings;
    };
    using Script = std::function<Reply(const Request&)>;

    FakeAgent(ui::EventLoop& loop, Script script);
    ~FakeAgent();
    FakeAgent(const FakeAgent&) = delete;
    FakeAgent& operator=(const FakeAgent&) = delete;

    int port() const { return port_; }
    std::string address() const { return "127.0.0.1:" + std::to_string(port_); }
    // Every request received, retransmissions included, in order.
    const std::vector<Request>& requests() const { return requests_; }

private:
    void receive();

    Script script_;
    int fd_ = -1;
    int port_ = 0;
    std::unique_ptr<ui::SocketWatch> watch_;
    std::vector<Request> requests_;
};

}  // namespace qlmib::snmp::test
