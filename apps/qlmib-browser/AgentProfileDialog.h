#pragma once
// Edits one saved agent: address, version, communities or SNMPv3 credentials
// and the engine tuning that overrides the Settings. OK validates, and with a
// store saves the profile there (localizing the keys when they are to be kept,
// after asking the agent for its engine ID if none is given); a problem is
// shown in the dialog, which then stays open.

#include <QDialog>

#include <qlmib/snmp/AgentProfiles.h>

class QCheckBox;
class QComboBox;
class QFormLayout;
class QLabel;
class QLineEdit;
class QSpinBox;

namespace qlmib::browser {

class AgentProfileDialog : public QDialog {
    Q_OBJECT
public:
    // `store` null: OK only validates; the caller reads profile().
    explicit AgentProfileDialog(const snmp::AgentProfile& profile, const snmp::AgentProfiles* store = nullptr,
                                QWidget* parent = nullptr);

    // The profile as the fields hold it, passphrases included.
    snmp::AgentProfile profile() const;
    // What keeps the fields from making a usable profile; empty when nothing.
    QString problem() const;
    // The text shown under the fields: the last problem, or "".
    QString message() const;

    void accept() override;

private:
    void updateEnabled();
    QLineEdit* addLine(const QString& label, const QString& text, const char* objectName);

    const snmp::AgentProfiles* store_;
    snmp::AgentProfile original_;
    QFormLayout* form_;
    QLineEdit *name_, *address_, *readCommunity_, *writeCommunity_, *user_, *authPassphrase_, *privPassphrase_,
        *context_, *engineID_;
    QComboBox *version_, *level_, *authProtocol_, *privProtocol_;
    QCheckBox* saveKeys_;
    QSpinBox *timeout_, *retries_, *requestSize_;
    QLabel* message_;
};

}  // namespace qlmib::browser
