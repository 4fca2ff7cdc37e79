#include "Window.h"

#include "Toolkit.h"

namespace qlmib::ui {

Window::Window(Toolkit& toolkit, std::string name) : Widget(WidgetKind::Window, std::move(name)), toolkit_(toolkit) {
    setVisible(false);
}

void Window::setCaption(std::string_view caption) {
    caption_.assign(caption);
    Changed();
}

void Window::setTopMost(bool topMost) {
    topMost_ = topMost;
    Changed();
}

void Window::Show(bool Modal) {
    if (!loaded_) {
        loaded_ = true;
        Load();
    }
    modal_ = Modal;
    setVisible(true);
    toolkit_.ShowWindow(*this, Modal);
}

void Window::Hide() {
    if (!getVisible()) return;
    setVisible(false);
    toolkit_.HideWindow(*this);
}

bool Window::Close() {
    bool cancel = false;
    QueryUnload(cancel);
    if (cancel) return false;
    Hide();
    loaded_ = false;
    Unload();
    return true;
}

}  // namespace qlmib::ui
