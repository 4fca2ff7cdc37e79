#include "AgentProfileDialog.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QLabel>
#include <QLineEdit>
#include <QSpinBox>
#include <QVBoxLayout>

#include <qlmib/common/Error.h>

namespace qlmib::browser {
namespace {

using namespace snmp;

QString text(const std::string& s) { return QString::fromStdString(s); }
std::string text(const QLineEdit* line) { return line->text().toStdString(); }

template <class Enum, size_t N>
QComboBox* comboOf(const Enum (&values)[N], const char* (*name)(Enum), Enum selected, const char* objectName) {
    auto* combo = new QComboBox;
    combo->setObjectName(objectName);
    for (const Enum value : values) combo->addItem(name(value), static_cast<int>(value));
    combo->setCurrentIndex(combo->findData(static_cast<int>(selected)));
    return combo;
}

template <class Enum>
Enum selected(const QComboBox* combo) {
    return static_cast<Enum>(combo->currentData().toInt());
}

// A spin box whose lowest entry means "the Settings decide".
QSpinBox* optionalSpin(int minimum, int maximum, const std::optional<int>& value, const char* objectName) {
    auto* spin = new QSpinBox;
    spin->setObjectName(objectName);
    spin->setRange(minimum - 1, maximum);
    spin->setSpecialValueText(AgentProfileDialog::tr("as in the Settings"));
    spin->setValue(value.value_or(minimum - 1));
    return spin;
}

std::optional<int> optionalValue(const QSpinBox* spin) {
    if (spin->value() == spin->minimum()) return std::nullopt;
    return spin->value();
}

constexpr SecurityLevel kLevels[] = {SecurityLevel::NoAuthNoPriv, SecurityLevel::AuthNoPriv, SecurityLevel::AuthPriv};
constexpr AuthProtocol kAuth[] = {AuthProtocol::MD5,    AuthProtocol::SHA,    AuthProtocol::SHA224,
                                  AuthProtocol::SHA256, AuthProtocol::SHA384, AuthProtocol::SHA512};
constexpr PrivProtocol kPriv[] = {PrivProtocol::DES, PrivProtocol::AES128, PrivProtocol::AES192, PrivProtocol::AES256};

}  // namespace

AgentProfileDialog::AgentProfileDialog(const AgentProfile& profile, const AgentProfiles* store, QWidget* parent)
    : QDialog(parent), store_(store), original_(profile) {
    setWindowTitle(profile.name.empty() ? tr("New agent") : tr("Agent %1").arg(text(profile.name)));
    auto* layout = new QVBoxLayout(this);
    form_ = new QFormLayout;
    layout->addLayout(form_);
    const auto& security = profile.security;
    name_ = addLine(tr("Name"), text(profile.name), "name");
    address_ = addLine(tr("Address"), text(profile.address), "address");
    version_ = new QComboBox;
    version_->setObjectName("version");
    version_->addItem("1", 1);
    version_->addItem("2c", 2);
    version_->addItem("3", 3);
    version_->setCurrentIndex(version_->findData(profile.version));
    form_->addRow(tr("SNMP version"), version_);
    readCommunity_ = addLine(tr("Read community"), text(profile.readCommunity), "readCommunity");
    writeCommunity_ = addLine(tr("Write community"), text(profile.writeCommunity), "writeCommunity");
    user_ = addLine(tr("Security name"), text(security.securityName), "user");
    level_ = comboOf(kLevels, &SecurityLevelName, security.level, "level");
    form_->addRow(tr("Security level"), level_);
    authProtocol_ = comboOf(kAuth, &AuthProtocolName, security.authProtocol, "authProtocol");
    form_->addRow(tr("Authentication"), authProtocol_);
    // Passphrases are never loaded: a saved profile holds keys or nothing.
    authPassphrase_ = addLine(tr("Authentication passphrase"), {}, "authPassphrase");
    privProtocol_ = comboOf(kPriv, &PrivProtocolName, security.privProtocol, "privProtocol");
    form_->addRow(tr("Privacy"), privProtocol_);
    privPassphrase_ = addLine(tr("Privacy passphrase"), {}, "privPassphrase");
    for (auto* secret : {authPassphrase_, privPassphrase_}) {
        secret->setEchoMode(QLineEdit::Password);
        if (!original_.needsPassphrases() && original_.version == 3)
            secret->setPlaceholderText(tr("keys saved; type to replace"));
    }
    context_ = addLine(tr("Context"), text(security.contextName), "context");
    engineID_ = addLine(tr("Engine ID (hex)"), security.securityEngineID.empty()
                                                  ? QString()
                                                  : text(HexOctetsText(security.securityEngineID)),
                        "engineID");
    engineID_->setPlaceholderText(tr("discovered from the agent"));
    saveKeys_ = new QCheckBox(tr("Keep the keys made from the passphrases (otherwise ask each time)"));
    saveKeys_->setObjectName("saveKeys");
    saveKeys_->setChecked(profile.saveKeys);
    form_->addRow(saveKeys_);
    std::optional<int> timeout;
    if (profile.timeout) timeout = *profile.timeout;
    timeout_ = optionalSpin(100, 5000, timeout, "timeout");
    timeout_->setSuffix(" ms");
    form_->addRow(tr("Timeout"), timeout_);
    retries_ = optionalSpin(1, 5, profile.retries, "retries");
    form_->addRow(tr("Retries"), retries_);
    requestSize_ = optionalSpin(2, 30, profile.requestSize, "requestSize");
    form_->addRow(tr("Bulk request size"), requestSize_);

    message_ = new QLabel;
    message_->setObjectName("message");
    message_->setWordWrap(true);
    layout->addWidget(message_);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel);
    connect(buttons, &QDialogButtonBox::accepted, this, &AgentProfileDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &AgentProfileDialog::reject);
    layout->addWidget(buttons);

    connect(version_, &QComboBox::currentIndexChanged, this, &AgentProfileDialog::updateEnabled);
    connect(level_, &QComboBox::currentIndexChanged, this, &AgentProfileDialog::updateEnabled);
    updateEnabled();
}

QLineEdit* AgentProfileDialog::addLine(const QString& label, const QString& value, const char* objectName) {
    auto* line = new QLineEdit(value);
    line->setObjectName(objectName);
    form_->addRow(label, line);
    return line;
}

void AgentProfileDialog::updateEnabled() {
    const bool v3 = version_->currentData().toInt() == 3;
    const auto level = selected<SecurityLevel>(level_);
    const bool auth = v3 && level != SecurityLevel::NoAuthNoPriv, priv = v3 && level == SecurityLevel::AuthPriv;
    for (QWidget* field : std::initializer_list<QWidget*>{readCommunity_, writeCommunity_}) field->setEnabled(!v3);
    for (QWidget* field : std::initializer_list<QWidget*>{user_, level_, context_, engineID_}) field->setEnabled(v3);
    for (QWidget* field : std::initializer_list<QWidget*>{authProtocol_, authPassphrase_, saveKeys_})
        field->setEnabled(auth);
    for (QWidget* field : std::initializer_list<QWidget*>{privProtocol_, privPassphrase_}) field->setEnabled(priv);
}

AgentProfile AgentProfileDialog::profile() const {
    AgentProfile profile;
    profile.name = text(name_);
    profile.address = text(address_);
    profile.version = version_->currentData().toInt();
    profile.readCommunity = text(readCommunity_);
    profile.writeCommunity = text(writeCommunity_);
    auto& security = profile.security;
    security.securityName = text(user_);
    security.level = selected<SecurityLevel>(level_);
    security.authProtocol = selected<AuthProtocol>(authProtocol_);
    security.privProtocol = selected<PrivProtocol>(privProtocol_);
    security.authPassphrase = text(authPassphrase_);
    security.privPassphrase = text(privPassphrase_);
    security.contextName = text(context_);
    security.securityEngineID = ParseHexOctets(text(engineID_)).value_or("");
    profile.saveKeys = saveKeys_->isChecked();
    // Saved keys still serve when nothing that made them has changed.
    const auto& before = original_.security;
    if (security.authPassphrase.empty() && security.privPassphrase.empty() && profile.saveKeys &&
        security.securityName == before.securityName && security.level == before.level &&
        security.authProtocol == before.authProtocol && security.privProtocol == before.privProtocol &&
        security.securityEngineID == before.securityEngineID) {
        security.authKey = before.authKey;
        security.privKey = before.privKey;
    }
    if (const auto timeout = optionalValue(timeout_)) profile.timeout = *timeout;
    profile.retries = optionalValue(retries_);
    profile.requestSize = optionalValue(requestSize_);
    return profile;
}

QString AgentProfileDialog::problem() const {
    if (name_->text().trimmed().isEmpty()) return tr("Give the agent a name.");
    if (address_->text().trimmed().isEmpty()) return tr("Give the agent's address (HOST, HOST:PORT or udp6:[ADDRESS]:PORT).");
    if (version_->currentData().toInt() != 3) return {};
    if (user_->text().isEmpty()) return tr("SNMPv3 needs a security name.");
    const auto engineID = text(engineID_);
    if (!engineID.empty()) {
        const auto octets = ParseHexOctets(engineID);
        if (!octets || octets->size() < 5 || octets->size() > 32)
            return tr("The engine ID is 10 to 64 hex digits.");
    }
    const auto candidate = profile();
    // Passphrases typed now must be usable; left empty they are asked at each use.
    const auto& security = candidate.security;
    const bool typed = !security.authPassphrase.empty() || !security.privPassphrase.empty();
    if ((typed || (candidate.saveKeys && candidate.needsPassphrases())) && security.authenticates()) {
        if (const auto problem = SecurityProblem(security); !problem.empty()) return text(problem) + ".";
    }
    return {};
}

QString AgentProfileDialog::message() const { return message_->text(); }

void AgentProfileDialog::accept() {
    QString problem = this->problem();
    if (problem.isEmpty() && store_) {
        auto candidate = profile();
        try {
            auto& security = candidate.security;
            if (candidate.version == 3 && candidate.saveKeys && candidate.needsPassphrases() &&
                security.securityEngineID.empty())
                security.securityEngineID = DiscoverEngineID(candidate.address, 161, candidate.timeout.value_or(1500),
                                                             candidate.retries.value_or(2));
            store_->Save(candidate);
        } catch (const Error& e) {
            problem = QString::fromUtf8(e.what());
        }
    }
    message_->setText(problem);
    if (problem.isEmpty()) QDialog::accept();
}

}  // namespace qlmib::browser
