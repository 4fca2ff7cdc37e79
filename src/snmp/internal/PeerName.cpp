#include "PeerName.h"

#include <algorithm>

#include "qlmib/mibdata/TextNumbers.h"

namespace qlmib::snmp::internal {
namespace {

bool startsWithNoCase(std::string_view text, std::string_view prefix) {
    return text.size() >= prefix.size() && EqualsNoCase(text.substr(0, prefix.size()), prefix);
}

std::optional<int> portNumber(std::string_view text) {
    if (text.empty() || text.size() > 5 || !std::all_of(text.begin(), text.end(), [](char c) { return c >= '0' && c <= '9'; }))
        return std::nullopt;
    const int port = RoundToInt32(LeadingNumber(text));
    if (port < 1 || port > 65535) return std::nullopt;
    return port;
}

}  // namespace

std::optional<std::string> PeerName(std::string_view host, int port, std::string& error) {
    const std::string_view given = host;
    auto bad = [&](const std::string& why) -> std::optional<std::string> {
        error = "Bad address \"" + std::string(given) + "\": " + why;
        return std::nullopt;
    };
    while (!host.empty() && host.front() == ' ') host.remove_prefix(1);
    while (!host.empty() && host.back() == ' ') host.remove_suffix(1);

    // net-snmp's transport prefixes; without one, UDP.
    struct Transport {
        std::string_view prefix, name;
        bool ipv6;
    };
    static constexpr Transport kTransports[] = {
        {"udp6:", "udp", true}, {"tcp6:", "tcp", true}, {"udp:", "udp", false}, {"tcp:", "tcp", false}};
    std::string_view transport = "udp";
    bool ipv6 = false;
    for (const auto& t : kTransports) {
        if (!startsWithNoCase(host, t.prefix)) continue;
        transport = t.name;
        ipv6 = t.ipv6;
        host.remove_prefix(t.prefix.size());
        break;
    }

    std::string_view name = host, portText;
    if (!host.empty() && host.front() == '[') {
        const auto close = host.find(']');
        if (close == std::string_view::npos) return bad("no closing ]");
        name = host.substr(1, close - 1);
        const auto rest = host.substr(close + 1);
        if (!rest.empty() && rest.front() != ':') return bad("unexpected text after ]");
        if (!rest.empty()) portText = rest.substr(1);
        if (!rest.empty() && portText.empty()) return bad("no port after :");
        ipv6 = true;
    } else if (const auto colons = std::count(host.begin(), host.end(), ':'); colons > 1) {
        ipv6 = true;  // a bare IPv6 address cannot carry a port
    } else if (colons == 1) {
        const auto colon = host.find(':');
        name = host.substr(0, colon);
        portText = host.substr(colon + 1);
        if (portText.empty()) return bad("no port after :");
    }
    if (name.empty()) return bad("no host");
    if (name.find_first_of(" \t/[]") != std::string_view::npos) return bad("not a host name or address");

    if (!portText.empty()) {
        const auto number = portNumber(portText);
        if (!number) return bad("the port must be a number from 1 to 65535");
        port = *number;
    } else if (port < 1 || port > 65535) {
        return bad("the port " + std::to_string(port) + " is not from 1 to 65535");
    }
    const std::string address = ipv6 ? "[" + std::string(name) + "]" : std::string(name);
    return std::string(transport) + (ipv6 ? "6:" : ":") + address + ":" + std::to_string(port);
}

}  // namespace qlmib::snmp::internal
