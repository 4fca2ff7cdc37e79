#include <gtest/gtest.h>

#include <pwd.h>
#include <sys/wait.h>
#include <unistd.h>

#include <fstream>
#include <sstream>
#include <thread>

#include <qlmib/common/Error.h>
#include <qlmib/mibdata/Version.h>
#include <qlmib/snmp/Settings.h>

#include "TestHome.h"
#include "internal/SettingsFile.h"

namespace qlmib {
namespace {

namespace fs = std::filesystem;
using Event = std::pair<std::string, SettingValue>;

class SettingsTest : public ::testing::Test {
protected:
    fs::path folder() const { return home.folder() / "config"; }
    fs::path file() const { return folder() / "settings.ini"; }
    void writeStore(const std::string& content) const { std::ofstream(file(), std::ios::binary) << content; }
    // The store holding `lines` under our section, as another program could write it.
    void storeSettings(const std::string& lines) const { writeStore("[ Quellon MIB Tree/Settings]\n" + lines); }
    Subscription record(Settings& settings) {
        return settings.Changed.subscribe(
            [this](const std::string& name, const SettingValue& value) { events.emplace_back(name, value); });
    }

    test::TestHome home{false};
    std::vector<Event> events;
};

TEST_F(SettingsTest, NumbersAreClampedStoredAndAnnouncedOnlyWhenTheyChange) {
    struct Number {
        const char* name;
        std::int32_t (*set)(Settings&, std::int32_t);
        std::int32_t (*get)(const Settings&);
        std::int32_t initial, low, high;
    };
    const Number numbers[] = {
        {kSettingSNMPTimeout, [](Settings& s, std::int32_t v) -> std::int32_t { return s.setSNMPTimeout(v); },
         [](const Settings& s) -> std::int32_t { return s.getSNMPTimeout(); }, 1500, 100, 5000},
        {kSettingSNMPRetries, [](Settings& s, std::int32_t v) -> std::int32_t { return s.setSNMPRetries(v); },
         [](const Settings& s) -> std::int32_t { return s.getSNMPRetries(); }, 2, 1, 5},
        {kSettingSNMPV2RequestSize,
         [](Settings& s, std::int32_t v) -> std::int32_t { return s.setSNMPV2RequestSize(v); },
         [](const Settings& s) -> std::int32_t { return s.getSNMPV2RequestSize(); }, 10, 2, 30},
    };
    for (const auto& n : numbers) {
        Settings settings;
        events.clear();
        auto subscription = record(settings);
        EXPECT_EQ(n.get(settings), n.initial);
        EXPECT_EQ(n.set(settings, n.initial), n.initial);
        EXPECT_EQ(settings.RetrieveOption(n.name, "none"), "none") << "an unchanged value is not stored";
        const std::int32_t middle = (n.low + n.high) / 2;
        // The second low - 3 is corrected to the value already held: no event.
        for (const auto& [given, kept] : {std::pair{n.low - 3, n.low}, {n.low - 3, n.low}, {n.high + 1, n.high},
                                          {middle, middle}}) {
            EXPECT_EQ(n.set(settings, given), kept) << n.name << " " << given;
            EXPECT_EQ(n.get(settings), kept);
            EXPECT_EQ(settings.RetrieveOption(n.name), std::to_string(kept));
        }
        EXPECT_EQ(events, (std::vector<Event>{{n.name, n.low}, {n.name, n.high}, {n.name, middle}}));
        EXPECT_EQ(n.get(Settings()), middle) << "another instance reads it back";
    }
}

TEST_F(SettingsTest, TheFlagOnlyWhenItChangesICMPDataAndSavedOptionsAlways) {
    Settings settings;
    auto subscription = record(settings);
    EXPECT_EQ(settings.getICMPData(), std::string("Quellon.Net  Quellon MIB Tree version ") + kLibraryVersion);
    EXPECT_FALSE(fs::exists(file())) << "reading writes nothing";
    EXPECT_FALSE(settings.getDisableSNMPV2());
    settings.setDisableSNMPV2(false);
    settings.setDisableSNMPV2(true);
    EXPECT_EQ(settings.RetrieveOption(kSettingDisableSNMPV2), "True");
    settings.setDisableSNMPV2(true);
    settings.setDisableSNMPV2(false);
    settings.setICMPData("ping");
    settings.setICMPData("ping");
    settings.SaveOption("Window Width", 640);
    EXPECT_EQ(events, (std::vector<Event>{{kSettingDisableSNMPV2, true},
                                          {kSettingDisableSNMPV2, false},
                                          {kSettingICMPData, std::string("ping")},
                                          {kSettingICMPData, std::string("ping")},
                                          {"Window Width", 640}}));
    EXPECT_EQ(settings.RetrieveOption(kSettingDisableSNMPV2), "False");
    EXPECT_EQ(settings.RetrieveOption("Window Width"), "640");
    EXPECT_EQ(settings.RetrieveOption("Last Agent", "localhost"), "localhost");

    Settings other;
    EXPECT_EQ(other.getICMPData(), "ping");
    settings.setICMPData("pong");
    EXPECT_EQ(other.getICMPData(), "pong") << "not cached: read from the store each time";
}

TEST_F(SettingsTest, AnyTextSurvivesTheStore) {
    const std::pair<std::string, std::string> options[] = {
        {"=odd[name];#", "two\nlines\r\nand %41 = x"}, {" padded name ", "  padded value  "},
        {"Ümlaut", "Grüße"}, {"empty", ""}, {"[Section]", "[not a header]"},
    };
    {
        Settings settings;
        for (const auto& [name, value] : options) settings.SaveOption(name, value);
    }
    Settings reread;
    for (const auto& [name, value] : options) EXPECT_EQ(reread.RetrieveOption(name, "missing"), value) << name;
}

TEST_F(SettingsTest, RefreshReadsWhatIsStoredWithoutCorrection) {
    Settings settings;
    auto subscription = record(settings);
    storeSettings("SNMP Retries=9\nSNMP Timeout= 6e3 \nSNMP V2 Request Size=&H40\nDisable SNMP V2=1\n");
    settings.Refresh();
    EXPECT_EQ(settings.getSNMPRetries(), 9);
    EXPECT_EQ(settings.getSNMPTimeout(), 6000);
    EXPECT_EQ(settings.getSNMPV2RequestSize(), 64);
    EXPECT_TRUE(settings.getDisableSNMPV2());
    EXPECT_TRUE(events.empty());
}

TEST_F(SettingsTest, AStoredTextThatDoesNotConvertFailsNamingTheValue) {
    const std::tuple<const char*, const char*, long> cases[] = {
        {kSettingSNMPTimeout, "abc", ERR_TYPE_MISMATCH},    {kSettingSNMPRetries, "12abc", ERR_TYPE_MISMATCH},
        {kSettingSNMPV2RequestSize, "", ERR_TYPE_MISMATCH}, {kSettingDisableSNMPV2, "maybe", ERR_TYPE_MISMATCH},
        {kSettingSNMPRetries, "40000", ERR_OVERFLOW},       {kSettingSNMPTimeout, "1e12", ERR_OVERFLOW},
    };
    for (const auto& [name, text, number] : cases) {
        fs::remove(file());
        Settings existing;
        existing.setSNMPTimeout(300);
        storeSettings("SNMP Timeout=700\n" + std::string(name) + "=" + text + "\n");
        try {
            Settings settings;
            ADD_FAILURE() << name << "=" << text << " was accepted";
        } catch (const Error& e) {
            EXPECT_EQ(e.Number(), number) << name;
            EXPECT_NE(e.Description().find(std::string("\"") + name + "\""), std::string::npos) << e.Description();
            EXPECT_NE(e.Description().find(std::string("\"") + text + "\""), std::string::npos) << e.Description();
        }
        EXPECT_THROW(existing.Refresh(), Error);
        EXPECT_EQ(existing.getSNMPTimeout(), 300) << "a failed Refresh keeps every cached value";
    }
}

TEST_F(SettingsTest, ADamagedOrLockedStoreFailsWithoutAnEventAndIsNeverOverwritten) {
    Settings settings;
    auto subscription = record(settings);
    const std::string damaged = "[ Quellon MIB Tree/Settings]\nSNMP Timeout=300\nthis line is junk\n";
    writeStore(damaged);
    try {
        Settings reader;
        ADD_FAILURE() << "a damaged file was read";
    } catch (const Error& e) {
        EXPECT_EQ(e.Number(), ERR_FILE);
        EXPECT_NE(e.Description().find(file().string() + " is damaged at line 3"), std::string::npos)
            << e.Description();
    }
    EXPECT_THROW(settings.setSNMPTimeout(900), Error);
    EXPECT_THROW(settings.SaveOption("Other", std::string("x")), Error);
    std::stringstream stored;
    stored << std::ifstream(file(), std::ios::binary).rdbuf();
    EXPECT_EQ(stored.str(), damaged);
    EXPECT_EQ(settings.getSNMPTimeout(), 1500) << "a value that could not be stored is not kept";

    // Root may write anywhere, so the lock is made impossible instead.
    fs::remove(file());
    fs::remove(folder() / "settings.ini.lock");
    fs::create_directories(folder() / "settings.ini.lock");
    EXPECT_THROW(settings.setSNMPRetries(3), Error);
    EXPECT_EQ(settings.getSNMPRetries(), 2);
    EXPECT_FALSE(fs::exists(file()));
    EXPECT_TRUE(events.empty());
}

TEST_F(SettingsTest, TwoProcessesWritingAtOnceLoseNothing) {
    constexpr int kWrites = 40;
    int start[2];
    ASSERT_EQ(::pipe(start), 0);
    pid_t children[2];
    for (int child = 0; child < 2; ++child) {
        children[child] = ::fork();
        ASSERT_GE(children[child], 0);
        if (children[child] != 0) continue;
        ::close(start[1]);
        char go;
        (void)!::read(start[0], &go, 1);  // both begin together, when the parent closes the pipe
        int status = 0;
        try {
            Settings settings;
            for (int i = 0; i < kWrites; ++i)
                settings.SaveOption((child ? "B " : "A ") + std::to_string(i), i * (child ? -1 : 1));
        } catch (...) {
            status = 1;
        }
        ::_exit(status);
    }
    ::close(start[0]);
    ::close(start[1]);
    for (const pid_t child : children) {
        int status = 0;
        ASSERT_EQ(::waitpid(child, &status, 0), child);
        EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
    }
    Settings settings;
    for (int i = 0; i < kWrites; ++i) {
        EXPECT_EQ(settings.RetrieveOption("A " + std::to_string(i)), std::to_string(i));
        EXPECT_EQ(settings.RetrieveOption("B " + std::to_string(i)), std::to_string(-i));
    }
    for (const auto& entry : fs::directory_iterator(folder()))
        EXPECT_TRUE(entry.path() == file() || entry.path().filename() == "settings.ini.lock")
            << "left behind: " << entry.path();
}

TEST_F(SettingsTest, StoreFolderFollowsTheEnvironment) {
    struct Restore {
        std::string savedHome = getenv("HOME") ? getenv("HOME") : "";
        ~Restore() {
            setenv("HOME", savedHome.c_str(), 1);
            unsetenv("XDG_CONFIG_HOME");
        }
    } restore;
    unsetenv("QLMIB_CONFIG_HOME");
    setenv("HOME", (home.folder() / "home").c_str(), 1);
    setenv("XDG_CONFIG_HOME", (home.folder() / "xdg").c_str(), 1);
    Settings().SaveOption("where", std::string("xdg"));
    EXPECT_TRUE(fs::exists(home.folder() / "xdg" / "qlmibtree" / "settings.ini"));
    setenv("XDG_CONFIG_HOME", "relative/ignored", 1);
    Settings().SaveOption("where", std::string("home"));
    EXPECT_TRUE(fs::exists(home.folder() / "home" / ".config" / "qlmibtree" / "settings.ini"));
}

TEST_F(SettingsTest, WithoutAnAbsoluteHomeTheStoreIsInTheAccountsHomeNeverInTheCurrentFolder) {
    struct Restore {
        std::string savedHome = getenv("HOME") ? getenv("HOME") : "";
        std::string savedConfig = getenv("QLMIB_CONFIG_HOME") ? getenv("QLMIB_CONFIG_HOME") : "";
        ~Restore() {
            setenv("HOME", savedHome.c_str(), 1);
            setenv("QLMIB_CONFIG_HOME", savedConfig.c_str(), 1);
        }
    } restore;
    unsetenv("QLMIB_CONFIG_HOME");
    unsetenv("XDG_CONFIG_HOME");
    const passwd* account = getpwuid(getuid());
    ASSERT_TRUE(account && account->pw_dir);
    const fs::path expected = fs::path(account->pw_dir) / ".config" / "qlmibtree";
    for (const char* home : {static_cast<const char*>(nullptr), "", "relative/home"}) {
        if (home) setenv("HOME", home, 1);
        else unsetenv("HOME");
        EXPECT_EQ(snmp::internal::ConfigFolder(), expected) << (home ? home : "HOME unset");
    }
}

TEST_F(SettingsTest, OneSharedInstancePerThread) {
    const auto shared = Settings::Shared();
    EXPECT_EQ(Settings::Shared(), shared);
    std::shared_ptr<Settings> other;
    std::thread([&] { other = Settings::Shared(); }).join();
    ASSERT_TRUE(other);
    EXPECT_NE(other, shared);
}

}  // namespace
}  // namespace qlmib
