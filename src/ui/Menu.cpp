#include "Menu.h"

#include "qlmib/common/Error.h"

namespace qlmib::ui {

std::int32_t Menu::Add(std::string_view caption, std::string_view key, std::string_view image, bool beginGroup) {
    MenuEntry entry;
    entry.Caption = caption;
    entry.Key = key;
    entry.Image = image;
    entry.BeginGroup = beginGroup;
    entries_.push_back(std::move(entry));
    return Count() - 1;
}

void Menu::Clear() { entries_.clear(); }

MenuEntry& Menu::Entry(std::int32_t index) {
    if (index < 0 || index >= Count()) throw Error(ERR_SUBSCRIPT, "Subscript out of range");
    return entries_[static_cast<size_t>(index)];
}

std::int32_t Menu::Find(std::string_view key) const {
    for (std::int32_t i = 0; i < Count(); ++i)
        if (entries_[static_cast<size_t>(i)].Key == key) return i;
    return -1;
}

bool Menu::Choose(std::string_view key) {
    const auto index = Find(key);
    if (index < 0) return false;
    const auto& entry = entries_[static_cast<size_t>(index)];
    if (!entry.Visible || !entry.Enabled) return false;
    const std::string chosen = entry.Key;  // a handler may clear the menu
    Click(chosen);
    return true;
}

}  // namespace qlmib::ui
