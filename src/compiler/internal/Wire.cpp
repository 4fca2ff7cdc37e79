#include "internal/Wire.h"

#include <cstring>

#include <qlmib/common/Error.h>

namespace qlmib::compiler {
namespace {

constexpr std::size_t kFrameHeader = sizeof(std::uint32_t);

}  // namespace

WireWriter& WireWriter::number(std::int64_t value) {
    bytes_.append(reinterpret_cast<const char*>(&value), sizeof value);
    return *this;
}

WireWriter& WireWriter::text(std::string_view value) {
    number(static_cast<std::int64_t>(value.size()));
    bytes_.append(value);
    return *this;
}

WireWriter& WireWriter::texts(const std::vector<std::string>& values) {
    number(static_cast<std::int64_t>(values.size()));
    for (const auto& value : values) text(value);
    return *this;
}

std::string_view WireReader::take(std::size_t count) {
    if (count > bytes_.size() - pos_) throw Error(ERR_FILE, "A message from a MIB compiler worker is cut short");
    const auto part = bytes_.substr(pos_, count);
    pos_ += count;
    return part;
}

std::int64_t WireReader::number() {
    std::int64_t value = 0;
    std::memcpy(&value, take(sizeof value).data(), sizeof value);
    return value;
}

std::string WireReader::text() {
    const auto size = number();
    if (size < 0) throw Error(ERR_FILE, "A message from a MIB compiler worker is malformed");
    return std::string(take(static_cast<std::size_t>(size)));
}

std::vector<std::string> WireReader::texts() {
    const auto count = number();
    if (count < 0 || static_cast<std::uint64_t>(count) > bytes_.size()) {
        throw Error(ERR_FILE, "A message from a MIB compiler worker is malformed");
    }
    std::vector<std::string> values;
    values.reserve(static_cast<std::size_t>(count));
    for (std::int64_t i = 0; i < count; ++i) values.push_back(text());
    return values;
}

std::string Framed(std::string_view message) {
    const auto size = static_cast<std::uint32_t>(message.size());
    std::string framed(reinterpret_cast<const char*>(&size), kFrameHeader);
    framed.append(message);
    return framed;
}

bool TakeFramed(std::string& buffer, std::string& message) {
    if (buffer.size() < kFrameHeader) return false;
    std::uint32_t size = 0;
    std::memcpy(&size, buffer.data(), kFrameHeader);
    if (buffer.size() - kFrameHeader < size) return false;
    message.assign(buffer, kFrameHeader, size);
    buffer.erase(0, kFrameHeader + size);
    return true;
}

}  // namespace qlmib::compiler
