#include <gtest/gtest.h>

#include <sys/stat.h>

#include <fstream>
#include <sstream>

#include <qlmib/common/Error.h>
#include <qlmib/snmp/AgentProfiles.h>
#include <qlmib/snmp/NetSnmpEngine.h>
#include <qlmib/ui/PollEventLoop.h>

#include "SnmpAgent.h"
#include "TestHome.h"

namespace qlmib::snmp {
namespace {

using qlmib::test::SnmpAgent;

class AgentProfilesTest : public ::testing::Test {
protected:
    std::filesystem::path folder() const { return home.folder() / "config"; }

    static AgentProfile v3Profile(const SnmpAgent::V3User& user, bool saveKeys) {
        AgentProfile profile;
        profile.name = "lab " + user.name;
        profile.address = SnmpAgent::Shared().address();
        profile.version = 3;
        profile.saveKeys = saveKeys;
        auto& security = profile.security;
        security.securityName = user.name;
        security.level = *ParseSecurityLevel(user.level);
        security.authProtocol = *ParseAuthProtocol(user.auth);
        if (!user.priv.empty()) security.privProtocol = *ParsePrivProtocol(user.priv);
        security.authPassphrase = SnmpAgent::kAuthPassphrase;
        security.privPassphrase = SnmpAgent::kPrivPassphrase;
        return profile;
    }

    // sysName.0 read with the profile's credentials: its value, or the error text.
    std::string readSysName(const AgentProfile& profile) {
        ui::PollEventLoop loop;
        NetSnmpEngine engine(loop);
        engine.setSecurity(profile.security);
        engine.setAsynchronous(false);
        engine.setRequestOID("1.3.6.1.2.1.1.5.0");
        engine.Get(profile.address);
        return engine.getErrorCode() == ENGINE_OK ? engine.getValue() : engine.getErrorText();
    }

    // Every file under the settings folder, read whole.
    std::string everythingStored() const {
        std::string all;
        for (const auto& entry : std::filesystem::recursive_directory_iterator(folder())) {
            if (!entry.is_regular_file()) continue;
            std::ifstream in(entry.path(), std::ios::binary);
            std::stringstream text;
            text << in.rdbuf();
            all += text.str();
        }
        return all;
    }

    qlmib::test::TestHome home{false};
    AgentProfiles profiles{folder()};
};

// Saved keys work in place of the passphrases, for a key that needs extending
// (AES-256 on SHA) as for the others; the passphrases are nowhere on disk.
TEST_F(AgentProfilesTest, SavedKeysReplaceThePassphrasesAndNoSecretIsStored) {
    const auto engineID = DiscoverEngineID(SnmpAgent::Shared().address(), 161, 1000, 1);
    ASSERT_FALSE(engineID.empty());
    for (const auto& user : SnmpAgent::V3Users()) {
        if (user.level == "noAuthNoPriv") continue;
        SCOPED_TRACE(user.name);
        auto profile = v3Profile(user, true);
        profile.security.securityEngineID = engineID;
        profiles.Save(profile);
        const auto found = profiles.Find(profile.name);
        ASSERT_TRUE(found);
        EXPECT_TRUE(found->security.authPassphrase.empty());
        EXPECT_FALSE(found->needsPassphrases());
        EXPECT_EQ(found->security.securityEngineID, engineID);
        EXPECT_EQ(readSysName(*found), SnmpAgent::kSysName);
    }
    const std::string stored = everythingStored();
    EXPECT_EQ(stored.find(SnmpAgent::kAuthPassphrase), std::string::npos);
    EXPECT_EQ(stored.find(SnmpAgent::kPrivPassphrase), std::string::npos);
    struct stat status {};
    ASSERT_EQ(::stat(profiles.keyFile().c_str(), &status), 0);
    EXPECT_EQ(status.st_mode & 0777, 0600u);
}

TEST_F(AgentProfilesTest, AskEachTimeKeepsNoKeyAndAWiderKeyFileIsRefused) {
    const auto& user = SnmpAgent::V3UserOf("authPriv");
    profiles.Save(v3Profile(user, false));
    auto asked = profiles.Find("lab " + user.name);
    ASSERT_TRUE(asked);
    EXPECT_TRUE(asked->needsPassphrases());
    EXPECT_FALSE(std::filesystem::exists(profiles.keyFile()));
    EXPECT_EQ(everythingStored().find(SnmpAgent::kPrivPassphrase), std::string::npos);

    auto saved = v3Profile(user, true);
    saved.name = "keys";
    saved.security.securityEngineID = DiscoverEngineID(saved.address, 161, 1000, 1);
    profiles.Save(saved);
    ASSERT_EQ(::chmod(profiles.keyFile().c_str(), 0644), 0);
    for (const auto& attempt : {std::function<void()>([&] { profiles.Find("keys"); }),
                                std::function<void()>([&] { profiles.Save(saved); })}) {
        try {
            attempt();
            ADD_FAILURE() << "a key file others may read was used";
        } catch (const Error& e) {
            EXPECT_NE(std::string(e.what()).find("chmod 600"), std::string::npos) << e.what();
        }
    }
    // A profile that keeps no keys is still usable.
    EXPECT_TRUE(profiles.Find("lab " + user.name));
}

TEST_F(AgentProfilesTest, CommunityProfilesRoundTripAndRemove) {
    AgentProfile profile;
    profile.name = "core [rack=2]; #1";
    profile.address = "udp6:[::1]:1161";
    profile.version = 1;
    profile.readCommunity = "pub=lic";
    profile.writeCommunity = "";
    profile.timeout = 800;
    profile.retries = 4;
    profile.requestSize = 25;
    profiles.Save(profile);
    AgentProfile other = profile;
    other.name = "edge";
    other.timeout.reset();
    profiles.Save(other);
    EXPECT_EQ(profiles.Names(), (std::vector<std::string>{"core [rack=2]; #1", "edge"}));
    const auto found = profiles.Find(profile.name);
    ASSERT_TRUE(found);
    EXPECT_EQ(found->address, profile.address);
    EXPECT_EQ(found->version, 1);
    EXPECT_EQ(found->readCommunity, "pub=lic");
    EXPECT_EQ(found->writeCommunity, "");
    EXPECT_EQ(found->timeout, 800);
    EXPECT_EQ(found->retries, 4);
    EXPECT_EQ(found->requestSize, 25);
    EXPECT_FALSE(profiles.Find("edge")->timeout);

    profiles.Remove(profile.name);
    EXPECT_EQ(profiles.Names(), std::vector<std::string>{"edge"});
    EXPECT_FALSE(profiles.Find(profile.name));
}

TEST_F(AgentProfilesTest, ProfilesThatCannotWorkAreNotSaved) {
    auto noUser = v3Profile(SnmpAgent::V3UserOf("authNoPriv"), false);
    noUser.security.securityName.clear();
    auto noEngineID = v3Profile(SnmpAgent::V3UserOf("authNoPriv"), true);
    auto shortPassphrase = v3Profile(SnmpAgent::V3UserOf("authNoPriv"), true);
    shortPassphrase.security.securityEngineID = std::string("\x80\x00\x1f\x88\x04", 5);
    shortPassphrase.security.authPassphrase = "short";
    for (const auto& profile : {noUser, noEngineID, shortPassphrase}) {
        EXPECT_THROW(profiles.Save(profile), Error);
    }
    EXPECT_TRUE(profiles.Names().empty());
}

}  // namespace
}  // namespace qlmib::snmp
