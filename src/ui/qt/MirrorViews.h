#pragma once
// The QWidget that shows one model widget of each kind. A view reads its
// model again in sync() and turns user input into the model's calls; the
// mirror places it and its children.

#include <QWidget>

namespace qlmib::ui {
class Toolkit;
class Widget;
}  // namespace qlmib::ui

namespace qlmib::ui::qt {

class SyncedView {
public:
    virtual ~SyncedView() = default;
    // Reads the shown properties of the model again.
    virtual void sync() = 0;
};

// The view of `model` under `parent`.
QWidget* CreateView(Widget& model, Toolkit& toolkit, QWidget* parent);

}  // namespace qlmib::ui::qt
