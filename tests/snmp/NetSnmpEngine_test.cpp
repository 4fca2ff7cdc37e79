#include <gtest/gtest.h>

#include <chrono>
#include <functional>
#include <memory>
#include <regex>

#include <qlmib/snmp/NetSnmpEngine.h>
#include <qlmib/ui/PollEventLoop.h>

#include "FakeAgent.h"
#include "SnmpAgent.h"
#include "TestHome.h"

namespace qlmib::snmp {
namespace {

using Clock = std::chrono::steady_clock;
using qlmib::test::SnmpAgent;
using test::FakeAgent;

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

    bool waitIdle(int ms = 5000) {
        return loop.runUntil([&] { return engine->getPendingCount() == 0; }, ms);
    }

    void get(const std::string& oid, const std::string& tag = "", const std::string& host = "") {
        engine->setRequestTag(tag);
        engine->setRequestOID(oid);
        engine->Get(host.empty() ? agent().address() : host);
    }

    // The one answer to a single request just sent.
    Received answerTo(std::function<void()> send) {
        received.clear();
        send();
        EXPECT_TRUE(waitIdle());
        EXPECT_EQ(received.size(), 1u);
        return received.empty() ? Received{} : received.front();
    }

    // Walks the subtree under `root` the way the live controls do: each answer
    // sends the next request from its last OID.
    std::vector<std::string> walk(const std::string& root, bool bulk, int* requests) {
        std::vector<std::string> found;
        *requests = 0;
        auto next = [&](const std::string& from) {
            ++*requests;
            if (bulk) {
                engine->GetBulk(agent().address(), SnmpAgent::kReadCommunity, "", {from}, 0, 7);
            } else {
                engine->setRequestOID(from);
                engine->GetNext(agent().address());
            }
        };
        onAnswer = [&](const Received& r) {
            if (r.code != ENGINE_OK) return;
            for (const auto& oid : r.oids) {
                if (oid.rfind(root + ".", 0) != 0) return;
                found.push_back(oid);
            }
            next(r.oids.back());
        };
        next(root);
        EXPECT_TRUE(waitIdle(10000));
        onAnswer = nullptr;
        return found;
    }

    qlmib::test::TestHome home{false};
    ui::PollEventLoop loop;
    std::unique_ptr<NetSnmpEngine> engine = std::make_unique<NetSnmpEngine>(loop);
    std::vector<Received> received;
    std::function<void(const Received&)> onAnswer;
    Subscription singles, bulks;
};

TEST_F(EngineTest, GetHandsBackTagValueAndStatusWhileTheEventRuns) {
    for (const int version : {1, 2}) {
        engine->setVersion(version);
        const auto r = answerTo([&] { get(kSysName, "Refresh,3"); });
        EXPECT_TRUE(r.single);
        EXPECT_EQ(r.tag, "Refresh,3");
        EXPECT_EQ(r.host, agent().address());
        EXPECT_EQ(r.community, SnmpAgent::kReadCommunity);
        EXPECT_EQ(r.oids, std::vector<std::string>{kSysName});
        EXPECT_EQ(r.types, std::vector<int>{RAW_OCTET_STRING});
        EXPECT_EQ(r.values, std::vector<std::string>{SnmpAgent::kSysName});
        EXPECT_EQ(r.hexValues, std::vector<std::string>{hexOf(SnmpAgent::kSysName)});
        EXPECT_EQ(r.code, ENGINE_OK);
        EXPECT_EQ(r.text, "OK");
        EXPECT_EQ(r.pendingDuring, 1) << "an answer counts until its event has returned";
        EXPECT_EQ(engine->getPendingCount(), 0);
    }
}

TEST_F(EngineTest, AnswersNeverArriveInsideTheCallThatSends) {
    get(kSysName, "t");
    EXPECT_EQ(engine->getPendingCount(), 1);
    EXPECT_TRUE(received.empty());
    get("1.3.x", "bad");  // fails at once, yet is answered from the loop too
    EXPECT_EQ(engine->getPendingCount(), 2);
    EXPECT_TRUE(received.empty());
    EXPECT_TRUE(waitIdle());
    EXPECT_EQ(received.size(), 2u);
}

TEST_F(EngineTest, ValuesAsTextByType) {
    struct Case {
        const char* oid;
        int type;
        const char* pattern;
        bool octetHex;  // HexValue holds the encoded octets rather than the text's
    };
    const Case cases[] = {
        {"1.3.6.1.2.1.1.2.0", RAW_OBJECT_IDENTIFIER, R"(1\.3\.6\.1\.4\.1\.8072(\.\d+)+)", false},
        {kSysUpTime, RAW_TIMETICKS, R"(\d+)", false},
        {"1.3.6.1.2.1.2.2.1.1.1", RAW_INTEGER, "1", false},
        {"1.3.6.1.2.1.2.2.1.5.1", RAW_GAUGE32, R"(\d+)", false},
        {"1.3.6.1.2.1.2.2.1.10.1", RAW_COUNTER32, R"(\d+)", false},
        {"1.3.6.1.2.1.31.1.1.1.6.1", RAW_COUNTER64, R"(\d+)", false},
        {"1.3.6.1.2.1.4.20.1.1.127.0.0.1", RAW_IPADDRESS, R"(127\.0\.0\.1)", true},
        {"1.3.6.1.2.1.2.2.1.6.1", RAW_OCTET_STRING, "", true},
    };
    for (const auto& c : cases) {
        const auto r = answerTo([&] { get(c.oid); });
        ASSERT_EQ(r.values.size(), 1u) << c.oid;
        EXPECT_EQ(r.code, ENGINE_OK) << c.oid << ": " << r.text;
        EXPECT_EQ(r.types[0], c.type) << c.oid;
        EXPECT_TRUE(std::regex_match(r.values[0], std::regex(c.pattern))) << c.oid << " gave " << r.values[0];
        if (!c.octetHex) {
            EXPECT_EQ(r.hexValues[0], hexOf(r.values[0])) << c.oid;
        }
    }
    EXPECT_EQ(answerTo([&] { get("1.3.6.1.2.1.4.20.1.1.127.0.0.1"); }).hexValues[0], "7F000001");
}

TEST_F(EngineTest, BulkWalkFindsWhatAGetNextWalkFinds) {
    int bulkRequests = 0, nextRequests = 0;
    const auto bulk = walk("1.3.6.1.2.1.2.2", true, &bulkRequests);
    engine->setVersion(1);
    const auto next = walk("1.3.6.1.2.1.2.2", false, &nextRequests);
    EXPECT_GT(bulk.size(), 10u);
    EXPECT_EQ(bulk, next);
    EXPECT_LT(bulkRequests * 5, nextRequests) << "seven bindings per bulk answer";
    for (const auto& r : received) EXPECT_LE(r.oids.size(), 7u);
}

TEST_F(EngineTest, BulkAnswerCarriesTheBindingsInTheAgentsOrder) {
    const auto r = answerTo([&] { engine->GetBulk(agent().address(), "public", "bulk", {"1.3.6.1.2.1.1"}, 0, 5); });
    EXPECT_FALSE(r.single);
    EXPECT_EQ(r.tag, "bulk");
    ASSERT_EQ(r.oids.size(), 5u);
    EXPECT_EQ(r.oids[0], "1.3.6.1.2.1.1.1.0");
    EXPECT_EQ(r.oids[2], kSysUpTime);
    EXPECT_EQ(r.oids[4], kSysName);
    EXPECT_EQ(r.values[4], SnmpAgent::kSysName);
    EXPECT_EQ(r.hexValues[4], hexOf(SnmpAgent::kSysName));
    EXPECT_EQ(r.types.size(), 5u);
}

TEST_F(EngineTest, ExceptionsAndErrorStatusesHaveTheirOwnCodes) {
    struct Case {
        const char* name;
        std::function<void(Engine&, const std::string&)> send;
        int version;
        long code;
        const char* text;
        int type;
    };
    auto getOf = [](const char* oid) {
        return [oid](Engine& e, const std::string& host) {
            e.setRequestOID(oid);
            e.Get(host);
        };
    };
    auto getNextOf = [](const char* oid) {
        return [oid](Engine& e, const std::string& host) {
            e.setRequestOID(oid);
            e.GetNext(host);
        };
    };
    const Case cases[] = {
        {"noSuchInstance", getOf("1.3.6.1.2.1.1.5.1"), 2, ENGINE_NO_SUCH_INSTANCE, "noSuchInstance", RAW_NO_SUCH_INSTANCE},
        {"noSuchObject", getOf("1.3.6.1.2.1.1.99.0"), 2, ENGINE_NO_SUCH_OBJECT, "noSuchObject", RAW_NO_SUCH_OBJECT},
        {"endOfMibView", getNextOf("2.0"), 2, ENGINE_END_OF_MIB_VIEW, "endOfMibView", RAW_END_OF_MIB_VIEW},
        {"v1 GET", getOf("1.3.6.1.2.1.1.5.1"), 1, ENGINE_ERROR_STATUS + 2, "noSuchName", RAW_NULL},
        {"v1 past the end", getNextOf("2.0"), 1, ENGINE_ERROR_STATUS + 2, "noSuchName", RAW_NULL},
        {"bulk past the end", [](Engine& e, const std::string& host) { e.GetBulk(host, "public", "", {"2.0"}, 0, 5); },
         1, ENGINE_END_OF_MIB_VIEW, "endOfMibView", RAW_END_OF_MIB_VIEW},
    };
    for (const auto& c : cases) {
        engine->setVersion(c.version);
        const auto r = answerTo([&] { c.send(*engine, agent().address()); });
        EXPECT_EQ(r.code, c.code) << c.name;
        EXPECT_EQ(r.text, c.text) << c.name;
        ASSERT_EQ(r.types.size(), 1u) << c.name;
        EXPECT_EQ(r.types[0], c.type) << c.name;
        EXPECT_EQ(r.values[0], "") << c.name;
    }
}

TEST_F(EngineTest, SetAndReadBackInBothModes) {
    const std::string host = agent().address();
    engine->setCommunity(SnmpAgent::kWriteCommunity);
    engine->setValueType(RAW_OCTET_STRING);

    // Synchronous: returns with the answer and raises nothing.
    engine->setAsynchronous(false);
    engine->setRequestTag("CheckSet,1");
    engine->setRequestOID(kSysContact);
    engine->setValue("sync contact");
    engine->Set(host);
    EXPECT_EQ(engine->getErrorCode(), ENGINE_OK) << engine->getErrorText();
    EXPECT_EQ(engine->getPendingCount(), 0);
    loop.runUntil([] { return false; }, 100);
    EXPECT_TRUE(received.empty()) << "a synchronous request raises no event";

    engine->setAsynchronous(true);
    EXPECT_EQ(answerTo([&] { get(kSysContact, "CheckSet,1"); }).values[0], "sync contact");

    // Asynchronous SET, then a synchronous GET leaves type and value behind.
    engine->setValue("async location");
    engine->setRequestOID(kSysLocation);
    engine->setRequestTag("CheckSet,2");
    const auto set = answerTo([&] { engine->Set(host); });
    EXPECT_EQ(set.tag, "CheckSet,2");
    EXPECT_EQ(set.code, ENGINE_OK) << set.text;
    EXPECT_EQ(set.values[0], "async location");

    engine->setAsynchronous(false);
    engine->setValueType(RAW_INTEGER);
    engine->setValue("");
    engine->Get(host);
    EXPECT_EQ(engine->getValueType(), RAW_OCTET_STRING);
    EXPECT_EQ(engine->getValue(), "async location");
    EXPECT_EQ(engine->getHexValue(), hexOf("async location"));
}

TEST_F(EngineTest, RefusedSetsCarryTheAgentsErrorStatus) {
    struct Case {
        const char* community;
        const char* oid;
        int version;
        long code;
        const char* text;
    };
    const Case cases[] = {
        {SnmpAgent::kWriteCommunity, kSysName, 2, ENGINE_ERROR_STATUS + 17, "notWritable"},
        {SnmpAgent::kWriteCommunity, kSysName, 1, ENGINE_ERROR_STATUS + 2, "noSuchName"},
        {SnmpAgent::kReadCommunity, kSysContact, 2, ENGINE_ERROR_STATUS + 6, "noAccess"},
        {SnmpAgent::kReadCommunity, kSysContact, 1, ENGINE_ERROR_STATUS + 2, "noSuchName"},
    };
    engine->setValueType(RAW_OCTET_STRING);
    engine->setValue("refused");
    for (const bool asynchronous : {false, true}) {
        for (const auto& c : cases) {
            engine->setAsynchronous(asynchronous);
            engine->setCommunity(c.community);
            engine->setVersion(c.version);
            engine->setRequestOID(c.oid);
            if (asynchronous) {
                const auto r = answerTo([&] { engine->Set(agent().address()); });
                EXPECT_EQ(r.code, c.code) << c.text;
                EXPECT_EQ(r.text, c.text);
            } else {
                engine->Set(agent().address());
                EXPECT_EQ(engine->getErrorCode(), c.code) << c.text;
                EXPECT_EQ(engine->getErrorText(), c.text);
            }
        }
    }
}

TEST_F(EngineTest, ValuesThatDoNotFitTheirTypeAreNotSent) {
    struct Case {
        int type;
        const char* value;
    };
    const Case cases[] = {
        {RAW_INTEGER, "abc"}, {RAW_INTEGER, "12abc"}, {RAW_INTEGER, "3000000000"}, {RAW_GAUGE32, "-1"},
        {RAW_IPADDRESS, "1.2.3"}, {RAW_OBJECT_IDENTIFIER, "1..3"}, {99, "x"},
    };
    engine->setCommunity(SnmpAgent::kWriteCommunity);
    engine->setRequestOID(kSysContact);
    for (const auto& c : cases) {
        engine->setAsynchronous(false);
        engine->setValueType(c.type);
        engine->setValue(c.value);
        engine->Set(agent().address());
        EXPECT_EQ(engine->getErrorCode(), ENGINE_BAD_VALUE) << c.value;
        EXPECT_NE(engine->getErrorText().find(c.type == 99 ? "99" : c.value), std::string::npos) << engine->getErrorText();

        engine->setAsynchronous(true);
        const auto r = answerTo([&] { engine->Set(agent().address()); });
        EXPECT_EQ(r.code, ENGINE_BAD_VALUE) << c.value << ": " << r.text << " " << r.values[0];
    }
}

TEST_F(EngineTest, HostsWithAndWithoutPortsAndTransports) {
    const std::string port = std::to_string(agent().port());
    const std::pair<std::string, int> hosts[] = {
        {"127.0.0.1", agent().port()}, {"127.0.0.1:" + port, 1},        {"localhost:" + port, 1},
        {"udp:127.0.0.1:" + port, 1},  {" 127.0.0.1:" + port + " ", 1},
    };
    for (const auto& [host, propertyPort] : hosts) {
        engine->setPort(propertyPort);
        const auto r = answerTo([&] { get(kSysName, "", host); });
        EXPECT_EQ(r.code, ENGINE_OK) << host << ": " << r.text;
        EXPECT_EQ(r.host, host);
    }
}

TEST_F(EngineTest, IPv6Agent) {
    SnmpAgent agent6(true);
    const std::string port = std::to_string(agent6.port());
    const std::pair<std::string, int> hosts[] = {
        {agent6.address6(), 1}, {"[::1]:" + port, 1}, {"::1", agent6.port()}, {"udp6:[::1]", agent6.port()}};
    for (const auto& [host, propertyPort] : hosts) {
        engine->setPort(propertyPort);
        const auto r = answerTo([&] { get(kSysName, "six", host); });
        EXPECT_EQ(r.code, ENGINE_OK) << host << ": " << r.text;
        EXPECT_EQ(r.values, std::vector<std::string>{SnmpAgent::kSysName}) << host;
    }
    engine->GetBulk(agent6.address6(), "public", "bulk6", {"1.3.6.1.2.1.1"}, 0, 3);
    ASSERT_TRUE(waitIdle());
    EXPECT_EQ(received.back().oids.size(), 3u);
}

TEST_F(EngineTest, MalformedHostsAndOidsAreAnsweredWithAnError) {
    struct Case {
        std::string host;
        std::string oid;
        int port;
        long code;
    };
    const Case cases[] = {
        {"", kSysName, 161, ENGINE_BAD_ADDRESS},
        {"127.0.0.1:0", kSysName, 161, ENGINE_BAD_ADDRESS},
        {"127.0.0.1:65536", kSysName, 161, ENGINE_BAD_ADDRESS},
        {"127.0.0.1:abc", kSysName, 161, ENGINE_BAD_ADDRESS},
        {"127.0.0.1:", kSysName, 161, ENGINE_BAD_ADDRESS},
        {"[::1", kSysName, 161, ENGINE_BAD_ADDRESS},
        {"udp6:[::1]x", kSysName, 161, ENGINE_BAD_ADDRESS},
        {"bad host", kSysName, 161, ENGINE_BAD_ADDRESS},
        {"127.0.0.1", kSysName, 0, ENGINE_BAD_ADDRESS},
        {"127.0.0.1", kSysName, 70000, ENGINE_BAD_ADDRESS},
        {"127.0.0.1", "1.3.x", 161, ENGINE_BAD_OID},
        {"127.0.0.1", "", 161, ENGINE_BAD_OID},
        {"127.0.0.1", "1.3.6.", 161, ENGINE_BAD_OID},
    };
    for (const auto& c : cases) {
        engine->setPort(c.port);
        engine->setRequestTag("tag");
        engine->setRequestOID(c.oid);
        const auto r = answerTo([&] { engine->Get(c.host); });
        EXPECT_EQ(r.code, c.code) << '"' << c.host << "\" " << c.oid;
        EXPECT_FALSE(r.text.empty());
        EXPECT_EQ(r.tag, "tag");
        EXPECT_EQ(r.oids, std::vector<std::string>{c.oid});
        if (c.code == ENGINE_BAD_OID && !c.oid.empty()) {
            EXPECT_NE(r.text.find(c.oid), std::string::npos) << r.text;
        }
    }
}

TEST_F(EngineTest, UnansweredRequestTimesOutAfterEveryRetry) {
    engine->setTimeout(200);
    engine->setRetries(2);
    const auto start = Clock::now();
    const auto r = answerTo([&] { get(kSysName, "lost", "127.0.0.1:" + std::to_string(qlmib::test::UnusedUdpPort())); });
    const auto elapsed = std::chrono::duration_cast<std::chrono::milliseconds>(Clock::now() - start).count();
    EXPECT_EQ(r.code, ENGINE_TIMEOUT);
    EXPECT_EQ(r.text, "Timeout");
    EXPECT_EQ(r.tag, "lost");
    EXPECT_EQ(r.oids, std::vector<std::string>{kSysName});
    EXPECT_GE(elapsed, 590);
    EXPECT_LT(elapsed, 1500);
    EXPECT_EQ(engine->getPendingCount(), 0);

    engine->setAsynchronous(false);
    engine->setRetries(0);
    engine->Get("127.0.0.1:" + std::to_string(qlmib::test::UnusedUdpPort()));
    EXPECT_EQ(engine->getErrorCode(), ENGINE_TIMEOUT);
}

TEST_F(EngineTest, RetransmitsAsOftenAsRetriesSays) {
    FakeAgent silent(loop, [](const FakeAgent::Request&) { return FakeAgent::Reply{false}; });
    engine->setTimeout(100);
    engine->setRetries(3);
    const auto r = answerTo([&] { get(kSysName, "", silent.address()); });
    EXPECT_EQ(r.code, ENGINE_TIMEOUT);
    ASSERT_EQ(silent.requests().size(), 4u);
    for (const auto& request : silent.requests()) EXPECT_EQ(request.requestId, silent.requests()[0].requestId);
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
    loop.runUntil([] { return false; }, 300);
    EXPECT_EQ(received.size(), 1u);
    EXPECT_EQ(engine->getPendingCount(), 0);

    onAnswer = nullptr;
    EXPECT_EQ(answerTo([&] { get(kSysName, "after"); }).code, ENGINE_OK) << "the engine works on after a cancel";
}

TEST_F(EngineTest, ManyRequestsInFlightEachAnsweredUnderItsTag) {
    const char* oids[] = {kSysName, kSysContact, kSysUpTime, kSysLocation};
    for (int i = 0; i < 12; ++i) {
        engine->setVersion(1 + i % 2);
        get(oids[i % 4], "T" + std::to_string(i));
    }
    engine->GetBulk(agent().address(), "public", "B", {"1.3.6.1.2.1.1"}, 0, 4);
    EXPECT_EQ(engine->getPendingCount(), 13);
    ASSERT_TRUE(waitIdle());
    ASSERT_EQ(received.size(), 13u);
    std::map<std::string, std::string> oidByTag;
    for (const auto& r : received) {
        EXPECT_EQ(r.code, ENGINE_OK);
        oidByTag[r.tag] = r.oids.front();
    }
    for (int i = 0; i < 12; ++i) EXPECT_EQ(oidByTag["T" + std::to_string(i)], oids[i % 4]);
    EXPECT_EQ(oidByTag["B"], "1.3.6.1.2.1.1.1.0");
}

TEST_F(EngineTest, SynchronousRequestLeavesPendingAnswersToTheLoop) {
    get(kSysUpTime, "async");
    engine->setAsynchronous(false);
    engine->setRequestOID(kSysName);
    engine->Get(agent().address());
    EXPECT_EQ(engine->getValue(), SnmpAgent::kSysName);
    EXPECT_EQ(engine->getValueType(), RAW_OCTET_STRING);
    EXPECT_TRUE(received.empty());
    EXPECT_EQ(engine->getPendingCount(), 1);
    ASSERT_TRUE(waitIdle());
    ASSERT_EQ(received.size(), 1u);
    EXPECT_EQ(received[0].tag, "async");
    EXPECT_EQ(received[0].oids[0], kSysUpTime);
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

FakeAgent::Binding octets(const std::string& oid, const std::string& value) { return {oid, 4, value}; }

TEST_F(EngineTest, BulkAnsweredTooBigIsRetriedWithHalfTheRepetitions) {
    FakeAgent agent(loop, [](const FakeAgent::Request& request) {
        FakeAgent::Reply reply;
        if (request.maxRepetitions > 3) {
            reply.errorStatus = 1;
            return reply;
        }
        for (long i = 1; i <= request.maxRepetitions; ++i) reply.bindings.push_back(octets("1.3.6.1.9." + std::to_string(i), "v"));
        return reply;
    });
    auto r = answerTo([&] { engine->GetBulk(agent.address(), "public", "big", {"1.3.6.1.9"}, 0, 12); });
    EXPECT_EQ(r.code, ENGINE_OK);
    EXPECT_EQ(r.tag, "big");
    EXPECT_EQ(r.oids, (std::vector<std::string>{"1.3.6.1.9.1", "1.3.6.1.9.2", "1.3.6.1.9.3"}));
    std::vector<long> repetitions;
    for (const auto& request : agent.requests()) repetitions.push_back(request.maxRepetitions);
    EXPECT_EQ(repetitions, (std::vector<long>{12, 6, 3}));

    FakeAgent never(loop, [](const FakeAgent::Request&) { return FakeAgent::Reply{true, 1}; });
    r = answerTo([&] { engine->GetBulk(never.address(), "public", "big", {"1.3.6.1.9"}, 0, 2); });
    EXPECT_EQ(r.code, ENGINE_ERROR_STATUS + 1);
    EXPECT_EQ(r.text, "tooBig");
    EXPECT_EQ(never.requests().size(), 2u);
}

TEST_F(EngineTest, CommunityAndVersionGoOutAsSet) {
    FakeAgent agent(loop, [](const FakeAgent::Request& request) {
        return FakeAgent::Reply{true, 0, 0, {octets(request.oids[0], request.community)}};
    });
    const std::pair<std::string, int> cases[] = {{"", 1}, {"", 2}, {"private", 2}, {"public", 1}};
    for (const auto& [community, version] : cases) {
        engine->setCommunity(community);
        engine->setVersion(version);
        EXPECT_EQ(answerTo([&] { get(kSysName, "", agent.address()); }).values[0], community)
            << "an empty community must not become net-snmp's default";
        EXPECT_EQ(agent.requests().back().version, version - 1);
    }
    engine->GetBulk(agent.address(), "bulk", "", {kSysName}, 0, 1);
    ASSERT_TRUE(waitIdle());
    EXPECT_EQ(agent.requests().back().version, 1) << "GET-BULK is always v2c";
    EXPECT_EQ(agent.requests().back().community, "bulk");
}

TEST_F(EngineTest, AnswersThatWouldLoopAWalkEndIt) {
    FakeAgent agent(loop, [](const FakeAgent::Request& request) {
        FakeAgent::Reply reply;
        if (request.pduType == 0xA1) reply.bindings = {octets(request.oids[0], "same")};
        else reply.bindings = {octets("1.3.6.1.9.6", "a"), octets("1.3.6.1.9.7", "b"), octets("1.3.6.1.9.7", "b")};
        return reply;
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
