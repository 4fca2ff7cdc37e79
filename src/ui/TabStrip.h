#pragma once
// A tab strip: captions and the current tab. The widgets of a tab are the
// owner's to show and hide when Click reports a change.

#include <cstdint>
#include <vector>

#include "qlmib/ui/Widget.h"

namespace qlmib::ui {

class TabStrip : public Widget {
public:
    explicit TabStrip(std::string name = {}) : Widget(WidgetKind::TabStrip, std::move(name)) {}

    void AddTab(std::string_view caption);
    std::int32_t getTabs() const { return static_cast<std::int32_t>(captions_.size()); }
    // Raises Error(ERR_SUBSCRIPT) out of range.
    const std::string& getTabCaption(std::int32_t tab) const;
    void setTabCaption(std::int32_t tab, std::string_view caption);
    std::int32_t getTab() const { return tab_; }
    // Raises Click with the tab left when the tab changes.
    void setTab(std::int32_t tab);

    Event<std::int32_t /*PreviousTab*/> Click;

private:
    std::vector<std::string> captions_;
    std::int32_t tab_ = 0;
};

}  // namespace qlmib::ui
