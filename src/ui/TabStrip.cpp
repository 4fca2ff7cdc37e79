#include "TabStrip.h"

#include "qlmib/common/Error.h"

namespace qlmib::ui {

namespace {
void checkTab(std::int32_t tab, std::int32_t count) {
    if (tab < 0 || tab >= count) throw Error(ERR_SUBSCRIPT, "Subscript out of range");
}
}  // namespace

void TabStrip::AddTab(std::string_view caption) {
    captions_.emplace_back(caption);
    Changed();
}

const std::string& TabStrip::getTabCaption(std::int32_t tab) const {
    checkTab(tab, getTabs());
    return captions_[static_cast<size_t>(tab)];
}

void TabStrip::setTabCaption(std::int32_t tab, std::string_view caption) {
    checkTab(tab, getTabs());
    captions_[static_cast<size_t>(tab)].assign(caption);
    Changed();
}

void TabStrip::setTab(std::int32_t tab) {
    checkTab(tab, getTabs());
    if (tab == tab_) return;
    const auto previous = tab_;
    tab_ = tab;
    Changed();
    Click(previous);
}

}  // namespace qlmib::ui
