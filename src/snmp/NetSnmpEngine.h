#pragma once
// The SNMP engine on net-snmp (SNMPv1, v2c and v3 over UDP, IPv4 and IPv6).
// Its sockets and retransmission timer are watched by the event loop it is
// given; answers are queued and delivered from that loop. One session per
// agent address is kept open for asynchronous requests and another for
// synchronous ones, so a synchronous call neither swallows nor delivers the
// answers of pending asynchronous requests. Lives on the loop's thread.

#include <memory>

#include "qlmib/snmp/Engine.h"

namespace qlmib::ui {
class EventLoop;
}

namespace qlmib::snmp {

class NetSnmpEngine : public Engine {
public:
    explicit NetSnmpEngine(ui::EventLoop& loop);
    // Drops every outstanding request without delivering its answer.
    ~NetSnmpEngine() override;
    NetSnmpEngine(const NetSnmpEngine&) = delete;
    NetSnmpEngine& operator=(const NetSnmpEngine&) = delete;

    int getPendingCount() const override;
    void Get(const std::string& Host) override;
    void GetNext(const std::string& Host) override;
    void Set(const std::string& Host) override;
    void GetBulk(const std::string& Host, const std::string& Community, const std::string& Tag,
                 const std::vector<std::string>& OIDs, int NonRepeaters, int MaxRepetitions) override;
    void CancelAll() override;

    struct Impl;

private:
    std::shared_ptr<Impl> impl_;
};

}  // namespace qlmib::snmp
