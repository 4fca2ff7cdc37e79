#include "ListBox.h"

#include "qlmib/common/Error.h"

namespace qlmib::ui {

void ListBox::AddItem(std::string_view item) {
    items_.emplace_back(item);
    Changed();
}

void ListBox::RemoveItem(std::int32_t index) {
    if (index < 0 || index >= getListCount()) throw Error(ERR_SUBSCRIPT, "Subscript out of range");
    items_.erase(items_.begin() + index);
    if (index_ >= getListCount()) index_ = getListCount() - 1;
    Changed();
}

void ListBox::Clear() {
    items_.clear();
    index_ = -1;
    Changed();
}

const std::string& ListBox::getList(std::int32_t index) const {
    if (index < 0 || index >= getListCount()) throw Error(ERR_SUBSCRIPT, "Subscript out of range");
    return items_[static_cast<size_t>(index)];
}

void ListBox::setListIndex(std::int32_t index) {
    if (index < -1 || index >= getListCount()) throw Error(ERR_SUBSCRIPT, "Subscript out of range");
    if (index == index_) return;
    index_ = index;
    Changed();
    Click();
}

std::string ListBox::getText() const { return index_ >= 0 ? items_[static_cast<size_t>(index_)] : std::string(); }

}  // namespace qlmib::ui
