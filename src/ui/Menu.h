#pragma once
// A menu or pop-up menu: entries with a caption, a key the host acts on, an
// image key and a group start. A toolkit shows it; choosing an entry raises
// Click with its key.

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "qlmib/common/Event.h"

namespace qlmib::ui {

struct MenuEntry {
    std::string Caption;  // "&" marks the access key
    std::string Key;      // the tag a Click hands back
    std::string Image;    // key in an image list; "" for none
    bool BeginGroup = false;
    bool Visible = true;
    bool Enabled = true;
    bool Checked = false;
};

class Menu {
public:
    explicit Menu(std::string name = {}) : name_(std::move(name)) {}
    Menu(const Menu&) = delete;
    Menu& operator=(const Menu&) = delete;

    const std::string& getName() const { return name_; }
    // Appends an entry; returns its index.
    std::int32_t Add(std::string_view caption, std::string_view key = {}, std::string_view image = {},
                     bool beginGroup = false);
    void Clear();
    std::int32_t Count() const { return static_cast<std::int32_t>(entries_.size()); }
    const std::vector<MenuEntry>& Entries() const { return entries_; }
    // Raises Error(ERR_SUBSCRIPT) out of range.
    MenuEntry& Entry(std::int32_t index);
    // The index of the first entry with this key, or -1.
    std::int32_t Find(std::string_view key) const;
    // Chooses an entry as the user does: raises Click when it is visible and
    // enabled. Returns whether it did.
    bool Choose(std::string_view key);

    Event<const std::string& /*Key*/> Click;

private:
    std::string name_;
    std::vector<MenuEntry> entries_;
};

}  // namespace qlmib::ui
