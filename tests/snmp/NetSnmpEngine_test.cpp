#include <gtest/gtest.h>

#include <chrono>
#include <functional>
#include <map>
#include <memory>
#include <regex>

#include <qlmib/snmp/NetSnmpEngine.h>
#include <qlmib/ui/PollEventLoop.h>

#include "ScriptedAgent.h"
#include "SnmpAgent.h"
#include "TestHome.h"

namespace qlmib::snmp {
namespace {

using qlmib::test::ScriptedAgent;
using qlmib::test::SnmpAgent;

constexpr const char* kSysContact = "1.3.6.1.2.1.1.4.0";
constexpr const char* kSysName = "1.3.6.1.2.1.1.5.0";
constexpr const char* kSysLocation = "1.3.6.1.2.1.1.6.0";
constexpr const char* kSysUpTime = "1.3.6.1.2.1.1.3.0";

std::string hexOf(const std::string& text) {
    static constexpr char digits[] = "0123456789ABCDEF";
    std::string out;
    for (const unsigned char c : text) out += {digits[c >> 4], digits[c & 15]};
    return out;
}

// One delivered answer, flattened; `single` tells which event carried it.
struct Received {
    bool single = false;
    std::string tag, host, community;
    std::vector<std::string> oids, values, hexValues;
    std::vector<int> types;
    long code = 0;
    std::string text;
    int pendingDuring = -1;
};

class EngineTest : public ::testing::Test {
protected:
    void SetUp() override {
        singles = engine->ValueReceived.subscribe([this](const std::string& host, const std::string& oid, int type,
                                                         const std::string& value, const std::string& tag,
                                                         const std::string& community) {
            record({true, tag, host, community, {oid}, {value}, {engine->getHexValue()}, {type}});
        });
        bulks = engine->ValuesReceived.subscribe(
            [this](const std::string& tag, const std::vector<std::string>& oids, const std::vector<int>& types,
                   const std::vector<std::string>& values, const std::vector<std::string>& hexValues) {
                record({false, tag, "", "", oids, values, hexValues, types});
            });
        engine->setCommunity(SnmpAgent::kReadCommunity);
        engine->setVersion(2);
        engine->setTimeout(1000);
        engine->setRetries(1);
    }

    void record(Received r) {
        r.code = engine->getErrorCode();
        r.text = engine->getErrorText();
        r.pendingDuring = engine->getPendingCount();
        received.push_back(r);
        if (onAnswer) onAnswer(received.back());
    }

    static SnmpAgent& agent() { return SnmpAgent::Shared(); }
    bool waitIdle(int ms = 5000) { return loop.runUntil([&] { return engine->getPendingCount() == 0; }, ms); }

    void get(const std::string& oid, const std::string& tag = "", const std::string& host = "") {
        engine->setRequestTag(tag);
        engine->setRequestOID(oid);
        engine->Get(host.empty() ? agent().address() : host);
    }

    // The one answer to a single request just sent.
    Received answerTo(const std::function<void()>& send) {
        received.clear();
        send();
        EXPECT_TRUE(waitIdle());
        EXPECT_EQ(received.size(), 1u);
        return received.empty() ? Received{} : received.front();
    }

    qlmib::test::TestHome home{false};
    ui::PollEventLoop loop;
    std::unique_ptr<NetSnmpEngine> engine = std::make_unique<NetSnmpEngine>(loop);
    std::vector<Received> received;
    std::function<void(const Received&)> onAnswer;
    Subscription singles, bulks;
};

TEST_F(EngineTest, GetGetNextAndGetBulkHandBackTagValuesAndStatusWhileTheEventRuns) {
    const std::string address = agent().address();
    for (const int version : {1, 2}) {
        engine->setVersion(version);
        auto r = answerTo([&] { get(kSysName, "Refresh,3"); });
        EXPECT_TRUE(r.single);
        EXPECT_EQ(r.tag, "Refresh,3");
        EXPECT_EQ(r.host, address);
        EXPECT_EQ(r.community, SnmpAgent::kReadCommunity);
        EXPECT_EQ(r.oids, std::vector<std::string>{kSysName});
        EXPECT_EQ(r.types, std::vector<int>{RAW_OCTET_STRING});
        EXPECT_EQ(r.values, std::vector<std::string>{SnmpAgent::kSysName});
        EXPECT_EQ(r.hexValues, std::vector<std::string>{hexOf(SnmpAgent::kSysName)});
        EXPECT_EQ(r.code, ENGINE_OK);
        EXPECT_EQ(r.text, "OK");
        EXPECT_EQ(r.pendingDuring, 1) << "an answer counts until its event has returned";
        EXPECT_EQ(engine->getPendingCount(), 0);

        engine->setRequestTag("next");
        engine->setRequestOID(kSysContact);
        r = answerTo([&] { engine->GetNext(address); });
        EXPECT_EQ(r.tag, "next");
        EXPECT_EQ(r.oids, std::vector<std::string>{kSysName});
        EXPECT_EQ(r.values, std::vector<std::string>{SnmpAgent::kSysName});
    }
    const auto r = answerTo([&] { engine->GetBulk(address, "public", "bulk", {"1.3.6.1.2.1.1"}, 0, 5); });
    EXPECT_FALSE(r.single);
    EXPECT_EQ(r.tag, "bulk");
    EXPECT_EQ(r.code, ENGINE_OK);
    ASSERT_EQ(r.oids.size(), 5u);
    EXPECT_EQ(r.oids[0], "1.3.6.1.2.1.1.1.0");
    EXPECT_EQ(r.oids[2], kSysUpTime);
    EXPECT_EQ(r.oids[4], kSysName);
    EXPECT_EQ(r.types[4], RAW_OCTET_STRING);
    EXPECT_EQ(r.values[4], SnmpAgent::kSysName);
    EXPECT_EQ(r.hexValues[4], hexOf(SnmpAgent::kSysName));
}

TEST_F(EngineTest, ValuesAsTextByType) {
    // OID, type, the value's pattern, and HexValue where it is not the hex of the text.
    const std::tuple<const char*, int, const char*, const char*> cases[] = {
        {"1.3.6.1.2.1.1.2.0", RAW_OBJECT_IDENTIFIER, R"(1\.3\.6\.1\.4\.1\.8072(\.\d+)+)", nullptr},
        {kSysUpTime, RAW_TIMETICKS, R"(\d+)", nullptr},
        {"1.3.6.1.2.1.2.2.1.1.1", RAW_INTEGER, "1", nullptr},
        {"1.3.6.1.2.1.2.2.1.5.1", RAW_GAUGE32, R"(\d+)", nullptr},
        {"1.3.6.1.2.1.2.2.1.10.1", RAW_COUNTER32, R"(\d+)", nullptr},
        {"1.3.6.1.2.1.31.1.1.1.6.1", RAW_COUNTER64, R"(\d+)", nullptr},
        {"1.3.6.1.2.1.4.20.1.1.127.0.0.1", RAW_IPADDRESS, R"(127\.0\.0\.1)", "7F000001"},
    };
    for (const auto& [oid, type, pattern, hex] : cases) {
        const auto r = answerTo([&] { get(oid); });
        ASSERT_EQ(r.values.size(), 1u) << oid;
        EXPECT_EQ(r.code, ENGINE_OK) << oid << ": " << r.text;
        EXPECT_EQ(r.types[0], type) << oid;
        EXPECT_TRUE(std::regex_match(r.values[0], std::regex(pattern))) << oid << " gave " << r.values[0];
        EXPECT_EQ(r.hexValues[0], hex ? std::string(hex) : hexOf(r.values[0])) << oid;
    }
}

TEST_F(EngineTest, ErrorStatusesAndExceptionsHaveTheirOwnCodesInBothModes) {
    const char *read = SnmpAgent::kReadCommunity, *write = SnmpAgent::kWriteCommunity;
    struct Case {
        char command;  // Get, Next, Bulk (always asynchronous) or Set
        const char *oid, *community;
        int version;
        long code;
        const char* text;
        int type;
    };
    const Case cases[] = {
        {'G', "1.3.6.1.2.1.1.5.1", read, 2, ENGINE_NO_SUCH_INSTANCE, "noSuchInstance", RAW_NO_SUCH_INSTANCE},
        {'G', "1.3.6.1.2.1.1.99.0", read, 2, ENGINE_NO_SUCH_OBJECT, "noSuchObject", RAW_NO_SUCH_OBJECT},
        {'N', "2.0", read, 2, ENGINE_END_OF_MIB_VIEW, "endOfMibView", RAW_END_OF_MIB_VIEW},
        {'G', "1.3.6.1.2.1.1.5.1", read, 1, ENGINE_ERROR_STATUS + 2, "noSuchName", RAW_NULL},
        {'N', "2.0", read, 1, ENGINE_ERROR_STATUS + 2, "noSuchName", RAW_NULL},
        {'B', "2.0", read, 1, ENGINE_END_OF_MIB_VIEW, "endOfMibView", RAW_END_OF_MIB_VIEW},  // v2c whatever Version
        {'S', kSysName, write, 2, ENGINE_ERROR_STATUS + 17, "notWritable", RAW_OCTET_STRING},
        {'S', kSysName, write, 1, ENGINE_ERROR_STATUS + 2, "noSuchName", RAW_OCTET_STRING},
        {'S', kSysContact, read, 2, ENGINE_ERROR_STATUS + 6, "noAccess", RAW_OCTET_STRING},
        {'S', kSysContact, read, 1, ENGINE_ERROR_STATUS + 2, "noSuchName", RAW_OCTET_STRING},
    };
    auto send = [&](const Case& c) {
        engine->setCommunity(c.community);
        engine->setVersion(c.version);
        engine->setRequestOID(c.oid);
        engine->setValueType(RAW_OCTET_STRING);
        engine->setValue("refused");
        if (c.command == 'B') engine->GetBulk(agent().address(), c.community, "", {c.oid}, 0, 5);
        else if (c.command == 'G') engine->Get(agent().address());
        else if (c.command == 'N') engine->GetNext(agent().address());
        else engine->Set(agent().address());
    };
    for (const auto& c : cases) {
        const std::string what = std::string(1, c.command) + " " + c.oid + " v" + std::to_string(c.version);
        engine->setAsynchronous(true);
        const auto r = answerTo([&] { send(c); });
        EXPECT_EQ(r.code, c.code) << what;
        EXPECT_EQ(r.text, c.text) << what;
        ASSERT_EQ(r.types.size(), 1u) << what;
        EXPECT_EQ(r.types[0], c.type) << what;
        EXPECT_EQ(r.values[0], c.command == 'S' ? "refused" : "") << what;
        if (c.command == 'B') continue;
        engine->setAsynchronous(false);
        send(c);
        EXPECT_EQ(engine->getErrorCode(), c.code) << what;
        EXPECT_EQ(engine->getErrorText(), c.text) << what;
    }
}

TEST_F(EngineTest, SetAndReadBackInBothModes) {
    const std::string host = agent().address();
    get(kSysUpTime, "pending");  // still out while the synchronous requests run
    engine->setAsynchronous(false);
    engine->setCommunity(SnmpAgent::kWriteCommunity);
    engine->setValueType(RAW_OCTET_STRING);
    engine->setValue("sync contact");
    engine->setRequestOID(kSysContact);
    engine->Set(host);
    EXPECT_EQ(engine->getErrorCode(), ENGINE_OK) << engine->getErrorText();
    engine->setValueType(RAW_INTEGER);
    engine->setValue("");
    engine->Get(host);
    EXPECT_EQ(engine->getValueType(), RAW_OCTET_STRING);
    EXPECT_EQ(engine->getValue(), "sync contact");
    EXPECT_EQ(engine->getHexValue(), hexOf("sync contact"));
    EXPECT_TRUE(received.empty()) << "a synchronous request neither raises an event nor delivers another's answer";
    EXPECT_EQ(engine->getPendingCount(), 1);
    ASSERT_TRUE(waitIdle());
    ASSERT_EQ(received.size(), 1u);
    EXPECT_EQ(received[0].tag, "pending");
    EXPECT_EQ(received[0].oids[0], kSysUpTime);

    engine->setAsynchronous(true);
    engine->setValueType(RAW_OCTET_STRING);
    engine->setValue("async location");
    engine->setRequestOID(kSysLocation);
    engine->setRequestTag("CheckSet,2");
    const auto set = answerTo([&] { engine->Set(host); });
    EXPECT_EQ(set.tag, "CheckSet,2");
    EXPECT_EQ(set.code, ENGINE_OK) << set.text;
    EXPECT_EQ(answerTo([&] { get(kSysLocation); }).values[0], "async location");
}

TEST_F(EngineTest, ValuesThatDoNotFitTheirTypeAreNotSent) {
    const std::pair<int, const char*> cases[] = {
        {RAW_INTEGER, "abc"},     {RAW_INTEGER, "12abc"},           {RAW_INTEGER, "3000000000"}, {RAW_GAUGE32, "-1"},
        {RAW_IPADDRESS, "1.2.3"}, {RAW_OBJECT_IDENTIFIER, "1..3"}, {99, "x"},
    };
    engine->setCommunity(SnmpAgent::kWriteCommunity);
    engine->setRequestOID(kSysContact);
    engine->setAsynchronous(false);
    for (const auto& [type, value] : cases) {
        engine->setValueType(type);
        engine->setValue(value);
        engine->Set(agent().address());
        EXPECT_EQ(engine->getErrorCode(), ENGINE_BAD_VALUE) << value;
        EXPECT_NE(engine->getErrorText().find(type == 99 ? "99" : value), std::string::npos) << engine->getErrorText();
    }
}

TEST_F(EngineTest, HostsWithAndWithoutPortsOverUdpAndTcpOnIPv4AndIPv6) {
    SnmpAgent agent6(true);
    const std::string port = std::to_string(agent().port()), port6 = std::to_string(agent6.port());
    const std::pair<std::string, int> hosts[] = {
        {"127.0.0.1", agent().port()}, {"localhost:" + port, 1}, {"udp:127.0.0.1:" + port, 1},
        {" 127.0.0.1:" + port + " ", 1}, {agent6.address6(), 1}, {"[::1]:" + port6, 1},
        {"::1", agent6.port()},        {"udp6:[::1]", agent6.port()},
        {"tcp:127.0.0.1:" + port6, 1}, {"TCP:localhost", agent6.port()}, {"tcp6:[::1]:" + port6, 1},
    };
    for (const auto& [host, propertyPort] : hosts) {
        engine->setPort(propertyPort);
        const auto r = answerTo([&] { get(kSysName, "", host); });
        EXPECT_EQ(r.code, ENGINE_OK) << host << ": " << r.text;
        EXPECT_EQ(r.host, host);
        EXPECT_EQ(r.values, std::vector<std::string>{SnmpAgent::kSysName}) << host;
    }
    const auto bulk = answerTo([&] { engine->GetBulk(agent6.address6(), "public", "", {"1.3.6.1.2.1.1"}, 0, 3); });
    EXPECT_EQ(bulk.oids.size(), 3u);
}

TEST_F(EngineTest, MalformedHostsAndOidsAreAnsweredWithAnError) {
    engine->setPort(0);  // out of range too, where the host names no port
    const std::pair<std::string, std::string> cases[] = {
        {"", kSysName},           {"127.0.0.1:abc", kSysName}, {"127.0.0.1:", kSysName},
        {"[::1", kSysName},       {"udp6:[::1]x", kSysName},   {"bad host", kSysName},
        {"127.0.0.1", kSysName},  {"127.0.0.1:161", "1.3.x"},  {"127.0.0.1:161", ""},
        {"127.0.0.1:161", "1.3.6."},
    };
    for (const auto& [host, oid] : cases) {
        const bool badOid = oid != kSysName;
        engine->setRequestTag("tag");
        engine->setRequestOID(oid);
        const auto r = answerTo([&] { engine->Get(host); });
        EXPECT_EQ(r.code, badOid ? ENGINE_BAD_OID : ENGINE_BAD_ADDRESS) << '"' << host << "\" " << oid;
        EXPECT_EQ(r.tag, "tag");
        EXPECT_EQ(r.oids, std::vector<std::string>{oid});
        EXPECT_TRUE(r.text.starts_with(badOid ? "Bad OID \"" + oid + "\"" : "Bad address \"" + host + "\": "))
            << r.text;
    }
}

TEST_F(EngineTest, UnansweredRequestTimesOutAfterEveryRetry) {
    ScriptedAgent silent(loop, [](const ScriptedAgent::Request&) { return ScriptedAgent::Reply{false}; });
    engine->setTimeout(200);
    engine->setRetries(2);
    const auto start = std::chrono::steady_clock::now();
    const auto r = answerTo([&] { get(kSysName, "lost", silent.address()); });
    const auto elapsed = std::chrono::steady_clock::now() - start;
    ASSERT_EQ(silent.requests.size(), 3u);
    for (const auto& request : silent.requests) EXPECT_EQ(request.requestId, silent.requests[0].requestId);
    EXPECT_EQ(r.code, ENGINE_TIMEOUT);
    EXPECT_EQ(r.text, "Timeout");
    EXPECT_EQ(r.tag, "lost");
    EXPECT_EQ(r.oids, std::vector<std::string>{kSysName});
    EXPECT_GE(elapsed, std::chrono::milliseconds(590));
    EXPECT_LT(elapsed, std::chrono::milliseconds(2500));
    EXPECT_EQ(engine->getPendingCount(), 0);

    // snmpd ignores an unknown community: an empty one must go out empty, not as net-snmp's default.
    engine->setAsynchronous(false);
    engine->setRetries(0);
    engine->setCommunity("");
    get(kSysName);
    EXPECT_EQ(engine->getErrorCode(), ENGINE_TIMEOUT);
}

TEST_F(EngineTest, CancelAllDropsAnswersInFlight) {
    for (int i = 0; i < 20; ++i) get(i % 2 ? kSysName : kSysUpTime, "walk");
    get(kSysName, "lost", "127.0.0.1:" + std::to_string(qlmib::test::UnusedUdpPort()));
    EXPECT_EQ(engine->getPendingCount(), 21);
    engine->CancelAll();
    EXPECT_EQ(engine->getPendingCount(), 0);
    loop.runUntil([] { return false; }, 300);
    EXPECT_TRUE(received.empty());

    // Cancelling from inside an answer drops the answers already queued behind it.
    onAnswer = [&](const Received&) { engine->CancelAll(); };
    for (int i = 0; i < 20; ++i) get(kSysName, "again");
    loop.runUntil([&] { return !received.empty(); }, 5000);
    loop.runUntil([] { return false; }, 100);
    EXPECT_EQ(received.size(), 1u);
    EXPECT_EQ(engine->getPendingCount(), 0);

    onAnswer = nullptr;
    EXPECT_EQ(answerTo([&] { get(kSysName, "after"); }).code, ENGINE_OK) << "the engine works on after a cancel";
}

TEST_F(EngineTest, ManyRequestsInFlightEachAnsweredUnderItsTagFromTheLoop) {
    const char* oids[] = {kSysName, kSysContact, kSysUpTime, kSysLocation};
    for (int i = 0; i < 12; ++i) {
        engine->setVersion(1 + i % 2);
        get(oids[i % 4], "T" + std::to_string(i));
    }
    engine->GetBulk(agent().address(), "public", "B", {"1.3.6.1.2.1.1"}, 0, 4);
    get("1.3.x", "bad");  // fails at once, yet is answered from the loop too
    EXPECT_EQ(engine->getPendingCount(), 14);
    EXPECT_TRUE(received.empty()) << "no answer arrives inside the call that sends";
    ASSERT_TRUE(waitIdle());
    ASSERT_EQ(received.size(), 14u);
    std::map<std::string, Received> byTag;
    for (const auto& r : received) byTag[r.tag] = r;
    for (int i = 0; i < 12; ++i) {
        EXPECT_EQ(byTag["T" + std::to_string(i)].code, ENGINE_OK);
        EXPECT_EQ(byTag["T" + std::to_string(i)].oids[0], oids[i % 4]);
    }
    EXPECT_EQ(byTag["bad"].code, ENGINE_BAD_OID);
    EXPECT_EQ(byTag["B"].oids.size(), 4u);
    EXPECT_EQ(byTag["B"].oids[0], "1.3.6.1.2.1.1.1.0");
}

TEST_F(EngineTest, DestroyedFromItsOwnAnswer) {
    onAnswer = [&](const Received&) { engine.reset(); };
    for (int i = 0; i < 5; ++i) get(kSysName, "x");
    loop.runUntil([&] { return !engine; }, 3000);
    loop.runUntil([] { return false; }, 100);
    EXPECT_EQ(received.size(), 1u);
}

// The faults below need a scripted agent; each stands beside a test of the
// same path against snmpd above.

TEST_F(EngineTest, BulkAnsweredTooBigIsRetriedWithHalfTheRepetitions) {
    ScriptedAgent agent(loop, [](const ScriptedAgent::Request& request) {
        if (request.maxRepetitions > 3) return ScriptedAgent::Reply{true, 1, {}};
        ScriptedAgent::Reply reply;
        for (long i = 1; i <= request.maxRepetitions; ++i) reply.oids.push_back("1.3.6.1.9." + std::to_string(i));
        return reply;
    });
    auto r = answerTo([&] { engine->GetBulk(agent.address(), "public", "big", {"1.3.6.1.9"}, 0, 12); });
    EXPECT_EQ(r.code, ENGINE_OK);
    EXPECT_EQ(r.tag, "big");
    EXPECT_EQ(r.oids, (std::vector<std::string>{"1.3.6.1.9.1", "1.3.6.1.9.2", "1.3.6.1.9.3"}));
    std::vector<long> repetitions;
    for (const auto& request : agent.requests) repetitions.push_back(request.maxRepetitions);
    EXPECT_EQ(repetitions, (std::vector<long>{12, 6, 3}));

    ScriptedAgent never(loop, [](const ScriptedAgent::Request&) { return ScriptedAgent::Reply{true, 1, {}}; });
    r = answerTo([&] { engine->GetBulk(never.address(), "public", "big", {"1.3.6.1.9"}, 0, 2); });
    EXPECT_EQ(r.code, ENGINE_ERROR_STATUS + 1);
    EXPECT_EQ(r.text, "tooBig");
    EXPECT_EQ(never.requests.size(), 2u);
}

TEST_F(EngineTest, AnswersThatWouldLoopAWalkEndIt) {
    ScriptedAgent agent(loop, [](const ScriptedAgent::Request& request) {
        if (request.pduType == 0xA1) return ScriptedAgent::Reply{true, 0, {"1.3.6.1.9.5"}};  // the OID asked for
        return ScriptedAgent::Reply{true, 0, {"1.3.6.1.9.6", "1.3.6.1.9.7", "1.3.6.1.9.7"}};
    });
    engine->setRequestOID("1.3.6.1.9.5");
    auto r = answerTo([&] { engine->GetNext(agent.address()); });
    EXPECT_EQ(r.code, ENGINE_OID_NOT_INCREASING);
    EXPECT_EQ(r.oids, std::vector<std::string>{"1.3.6.1.9.5"});

    r = answerTo([&] { engine->GetBulk(agent.address(), "public", "", {"1.3.6.1.9.5"}, 0, 3); });
    EXPECT_EQ(r.code, ENGINE_OK);
    EXPECT_EQ(r.oids, (std::vector<std::string>{"1.3.6.1.9.6", "1.3.6.1.9.7"}));
}

}  // namespace
}  // namespace qlmib::snmp
