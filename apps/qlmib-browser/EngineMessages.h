#pragma once
// The SNMP engine's answers told in words for the status bar and message
// boxes: what went wrong, with whom, and what was kept.

#include <string>

namespace qlmib::browser {

struct AnswerOutcome {
    long errorCode = 0;      // the engine's ErrorCode
    std::string errorText;   // the engine's ErrorText
    std::string agent;
    int rowsReceived = 0;    // rows shown before this answer
};

// "" for an answer that is no failure (OK, and the end of a walk's subtree).
std::string DescribeAnswer(const AnswerOutcome& outcome);

}  // namespace qlmib::browser
