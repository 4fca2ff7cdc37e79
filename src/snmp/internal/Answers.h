#pragma once
// Between net-snmp's PDUs and the engine's texts: OIDs, values, error
// statuses and exceptions in, values to SET out.

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "NetSnmp.h"

namespace qlmib::snmp::internal {

using OidName = std::vector<oid>;

// One answer as the engine delivers it: the bindings as four parallel lists.
struct Answer {
    long errorCode;
    std::string errorText;
    std::vector<std::string> oids;
    std::vector<int> rawTypes;
    std::vector<std::string> values;
    std::vector<std::string> hexValues;

    Answer();
    void reserve(size_t bindings);
    void add(std::string oid, int rawType, std::string value, std::string hexValue);
    void fail(long code, std::string text);
};

// A request as its answer is checked: the command and the OIDs sent.
struct RequestShape {
    int command = SNMP_MSG_GET;
    std::vector<OidName> oids;
    int nonRepeaters = 0;
};

// Dotted decimal, with or without a leading dot.
std::optional<OidName> ParseOid(std::string_view text);
std::string OidText(const oid* name, size_t length);
// "tooBig", "noSuchName", ... as SMI names the error statuses.
std::string ErrorStatusText(long status);

// The agent's answer to `request`. An error status gives its code and the
// bindings as returned; otherwise the bindings up to the first exception, or
// up to the first that does not follow its predecessor in a GET-NEXT or
// GET-BULK (a walk built on it would never end). When the very first binding
// is such a one, the answer holds it alone with its error.
Answer AnswerFromResponse(const netsnmp_pdu& response, const RequestShape& request);

// Appends `name` with `text` encoded as the value type `rawType`; false and
// the reason in `error` when the text does not fit the type.
bool AddSetValue(netsnmp_pdu& pdu, const OidName& name, int rawType, const std::string& text, std::string& error);

}  // namespace qlmib::snmp::internal
