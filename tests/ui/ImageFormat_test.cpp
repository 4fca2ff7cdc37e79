#include <gtest/gtest.h>

#include <string>

#include <qlmib/ui/ImageFormat.h>

namespace qlmib::ui {
namespace {

std::string le16(unsigned v) { return {static_cast<char>(v & 0xFF), static_cast<char>((v >> 8) & 0xFF)}; }
std::string le32(unsigned v) { return le16(v & 0xFFFF) + le16(v >> 16); }
std::string be32(unsigned v) { return {static_cast<char>(v >> 24), static_cast<char>((v >> 16) & 0xFF),
                                       static_cast<char>((v >> 8) & 0xFF), static_cast<char>(v & 0xFF)}; }

std::string png(unsigned width, unsigned height) {
    return std::string("\x89PNG\r\n\x1a\n", 8) + be32(13) + "IHDR" + be32(width) + be32(height) + "\x08\x06";
}

// An icon directory of one entry whose image of `size` bytes starts at `offset`.
std::string ico(unsigned char side, unsigned size, unsigned offset, unsigned data) {
    return std::string("\0\0\1\0\1\0", 6) + std::string(1, static_cast<char>(side)) + "\x30" + std::string(2, '\0') +
           le16(1) + le16(32) + le32(size) + le32(offset) + std::string(data, 'x');
}

std::string bmp(unsigned infoSize, int width, int height) {
    std::string header = "BM" + le32(0) + le32(0) + le32(54) + le32(infoSize);
    if (infoSize == 12) return header + le16(static_cast<unsigned>(width)) + le16(static_cast<unsigned>(height)) + le32(0);
    return header + le32(static_cast<unsigned>(width)) + le32(static_cast<unsigned>(height)) + le32(0);
}

TEST(ImageFormat, TheHeaderTellsTheFormatAndSizeOrThatTheBytesAreNoPicture) {
    struct Case {
        const char* what;
        std::string bytes;
        ImageFormat format;
        std::int32_t width, height;
    };
    const Case cases[] = {
        {"png", png(16, 24), ImageFormat::PNG, 16, 24},
        {"png cut after its signature", png(16, 24).substr(0, 12), ImageFormat::None, 0, 0},
        {"png of no width", png(0, 24), ImageFormat::None, 0, 0},
        {"gif", "GIF89a" + le16(32) + le16(8), ImageFormat::GIF, 32, 8},
        {"gif87a of no height", "GIF87a" + le16(32) + le16(0), ImageFormat::None, 0, 0},
        {"ico, 0 standing for 256", ico(0, 4, 22, 4), ImageFormat::ICO, 256, 48},
        {"ico whose image lies past the end", ico(16, 4, 22, 3), ImageFormat::None, 0, 0},
        {"bmp stored top-down", bmp(40, 10, -20), ImageFormat::BMP, 10, 20},
        {"bmp with the old core header", bmp(12, 7, 9), ImageFormat::BMP, 7, 9},
        {"bmp with an unknown header", bmp(20, 7, 9), ImageFormat::None, 0, 0},
        {"jpeg", "\xFF\xD8\xFF\xE0\x00\x10JFIF", ImageFormat::JPEG, 0, 0},
        {"text", "not a picture", ImageFormat::None, 0, 0},
        {"nothing", "", ImageFormat::None, 0, 0},
    };
    for (const auto& c : cases) {
        const auto header = ReadImageHeader(c.bytes);
        EXPECT_EQ(header.format, c.format) << c.what;
        EXPECT_EQ(header.width, c.width) << c.what;
        EXPECT_EQ(header.height, c.height) << c.what;
    }
}

}  // namespace
}  // namespace qlmib::ui
