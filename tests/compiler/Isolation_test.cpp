// libsmi runs in worker processes: whatever a worker suffers on one module
// costs that module alone, its importers compile without it, and the
// database being replaced stays as it was when a build is cancelled or killed.
#include <gtest/gtest.h>

#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <fstream>
#include <sstream>
#include <thread>

#include <qlmib/common/Error.h>
#include <qlmib/compiler/DatabaseBuilder.h>
#include <qlmib/mibdata/Database.h>

#include "MibTextFixture.h"

extern char** environ;

namespace qlmib::test {
namespace {

namespace fs = std::filesystem;

#if defined(__SANITIZE_ADDRESS__)
constexpr bool kSanitized = true;
#else
constexpr bool kSanitized = false;
#endif

// Sets QLMIB_WORKER_FAULT for the workers started while it lives.
class WorkerFault {
public:
    explicit WorkerFault(const std::string& fault) { setenv("QLMIB_WORKER_FAULT", fault.c_str(), 1); }
    ~WorkerFault() { unsetenv("QLMIB_WORKER_FAULT"); }
};

std::string fileBytes(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream bytes;
    bytes << in.rdbuf();
    return bytes.str();
}

const compiler::ModuleResult* resultFor(const compiler::CompileReport& report, const std::string& request) {
    for (const auto& r : report.modules) {
        if (r.request == request) return &r;
    }
    return nullptr;
}

class IsolationTest : public MibTextFixture {
protected:
    void SetUp() override {
        MibTextFixture::SetUp();
        if (IsSkipped()) return;
        // BAD imports from BASE, USER from BAD; OTHER stands alone.
        files_ = {
            write("base.mib", module("QLTEST-BASE-MIB", "", scalar("qlBaseValue", "Integer32", 1))).string(),
            write("bad.mib", module("QLTEST-BAD-MIB", "    qlBaseValue FROM QLTEST-BASE-MIB",
                                    scalar("qlBadValue", "Integer32", 1, "qlBad"), "", "qlBad", 99991))
                .string(),
            write("user.mib", module("QLTEST-USER-MIB", "    qlBadValue FROM QLTEST-BAD-MIB",
                                     scalar("qlUserValue", "Integer32", 1, "qlUser"), "", "qlUser", 99992))
                .string(),
            write("other.mib", module("QLTEST-OTHER-MIB", "", scalar("qlOtherValue", "Integer32", 1, "qlOther"),
                                      "", "qlOther", 99993))
                .string(),
        };
    }

    compiler::CompileReport compileWith(compiler::CompileOptions options) {
        options.searchPath = {home_.folder(), corpus_};
        options.useDefaultPath = false;
        compiler::MibCompiler compiler(options);
        return compiler.compile(files_);
    }

    std::vector<std::string> files_;
};

TEST_F(IsolationTest, AFailingModuleIsSkippedInWordsAndEverythingElseCompiles) {
    struct Case {
        std::string kind, reason;
    };
    const fs::path bad = files_[1];
    const std::string what = "QLTEST-BAD-MIB (" + bad.string() + ")";
    const std::vector<Case> cases = {
        {"crash", "libsmi crashed reading " + what + ": signal 11; skipped"},
        {"abort", "libsmi crashed reading " + what + ": signal 6; skipped"},
        {"hang", "libsmi reading " + what + " did not finish within 1 s; skipped"},
        {"memory", "libsmi reading " + what + " needed more than 200 MB; skipped"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.kind);
        if (c.kind == "memory" && kSanitized) continue;  // the worker sets no memory limit under the sanitizer
        WorkerFault fault(c.kind + ":QLTEST-BAD-MIB");
        compiler::CompileOptions options;
        // Only the hang waits for the limit; the others must not meet it on a busy machine.
        options.moduleTimeLimitSeconds = c.kind == "hang" ? 1 : 60;
        options.workerMemoryMegabytes = 200;
        const auto report = compileWith(options);

        ASSERT_EQ(report.skippedModules.size(), 1u);
        EXPECT_EQ(report.skippedModules[0].name, "QLTEST-BAD-MIB");
        EXPECT_EQ(report.skippedModules[0].reason, c.reason);
        EXPECT_FALSE(report.allSucceeded());
        EXPECT_EQ(resultFor(report, files_[1])->error, c.reason);
        for (const auto& request : {files_[0], files_[2], files_[3]}) {
            EXPECT_TRUE(resultFor(report, request)->ok) << request;
        }
        const auto* user = resultFor(report, files_[2]);
        EXPECT_EQ(findObject(user->module, "qlUserValue")->oid, "1.3.6.1.4.1.99992.1");
        ASSERT_EQ(report.missingModules.size(), 1u);
        EXPECT_EQ(report.missingModules[0].name, "QLTEST-BAD-MIB");
        EXPECT_EQ(report.missingModules[0].importers, std::vector<std::string>{"QLTEST-USER-MIB"});
    }
}

// libsmi itself, no fault injected: a file it crashes on (found by fuzzing
// the compiler; Debian's smidump crashes on it too), and when the vendor
// corpus is at hand, a real vendor module that crashes it after its imports.
TEST_F(IsolationTest, ARealLibsmiCrashCostsOnlyItsModule) {
    const std::string crashing = QLMIB_COMPILER_TEST_DATA "/libsmi-crash.mib";
    auto requests = files_;
    requests.insert(requests.begin() + 2, crashing);
    compiler::MibCompiler compiler({{home_.folder(), corpus_}, false});
    const auto report = compiler.compile(requests);
    ASSERT_EQ(report.skippedModules.size(), 1u);
    EXPECT_EQ(report.skippedModules[0].reason,
              "libsmi crashed reading NET-SNMP-SYSTEM-MIB (" + crashing + "): signal 11; skipped");
    for (const auto& request : files_) EXPECT_TRUE(resultFor(report, request)->ok) << request;

    const fs::path vendor = fs::path(corpus_).parent_path() / "mibs-vendor";
    if (!fs::exists(vendor / "meru" / "MERU-WLAN-MIB.my")) {
        GTEST_SKIP() << "the vendor corpus ../shared/mibs-vendor is absent";
    }
    compiler::MibCompiler vendorCompiler({{vendor / "meru", vendor / "rfc"}, false});
    const auto meru = vendorCompiler.compile({"MERU-WLAN-MIB", "MERU-SMI"});
    ASSERT_EQ(meru.skippedModules.size(), 1u);
    EXPECT_EQ(meru.skippedModules[0].reason, "libsmi crashed reading MERU-WLAN-MIB (" +
                                                 (vendor / "meru" / "MERU-WLAN-MIB.my").string() +
                                                 "): signal 11; skipped");
    EXPECT_TRUE(meru.modules[1].ok);
}

TEST_F(IsolationTest, ProgressCountsEveryRequestAndCancelStopsTheCompile) {
    compiler::MibCompiler compiler({{home_.folder(), corpus_}, false});
    std::vector<compiler::CompileProgress> seen;
    {
        auto watch = compiler.Progress.subscribe([&](const compiler::CompileProgress& p, bool&) { seen.push_back(p); });
        compiler.compile(files_);
    }
    ASSERT_FALSE(seen.empty());
    EXPECT_EQ(seen.back().done, 4);
    EXPECT_EQ(seen.back().total, 4);
    EXPECT_TRUE(std::is_sorted(seen.begin(), seen.end(), [](auto& a, auto& b) { return a.done < b.done; }));

    WorkerFault hang("hang:QLTEST-OTHER-MIB");
    auto cancel = compiler.Progress.subscribe([](const compiler::CompileProgress&, bool& stop) { stop = true; });
    const auto started = std::chrono::steady_clock::now();
    try {
        compiler.compile(files_);
        FAIL() << "a cancelled compile throws";
    } catch (const Error& e) {
        EXPECT_EQ(e.Number(), ERR_CANCELLED);
    }
    EXPECT_LT(std::chrono::steady_clock::now() - started, std::chrono::seconds(10)) << "no wait for the hang";
}

// The vendor corpus whole, as a user points build-db at a download: its one
// module that crashes libsmi is skipped, the rest is built, and nothing lands
// under a made-up arc.
TEST(VendorCorpus, BuildsWhateverLibsmiCrashesOn) {
    const auto corpus = corpusFolder();
    const fs::path vendor = corpus.empty() ? fs::path() : fs::path(corpus).parent_path() / "mibs-vendor";
    if (vendor.empty() || !fs::is_directory(vendor)) GTEST_SKIP() << "the vendor corpus ../shared/mibs-vendor is absent";
    TestHome home(false);
    std::vector<std::string> files;
    for (const auto& entry : fs::recursive_directory_iterator(vendor)) {
        if (entry.is_regular_file()) files.push_back(entry.path().string());
    }
    std::sort(files.begin(), files.end());
    compiler::BuildOptions options{home.databasePath(), false, {}};
    options.compile.useDefaultPath = false;
    const auto report = compiler::DatabaseBuilder(options).build(files);

    std::vector<std::string> skipped;
    for (const auto& s : report.compile.skippedModules) skipped.push_back(s.name);
    EXPECT_EQ(skipped, std::vector<std::string>{"MERU-WLAN-MIB"});
    EXPECT_GT(report.imports.size(), 900u);
    auto db = Database::open(home.databasePath());
    auto madeUp = db->prepare("SELECT Count(*) FROM Tree WHERE OID LIKE '0.%' AND Name NOT IN ('zeroDotZero', 'null')");
    ASSERT_TRUE(madeUp.step());
    EXPECT_EQ(madeUp.int64(0), 0);
}

// The same modules built into a database that already exists.
class ReplaceTest : public IsolationTest {
protected:
    void SetUp() override {
        IsolationTest::SetUp();
        if (IsSkipped()) return;
        target_ = home_.folder() / "target.cfg";
        compiler::DatabaseBuilder first(options());
        first.build({files_[0]});
        before_ = fileBytes(target_);
        ASSERT_FALSE(before_.empty());
    }

    compiler::BuildOptions options() const {
        compiler::BuildOptions o{target_, true, {}};
        o.compile.searchPath = {home_.folder(), corpus_};
        o.compile.useDefaultPath = false;
        return o;
    }

    fs::path target_;
    std::string before_;
};

TEST_F(ReplaceTest, ACancelledBuildLeavesThePreviousDatabaseByteForByte) {
    for (const auto phase : {compiler::BuildPhase::compiling, compiler::BuildPhase::importing}) {
        compiler::DatabaseBuilder builder(options());
        auto cancel = builder.Progress.subscribe([&](const compiler::BuildProgress& p, bool& stop) {
            stop = p.phase == phase;
        });
        EXPECT_THROW(builder.build(files_), Error);
        EXPECT_EQ(fileBytes(target_), before_);
    }
    for (const auto& entry : fs::directory_iterator(home_.folder()))
        EXPECT_EQ(entry.path().string().find(".building-"), std::string::npos) << "no leftovers";
}

#ifdef QLMIB_CLI
// Runs `qlmib build-db` over `requests` into the target and kills it with
// SIGKILL once `ready` says so; returns whether it was still running then.
template <class Ready>
bool killedBuild(const std::vector<std::string>& options, const std::vector<std::string>& requests, Ready ready) {
    std::vector<std::string> args = {QLMIB_CLI, "build-db", "--force"};
    args.insert(args.end(), options.begin(), options.end());
    args.insert(args.end(), requests.begin(), requests.end());
    std::vector<char*> argv;
    for (auto& a : args) argv.push_back(a.data());
    argv.push_back(nullptr);
    pid_t pid = -1;
    if (posix_spawn(&pid, QLMIB_CLI, nullptr, nullptr, argv.data(), environ) != 0) return false;
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(30);
    while (!ready(pid) && std::chrono::steady_clock::now() < deadline) {
        std::this_thread::sleep_for(std::chrono::microseconds(100));
    }
    ::kill(pid, SIGKILL);
    int status = 0;
    ::waitpid(pid, &status, 0);
    return WIFSIGNALED(status) && WTERMSIG(status) == SIGKILL;
}

TEST_F(ReplaceTest, ABuildKilledWithSigkillLeavesThePreviousDatabaseByteForByte) {
    const std::vector<std::string> options = {"-o", target_.string(), "-p", home_.folder().string(), "-p", corpus_};
    {
        // While it compiles: a worker hangs.
        WorkerFault hang("hang:QLTEST-OTHER-MIB");
        const auto started = std::chrono::steady_clock::now();
        EXPECT_TRUE(killedBuild(options, files_, [&](pid_t) {
            return std::chrono::steady_clock::now() - started > std::chrono::milliseconds(500);
        }));
        EXPECT_EQ(fileBytes(target_), before_);
    }
    // While it imports the corpus: its new file exists beside the target.
    std::vector<std::string> corpusFiles;
    for (const auto& entry : fs::directory_iterator(corpus_)) corpusFiles.push_back(entry.path().string());
    EXPECT_TRUE(killedBuild(options, corpusFiles, [&](pid_t pid) {
        return fs::exists(target_.string() + ".building-" + std::to_string(pid));
    }));
    EXPECT_EQ(fileBytes(target_), before_);
}
#endif

}  // namespace
}  // namespace qlmib::test
