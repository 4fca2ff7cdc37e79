#pragma once
// Recognises the image files a picture can be made of (custom node icons are
// stored as the bytes of one) from their headers, without a toolkit: a view
// decodes the bytes later, and bytes that no view could show never reach it.

#include <cstdint>
#include <string_view>

namespace qlmib::ui {

enum class ImageFormat { None, PNG, GIF, ICO, BMP, JPEG };

struct ImageHeader {
    ImageFormat format = ImageFormat::None;
    std::int32_t width = 0, height = 0;  // pixels; 0 when the header does not say (JPEG)
};

// The format and size that the header announces; format None when the bytes
// are not a complete header of a known format, or announce an empty image.
ImageHeader ReadImageHeader(std::string_view bytes);

}  // namespace qlmib::ui
