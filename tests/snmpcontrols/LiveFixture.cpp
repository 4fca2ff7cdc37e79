#include "LiveFixture.h"

#include <algorithm>
#include <filesystem>
#include <memory>
#include <sstream>

#include <qlmib/compiler/DatabaseBuilder.h>
#include <qlmib/snmp/Settings.h>

#include "CommandRun.h"

namespace qlmib::test {

namespace {

std::unique_ptr<TestHome> corpusHome;
bool corpusTried = false;

// Removes the corpus home before the program exits: the thread's database
// connection, which its destructor closes, is gone by the time statics are.
class CorpusEnvironment : public ::testing::Environment {
public:
    void TearDown() override { corpusHome.reset(); }
};
[[maybe_unused]] ::testing::Environment* const corpusEnvironment =
    ::testing::AddGlobalTestEnvironment(new CorpusEnvironment);

}  // namespace

TestHome* CorpusHome() {
    if (corpusTried) return corpusHome.get();
    corpusTried = true;
    const auto corpus = corpusFolder();
    if (corpus.empty()) return nullptr;
    corpusHome = std::make_unique<TestHome>(false);
    std::vector<std::string> files;
    for (const auto& entry : std::filesystem::directory_iterator(corpus)) files.push_back(entry.path().string());
    std::sort(files.begin(), files.end());
    compiler::BuildOptions options{corpusHome->databasePath(), false, {}};
    options.compile.searchPath = {corpus};
    options.compile.useDefaultPath = false;
    compiler::DatabaseBuilder builder(options);
    builder.build(files);
    return corpusHome.get();
}

std::vector<ToolBinding> NetSnmpWalk(const std::string& arguments) {
    std::vector<std::string> words{"-m", "", "-On", "-Oq", "-Oe", "-Ot"};
    std::istringstream given(arguments);
    for (std::string word; given >> word;) words.push_back(word);
    std::istringstream out(runCommand("snmpwalk", words, CorpusHome()->folder()).out);
    std::vector<ToolBinding> bindings;
    for (std::string line; std::getline(out, line);) {
        const auto blank = line.find(' ');
        if (!line.starts_with('.') || blank == std::string::npos) continue;
        std::string value = line.substr(blank + 1);
        if (value.starts_with("No more variables") || value.starts_with("No Such")) continue;
        if (value.size() >= 2 && value.front() == '"' && value.back() == '"') value = value.substr(1, value.size() - 2);
        bindings.push_back({line.substr(1, blank - 1), value.starts_with('.') ? value.substr(1) : value});
    }
    return bindings;
}

void NetSnmpSet(const std::string& oid, char type, const std::string& value) {
    const auto run = runCommand("snmpset", {"-m", "", "-v2c", "-c", SnmpAgent::kWriteCommunity,
                                            SnmpAgent::Shared().address(), oid, std::string(1, type), value},
                                CorpusHome()->folder());
    ASSERT_EQ(run.status, 0) << run.err;
}

void LiveTest::SetUp() {
    if (!CorpusHome()) GTEST_SKIP() << "the MIB corpus ../shared/mibs is absent";
    // Tests that change the shared settings must not change them for the next.
    auto settings = Settings::Shared();
    settings->setSNMPTimeout(1500);
    settings->setSNMPRetries(2);
    settings->setSNMPV2RequestSize(10);
    settings->setDisableSNMPV2(false);
}

bool LiveTest::runToIdle(LiveControl& control, const std::function<void()>& start, int timeoutMs) {
    bool began = false, active = false;
    const auto activity = control.Active.subscribe([&](bool status) {
        began = began || status;
        active = status;
    });
    start();
    return began && toolkit.eventLoop().runUntil([&] { return !active; }, timeoutMs);
}

}  // namespace qlmib::test
