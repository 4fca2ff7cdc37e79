#include <sys/stat.h>

#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QtTest>

#include "AgentProfileDialog.h"
#include "SnmpAgent.h"
#include "TestHome.h"

using qlmib::browser::AgentProfileDialog;
using qlmib::test::SnmpAgent;
namespace snmp = qlmib::snmp;

namespace {

template <class Widget>
Widget* field(AgentProfileDialog& dialog, const char* name) {
    auto* widget = dialog.findChild<Widget*>(name);
    if (!widget) qFatal("no field %s", name);
    return widget;
}

void choose(AgentProfileDialog& dialog, const char* combo, const QString& text) {
    auto* box = field<QComboBox>(dialog, combo);
    box->setCurrentIndex(box->findText(text));
}

snmp::AgentProfile v3Profile() {
    snmp::AgentProfile profile;
    profile.name = "lab";
    profile.address = SnmpAgent::Shared().address();
    profile.version = 3;
    const auto& user = SnmpAgent::V3UserOf("authPriv");
    profile.security.securityName = user.name;
    profile.security.level = snmp::SecurityLevel::AuthPriv;
    profile.security.authProtocol = *snmp::ParseAuthProtocol(user.auth);
    profile.security.privProtocol = *snmp::ParsePrivProtocol(user.priv);
    profile.saveKeys = true;
    return profile;
}

}  // namespace

class AgentProfileDialogTest : public QObject {
    Q_OBJECT
private slots:
    void fieldsFollowVersionAndLevel_data() {
        QTest::addColumn<QString>("version");
        QTest::addColumn<QString>("level");
        QTest::addColumn<bool>("community");
        QTest::addColumn<bool>("user");
        QTest::addColumn<bool>("auth");
        QTest::addColumn<bool>("priv");
        QTest::newRow("v2c") << "2c" << "authPriv" << true << false << false << false;
        QTest::newRow("v3 noAuthNoPriv") << "3" << "noAuthNoPriv" << false << true << false << false;
        QTest::newRow("v3 authNoPriv") << "3" << "authNoPriv" << false << true << true << false;
        QTest::newRow("v3 authPriv") << "3" << "authPriv" << false << true << true << true;
    }
    void fieldsFollowVersionAndLevel() {
        QFETCH(QString, version);
        QFETCH(QString, level);
        AgentProfileDialog dialog({});
        choose(dialog, "level", level);
        choose(dialog, "version", version);
        QFETCH(bool, community);
        QFETCH(bool, user);
        QFETCH(bool, auth);
        QFETCH(bool, priv);
        QCOMPARE(field<QLineEdit>(dialog, "readCommunity")->isEnabled(), community);
        QCOMPARE(field<QLineEdit>(dialog, "user")->isEnabled(), user);
        QCOMPARE(field<QLineEdit>(dialog, "authPassphrase")->isEnabled(), auth);
        QCOMPARE(field<QCheckBox>(dialog, "saveKeys")->isEnabled(), auth);
        QCOMPARE(field<QLineEdit>(dialog, "privPassphrase")->isEnabled(), priv);
    }

    void problemsKeepTheDialogOpen_data() {
        QTest::addColumn<QString>("fieldName");
        QTest::addColumn<QString>("value");
        QTest::addColumn<QString>("problem");
        QTest::newRow("no name") << "name" << "" << "name";
        QTest::newRow("no user") << "user" << "" << "security name";
        QTest::newRow("engine ID not hex") << "engineID" << "0xZZ0102030405" << "engine ID";
        QTest::newRow("engine ID too short") << "engineID" << "0x0102" << "engine ID";
        QTest::newRow("short passphrase") << "privPassphrase" << "short" << "at least 8";
    }
    void problemsKeepTheDialogOpen() {
        QFETCH(QString, fieldName);
        QFETCH(QString, value);
        QFETCH(QString, problem);
        AgentProfileDialog dialog(v3Profile());
        field<QLineEdit>(dialog, "authPassphrase")->setText(SnmpAgent::kAuthPassphrase);
        field<QLineEdit>(dialog, "privPassphrase")->setText(SnmpAgent::kPrivPassphrase);
        QVERIFY(dialog.problem().isEmpty());
        field<QLineEdit>(dialog, fieldName.toLatin1().constData())->setText(value);
        dialog.accept();
        QVERIFY2(dialog.message().contains(problem, Qt::CaseInsensitive), qPrintable(dialog.message()));
        QCOMPARE(dialog.result(), int(QDialog::Rejected));
    }

    void savedKeysAreKeptOnlyForTheSameCredentials() {
        auto saved = v3Profile();
        saved.security.securityEngineID = std::string("\x80\x00\x1f\x88\x04\x01", 6);
        saved.security.authKey = std::string(32, 'a');
        saved.security.privKey = std::string(16, 'p');
        AgentProfileDialog dialog(saved);
        auto* secret = field<QLineEdit>(dialog, "authPassphrase");
        QCOMPARE(secret->echoMode(), QLineEdit::Password);
        QVERIFY(secret->text().isEmpty());
        QVERIFY2(dialog.problem().isEmpty(), qPrintable(dialog.problem()));
        QCOMPARE(dialog.profile().security.authKey, saved.security.authKey);
        choose(dialog, "authProtocol", "SHA-512");
        QVERIFY(dialog.profile().security.authKey.empty());
        QVERIFY(!dialog.problem().isEmpty());  // new keys need the passphrases
    }

    // OK saves through the store: the engine ID asked of the real agent, keys
    // localized for it, no passphrase on disk; a key file others may read is refused.
    void okSavesKeysThroughTheStore() {
        qlmib::test::TestHome home(false);
        const auto folder = home.folder() / "config";
        snmp::AgentProfiles store(folder);
        AgentProfileDialog dialog(v3Profile(), &store);
        field<QLineEdit>(dialog, "authPassphrase")->setText(SnmpAgent::kAuthPassphrase);
        field<QLineEdit>(dialog, "privPassphrase")->setText(SnmpAgent::kPrivPassphrase);
        dialog.accept();
        QVERIFY2(dialog.message().isEmpty(), qPrintable(dialog.message()));
        QCOMPARE(dialog.result(), int(QDialog::Accepted));
        const auto saved = store.Find("lab");
        QVERIFY(saved && !saved->needsPassphrases() && !saved->security.securityEngineID.empty());
        QFile keys(QString::fromStdString(store.keyFile().string()));
        QVERIFY(keys.open(QIODevice::ReadOnly));
        QVERIFY(!keys.readAll().contains(SnmpAgent::kPrivPassphrase));

        QCOMPARE(::chmod(store.keyFile().c_str(), 0604), 0);
        AgentProfileDialog again(*saved, &store);
        again.accept();
        QVERIFY2(again.message().contains("chmod 600"), qPrintable(again.message()));
        QCOMPARE(again.result(), int(QDialog::Rejected));
    }
};

QTEST_MAIN(AgentProfileDialogTest)
#include "AgentProfileDialog_test.moc"
