#pragma once
// The host of a request as net-snmp's transport names it.

#include <optional>
#include <string>
#include <string_view>

namespace qlmib::snmp::internal {

// "HOST", "HOST:PORT", "[IPV6]", "[IPV6]:PORT" or a bare IPv6 address,
// optionally after "udp:", "tcp:", "udp6:" or "tcp6:", becomes
// "udp:HOST:PORT", "udp6:[IPV6]:PORT" or the same with "tcp"; `port` applies when the host names none. A malformed
// host gives nullopt and the reason in `error`.
std::optional<std::string> PeerName(std::string_view host, int port, std::string& error);

}  // namespace qlmib::snmp::internal
