#include "Splitter.h"

#include <algorithm>

#include "qlmib/common/Error.h"

namespace qlmib::ui {

Splitter::Splitter(std::string name, Orientation orientation)
    : Widget(WidgetKind::Splitter, std::move(name)), orientation_(orientation) {
    resized_ = Resize.subscribe([this] {
        fit();
        placeContents();
        PanesResized();
    });
}

void Splitter::AddPane(std::string_view name, Widget* content, std::int32_t size) {
    panes_.push_back({std::string(name), content, std::max(size, 0)});
    if (content) content->setParent(this);
    fit();
    placeContents();
}

const std::string& Splitter::PaneName(std::int32_t index) const {
    if (index < 0 || index >= PaneCount()) throw Error(ERR_SUBSCRIPT, "Subscript out of range");
    return panes_[static_cast<std::size_t>(index)].name;
}

std::size_t Splitter::indexOf(std::string_view pane) const {
    for (std::size_t i = 0; i < panes_.size(); ++i)
        if (panes_[i].name == pane) return i;
    throw Error(ERR_INVALID_CALL, "No pane named " + std::string(pane));
}

std::int32_t Splitter::getPaneSize(std::string_view pane) const { return panes_[indexOf(pane)].size; }

void Splitter::setPaneSize(std::string_view pane, std::int32_t size) {
    resizePane(indexOf(pane), size);
    placeContents();
    PanesResized();
}

void Splitter::setPaneContent(std::string_view pane, Widget* content) {
    auto& target = panes_[indexOf(pane)];
    target.content = content;
    if (content) content->setParent(this);
    placeContents();
}

void Splitter::UserDragBar(std::int32_t bar, std::int32_t size) {
    if (bar < 0 || bar + 1 >= PaneCount()) throw Error(ERR_SUBSCRIPT, "Subscript out of range");
    resizePane(static_cast<std::size_t>(bar), size);
    placeContents();
    PanesResized();
}

std::int32_t Splitter::available() const {
    const std::int32_t extent = orientation_ == PanesStacked ? getHeight() : getWidth();
    const auto bars = static_cast<std::int32_t>(panes_.empty() ? 0 : panes_.size() - 1);
    return std::max(extent - bars * kBarSize, 0);
}

void Splitter::resizePane(std::size_t index, std::int32_t size) {
    if (panes_.size() < 2) return;
    // The neighbour on the bar side gives or takes the difference.
    const std::size_t neighbour = index + 1 < panes_.size() ? index + 1 : index - 1;
    const std::int32_t pool = panes_[index].size + panes_[neighbour].size;
    panes_[index].size = std::clamp(size, 0, pool);
    panes_[neighbour].size = pool - panes_[index].size;
}

void Splitter::fit() {
    // Before the splitter has a size the panes keep the sizes asked for.
    const std::int32_t extent = orientation_ == PanesStacked ? getHeight() : getWidth();
    if (panes_.empty() || extent == 0) return;
    std::int32_t used = 0;
    for (const auto& p : panes_) used += p.size;
    std::int32_t delta = available() - used;
    // Growth goes to the first pane; shrinking takes from it first, then from the last panes.
    for (std::size_t k = 0; k < panes_.size() && delta != 0; ++k) {
        auto& p = panes_[k == 0 ? 0 : panes_.size() - k];
        const std::int32_t next = std::max(p.size + delta, 0);
        delta -= next - p.size;
        p.size = next;
    }
}

void Splitter::placeContents() {
    std::int32_t offset = 0;
    for (const auto& p : panes_) {
        if (p.content) {
            if (orientation_ == PanesStacked) p.content->Move(0, offset, getWidth(), p.size);
            else p.content->Move(offset, 0, p.size, getHeight());
        }
        offset += p.size + kBarSize;
    }
}

}  // namespace qlmib::ui
