#pragma once
// A real snmpd on loopback for live tests and benchmarks. It reads only the
// configuration written here: a read community, and a read-write community
// that may write only the agent's own objects (sysContact, sysLocation,
// snmpEnableAuthenTraps), with sysName fixed so that a SET of it is refused. It runs in its own folder and stops with the object (or with the
// test program, should that die first).

#include <sys/types.h>

#include <filesystem>
#include <string>
#include <vector>

namespace qlmib::test {

class SnmpAgent {
public:
    static constexpr const char* kReadCommunity = "public";
    static constexpr const char* kWriteCommunity = "private";
    static constexpr const char* kSysName = "qlmib-test-agent";
    // SNMPv3 users, all with these passphrases: one without authentication,
    // one per authentication protocol (authNoPriv) and one per privacy
    // protocol (authPriv). Each reads everything and may write what the write
    // community may, at its own level and above.
    static constexpr const char* kAuthPassphrase = "qlmib-auth-phrase";
    static constexpr const char* kPrivPassphrase = "qlmib-priv-phrase";
    struct V3User {
        std::string name, level, auth, priv;  // level, protocols as net-snmp's tools spell them
    };
    static const std::vector<V3User>& V3Users();
    // The first user of that level.
    static const V3User& V3UserOf(const std::string& level);

    // Starts snmpd on 127.0.0.1 (with `ipv6` on ::1 too, and over TCP as well
    // as UDP) at a free high port and waits until it answers. Throws
    // std::runtime_error when snmpd is missing or does not come up.
    explicit SnmpAgent(bool ipv6 = false);
    SnmpAgent(const SnmpAgent&) = delete;
    SnmpAgent& operator=(const SnmpAgent&) = delete;
    // Stops the agent by its pid and removes its folder.
    ~SnmpAgent();

    // The IPv4 agent that the tests of one program share, started on first use.
    static SnmpAgent& Shared();

    int port() const { return port_; }
    std::string address() const { return "127.0.0.1:" + std::to_string(port_); }
    std::string address6() const { return "udp6:[::1]:" + std::to_string(port_); }

private:
    bool start(const std::string& snmpd, bool ipv6);
    bool answers(int timeoutMs);
    void stop();

    std::filesystem::path folder_;
    int port_ = 0;
    pid_t pid_ = -1;
};

// A UDP port on 127.0.0.1 that nothing listens on, for timeouts.
int UnusedUdpPort();

}  // namespace qlmib::test
