// qlmib-smi-worker JOBFILE [MEMORY-LIMIT-MB]: reads one compile job in a
// fresh libsmi session and answers on file descriptor 3. It runs libsmi so
// that the process holding the database never does: when libsmi crashes,
// hangs or eats memory here, only this process is lost.
//
// QLMIB_WORKER_FAULT=KIND:MODULE makes the worker fail as libsmi might when it
// is about to load MODULE (KIND: crash, abort, hang, memory); tests use it.

#include <sys/prctl.h>
#include <sys/resource.h>
#include <unistd.h>

#include <csignal>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <iostream>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

#include <qlmib/common/Error.h>

#include "internal/Wire.h"
#include "internal/WorkerJobRunner.h"

#if defined(__SANITIZE_ADDRESS__)
#define QLMIB_WORKER_SANITIZED 1
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
#define QLMIB_WORKER_SANITIZED 1
#endif
#endif

#ifdef QLMIB_WORKER_SANITIZED
// libsmi's crashes must reach the parent as the signals they are, not as the
// sanitizer's report and exit status.
extern "C" const char* __asan_default_options() { return "handle_segv=0:handle_sigbus=0:handle_sigfpe=0"; }
#endif

namespace {

constexpr int kAnswerFd = 3;

void writeAll(const std::string& bytes) {
    for (std::size_t done = 0; done < bytes.size();) {
        const auto n = ::write(kAnswerFd, bytes.data() + done, bytes.size() - done);
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) std::_Exit(3);  // the parent is gone
        done += static_cast<std::size_t>(n);
    }
}

// Memory the sanitizers reserve up front is not the memory libsmi uses;
// under them the limit is left to the parent's time limit.
void limitMemory(long megabytes) {
#ifndef QLMIB_WORKER_SANITIZED
    if (megabytes <= 0) return;
    const rlim_t bytes = static_cast<rlim_t>(megabytes) << 20;
    const rlimit limit{bytes, bytes};
    setrlimit(RLIMIT_AS, &limit);
#else
    (void)megabytes;
#endif
}

void injectFault(const std::string& kind) {
    if (kind == "crash") std::raise(SIGSEGV);
    if (kind == "abort") std::abort();
    if (kind == "hang") {
        for (;;) std::this_thread::sleep_for(std::chrono::hours(1));
    }
    if (kind == "memory") {
        std::vector<char*> blocks;
        for (;;) {
            char* block = static_cast<char*>(std::malloc(1 << 20));
            if (!block) std::raise(SIGSEGV);  // as libsmi does when malloc fails it
            std::memset(block, 1, 1 << 20);
            blocks.push_back(block);
        }
    }
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 2) {
        std::cerr << "usage: qlmib-smi-worker JOBFILE [MEMORY-LIMIT-MB]\n";
        return 2;
    }
    // A worker outlives no parent, however the parent ends (a SIGKILLed build).
    prctl(PR_SET_PDEATHSIG, SIGKILL);
    limitMemory(argc > 2 ? std::atol(argv[2]) : 0);
    std::ifstream in(argv[1], std::ios::binary);
    std::ostringstream bytes;
    bytes << in.rdbuf();

    std::string faultKind, faultModule;
    if (const char* fault = std::getenv("QLMIB_WORKER_FAULT")) {
        const std::string text = fault;
        const auto colon = text.find(':');
        if (colon != std::string::npos) faultKind = text.substr(0, colon), faultModule = text.substr(colon + 1);
    }
    try {
        using namespace qlmib::compiler;
        JobHooks hooks;
        hooks.send = [](const std::string& message) { writeAll(Framed(message)); };
        if (!faultModule.empty()) {
            hooks.beforeLoad = [&](const std::string& module) {
                if (module == faultModule) injectFault(faultKind);
            };
        }
        RunJob(DecodeJob(bytes.str()), hooks);
    } catch (const qlmib::Error& e) {
        std::cerr << "qlmib-smi-worker: " << e.what() << '\n';
        return 1;
    }
    return 0;
}
