#include <gtest/gtest.h>

#include <sys/wait.h>
#include <unistd.h>

#include <fstream>
#include <functional>
#include <sstream>
#include <thread>

#include <qlmib/common/Error.h>
#include <qlmib/mibdata/Version.h>
#include <qlmib/snmp/Settings.h>

#include "TestHome.h"

namespace qlmib {
namespace {

namespace fs = std::filesystem;
using Event = std::pair<std::string, SettingValue>;

class SettingsTest : public ::testing::Test {
protected:
    fs::path folder() const { return home.folder() / "config"; }
    fs::path file() const { return folder() / "settings.ini"; }

    void writeStore(const std::string& content) const { std::ofstream(file(), std::ios::binary) << content; }
    std::string readStore() const {
        std::ifstream in(file(), std::ios::binary);
        std::stringstream text;
        text << in.rdbuf();
        return text.str();
    }
    // The store holding the given settings under our section, as another program could write it.
    void storeSettings(const std::string& lines) const { writeStore("[ Quellon MIB Tree/Settings]\n" + lines); }

    Subscription record(Settings& settings) {
        return settings.Changed.subscribe([this](const std::string& name, const SettingValue& value) {
            events.emplace_back(name, value);
        });
    }

    test::TestHome home{false};
    std::vector<Event> events;
};

TEST_F(SettingsTest, FreshStoreGivesTheDefaults) {
    Settings settings;
    EXPECT_EQ(settings.getSNMPTimeout(), 1500);
    EXPECT_EQ(settings.getSNMPRetries(), 2);
    EXPECT_EQ(settings.getSNMPV2RequestSize(), 10);
    EXPECT_FALSE(settings.getDisableSNMPV2());
    EXPECT_EQ(settings.getICMPData(), std::string("Quellon.Net  Quellon MIB Tree version ") + kLibraryVersion);
    EXPECT_FALSE(fs::exists(file())) << "reading writes nothing";
}

TEST_F(SettingsTest, NumbersAreBroughtIntoRangeStoredAndAnnounced) {
    using Setter = std::function<std::int32_t(Settings&, std::int32_t)>;
    const Setter timeout = [](Settings& s, std::int32_t v) { return s.setSNMPTimeout(v); };
    const Setter retries = [](Settings& s, std::int32_t v) { return s.setSNMPRetries(v); };
    const Setter size = [](Settings& s, std::int32_t v) { return s.setSNMPV2RequestSize(v); };
    const std::function<std::int32_t(const Settings&)> getTimeout = [](const Settings& s) { return s.getSNMPTimeout(); },
                                                       getRetries = [](const Settings& s) { return s.getSNMPRetries(); },
                                                       getSize = [](const Settings& s) { return s.getSNMPV2RequestSize(); };
    struct Case {
        const char* name;
        Setter set;
        std::function<std::int32_t(const Settings&)> get;
        std::int32_t given, kept;
    };
    const Case cases[] = {
        {kSettingSNMPTimeout, timeout, getTimeout, 50, 100},   {kSettingSNMPTimeout, timeout, getTimeout, 6000, 5000},
        {kSettingSNMPTimeout, timeout, getTimeout, 2500, 2500}, {kSettingSNMPRetries, retries, getRetries, 9, 5},
        {kSettingSNMPRetries, retries, getRetries, -3, 1},      {kSettingSNMPRetries, retries, getRetries, 4, 4},
        {kSettingSNMPV2RequestSize, size, getSize, 1, 2},      {kSettingSNMPV2RequestSize, size, getSize, 31, 30},
        {kSettingSNMPV2RequestSize, size, getSize, 25, 25},
    };
    for (const auto& c : cases) {
        fs::remove(file());
        events.clear();
        Settings settings;
        auto subscription = record(settings);
        EXPECT_EQ(c.set(settings, c.given), c.kept) << c.name << " " << c.given;
        EXPECT_EQ(c.get(settings), c.kept);
        EXPECT_EQ(events, (std::vector<Event>{{c.name, c.kept}})) << c.name << " " << c.given;
        EXPECT_EQ(settings.RetrieveOption(c.name), std::to_string(c.kept));
        EXPECT_EQ(c.get(Settings()), c.kept) << "another instance reads it back";
    }
}

TEST_F(SettingsTest, AnUnchangedValueRaisesNothing) {
    Settings settings;
    auto subscription = record(settings);
    settings.setSNMPTimeout(1500);
    settings.setSNMPRetries(2);
    settings.setDisableSNMPV2(false);
    EXPECT_TRUE(events.empty());
    EXPECT_EQ(settings.RetrieveOption(kSettingSNMPTimeout, "none"), "none") << "nothing stored either";

    settings.setSNMPTimeout(50);
    settings.setSNMPTimeout(100);
    settings.setSNMPTimeout(20);  // corrected to the value already held
    settings.setDisableSNMPV2(true);
    EXPECT_EQ(settings.RetrieveOption(kSettingDisableSNMPV2), "True");
    settings.setDisableSNMPV2(true);
    settings.setDisableSNMPV2(false);
    EXPECT_EQ(settings.RetrieveOption(kSettingDisableSNMPV2), "False");
    EXPECT_EQ(events, (std::vector<Event>{{kSettingSNMPTimeout, 100},
                                          {kSettingDisableSNMPV2, true},
                                          {kSettingDisableSNMPV2, false}}));
}

TEST_F(SettingsTest, SavedOptionsAreAnnouncedEveryTime) {
    Settings settings;
    auto subscription = record(settings);
    settings.setICMPData("ping");
    settings.setICMPData("ping");
    settings.SaveOption("Window Width", 640);
    settings.SaveOption("Show Grid", false);
    EXPECT_EQ(events, (std::vector<Event>{{kSettingICMPData, std::string("ping")},
                                          {kSettingICMPData, std::string("ping")},
                                          {"Window Width", 640},
                                          {"Show Grid", false}}));
    EXPECT_EQ(settings.RetrieveOption("Window Width"), "640");
    EXPECT_EQ(settings.RetrieveOption("Show Grid"), "False");
    EXPECT_EQ(settings.RetrieveOption("Last Agent", "localhost"), "localhost");

    Settings other;
    EXPECT_EQ(other.getICMPData(), "ping");
    settings.setICMPData("pong");
    EXPECT_EQ(other.getICMPData(), "pong") << "not cached: read from the store each time";
}

TEST_F(SettingsTest, AnyTextSurvivesTheStore) {
    const std::pair<std::string, std::string> options[] = {
        {"=odd[name];#", "two\nlines\r\nand %41 = x"}, {" padded name ", "  padded value  "},
        {"Ümlaut", "Grüße"},                         {"empty", ""},
        {"[Section]", "[not a header]"},
    };
    {
        Settings settings;
        for (const auto& [name, value] : options) settings.SaveOption(name, value);
        settings.setSNMPRetries(4);
    }
    Settings reread;
    for (const auto& [name, value] : options) EXPECT_EQ(reread.RetrieveOption(name, "missing"), value) << name;
    EXPECT_EQ(reread.getSNMPRetries(), 4);
}

TEST_F(SettingsTest, RefreshReadsWhatIsStoredWithoutCorrection) {
    Settings settings;
    auto subscription = record(settings);
    storeSettings("SNMP Retries=9\nSNMP Timeout= 2.5e3 \nSNMP V2 Request Size=&H40\nDisable SNMP V2=1\n");
    settings.Refresh();
    EXPECT_EQ(settings.getSNMPRetries(), 9);
    EXPECT_EQ(settings.getSNMPTimeout(), 2500);
    EXPECT_EQ(settings.getSNMPV2RequestSize(), 64);
    EXPECT_TRUE(settings.getDisableSNMPV2());
    EXPECT_TRUE(events.empty());
}

TEST_F(SettingsTest, AStoredTextThatDoesNotConvertFailsNamingTheValue) {
    struct Case {
        const char* name;
        const char* text;
        long number;
    };
    const Case cases[] = {
        {kSettingSNMPTimeout, "abc", ERR_TYPE_MISMATCH},       {kSettingSNMPRetries, "12abc", ERR_TYPE_MISMATCH},
        {kSettingSNMPV2RequestSize, "", ERR_TYPE_MISMATCH},    {kSettingDisableSNMPV2, "maybe", ERR_TYPE_MISMATCH},
        {kSettingSNMPRetries, "40000", ERR_OVERFLOW},          {kSettingSNMPTimeout, "1e12", ERR_OVERFLOW},
    };
    for (const auto& c : cases) {
        fs::remove(file());
        Settings existing;
        existing.setSNMPTimeout(300);
        storeSettings("SNMP Timeout=700\n" + std::string(c.name) + "=" + c.text + "\n");
        try {
            Settings settings;
            ADD_FAILURE() << c.name << "=" << c.text << " was accepted";
        } catch (const Error& e) {
            EXPECT_EQ(e.Number(), c.number) << c.name;
            EXPECT_NE(e.Description().find(std::string("\"") + c.name + "\""), std::string::npos) << e.Description();
            EXPECT_NE(e.Description().find(std::string("\"") + c.text + "\""), std::string::npos) << e.Description();
        }
        EXPECT_THROW(existing.Refresh(), Error);
        EXPECT_EQ(existing.getSNMPTimeout(), 300) << "a failed Refresh keeps every cached value";
    }
}

TEST_F(SettingsTest, ADamagedFileIsReportedAndNeverOverwritten) {
    Settings settings;
    const std::string damaged = "[ Quellon MIB Tree/Settings]\nSNMP Timeout=300\nthis line is junk\n";
    writeStore(damaged);
    try {
        Settings reader;
        ADD_FAILURE() << "a damaged file was read";
    } catch (const Error& e) {
        EXPECT_EQ(e.Number(), ERR_FILE);
        EXPECT_NE(e.Description().find(file().string()), std::string::npos) << e.Description();
        EXPECT_NE(e.Description().find("line 3"), std::string::npos) << e.Description();
    }
    auto subscription = record(settings);
    EXPECT_THROW(settings.setSNMPTimeout(900), Error);
    EXPECT_THROW(settings.SaveOption("Other", std::string("x")), Error);
    EXPECT_EQ(readStore(), damaged);
    EXPECT_EQ(settings.getSNMPTimeout(), 1500) << "a value that could not be stored is not kept";
    EXPECT_TRUE(events.empty());
}

TEST_F(SettingsTest, AnUnwritableStoreFailsWithoutAnEvent) {
    // Root may write anywhere, so the lock is made impossible instead.
    fs::create_directories(folder() / "settings.ini.lock");
    Settings settings;
    auto subscription = record(settings);
    try {
        settings.setSNMPRetries(3);
        ADD_FAILURE() << "stored into a file";
    } catch (const Error& e) {
        EXPECT_EQ(e.Number(), ERR_FILE);
    }
    EXPECT_EQ(settings.getSNMPRetries(), 2);
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
        if (children[child] == 0) {
            ::close(start[1]);
            char go;
            (void)!::read(start[0], &go, 1);  // both begin together
            int status = 0;
            try {
                Settings settings;
                for (int i = 0; i < kWrites; ++i)
                    settings.SaveOption((child ? "B " : "A ") + std::to_string(i), i * (child ? -1 : 1));
                settings.setSNMPV2RequestSize(child ? 20 : 21);
            } catch (...) {
                status = 1;
            }
            ::_exit(status);
        }
    }
    ::close(start[0]);
    ::close(start[1]);  // releases both children
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
    EXPECT_TRUE(settings.getSNMPV2RequestSize() == 20 || settings.getSNMPV2RequestSize() == 21);
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
    setenv("HOME", (this->home.folder() / "home").c_str(), 1);

    setenv("XDG_CONFIG_HOME", (this->home.folder() / "xdg").c_str(), 1);
    Settings().SaveOption("where", std::string("xdg"));
    EXPECT_TRUE(fs::exists(this->home.folder() / "xdg" / "qlmibtree" / "settings.ini"));

    setenv("XDG_CONFIG_HOME", "relative/ignored", 1);
    Settings().SaveOption("where", std::string("home"));
    EXPECT_TRUE(fs::exists(this->home.folder() / "home" / ".config" / "qlmibtree" / "settings.ini"));
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
