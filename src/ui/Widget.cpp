#include "Widget.h"

#include <algorithm>

namespace qlmib::ui {

Widget::Widget(WidgetKind kind, std::string name) : kind_(kind), name_(std::move(name)) {}

Widget::~Widget() {
    Destroying();
    setParent(nullptr);
    for (auto* child : children_) child->parent_ = nullptr;
}

void Widget::setParent(Widget* parent) {
    if (parent == parent_) return;
    if (parent_) {
        auto& siblings = parent_->children_;
        siblings.erase(std::remove(siblings.begin(), siblings.end(), this), siblings.end());
        parent_->Changed();
    }
    parent_ = parent;
    if (parent_) {
        parent_->children_.push_back(this);
        parent_->Changed();
    }
}

void Widget::Move(std::int32_t left, std::int32_t top, std::int32_t width, std::int32_t height) {
    width = std::max(width, 0);
    height = std::max(height, 0);
    const bool resized = width != width_ || height != height_;
    if (!resized && left == left_ && top == top_) return;
    left_ = left, top_ = top, width_ = width, height_ = height;
    Changed();
    if (resized) Resize();
}

void Widget::setVisible(bool visible) {
    if (visible == visible_) return;
    visible_ = visible;
    Changed();
}

void Widget::setEnabled(bool enabled) {
    if (enabled == enabled_) return;
    enabled_ = enabled;
    Changed();
}

void Widget::setMousePointer(std::int16_t pointer) {
    if (pointer == mousePointer_) return;
    mousePointer_ = pointer;
    Changed();
}

}  // namespace qlmib::ui
