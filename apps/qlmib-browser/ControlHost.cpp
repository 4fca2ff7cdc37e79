#include "ControlHost.h"

#include <QWidget>

#include <qlmib/tree/ToolkitHooks.h>
#include <qlmib/ui/qt/QtToolkit.h>
#include <qlmib/ui/qt/WidgetMirror.h>

namespace qlmib::browser {

ControlHost::ControlHost()
    : toolkit_(std::make_unique<ui::qt::QtToolkit>()), hooks_(std::make_unique<ToolkitHooks>(*toolkit_)) {
    toolkit_->setAppTitle("QLMIBTree Browser");
}

ControlHost::~ControlHost() = default;

ui::Toolkit& ControlHost::toolkit() { return *toolkit_; }

QWidget* ControlHost::place(ui::Widget& control, QWidget* parent) {
    auto* frame = new QWidget(parent);
    new ui::qt::WidgetMirror(control, *frame, *toolkit_);
    return frame;
}

}  // namespace qlmib::browser
