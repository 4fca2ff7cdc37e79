#pragma once
// A splitter: named panes one above the other (or side by side) with a bar
// between neighbours; each pane's widget fills it. When the splitter itself
// is resized the first pane takes up the change; setting a pane's size
// moves the bar to its neighbour. Sizes are twips.

#include <cstdint>
#include <vector>

#include "qlmib/ui/Widget.h"

namespace qlmib::ui {

class Splitter : public Widget {
public:
    enum Orientation : std::int16_t {
        PanesStacked = 0,     // one above the other: pane sizes are heights
        PanesSideBySide = 1,  // pane sizes are widths
    };
    static constexpr std::int32_t kBarSize = 60;

    explicit Splitter(std::string name = "Splitter", Orientation orientation = PanesStacked);

    Orientation getOrientation() const { return orientation_; }
    void AddPane(std::string_view name, Widget* content = nullptr, std::int32_t size = 0);
    std::int32_t PaneCount() const { return static_cast<std::int32_t>(panes_.size()); }
    const std::string& PaneName(std::int32_t index) const;
    // Raise Error(ERR_INVALID_CALL) for an unknown pane.
    std::int32_t getPaneSize(std::string_view pane) const;
    void setPaneSize(std::string_view pane, std::int32_t size);
    void setPaneContent(std::string_view pane, Widget* content);

    // The bar after pane `bar` dragged so that the pane gets `size`.
    void UserDragBar(std::int32_t bar, std::int32_t size);

    // After pane sizes changed, by code, by the user or by a resize.
    Event<> PanesResized;

private:
    struct Pane {
        std::string name;
        Widget* content;
        std::int32_t size;
    };
    std::size_t indexOf(std::string_view pane) const;
    std::int32_t available() const;
    void resizePane(std::size_t index, std::int32_t size);
    void fit();
    void placeContents();

    Orientation orientation_;
    std::vector<Pane> panes_;
    Subscription resized_;
};

}  // namespace qlmib::ui
