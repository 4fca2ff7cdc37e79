#pragma once
// The Qt toolkit the window's controls run on, with the data layer's hooks
// connected to it, and the one call that places a control in a QWidget.
// Lives as long as the window and every control made with it.

#include <memory>

class QWidget;

namespace qlmib {
class ToolkitHooks;
namespace ui {
class Toolkit;
class Widget;
namespace qt {
class QtToolkit;
}
}  // namespace ui
}  // namespace qlmib

namespace qlmib::browser {

class ControlHost {
public:
    ControlHost();
    ~ControlHost();
    ControlHost(const ControlHost&) = delete;
    ControlHost& operator=(const ControlHost&) = delete;

    ui::Toolkit& toolkit();
    // A QWidget under `parent` that shows `control` and follows its changes.
    QWidget* place(ui::Widget& control, QWidget* parent);

private:
    std::unique_ptr<ui::qt::QtToolkit> toolkit_;
    std::unique_ptr<ToolkitHooks> hooks_;
};

}  // namespace qlmib::browser
