#include "Answers.h"

#include <arpa/inet.h>

#include <algorithm>
#include <charconv>
#include <cmath>

#include "qlmib/common/Error.h"
#include "qlmib/mibdata/TextNumbers.h"
#include "qlmib/snmp/Engine.h"

namespace qlmib::snmp::internal {
namespace {

std::string hexText(const unsigned char* bytes, size_t length) {
    static constexpr char digits[] = "0123456789ABCDEF";
    std::string out(length * 2, '0');
    for (size_t i = 0; i < length; ++i) {
        out[2 * i] = digits[bytes[i] >> 4];
        out[2 * i + 1] = digits[bytes[i] & 15];
    }
    return out;
}

std::string hexText(const std::string& text) {
    return hexText(reinterpret_cast<const unsigned char*>(text.data()), text.size());
}

template <class Number>
std::string decimal(Number value) {
    char buffer[24];
    return std::string(buffer, std::to_chars(buffer, buffer + sizeof buffer, value).ptr);
}

unsigned long long counter64Value(const counter64& value) {
    return (static_cast<unsigned long long>(value.high) << 32) | (value.low & 0xffffffffUL);
}

bool carriesOctets(u_char type) {
    return type == ASN_OCTET_STR || type == ASN_OPAQUE || type == ASN_IPADDRESS || type == ASN_BIT_STR ||
           type == ASN_NSAP;
}

int rawTypeOf(u_char type) {
    switch (type) {
#ifdef NETSNMP_WITH_OPAQUE_SPECIAL_TYPES
        // net-snmp unwraps numbers carried in an Opaque; on the wire they are Opaque.
        case ASN_OPAQUE_FLOAT:
        case ASN_OPAQUE_DOUBLE:
        case ASN_OPAQUE_I64:
        case ASN_OPAQUE_U64:
        case ASN_OPAQUE_COUNTER64:
            return RAW_OPAQUE;
#endif
        default:
            return type;
    }
}

std::string valueText(const netsnmp_variable_list& v) {
    switch (v.type) {
        case ASN_INTEGER:
            return decimal(*v.val.integer);
        case ASN_COUNTER:
        case ASN_GAUGE:
        case ASN_TIMETICKS:
        case ASN_UINTEGER:
            return decimal(static_cast<unsigned long>(*v.val.integer) & 0xffffffffUL);
        case ASN_COUNTER64:
            return decimal(counter64Value(*v.val.counter64));
        case ASN_OBJECT_ID:
            return OidText(v.val.objid, v.val_len / sizeof(oid));
        case ASN_IPADDRESS: {
            if (v.val_len != 4) return std::string(reinterpret_cast<const char*>(v.val.string), v.val_len);
            const u_char* a = v.val.string;
            return decimal(a[0]) + "." + decimal(a[1]) + "." + decimal(a[2]) + "." + decimal(a[3]);
        }
        case ASN_NULL:
        case SNMP_NOSUCHOBJECT:
        case SNMP_NOSUCHINSTANCE:
        case SNMP_ENDOFMIBVIEW:
            return {};
#ifdef NETSNMP_WITH_OPAQUE_SPECIAL_TYPES
        case ASN_OPAQUE_FLOAT:
            return NumberText(*v.val.floatVal);
        case ASN_OPAQUE_DOUBLE:
            return NumberText(*v.val.doubleVal);
        case ASN_OPAQUE_I64:
            return decimal(static_cast<long long>(counter64Value(*v.val.counter64)));
        case ASN_OPAQUE_U64:
        case ASN_OPAQUE_COUNTER64:
            return decimal(counter64Value(*v.val.counter64));
#endif
        default:  // octet strings, opaque values and anything unknown: the raw octets
            return v.val.string ? std::string(reinterpret_cast<const char*>(v.val.string), v.val_len) : std::string();
    }
}

void addBinding(Answer& answer, const netsnmp_variable_list& v) {
    std::string value = valueText(v);
    std::string hex = carriesOctets(v.type) && v.val.string ? hexText(v.val.string, v.val_len) : hexText(value);
    answer.add(OidText(v.name, v.name_length), rawTypeOf(v.type), std::move(value), std::move(hex));
}

const char* exceptionText(u_char type) {
    switch (type) {
        case SNMP_NOSUCHOBJECT: return "noSuchObject";
        case SNMP_NOSUCHINSTANCE: return "noSuchInstance";
        case SNMP_ENDOFMIBVIEW: return "endOfMibView";
        default: return nullptr;
    }
}

std::optional<double> wholeValue(const std::string& text, double low, double high) {
    const auto number = WholeNumber(text);
    if (!number) return std::nullopt;
    const double rounded = std::nearbyint(*number);  // halves to even, as everywhere
    if (rounded < low || rounded > high) return std::nullopt;
    return rounded;
}

}  // namespace

Answer::Answer() : errorCode(ENGINE_OK), errorText("OK") {}

void Answer::reserve(size_t bindings) {
    oids.reserve(bindings);
    rawTypes.reserve(bindings);
    values.reserve(bindings);
    hexValues.reserve(bindings);
}

void Answer::add(std::string oid, int rawType, std::string value, std::string hexValue) {
    oids.push_back(std::move(oid));
    rawTypes.push_back(rawType);
    values.push_back(std::move(value));
    hexValues.push_back(std::move(hexValue));
}

void Answer::fail(long code, std::string text) {
    errorCode = code;
    errorText = std::move(text);
}

std::optional<OidName> ParseOid(std::string_view text) {
    if (!text.empty() && text.front() == '.') text.remove_prefix(1);
    OidName name;
    name.reserve(static_cast<size_t>(std::count(text.begin(), text.end(), '.')) + 1);
    while (!text.empty()) {
        std::uint32_t arc = 0;
        const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), arc);
        if (ec != std::errc() || end == text.data()) return std::nullopt;
        name.push_back(arc);
        text.remove_prefix(static_cast<size_t>(end - text.data()));
        if (text.empty()) break;
        if (text.front() != '.' || text.size() == 1) return std::nullopt;
        text.remove_prefix(1);
    }
    if (name.empty() || name.size() > MAX_OID_LEN) return std::nullopt;
    return name;
}

std::string OidText(const oid* name, size_t length) {
    // The arcs are written on the stack and reach the string in pieces of up
    // to 512 characters: a usual OID costs one allocation and no growing.
    constexpr size_t kLongestArc = 21;  // 20 digits and a dot
    char buffer[512];
    char* out = buffer;
    std::string text;
    for (size_t i = 0; i < length; ++i) {
        if (out + kLongestArc > buffer + sizeof buffer) {
            text.append(buffer, out);
            out = buffer;
        }
        if (i) *out++ = '.';
        out = std::to_chars(out, buffer + sizeof buffer, name[i]).ptr;
    }
    text.append(buffer, out);
    return text;
}

std::string ErrorStatusText(long status) {
    static constexpr const char* names[] = {
        "noError",       "tooBig",      "noSuchName",        "badValue",
        "readOnly",      "genErr",      "noAccess",          "wrongType",
        "wrongLength",   "wrongEncoding", "wrongValue",      "noCreation",
        "inconsistentValue", "resourceUnavailable", "commitFailed", "undoFailed",
        "authorizationError", "notWritable", "inconsistentName",
    };
    if (status >= 0 && status < static_cast<long>(std::size(names))) return names[status];
    return "error status " + std::to_string(status);
}

Answer AnswerFromResponse(const netsnmp_pdu& response, const RequestShape& request) {
    Answer answer;
    size_t bindings = 0;
    for (const auto* v = response.variables; v; v = v->next_variable) ++bindings;
    answer.reserve(bindings);
    if (response.errstat != SNMP_ERR_NOERROR) {
        answer.fail(ENGINE_ERROR_STATUS + response.errstat, ErrorStatusText(response.errstat));
        for (const auto* v = response.variables; v; v = v->next_variable) addBinding(answer, *v);
        return answer;
    }
    const bool walks = request.command == SNMP_MSG_GETNEXT || request.command == SNMP_MSG_GETBULK;
    // In a GET-BULK answer binding i follows binding i - repeaters (or the
    // requested OID in the first round), so each column must increase.
    const size_t sent = request.oids.size();
    const size_t repeaters = sent - std::min<size_t>(sent, request.nonRepeaters);
    std::vector<const netsnmp_variable_list*> seen;
    seen.reserve(bindings);
    for (const auto* v = response.variables; v; v = v->next_variable) {
        const size_t index = seen.size();
        long code = 0;
        std::string text;
        if (const char* exception = exceptionText(v->type)) {
            code = ENGINE_ERROR_STATUS + v->type;
            text = exception;
        } else if (walks && (index < sent || repeaters > 0)) {
            const bool firstRound = index < sent;
            const oid* before = firstRound ? request.oids[index].data() : seen[index - repeaters]->name;
            const size_t beforeLength = firstRound ? request.oids[index].size() : seen[index - repeaters]->name_length;
            if (snmp_oid_compare(v->name, v->name_length, before, beforeLength) <= 0) {
                code = ENGINE_OID_NOT_INCREASING;
                text = "OID not increasing";
            }
        }
        if (code) {
            if (index == 0) {
                addBinding(answer, *v);
                answer.fail(code, std::move(text));
            }
            break;
        }
        addBinding(answer, *v);
        seen.push_back(v);
    }
    return answer;
}

bool AddSetValue(netsnmp_pdu& pdu, const OidName& name, int rawType, const std::string& text, std::string& error) {
    auto bad = [&](const char* type) {
        error = "\"" + text + "\" is not a valid " + type + " value";
        return false;
    };
    auto add = [&](u_char type, const void* value, size_t length) {
        return snmp_pdu_add_variable(&pdu, name.data(), name.size(), type, value, length) != nullptr;
    };
    switch (rawType) {
        case RAW_INTEGER: {
            const auto number = wholeValue(text, -2147483648.0, 2147483647.0);
            if (!number) return bad("INTEGER");
            const long value = static_cast<long>(*number);
            return add(ASN_INTEGER, &value, sizeof value);
        }
        case RAW_COUNTER32:
        case RAW_GAUGE32:
        case RAW_TIMETICKS:
        case RAW_UINTEGER32: {
            const auto number = wholeValue(text, 0, 4294967295.0);
            if (!number) return bad("unsigned 32-bit");
            const unsigned long value = static_cast<unsigned long>(*number);
            return add(static_cast<u_char>(rawType), &value, sizeof value);
        }
        case RAW_COUNTER64: {
            const auto number = wholeValue(text, 0, 18446744073709551615.0);
            if (!number) return bad("Counter64");
            const auto whole = *number >= 18446744073709551615.0 ? ~0ULL : static_cast<unsigned long long>(*number);
            counter64 value{};
            value.high = static_cast<u_long>(whole >> 32);
            value.low = static_cast<u_long>(whole & 0xffffffffULL);
            return add(ASN_COUNTER64, &value, sizeof value);
        }
        case RAW_OCTET_STRING:
        case RAW_OPAQUE:
            return add(static_cast<u_char>(rawType), text.data(), text.size());
        case RAW_NULL:
            return add(ASN_NULL, nullptr, 0);
        case RAW_OBJECT_IDENTIFIER: {
            const auto value = ParseOid(text);
            if (!value) return bad("OBJECT IDENTIFIER");
            return add(ASN_OBJECT_ID, value->data(), value->size() * sizeof(oid));
        }
        case RAW_IPADDRESS: {
            in_addr address{};
            if (inet_pton(AF_INET, text.c_str(), &address) != 1) return bad("IpAddress");
            return add(ASN_IPADDRESS, &address.s_addr, 4);
        }
        default:
            error = "The value type " + std::to_string(rawType) + " cannot be set";
            return false;
    }
}

}  // namespace qlmib::snmp::internal
