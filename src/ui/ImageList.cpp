#include "ImageList.h"

#include <algorithm>

#include "qlmib/common/Error.h"

namespace qlmib::ui {

void ImageList::Add(std::string_view key, Picture picture) {
    std::string k(key);
    if (pictures_.contains(k)) throw Error(ERR_KEY_NOT_UNIQUE, "Key is not unique in collection");
    pictures_.emplace(k, std::move(picture));
    order_.push_back(std::move(k));
    Changed();
}

bool ImageList::Exists(std::string_view key) const { return pictures_.contains(std::string(key)); }

const Picture& ImageList::Item(std::string_view key) const {
    const auto it = pictures_.find(std::string(key));
    if (it == pictures_.end()) throw Error(ERR_ELEMENT_NOT_FOUND, "Element not found");
    return it->second;
}

void ImageList::Remove(std::string_view key) {
    if (pictures_.erase(std::string(key)) == 0) throw Error(ERR_ELEMENT_NOT_FOUND, "Element not found");
    order_.erase(std::find(order_.begin(), order_.end(), key));
    Changed();
}

void ImageList::Clear() {
    pictures_.clear();
    order_.clear();
    Changed();
}

}  // namespace qlmib::ui
