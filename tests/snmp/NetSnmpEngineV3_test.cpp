#include <gtest/gtest.h>

#include <chrono>
#include <memory>

#include <qlmib/snmp/NetSnmpEngine.h>
#include <qlmib/ui/PollEventLoop.h>

#include "SnmpAgent.h"
#include "TestHome.h"

namespace qlmib::snmp {
namespace {

using qlmib::test::SnmpAgent;

constexpr const char* kSystem = "1.3.6.1.2.1.1";
constexpr const char* kSysUpTime = "1.3.6.1.2.1.1.3.0";
constexpr const char* kSysLocation = "1.3.6.1.2.1.1.6.0";

UsmSecurity securityOf(const SnmpAgent::V3User& user) {
    UsmSecurity security;
    security.securityName = user.name;
    security.level = *ParseSecurityLevel(user.level);
    if (!user.auth.empty()) security.authProtocol = *ParseAuthProtocol(user.auth);
    if (!user.priv.empty()) security.privProtocol = *ParsePrivProtocol(user.priv);
    security.authPassphrase = SnmpAgent::kAuthPassphrase;
    security.privPassphrase = SnmpAgent::kPrivPassphrase;
    return security;
}

class EngineV3Test : public ::testing::Test {
protected:
    void SetUp() override {
        engine->setCommunity(SnmpAgent::kReadCommunity);
        engine->setVersion(2);
        engine->setTimeout(500);
        engine->setRetries(1);
        bulks = engine->ValuesReceived.subscribe(
            [this](const std::string&, const std::vector<std::string>& oids, const std::vector<int>&,
                   const std::vector<std::string>& values, const std::vector<std::string>&) {
                lastCode = engine->getErrorCode();
                lastText = engine->getErrorText();
                for (size_t i = 0; i < oids.size(); ++i) walked.emplace_back(oids[i], values[i]);
            });
        singles = engine->ValueReceived.subscribe([this](const std::string&, const std::string&, int,
                                                         const std::string& value, const std::string&,
                                                         const std::string&) {
            lastCode = engine->getErrorCode();
            lastText = engine->getErrorText();
            lastValue = value;
        });
    }

    static SnmpAgent& agent() { return SnmpAgent::Shared(); }
    bool waitIdle() { return loop.runUntil([&] { return engine->getPendingCount() == 0; }, 5000); }

    // The system group by GET-BULK, sysUpTime left out (it moves between
    // walks) and sysLocation, which the tests set.
    std::vector<std::pair<std::string, std::string>> walkSystem() {
        walked.clear();
        std::string next = kSystem;
        for (int requests = 0; requests < 10; ++requests) {
            const size_t before = walked.size();
            engine->GetBulk(agent().address(), engine->getCommunity(), "walk", {next}, 0, 10);
            if (!waitIdle() || lastCode != ENGINE_OK || walked.size() == before) break;
            next = walked.back().first;
            if (next.rfind(std::string(kSystem) + ".", 0) != 0) break;
        }
        std::erase_if(walked, [](const auto& binding) {
            return binding.first == kSysUpTime || binding.first == kSysLocation || binding.first.rfind(std::string(kSystem) + ".", 0) != 0;
        });
        return walked;
    }

    qlmib::test::TestHome home{false};
    ui::PollEventLoop loop;
    std::unique_ptr<NetSnmpEngine> engine = std::make_unique<NetSnmpEngine>(loop);
    std::vector<std::pair<std::string, std::string>> walked;
    long lastCode = 0;
    std::string lastText, lastValue;
    Subscription bulks, singles;
};

// Every user: the same walk as v2c, a synchronous SET that v2c reads back,
// and an asynchronous GET of what was set.
TEST_F(EngineV3Test, EveryLevelAndProtocolWalksAndSetsLikeV2c) {
    const auto viaV2c = walkSystem();
    ASSERT_GE(viaV2c.size(), 5u);
    NetSnmpEngine reader(loop);
    reader.setCommunity(SnmpAgent::kReadCommunity);
    reader.setVersion(2);
    reader.setAsynchronous(false);
    reader.setRequestOID(kSysLocation);
    for (const auto& user : SnmpAgent::V3Users()) {
        SCOPED_TRACE(user.name);
        engine->setSecurity(securityOf(user));
        EXPECT_EQ(walkSystem(), viaV2c) << lastText;

        const std::string location = "room of " + user.name;
        engine->setAsynchronous(false);
        engine->setRequestOID(kSysLocation);
        engine->setValueType(RAW_OCTET_STRING);
        engine->setValue(location);
        engine->Set(agent().address());
        EXPECT_EQ(engine->getErrorCode(), ENGINE_OK) << engine->getErrorText();
        reader.Get(agent().address());
        EXPECT_EQ(reader.getValue(), location);

        engine->setAsynchronous(true);
        engine->Get(agent().address());
        ASSERT_TRUE(waitIdle());
        EXPECT_EQ(lastCode, ENGINE_OK);
        EXPECT_EQ(lastValue, location);
    }
}

// Each mistake has its own words, synchronously and asynchronously. The agent
// answers most with a report: those end well before a single timeout of 2 s.
// A request it cannot decrypt it drops, so that one takes the whole timeout
// (500 ms here, one retry) and a probe.
TEST_F(EngineV3Test, SecurityFailuresAreReportedInWordsWithoutWaitingForTheTimeout) {
    const auto& authUser = SnmpAgent::V3UserOf("authNoPriv");
    const auto& privUser = SnmpAgent::V3UserOf("authPriv");
    struct Case {
        const char* what;
        UsmSecurity security;
        const char* words;
        int timeoutMs, withinMs;
    };
    std::vector<Case> cases = {
        {"wrong authentication passphrase", securityOf(privUser), "Wrong digest", 2000, 1000},
        {"wrong privacy passphrase", securityOf(privUser), "Decryption error", 500, 1800},
        {"unknown user", securityOf(authUser), "Unknown user name", 2000, 1000},
        {"level the user lacks", securityOf(authUser), "Unsupported security level", 2000, 1000},
    };
    cases[0].security.authPassphrase = "not-the-auth-phrase";
    cases[1].security.privPassphrase = "not-the-priv-phrase";
    cases[2].security.securityName = "nobody";
    cases[3].security.level = SecurityLevel::AuthPriv;
    engine->setRequestOID(kSysLocation);
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        engine->setSecurity(c.security);
        engine->setTimeout(c.timeoutMs);
        const auto within = std::chrono::milliseconds(c.withinMs);
        auto start = std::chrono::steady_clock::now();
        engine->setAsynchronous(false);
        engine->Get(agent().address());
        EXPECT_LT(std::chrono::steady_clock::now() - start, within);
        EXPECT_EQ(engine->getErrorCode(), ENGINE_SECURITY);
        EXPECT_NE(engine->getErrorText().find(c.words), std::string::npos) << engine->getErrorText();
        start = std::chrono::steady_clock::now();
        engine->setAsynchronous(true);
        engine->Get(agent().address());
        ASSERT_TRUE(waitIdle());
        EXPECT_LT(std::chrono::steady_clock::now() - start, within);
        EXPECT_EQ(lastCode, ENGINE_SECURITY);
        EXPECT_NE(lastText.find(c.words), std::string::npos) << lastText;
    }
    // The right passphrase after a wrong one works: no stale key is kept.
    engine->setSecurity(securityOf(privUser));
    engine->setAsynchronous(false);
    engine->Get(agent().address());
    EXPECT_EQ(engine->getErrorCode(), ENGINE_OK) << engine->getErrorText();
}

TEST_F(EngineV3Test, UnusableCredentialsAndSilentAgentsFailWithoutHanging) {
    auto security = securityOf(SnmpAgent::V3UserOf("authPriv"));
    security.privPassphrase = "short";
    engine->setSecurity(security);
    engine->setAsynchronous(false);
    engine->setRequestOID(kSysLocation);
    engine->Get(agent().address());
    EXPECT_EQ(engine->getErrorCode(), ENGINE_SECURITY);
    EXPECT_NE(engine->getErrorText().find("at least 8"), std::string::npos) << engine->getErrorText();

    engine->setSecurity(securityOf(SnmpAgent::V3UserOf("authPriv")));
    engine->Get("127.0.0.1:" + std::to_string(qlmib::test::UnusedUdpPort()));
    EXPECT_EQ(engine->getErrorCode(), ENGINE_TIMEOUT) << engine->getErrorText();
}

}  // namespace
}  // namespace qlmib::snmp
