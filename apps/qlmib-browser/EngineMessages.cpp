#include "EngineMessages.h"

#include <qlmib/snmp/Engine.h>

namespace qlmib::browser {

namespace {

// Error statuses of an SNMP answer, as the protocol names them, in words.
const char* statusWords(long status) {
    switch (status) {
        case 1: return "the answer would be too big";
        case 2: return "the agent has no such object";
        case 3: return "the value has the wrong type or cannot be taken";
        case 4: return "the object is read-only";
        case 5: return "the agent failed to process the request";
        case 6: return "access to the object is not allowed";
        case 7: return "the value has the wrong type";
        case 8: return "the value has the wrong length";
        case 9: return "the value has the wrong encoding";
        case 10: return "the value is not one the object takes";
        case 11: return "the agent cannot create that instance";
        case 12: return "the value is inconsistent with other values";
        case 13: return "the agent lacks the resources for the value";
        case 14: return "the agent could not commit the change";
        case 15: return "the agent could not undo a failed change";
        case 16: return "the community is not allowed to do this";
        case 17: return "the object is not writable";
        case 18: return "the instance name is inconsistent";
        default: return nullptr;
    }
}

}  // namespace

std::string DescribeAnswer(const AnswerOutcome& outcome) {
    using namespace snmp;
    const std::string& agent = outcome.agent;
    switch (outcome.errorCode) {
        case ENGINE_OK:
        case ENGINE_END_OF_MIB_VIEW:
        case ENGINE_NO_SUCH_OBJECT:
        case ENGINE_NO_SUCH_INSTANCE:
            return {};
        case ENGINE_TIMEOUT:
            if (outcome.rowsReceived > 0)
                return agent + " stopped answering after " + std::to_string(outcome.rowsReceived) +
                       " rows; the rows received are kept.";
            return "No answer from " + agent +
                   ": the agent is unreachable, not running, or does not accept the community.";
        case ENGINE_BAD_ADDRESS:
            return "\"" + agent + "\" is not an agent address that can be reached (HOST, HOST:PORT or udp6:[ADDRESS]:PORT).";
        case ENGINE_BAD_OID:
            return "The object to ask for is not a valid OID.";
        case ENGINE_BAD_VALUE:
            return "The value does not fit the object's type.";
        case ENGINE_SEND_FAILED:
            return "The request to " + agent + " could not be sent: " + outcome.errorText + ".";
        case ENGINE_SECURITY:
            return agent + " refused the SNMPv3 credentials. " + outcome.errorText + ".";
        case ENGINE_OID_NOT_INCREASING:
            return agent + " answered out of order; the walk stopped to avoid a loop.";
        default:
            break;
    }
    if (outcome.errorCode > ENGINE_ERROR_STATUS && outcome.errorCode < ENGINE_NO_SUCH_OBJECT) {
        if (const char* words = statusWords(outcome.errorCode - ENGINE_ERROR_STATUS))
            return agent + " refused the request: " + words + ".";
    }
    return agent + ": " + outcome.errorText;
}

}  // namespace qlmib::browser
