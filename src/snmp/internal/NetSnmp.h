#pragma once
// net-snmp's headers and one owning handle per net-snmp object. Only the
// engine's own sources include this.

#include <net-snmp/net-snmp-config.h>
#include <net-snmp/net-snmp-includes.h>
#include <net-snmp/library/large_fd_set.h>

#include <memory>

namespace qlmib::snmp::internal {

struct SessionCloser {
    void operator()(void* session) const noexcept { snmp_sess_close(session); }
};
// A session opened with snmp_sess_open (the single-session API).
using SessionHandle = std::unique_ptr<void, SessionCloser>;

struct PduFree {
    void operator()(netsnmp_pdu* pdu) const noexcept { snmp_free_pdu(pdu); }
};
using PduHandle = std::unique_ptr<netsnmp_pdu, PduFree>;

// Initialises the library once per process: no MIB files, no configuration
// files, no persistent state, no logging to the host's standard error.
void InitNetSnmp();

}  // namespace qlmib::snmp::internal
