#pragma once
// The list of an in-cell drop-down editor, written "#data;text|#data;text|..."
// (the form of OID::EnumList). An item without "#data;" is its text alone.

#include <string>
#include <string_view>
#include <vector>

namespace qlmib::ui {

struct ComboItem {
    std::string data;
    std::string text;
    friend bool operator==(const ComboItem&, const ComboItem&) = default;
};

// "" gives no items.
std::vector<ComboItem> ParseComboList(std::string_view list);

}  // namespace qlmib::ui
