#pragma once
// A window around one control (the module manager, a single-module tree, a
// MIB-X preview) that owns the control and deletes both when closed.

#include <QDialog>
#include <memory>

class QDialogButtonBox;

namespace qlmib::ui {
class Widget;
}

namespace qlmib::browser {

class ControlHost;

class ControlDialog : public QDialog {
    Q_OBJECT
public:
    ControlDialog(ControlHost& host, std::unique_ptr<ui::Widget> control, const QString& title, QWidget* parent);
    ~ControlDialog() override;

    ui::Widget& control() { return *control_; }
    // Close, and whatever buttons the caller adds.
    QDialogButtonBox& buttons() { return *buttons_; }

private:
    std::unique_ptr<ui::Widget> control_;
    QDialogButtonBox* buttons_;
};

}  // namespace qlmib::browser
