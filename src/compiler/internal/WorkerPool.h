#pragma once
// Runs compile jobs in libsmi worker processes, several at a time, and
// watches them: a worker that dies, overruns its time limit for one module or
// its memory limit costs only its job, and the pool says which module it was
// loading. Everything happens on the thread that calls poll(); no thread is
// started. Destroying the pool kills the workers still running.

#include <chrono>
#include <cstddef>
#include <filesystem>
#include <list>
#include <optional>
#include <string>
#include <vector>

#include "internal/WorkerProtocol.h"

namespace qlmib::compiler {

struct WorkerLimits {
    std::filesystem::path program;  // the worker executable
    int workers = 1;                // at most this many at a time
    int moduleSeconds = 60;         // per module loaded
    long memoryMegabytes = 0;       // per worker; 0 for none
};

enum class JobFailure { none, crashed, timedOut, outOfMemory, stopped };

struct JobEnd {
    JobFailure failure = JobFailure::none;
    int detail = 0;                 // the signal, or the exit status when stopped
    std::optional<LoadingMessage> loading;  // what it was loading when it failed
};

struct PoolEvent {
    std::size_t job = 0;
    std::optional<TargetMessage> target;  // a target finished
    std::optional<JobEnd> end;            // the job is over (after all its targets' events)
};

class WorkerPool {
public:
    WorkerPool(WorkerLimits limits, std::filesystem::path scratch);
    WorkerPool(const WorkerPool&) = delete;
    WorkerPool& operator=(const WorkerPool&) = delete;
    ~WorkerPool();

    // Queues a job; it starts when a worker slot is free.
    void submit(std::size_t id, const WorkerJob& job);
    // Starts queued jobs, then waits at most `wait` for workers to report.
    std::vector<PoolEvent> poll(std::chrono::milliseconds wait);
    bool idle() const { return queued_.empty() && running_.empty(); }

private:
    struct Running {
        std::size_t id = 0;
        int pid = -1;
        int fd = -1;
        std::string buffer;
        std::optional<LoadingMessage> loading;
        std::chrono::steady_clock::time_point since;
        bool timedOut = false;
    };
    void start(std::size_t id, const std::string& jobBytes);
    bool readFrom(Running& worker, std::vector<PoolEvent>& events);
    void finish(Running& worker, std::vector<PoolEvent>& events);

    WorkerLimits limits_;
    std::filesystem::path scratch_;
    std::list<std::pair<std::size_t, std::string>> queued_;
    std::list<Running> running_;
    std::size_t jobFiles_ = 0;
};

// The worker executable: $QLMIB_SMI_WORKER, else qlmib-smi-worker beside the
// running program, else the one of this build or of the installed library.
std::filesystem::path DefaultWorkerProgram();

}  // namespace qlmib::compiler
