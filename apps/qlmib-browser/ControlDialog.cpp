#include "ControlDialog.h"

#include <QDialogButtonBox>
#include <QVBoxLayout>

#include <qlmib/ui/Widget.h>

#include "ControlHost.h"

namespace qlmib::browser {

ControlDialog::ControlDialog(ControlHost& host, std::unique_ptr<ui::Widget> control, const QString& title,
                             QWidget* parent)
    : QDialog(parent), control_(std::move(control)) {
    setWindowTitle(title);
    setAttribute(Qt::WA_DeleteOnClose);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(host.place(*control_, this), 1);
    buttons_ = new QDialogButtonBox(QDialogButtonBox::Close, this);
    buttons_->setContentsMargins(8, 0, 8, 8);
    layout->addWidget(buttons_);
    connect(buttons_, &QDialogButtonBox::rejected, this, &QDialog::reject);
    resize(760, 520);
}

// The views go before the control they show.
ControlDialog::~ControlDialog() { qDeleteAll(findChildren<QWidget*>(QString(), Qt::FindDirectChildrenOnly)); }

}  // namespace qlmib::browser
