#pragma once
// A list box of text lines with one current line.

#include <cstdint>
#include <vector>

#include "qlmib/ui/Widget.h"

namespace qlmib::ui {

class ListBox : public Widget {
public:
    explicit ListBox(std::string name = {}) : Widget(WidgetKind::ListBox, std::move(name)) {}

    void AddItem(std::string_view item);
    void RemoveItem(std::int32_t index);
    void Clear();
    std::int32_t getListCount() const { return static_cast<std::int32_t>(items_.size()); }
    // Raises Error(ERR_SUBSCRIPT) out of range.
    const std::string& getList(std::int32_t index) const;
    // The current line, -1 for none. Changing it raises Click.
    std::int32_t getListIndex() const { return index_; }
    void setListIndex(std::int32_t index);
    // The current line's text, "" without one.
    std::string getText() const;

    void UserDoubleClick() { DblClick(); }

    Event<> Click;
    Event<> DblClick;

private:
    std::vector<std::string> items_;
    std::int32_t index_ = -1;
};

}  // namespace qlmib::ui
