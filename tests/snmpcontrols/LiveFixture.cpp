#include "LiveFixture.h"

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <memory>

#include <qlmib/compiler/DatabaseBuilder.h>
#include <qlmib/snmp/Settings.h>

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

std::string shell(const std::string& command) {
    std::string out;
    if (FILE* pipe = popen(command.c_str(), "r")) {
        char buffer[4096];
        for (size_t n; (n = std::fread(buffer, 1, sizeof buffer, pipe)) > 0;) out.append(buffer, n);
        pclose(pipe);
    }
    return out;
}

std::string withoutLeadingDot(std::string text) { return !text.empty() && text[0] == '.' ? text.substr(1) : text; }

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
    compiler::DatabaseBuilder builder({corpusHome->databasePath(), false, {{corpus}, false}});
    builder.build(files);
    return corpusHome.get();
}

std::vector<ToolBinding> NetSnmpWalk(const std::string& arguments) {
    std::vector<ToolBinding> bindings;
    const std::string out = shell("snmpwalk -m '' -On -Oq -Oe -Ot " + arguments + " 2>/dev/null");
    size_t start = 0;
    while (start < out.size()) {
        const auto end = std::min(out.find('\n', start), out.size());
        const std::string line = out.substr(start, end - start);
        start = end + 1;
        const auto blank = line.find(' ');
        if (line.empty() || line[0] != '.' || blank == std::string::npos) continue;
        std::string value = line.substr(blank + 1);
        if (value.starts_with("No more variables") || value.starts_with("No Such")) continue;
        if (value.size() >= 2 && value.front() == '"' && value.back() == '"') value = value.substr(1, value.size() - 2);
        bindings.push_back({withoutLeadingDot(line.substr(0, blank)), withoutLeadingDot(value)});
    }
    return bindings;
}

void NetSnmpSet(const std::string& oid, char type, const std::string& value) {
    const std::string command = "snmpset -m '' -v2c -c " + std::string(SnmpAgent::kWriteCommunity) + " " +
                                SnmpAgent::Shared().address() + " " + oid + " " + type + " '" + value +
                                "' >/dev/null 2>&1";
    ASSERT_EQ(std::system(command.c_str()), 0) << command;
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

void LiveTest::aim(LiveControl& control, int version, const char* community) {
    control.setIP(agent().address());
    control.setCommunity(community);
    control.setSNMPVersion(static_cast<std::int16_t>(version));
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

std::int32_t LiveTest::rowWithData(const ui::GridModel& grid, const std::string& datum) {
    for (std::int32_t r = 0; r < grid.getRows(); ++r)
        if (grid.getRowData(r).toString() == datum) return r;
    return -1;
}

}  // namespace qlmib::test
