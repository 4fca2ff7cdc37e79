#include "BrowserFixture.h"

#include <QAbstractButton>
#include <QPushButton>
#include <QApplication>
#include <QDeadlineTimer>
#include <QMessageBox>
#include <QTest>
#include <filesystem>
#include <memory>
#include <sstream>

#include <qlmib/compiler/DatabaseBuilder.h>

#include "CommandRun.h"

namespace qlmib::test {

const char* const kBrowserModules[] = {"SNMPv2-SMI", "SNMPv2-TC", "SNMPv2-CONF", "SNMPv2-MIB", "IANAifType-MIB",
                                       "IF-MIB", nullptr};

namespace {

std::unique_ptr<TestHome> home;
bool tried = false;

}  // namespace

TestHome* BrowserHome() {
    if (tried) return home.get();
    tried = true;
    const auto corpus = corpusFolder();
    if (corpus.empty()) return nullptr;
    home = std::make_unique<TestHome>(false);
    std::vector<std::string> files;
    for (auto* module = kBrowserModules; *module; ++module)
        files.push_back((std::filesystem::path(corpus) / (std::string(*module) + ".txt")).string());
    compiler::DatabaseBuilder builder({home->databasePath(), false, {{corpus}, false}});
    builder.build(files);
    return home.get();
}

void ReleaseBrowserHome() { home.reset(); }

bool WaitFor(const std::function<bool()>& done, int timeoutMs) {
    return QTest::qWaitFor(done, timeoutMs);
}

MessageBoxAnswerer::MessageBoxAnswerer() {
    QObject::connect(&timer_, &QTimer::timeout, [this] { check(); });
    timer_.start(20);
}

void MessageBoxAnswerer::check() {
    auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
    if (!box || !box->isVisible()) return;
    texts_ << box->text();
    QAbstractButton* answer = box->button(QMessageBox::Yes);
    if (!answer) answer = box->defaultButton();
    if (!answer && !box->buttons().isEmpty()) answer = box->buttons().first();
    if (answer) answer->click();
}

namespace {

std::vector<std::string> toolValues(const char* tool, const std::string& oid) {
    const auto run = runCommand(tool, {"-m", "", "-Oqv", "-On", "-v2c", "-c", SnmpAgent::kReadCommunity,
                                       SnmpAgent::Shared().address(), oid},
                                BrowserHome()->folder());
    std::vector<std::string> values;
    std::istringstream out(run.out);
    for (std::string line; std::getline(out, line);) {
        if (line.size() >= 2 && line.front() == '"' && line.back() == '"') line = line.substr(1, line.size() - 2);
        values.push_back(line);
    }
    return values;
}

}  // namespace

std::string NetSnmpValue(const std::string& oid) {
    const auto values = toolValues("snmpget", oid);
    return values.empty() ? std::string{} : values.front();
}

std::vector<std::string> NetSnmpValues(const std::string& oid) { return toolValues("snmpwalk", oid); }

}  // namespace qlmib::test
