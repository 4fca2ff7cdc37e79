#include "internal/WorkerPool.h"

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <spawn.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <fstream>

#include <qlmib/common/Error.h>

#include "internal/Wire.h"

extern char** environ;

namespace qlmib::compiler {
namespace fs = std::filesystem;
namespace {

constexpr int kAnswerFd = 3;
constexpr const char* kWorkerName = "qlmib-smi-worker";

// A worker killed by a signal after using at least this share of its memory
// limit is taken to have run out of memory.
constexpr double kMemoryShare = 0.5;

bool isProgram(const fs::path& path) {
    std::error_code ec;
    return !path.empty() && fs::is_regular_file(path, ec);
}

}  // namespace

fs::path DefaultWorkerProgram() {
    if (const char* configured = std::getenv("QLMIB_SMI_WORKER"); configured && *configured) return configured;
    std::error_code ec;
    const auto beside = fs::read_symlink("/proc/self/exe", ec).parent_path() / kWorkerName;
    if (!ec && isProgram(beside)) return beside;
    for (const auto& candidate : std::initializer_list<fs::path>{QLMIB_WORKER_BUILD_PATH, QLMIB_WORKER_INSTALL_PATH}) {
        if (isProgram(candidate)) return candidate;
    }
    return beside;
}

WorkerPool::WorkerPool(WorkerLimits limits, fs::path scratch) : limits_(std::move(limits)), scratch_(std::move(scratch)) {
    if (limits_.workers < 1) limits_.workers = 1;
    if (!isProgram(limits_.program)) {
        throw Error(ERR_FILE, "The MIB compiler worker " + limits_.program.string() + " is missing");
    }
}

WorkerPool::~WorkerPool() {
    for (auto& worker : running_) {
        ::kill(worker.pid, SIGKILL);
        ::waitpid(worker.pid, nullptr, 0);
        ::close(worker.fd);
    }
}

void WorkerPool::submit(std::size_t id, const WorkerJob& job) { queued_.emplace_back(id, EncodeJob(job)); }

void WorkerPool::start(std::size_t id, const std::string& jobBytes) {
    const auto jobFile = scratch_ / ("job-" + std::to_string(jobFiles_++));
    {
        std::ofstream out(jobFile, std::ios::binary);
        out << jobBytes;
        if (!out.flush()) throw Error(ERR_FILE, "Cannot write " + jobFile.string());
    }
    int pipeFds[2];
    if (::pipe2(pipeFds, O_CLOEXEC) != 0) throw Error(ERR_FILE, "Cannot start a MIB compiler worker: no pipe");
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, 0, "/dev/null", O_RDONLY, 0);
    posix_spawn_file_actions_addopen(&actions, 1, "/dev/null", O_WRONLY, 0);
    posix_spawn_file_actions_adddup2(&actions, pipeFds[1], kAnswerFd);
    const std::string program = limits_.program.string(), file = jobFile.string(),
                      memory = std::to_string(limits_.memoryMegabytes);
    char* argv[] = {const_cast<char*>(program.c_str()), const_cast<char*>(file.c_str()),
                    const_cast<char*>(memory.c_str()), nullptr};
    pid_t pid = -1;
    const int rc = ::posix_spawn(&pid, program.c_str(), &actions, nullptr, argv, environ);
    posix_spawn_file_actions_destroy(&actions);
    ::close(pipeFds[1]);
    if (rc != 0) {
        ::close(pipeFds[0]);
        throw Error(ERR_FILE, "Cannot start the MIB compiler worker " + program);
    }
    Running worker;
    worker.id = id;
    worker.pid = pid;
    worker.fd = pipeFds[0];
    worker.since = std::chrono::steady_clock::now();
    running_.push_back(std::move(worker));
}

std::vector<PoolEvent> WorkerPool::poll(std::chrono::milliseconds wait) {
    while (!queued_.empty() && static_cast<int>(running_.size()) < limits_.workers) {
        start(queued_.front().first, queued_.front().second);
        queued_.pop_front();
    }
    std::vector<PoolEvent> events;
    if (running_.empty()) return events;

    std::vector<pollfd> fds;
    for (const auto& worker : running_) fds.push_back({worker.fd, POLLIN, 0});
    const int ready = ::poll(fds.data(), fds.size(), static_cast<int>(wait.count()));
    if (ready < 0 && errno != EINTR) throw Error(ERR_FILE, "Cannot watch the MIB compiler workers");

    const auto now = std::chrono::steady_clock::now();
    std::size_t i = 0;
    for (auto it = running_.begin(); it != running_.end(); ++i) {
        bool over = false;
        if (ready > 0 && (fds[i].revents & (POLLIN | POLLHUP | POLLERR))) over = !readFrom(*it, events);
        if (!over && now - it->since > std::chrono::seconds(limits_.moduleSeconds)) {
            it->timedOut = true;
            ::kill(it->pid, SIGKILL);
            over = true;
        }
        if (over) {
            finish(*it, events);
            it = running_.erase(it);
        } else {
            ++it;
        }
    }
    return events;
}

// Returns false once the worker has closed its end.
bool WorkerPool::readFrom(Running& worker, std::vector<PoolEvent>& events) {
    char chunk[1 << 16];
    const auto n = ::read(worker.fd, chunk, sizeof chunk);
    if (n < 0) return errno == EINTR || errno == EAGAIN;
    if (n == 0) return false;
    worker.buffer.append(chunk, static_cast<std::size_t>(n));
    for (std::string message; TakeFramed(worker.buffer, message);) {
        auto decoded = DecodeWorkerMessage(message);
        worker.since = std::chrono::steady_clock::now();
        if (decoded.loading) {
            worker.loading = std::move(decoded.loading);
        } else {
            worker.loading.reset();
            events.push_back({worker.id, std::move(decoded.target), std::nullopt});
        }
    }
    return true;
}

void WorkerPool::finish(Running& worker, std::vector<PoolEvent>& events) {
    ::close(worker.fd);
    int status = 0;
    rusage usage{};
    while (::wait4(worker.pid, &status, 0, &usage) < 0 && errno == EINTR) {
    }
    JobEnd end;
    end.loading = std::move(worker.loading);
    const double usedMegabytes = static_cast<double>(usage.ru_maxrss) / 1024.0;
    if (worker.timedOut) {
        end.failure = JobFailure::timedOut;
        end.detail = limits_.moduleSeconds;
    } else if (WIFSIGNALED(status)) {
        const bool memory = limits_.memoryMegabytes > 0 && usedMegabytes >= kMemoryShare * limits_.memoryMegabytes;
        end.failure = memory ? JobFailure::outOfMemory : JobFailure::crashed;
        end.detail = memory ? static_cast<int>(limits_.memoryMegabytes) : WTERMSIG(status);
    } else if (!WIFEXITED(status) || WEXITSTATUS(status) != 0 || end.loading) {
        end.failure = JobFailure::stopped;
        end.detail = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    }
    events.push_back({worker.id, std::nullopt, std::move(end)});
}

}  // namespace qlmib::compiler
