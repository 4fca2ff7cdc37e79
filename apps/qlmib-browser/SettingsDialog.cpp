#include "SettingsDialog.h"

#include <QCheckBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QLineEdit>
#include <QMessageBox>
#include <QSpinBox>

#include <qlmib/common/Error.h>
#include <qlmib/snmp/Settings.h>

namespace qlmib::browser {

namespace {

// The ranges the settings bring values into, so that the boxes never offer another.
QSpinBox* rangeBox(QWidget* parent, int low, int high, const QString& suffix) {
    auto* box = new QSpinBox(parent);
    box->setRange(low, high);
    box->setSuffix(suffix);
    return box;
}

}  // namespace

SettingsDialog::SettingsDialog(std::shared_ptr<Settings> settings, QWidget* parent)
    : QDialog(parent), settings_(std::move(settings)) {
    setObjectName(QStringLiteral("SettingsDialog"));
    setWindowTitle(QStringLiteral("Settings"));
    auto* form = new QFormLayout(this);
    timeout = rangeBox(this, 100, 5000, QStringLiteral(" ms"));
    timeout->setSingleStep(100);
    retries = rangeBox(this, 1, 5, {});
    requestSize = rangeBox(this, 2, 30, QStringLiteral(" per request"));
    disableV2 = new QCheckBox(QStringLiteral("Ask every agent with SNMP v1"), this);
    icmpData = new QLineEdit(this);
    form->addRow(QStringLiteral("SNMP timeout:"), timeout);
    form->addRow(QStringLiteral("SNMP retries:"), retries);
    form->addRow(QStringLiteral("SNMP v2 request size:"), requestSize);
    form->addRow(QStringLiteral("Disable SNMP v2:"), disableV2);
    form->addRow(QStringLiteral("ICMP data:"), icmpData);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    form->addRow(buttons);
    connect(buttons, &QDialogButtonBox::accepted, this, &SettingsDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &SettingsDialog::reject);
    load();
}

void SettingsDialog::load() {
    timeout->setValue(settings_->getSNMPTimeout());
    retries->setValue(settings_->getSNMPRetries());
    requestSize->setValue(settings_->getSNMPV2RequestSize());
    disableV2->setChecked(settings_->getDisableSNMPV2());
    icmpData->setText(QString::fromStdString(settings_->getICMPData()));
}

void SettingsDialog::accept() {
    try {
        settings_->setSNMPTimeout(timeout->value());
        settings_->setSNMPRetries(retries->value());
        settings_->setSNMPV2RequestSize(requestSize->value());
        settings_->setDisableSNMPV2(disableV2->isChecked());
        if (icmpData->text().toStdString() != settings_->getICMPData())
            settings_->setICMPData(icmpData->text().toStdString());
    } catch (const Error& e) {
        QMessageBox::warning(this, windowTitle(),
                             QStringLiteral("The settings could not be stored:\n%1")
                                 .arg(QString::fromStdString(e.Description())));
        load();
        return;
    }
    QDialog::accept();
}

}  // namespace qlmib::browser
