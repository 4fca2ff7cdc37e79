#include "ImageFormat.h"

#include <cstdint>
#include <cstdlib>

namespace qlmib::ui {
namespace {

std::uint32_t byteAt(std::string_view b, size_t i) { return static_cast<unsigned char>(b[i]); }
std::uint32_t le16(std::string_view b, size_t i) { return byteAt(b, i) | byteAt(b, i + 1) << 8; }
std::uint32_t le32(std::string_view b, size_t i) { return le16(b, i) | le16(b, i + 2) << 16; }
std::uint32_t be32(std::string_view b, size_t i) {
    return byteAt(b, i) << 24 | byteAt(b, i + 1) << 16 | byteAt(b, i + 2) << 8 | byteAt(b, i + 3);
}

ImageHeader sized(ImageFormat format, std::int64_t width, std::int64_t height) {
    if (width <= 0 || height <= 0 || width > INT32_MAX || height > INT32_MAX) return {};
    return {format, static_cast<std::int32_t>(width), static_cast<std::int32_t>(height)};
}

ImageHeader png(std::string_view b) {
    // Signature, then the IHDR chunk: length, type, width, height.
    if (b.size() < 24 || b.substr(12, 4) != "IHDR") return {};
    return sized(ImageFormat::PNG, be32(b, 16), be32(b, 20));
}

ImageHeader gif(std::string_view b) {
    if (b.size() < 10) return {};
    return sized(ImageFormat::GIF, le16(b, 6), le16(b, 8));
}

ImageHeader ico(std::string_view b) {
    // Directory header, then the first entry, whose image must lie inside the file.
    constexpr size_t kEntry = 6;
    if (b.size() < kEntry + 16 || le16(b, 2) != 1 || le16(b, 4) == 0) return {};
    const std::uint64_t size = le32(b, kEntry + 8), offset = le32(b, kEntry + 12);
    if (size == 0 || offset < kEntry + 16 || offset + size > b.size()) return {};
    // A width or height byte of 0 means 256.
    const auto side = [](std::uint32_t v) { return v == 0 ? 256 : v; };
    return sized(ImageFormat::ICO, side(byteAt(b, kEntry)), side(byteAt(b, kEntry + 1)));
}

ImageHeader bmp(std::string_view b) {
    if (b.size() < 26) return {};
    const auto info = le32(b, 14);
    if (info == 12) return sized(ImageFormat::BMP, le16(b, 18), le16(b, 20));
    if (info < 40) return {};
    // Rows stored top-down have a negative height.
    const auto height = static_cast<std::int32_t>(le32(b, 22));
    return sized(ImageFormat::BMP, static_cast<std::int32_t>(le32(b, 18)), std::abs(static_cast<std::int64_t>(height)));
}

}  // namespace

ImageHeader ReadImageHeader(std::string_view b) {
    if (b.starts_with("\x89PNG\r\n\x1a\n")) return png(b);
    if (b.starts_with("GIF87a") || b.starts_with("GIF89a")) return gif(b);
    if (b.starts_with(std::string_view("\0\0\1\0", 4))) return ico(b);
    if (b.starts_with("BM")) return bmp(b);
    if (b.size() > 3 && b.starts_with("\xFF\xD8\xFF")) return {ImageFormat::JPEG, 0, 0};
    return {};
}

}  // namespace qlmib::ui
