#pragma once
// Tools > Settings: every SNMP setting, kept within the ranges the settings
// accept; OK stores them and shows the values kept.

#include <QDialog>
#include <memory>

class QCheckBox;
class QLineEdit;
class QSpinBox;

namespace qlmib {
class Settings;
}

namespace qlmib::browser {

class SettingsDialog : public QDialog {
    Q_OBJECT
public:
    explicit SettingsDialog(std::shared_ptr<Settings> settings, QWidget* parent = nullptr);

    void accept() override;

    QSpinBox* timeout;
    QSpinBox* retries;
    QSpinBox* requestSize;
    QCheckBox* disableV2;
    QLineEdit* icmpData;

private:
    void load();

    std::shared_ptr<Settings> settings_;
};

}  // namespace qlmib::browser
