#pragma once
// The SNMP engine as the live controls drive it: request parameters set as
// properties, GET / GET-NEXT / SET of RequestOID and GET-BULK, answers handed
// back with the request's tag. An implementation runs on the thread that owns
// its event loop; answers are delivered from that loop, never inside a call
// that sends.

#include <cstdint>
#include <string>
#include <vector>

#include "qlmib/common/Event.h"
#include "qlmib/snmp/UsmSecurity.h"

namespace qlmib::snmp {

// ErrorCode of an answer.
enum EngineErrorCode : long {
    ENGINE_OK = 31000,  // the answer carries no error
    // The agent's error status n is ENGINE_ERROR_STATUS + n (tooBig 31001,
    // noSuchName 31002, ... notWritable 31017, inconsistentName 31018).
    ENGINE_ERROR_STATUS = 31000,
    ENGINE_NO_SUCH_OBJECT = 31128,    // the exceptions, 31000 + their tag
    ENGINE_NO_SUCH_INSTANCE = 31129,
    ENGINE_END_OF_MIB_VIEW = 31130,
    ENGINE_TIMEOUT = 31200,           // no answer after Timeout × (Retries + 1)
    ENGINE_BAD_ADDRESS = 31201,       // the host cannot be read or resolved
    ENGINE_BAD_OID = 31202,           // RequestOID (or a bulk OID) is not a dotted OID
    ENGINE_BAD_VALUE = 31203,         // Value does not fit ValueType
    ENGINE_SEND_FAILED = 31204,
    ENGINE_OID_NOT_INCREASING = 31205,  // a GET-NEXT or GET-BULK answer that would loop a walk
    ENGINE_SECURITY = 31206,  // SNMPv3: the agent reported a security failure, or the credentials are unusable
};

// Raw types are the BER tags of the values; ValueType of a SET uses the same codes.
enum RawType : int {
    RAW_INTEGER = 2,
    RAW_OCTET_STRING = 4,
    RAW_NULL = 5,
    RAW_OBJECT_IDENTIFIER = 6,
    RAW_IPADDRESS = 64,
    RAW_COUNTER32 = 65,
    RAW_GAUGE32 = 66,  // also Unsigned32
    RAW_TIMETICKS = 67,
    RAW_OPAQUE = 68,
    RAW_COUNTER64 = 70,
    RAW_UINTEGER32 = 71,  // SNMPv1's UInteger32
    RAW_NO_SUCH_OBJECT = 128,
    RAW_NO_SUCH_INSTANCE = 129,
    RAW_END_OF_MIB_VIEW = 130,
};

// Values as text: numbers in decimal, octet strings and opaque values as their
// raw octets, object identifiers dotted without a leading dot, IP addresses
// dotted, exceptions and NULL empty. A hex value is the upper-case hex pairs of
// the value's octets: for octet strings, opaque values and IP addresses their
// encoded octets, for every other type the octets of its text.
//
// The base class keeps the properties; an implementation sends and answers.
class Engine {
public:
    virtual ~Engine() = default;

    // Milliseconds to wait for an answer before the request is sent again.
    std::int32_t getTimeout() const { return timeout_; }
    void setTimeout(std::int32_t milliseconds) { timeout_ = milliseconds < 1 ? 1 : milliseconds; }
    // How many times a request is sent again before it times out.
    int getRetries() const { return retries_; }
    void setRetries(int retries) { retries_ = retries < 0 ? 0 : retries; }
    // 1 for SNMPv1, 2 for SNMPv2c (any value other than 1). GET-BULK is always v2c, or v3 with a security name.
    int getVersion() const { return version_; }
    void setVersion(int version) { version_ = version == 1 ? 1 : 2; }
    // With a security name every request, GET-BULK included, goes out as
    // SNMPv3 with these credentials and Version and the communities are unused.
    const UsmSecurity& getSecurity() const { return security_; }
    void setSecurity(const UsmSecurity& security) { security_ = security; }
    // UDP port used when the host names none.
    int getPort() const { return port_; }
    void setPort(int port) { port_ = port; }
    const std::string& getCommunity() const { return community_; }
    void setCommunity(const std::string& community) { community_ = community; }
    const std::string& getRequestOID() const { return requestOID_; }
    void setRequestOID(const std::string& oid) { requestOID_ = oid; }
    // Handed back unchanged with the answer.
    const std::string& getRequestTag() const { return requestTag_; }
    void setRequestTag(const std::string& tag) { requestTag_ = tag; }
    // true: Get, GetNext and Set return at once and the answer comes as an
    // event. false: they return with the answer in ErrorCode, ErrorText,
    // HexValue, ValueType and Value, and raise no event.
    bool getAsynchronous() const { return asynchronous_; }
    void setAsynchronous(bool asynchronous) { asynchronous_ = asynchronous; }
    // Type code (RawType) and text of the next SET; after a synchronous
    // request that the agent answered, type and text of the value received.
    int getValueType() const { return valueType_; }
    void setValueType(int type) { valueType_ = type; }
    const std::string& getValue() const { return value_; }
    void setValue(const std::string& value) { value_ = value; }

    // The answer being delivered (while its event runs) or of the last
    // synchronous request.
    const std::string& getErrorText() const { return answer_.errorText; }
    long getErrorCode() const { return answer_.errorCode; }
    const std::string& getHexValue() const { return answer_.hexValue; }

    // Requests sent and not yet answered, timed out or cancelled. An answer
    // counts until its event has returned.
    virtual int getPendingCount() const = 0;

    // The host is "HOST", "HOST:PORT", "[IPv6]:PORT", a bare IPv6 address, or
    // any of them after "udp:" or "udp6:". A request that cannot be sent still
    // gets an answer, with an error code.
    virtual void Get(const std::string& Host) = 0;
    virtual void GetNext(const std::string& Host) = 0;
    virtual void Set(const std::string& Host) = 0;
    // Always asynchronous; Port applies as for the others.
    virtual void GetBulk(const std::string& Host, const std::string& Community, const std::string& Tag,
                         const std::vector<std::string>& OIDs, int NonRepeaters, int MaxRepetitions) = 0;
    // Drops every outstanding request: none of their answers is delivered
    // afterwards and PendingCount is 0.
    virtual void CancelAll() = 0;

    // The answer to Get, GetNext or Set: Host, OID, RawType, Value, Tag, Community.
    Event<const std::string&, const std::string&, int, const std::string&, const std::string&, const std::string&>
        ValueReceived;
    // The answer to GetBulk: Tag, OIDs, RawTypes, Values, HexValues, in the
    // agent's order. An answer that ends in an exception (or steps back) holds
    // the bindings before it; when the first binding is the exception, it holds
    // that binding alone, with the exception's error code.
    Event<const std::string&, const std::vector<std::string>&, const std::vector<int>&,
          const std::vector<std::string>&, const std::vector<std::string>&>
        ValuesReceived;

protected:
    // What an implementation sets while it delivers an answer.
    struct AnswerState {
        long errorCode = ENGINE_OK;
        std::string errorText = "OK";
        std::string hexValue;
    };
    AnswerState& answerState() { return answer_; }
    // For a synchronous answer: the value received.
    void setReceivedValue(int type, std::string value) {
        valueType_ = type;
        value_ = std::move(value);
    }

private:
    std::int32_t timeout_ = 1500;
    int retries_ = 2;
    int version_ = 1;
    int port_ = 161;
    std::string community_;
    UsmSecurity security_;
    std::string requestOID_;
    std::string requestTag_;
    bool asynchronous_ = true;
    int valueType_ = RAW_OCTET_STRING;
    std::string value_;
    AnswerState answer_;
};

}  // namespace qlmib::snmp
