#pragma once
// The image list component: pictures keyed by string, in the order added.
// A picture is either the bytes of an image file (a custom icon from the
// MIB database) or the name of a stock picture that the toolkit draws
// itself ("folder-closed", "leaf", ...).

#include <cstdint>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "qlmib/common/Event.h"

namespace qlmib::ui {

// Error numbers of the original image list, which callers test for.
inline constexpr long ERR_ELEMENT_NOT_FOUND = 35601;
inline constexpr long ERR_KEY_NOT_UNIQUE = 35602;

struct Picture {
    std::string Bytes;      // an image file's contents (PNG, GIF, ICO, BMP, JPEG)
    std::string StockName;  // used when Bytes is empty

    static Picture Stock(std::string_view name) { return {std::string(), std::string(name)}; }
    static Picture FromBytes(std::string bytes) { return {std::move(bytes), std::string()}; }
    bool isEmpty() const { return Bytes.empty() && StockName.empty(); }
    friend bool operator==(const Picture&, const Picture&) = default;
};

class ImageList {
public:
    // Raises Error(ERR_KEY_NOT_UNIQUE) when the key is taken.
    void Add(std::string_view key, Picture picture);
    bool Exists(std::string_view key) const;
    // Raises Error(ERR_ELEMENT_NOT_FOUND) for an unknown key.
    const Picture& Item(std::string_view key) const;
    void Remove(std::string_view key);
    void Clear();
    std::int32_t Count() const { return static_cast<std::int32_t>(order_.size()); }
    const std::vector<std::string>& Keys() const { return order_; }

    Event<> Changed;

private:
    std::unordered_map<std::string, Picture> pictures_;
    std::vector<std::string> order_;
};

}  // namespace qlmib::ui
