#pragma once
// The one exception type that reaches a caller of the library.

#include <stdexcept>
#include <string>

namespace qlmib {

// Error numbers of the original platform that callers may test for.
enum ErrorNumber : long {
    ERR_INVALID_CALL = 5,       // invalid procedure call or argument
    ERR_OVERFLOW = 6,
    ERR_SUBSCRIPT = 9,
    ERR_TYPE_MISMATCH = 13,
    ERR_OBJECT_REQUIRED = 424,
    ERR_DUPLICATE_KEY = 457,
    ERR_DATABASE = 3000,        // the database engine failed; the text says why
    ERR_FILE = 3100,            // a file could not be read or written
    ERR_SNMP = 3200,            // the SNMP engine failed
    ERR_CANCELLED = 3300,       // the user cancelled a long operation
};

class Error : public std::runtime_error {
public:
    Error(long number, const std::string& description)
        : std::runtime_error(description), number_(number) {}

    long Number() const noexcept { return number_; }
    std::string Description() const { return what(); }

private:
    long number_;
};

// Runs one statement of a stretch whose errors are ignored: any failure skips the statement and the
// caller goes on; the library's one deliberate catch-all. Returns whether it succeeded.
template <class F>
bool IgnoringErrors(F&& statement) noexcept {
    try {
        statement();
        return true;
    } catch (...) {
        return false;
    }
}

}  // namespace qlmib
