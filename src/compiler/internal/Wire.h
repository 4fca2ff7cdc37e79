#pragma once
// A small binary encoding for what the parent and its libsmi workers send
// each other: numbers and length-prefixed byte strings, in host byte order
// (both ends are the same build on the same machine).

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace qlmib::compiler {

class WireWriter {
public:
    WireWriter& number(std::int64_t value);
    WireWriter& text(std::string_view value);
    WireWriter& texts(const std::vector<std::string>& values);
    const std::string& bytes() const { return bytes_; }

private:
    std::string bytes_;
};

// Reads what a WireWriter wrote; throws Error(ERR_FILE) when the bytes end
// early, so a truncated message can never be read as a whole one.
class WireReader {
public:
    explicit WireReader(std::string_view bytes) : bytes_(bytes) {}
    std::int64_t number();
    std::string text();
    std::vector<std::string> texts();
    bool atEnd() const { return pos_ == bytes_.size(); }

private:
    std::string_view take(std::size_t count);
    std::string_view bytes_;
    std::size_t pos_ = 0;
};

// Messages on a stream are framed: a length, then that many bytes.
std::string Framed(std::string_view message);
// The first whole message in `buffer`, removed from it; false when the
// buffer holds only part of one.
bool TakeFramed(std::string& buffer, std::string& message);

}  // namespace qlmib::compiler
