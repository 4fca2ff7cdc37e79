#include "ControlHost.h"

#include <QVBoxLayout>
#include <QWidget>

#include <qlmib/tree/ToolkitHooks.h>
#include <qlmib/ui/qt/QtToolkit.h>

namespace qlmib::browser {

ControlHost::ControlHost()
    : toolkit_(std::make_unique<ui::qt::QtToolkit>()), hooks_(std::make_unique<ToolkitHooks>(*toolkit_)) {
    toolkit_->setAppTitle("QLMIBTree Browser");
}

ControlHost::~ControlHost() = default;

ui::Toolkit& ControlHost::toolkit() { return *toolkit_; }

QWidget* ControlHost::place(ui::Widget& control, QWidget* parent) {
    // A frame of our own, so that the caller may put it in a splitter, a tab or a layout.
    auto* frame = new QWidget(parent);
    auto* layout = new QVBoxLayout(frame);
    layout->setContentsMargins(0, 0, 0, 0);
    ui::qt::place(control, *toolkit_, frame);
    return frame;
}

}  // namespace qlmib::browser
