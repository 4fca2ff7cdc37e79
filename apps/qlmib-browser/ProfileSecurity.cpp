#include "ProfileSecurity.h"

#include <QInputDialog>
#include <QLineEdit>

namespace qlmib::browser {

namespace {

bool ask(QWidget* parent, const QString& what, const snmp::AgentProfile& profile, std::string& passphrase) {
    bool ok = false;
    const QString text = QInputDialog::getText(
        parent, QStringLiteral("SNMPv3 passphrase"),
        QStringLiteral("%1 for %2 at %3:")
            .arg(what, QString::fromStdString(profile.security.securityName), QString::fromStdString(profile.name)),
        QLineEdit::Password, QString(), &ok);
    if (ok) passphrase = text.toStdString();
    return ok;
}

}  // namespace

std::optional<snmp::UsmSecurity> SecurityForRequest(const snmp::AgentProfile& profile, QWidget* parent) {
    snmp::UsmSecurity security = profile.security;
    if (security.authenticates() && security.authKey.empty() &&
        !ask(parent, QStringLiteral("Authentication passphrase"), profile, security.authPassphrase))
        return std::nullopt;
    if (security.encrypts() && security.privKey.empty() &&
        !ask(parent, QStringLiteral("Privacy passphrase"), profile, security.privPassphrase))
        return std::nullopt;
    return security;
}

}  // namespace qlmib::browser
