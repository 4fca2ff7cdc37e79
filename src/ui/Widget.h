#pragma once
// The base of every component that a view shows: its place in a tree of
// widgets, its geometry in twips relative to its parent, visibility,
// enabled state and mouse pointer. Parents do not own their children; the
// control that creates them does. Thread affinity: the creating thread.

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "qlmib/common/Event.h"
#include "qlmib/ui/InputCodes.h"

namespace qlmib::ui {

enum class WidgetKind {
    Container,  // a user control: holds other widgets
    Panel,
    Label,
    TextBox,
    ListBox,
    Button,
    TabStrip,
    Splitter,
    GridView,
    RichTextView,
    Window,
};

class Widget {
public:
    explicit Widget(WidgetKind kind = WidgetKind::Container, std::string name = {});
    virtual ~Widget();
    Widget(const Widget&) = delete;
    Widget& operator=(const Widget&) = delete;

    WidgetKind Kind() const { return kind_; }
    // The designer name ("Details", "Splitter", ...).
    const std::string& getName() const { return name_; }

    Widget* getParent() const { return parent_; }
    // Moves the widget under another parent (nullptr: none).
    void setParent(Widget* parent);
    const std::vector<Widget*>& Children() const { return children_; }

    std::int32_t getLeft() const { return left_; }
    std::int32_t getTop() const { return top_; }
    std::int32_t getWidth() const { return width_; }
    std::int32_t getHeight() const { return height_; }
    void setLeft(std::int32_t v) { Move(v, top_, width_, height_); }
    void setTop(std::int32_t v) { Move(left_, v, width_, height_); }
    void setWidth(std::int32_t v) { Move(left_, top_, v, height_); }
    void setHeight(std::int32_t v) { Move(left_, top_, width_, v); }
    // Raises Resize when the size changed.
    void Move(std::int32_t left, std::int32_t top, std::int32_t width, std::int32_t height);

    bool getVisible() const { return visible_; }
    void setVisible(bool visible);
    bool getEnabled() const { return enabled_; }
    void setEnabled(bool enabled);
    std::int16_t getMousePointer() const { return mousePointer_; }
    void setMousePointer(std::int16_t pointer);

    Event<> Resize;      // after the size changed
    Event<> Changed;     // a shown property changed; views read the widget again
    Event<> Destroying;  // from the destructor, for views to let go

private:
    WidgetKind kind_;
    std::string name_;
    Widget* parent_ = nullptr;
    std::vector<Widget*> children_;
    std::int32_t left_ = 0, top_ = 0, width_ = 0, height_ = 0;
    bool visible_ = true, enabled_ = true;
    std::int16_t mousePointer_ = PointerDefault;
};

}  // namespace qlmib::ui
