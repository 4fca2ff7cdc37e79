#pragma once
// The part of a compile that runs inside a libsmi worker: one job in one
// fresh libsmi session, each target's imports loaded before it.

#include <functional>
#include <string>

#include "internal/WorkerProtocol.h"

namespace qlmib::compiler {

struct JobHooks {
    std::function<void(const std::string& message)> send;   // an encoded message for the parent
    std::function<void(const std::string& module)> beforeLoad;  // may be empty
};

// Takes libsmi's process state for its duration (see SmiSession).
void RunJob(const WorkerJob& job, const JobHooks& hooks);

}  // namespace qlmib::compiler
