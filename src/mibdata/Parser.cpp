#include "Parser.h"

#include <array>
#include <cmath>

#include "CommonFunctions.h"
#include "OID.h"
#include "TextNumbers.h"

namespace qlmib {
namespace {

enum class Keyword {
    None, TruthValue, Mbps, KBytes, PhysAddress, Object, TimeSpan, TimeTicks, Services,
    InetAddress, IpAddressList, CiscoLoad, WirelessRateSet, DateAndTime,
};

struct KeywordName {
    std::string_view name;
    Keyword keyword;
};

constexpr KeywordName kKeywords[] = {
    {"TRUTHVALUE", Keyword::TruthValue},
    {"MBPS", Keyword::Mbps},
    {"KBYTES", Keyword::KBytes},
    {"PHYSADDRESS", Keyword::PhysAddress},
    {"MACADDRESS", Keyword::PhysAddress},
    {"OBJECT", Keyword::Object},
    {"OBJECT-IDENTIFIER", Keyword::Object},
    {"TIMESPAN", Keyword::TimeSpan},
    {"TIMETICKS", Keyword::TimeTicks},
    {"SERVICES", Keyword::Services},
    {"CISCONETWORKADDRESS", Keyword::InetAddress},
    {"INETADDRESS", Keyword::InetAddress},
    {"IPADDRESSLIST", Keyword::IpAddressList},
    {"CISCO%LOAD", Keyword::CiscoLoad},
    {"WIRELESSRATESET", Keyword::WirelessRateSet},
    {"DATEANDTIME", Keyword::DateAndTime},
};

Keyword classify(std::string_view text) {
    for (const auto& k : kKeywords)
        if (EqualsNoCase(k.name, text)) return k.keyword;
    return Keyword::None;
}

double hexPair(std::string_view digits) {
    char buffer[8] = {'&', 'H'};
    digits.copy(buffer + 2, std::min<size_t>(digits.size(), 4));
    return LeadingNumber(std::string_view(buffer, 2 + std::min<size_t>(digits.size(), 4)));
}

std::string octetCodes(std::string_view octets, size_t count) {
    std::string out;
    for (size_t i = 0; i < count; ++i) {
        if (i) out += '.';
        out += std::to_string(static_cast<unsigned char>(octets[i]));
    }
    return out;
}

std::string physAddress(std::string_view hex) {
    std::string out;
    for (size_t i = 0; i < hex.size(); i += 4) {
        if (i) out += '.';
        out += hex.substr(i, 4);
    }
    return out;
}

std::string services(std::string_view value) {
    static constexpr std::array<const char*, 7> kNames = {
        "physical", "data link", "network", "transport", "session", "presentaion", "applications"};
    const int n = RoundToInt16(LeadingNumber(value));
    std::string out;
    for (size_t bit = 0; bit < kNames.size(); ++bit) {
        if (!(n & (1 << bit))) continue;
        if (!out.empty()) out += ", ";
        out += kNames[bit];
    }
    return out;
}

std::string inetAddress(std::string_view value, std::string_view hex) {
    if (value.size() >= 4) return octetCodes(value, 4);
    if (hex.size() >= 8) {
        std::string out;
        for (size_t i = 0; i < 8; i += 2) {
            if (i) out += '.';
            out += NumberText(hexPair(hex.substr(i, 2)));
        }
        return out;
    }
    return {};
}

std::string ipAddressList(std::string_view value) {
    std::string out;
    for (size_t i = 0; i < value.size(); ++i) {
        if (i) out += (i % 4 == 0) ? ", " : ".";
        out += std::to_string(static_cast<unsigned char>(value[i]));
    }
    return out;
}

std::string wirelessRateSet(std::string_view hex) {
    std::string out;
    for (size_t i = 0; i < hex.size(); i += 2) {
        if (i) out += ", ";
        out += NumberText(hexPair(hex.substr(i, 2)) / 2);
    }
    if (!out.empty()) out += " Mbps";
    return out;
}

std::string dateAndTime(std::string_view hex) {
    auto field = [&](size_t at, size_t length) { return static_cast<int>(hexPair(hex.substr(at, length))); };
    const double seconds = field(12, 2) + field(14, 2) / 10.0;
    return FormatDateTime(field(0, 4), field(4, 2), field(6, 2), field(8, 2), field(10, 2), RoundToInt32(seconds));
}

std::string timeSpan(double ticks) { return FormatTimeSpan(0, 0, 0, RoundToInt64(ticks / 100)); }

// Values are 64-bit at most (Counter64), which a double's range covers with
// room to spare; beyond 64 bits no enumeration can hold the number.
std::string enumerated(const OID& object, std::string_view value) {
    const double number = std::nearbyint(LeadingNumber(value));
    if (std::fabs(number) < 0x1p63) return object.EnumString(RoundToInt64(number));
    return "unknown(" + NumberText(number) + ")";
}

}  // namespace

std::string ParseValue(const OID& object, std::string_view Value, std::string_view HexValue) {
    if (!object.getEnumerated().empty()) return enumerated(object, Value);

    const std::string& parse = object.getParse();
    switch (classify(parse.empty() ? object.getTypeString() : parse)) {
        case Keyword::TruthValue:
            return Value == "1" ? "True" : Value == "2" ? "False" : "Unknown";
        case Keyword::Mbps:
            return FormatQuantity(LeadingNumber(Value), "bps", false);
        case Keyword::KBytes:
            return FormatQuantity(LeadingNumber(Value) * 1024, "bytes", true);
        case Keyword::PhysAddress:
            return physAddress(HexValue);
        case Keyword::Object: {
            OID target;
            target.setOID(Value);
            return target.getName();
        }
        case Keyword::TimeSpan:
            return timeSpan(LeadingNumber(Value));
        case Keyword::TimeTicks: {
            const double ticks = LeadingNumber(Value);
            return ticks >= 100 ? timeSpan(ticks) : FixedText(ticks / 100, 2) + " seconds";
        }
        case Keyword::Services:
            return services(Value);
        case Keyword::InetAddress:
            return inetAddress(Value, HexValue);
        case Keyword::IpAddressList:
            return ipAddressList(Value);
        case Keyword::CiscoLoad:
            return NumberText(LeadingNumber(Value)) + " %";
        case Keyword::WirelessRateSet:
            return wirelessRateSet(HexValue);
        case Keyword::DateAndTime:
            return HexValue.size() == 16 ? dateAndTime(HexValue) : std::string(Value);
        case Keyword::None:
            break;
    }
    const std::string& units = object.getUnits();
    if (units.empty()) return std::string(Value);
    std::string out(Value);
    out += ' ';
    out += std::string_view(units).substr(0, units.find(','));
    return out;
}

}  // namespace qlmib
