#include "Vocabulary.h"

#include "CommonFunctions.h"

namespace qlmib {

std::string AccessString(std::int32_t access) {
    switch (access) {
        case ACCESS_RO: return "read-only";
        case ACCESS_RW: return "read-write";
        case ACCESS_WO: return "write-only";
        case ACCESS_NA: return "not-available";
        default: return "unknown";
    }
}

std::string StatusString(std::int32_t status) {
    switch (status) {
        case STATUS_MANDATORY: return "mandatory";
        case STATUS_OPTIONAL: return "optional";
        case STATUS_OBSOLETE: return "obsolete";
        case STATUS_DEPRECATED: return "deprecated";
        case STATUS_CURRENT: return "current";
        default: return "unknown";
    }
}

std::string CamelCaseWords(std::string_view label) {
    auto isLower = [](char c) { return !(c >= 'A' && c <= 'Z'); };
    std::string out;
    out.reserve(label.size() + 8);
    bool flag = true;
    for (size_t i = 0; i < label.size(); ++i) {
        char c = label[i];
        if (i == 0 && c >= 'a' && c <= 'z') c = static_cast<char>(c - 32);
        if (!isLower(c) && flag) {
            out += ' ';
            out += c;
            flag = false;
        } else {
            out += c;
            flag = true;
        }
    }
    return std::string(TrimBlanks(out));
}

}  // namespace qlmib
