#pragma once
// The event loop of the headless toolkit: timers, sockets and posted calls
// driven by poll(2). Not thread-safe: one loop per thread.

#include <chrono>
#include <cstdint>
#include <map>
#include <memory>

#include "qlmib/ui/EventLoop.h"

namespace qlmib::ui {

class PollEventLoop : public EventLoop {
public:
    PollEventLoop();
    ~PollEventLoop() override;

    std::unique_ptr<Timer> createTimer() override;
    std::unique_ptr<SocketWatch> watchSocket(int fd, std::function<void()> readable) override;
    void post(std::function<void()> call) override;
    void processEvents() override;
    bool runUntil(const std::function<bool()>& done, int timeoutMs = -1) override;

    struct State;

private:
    // Runs the posted calls, waits at most `waitMs` for a socket (0: do not
    // wait), then dispatches what is due. When posted calls ran, `afterPosted`
    // says whether sockets are still looked at without waiting, or it returns
    // at once because its caller looks at what they did and comes back to wait.
    enum class AfterPosted { Poll, Return };
    void iterate(int waitMs, AfterPosted afterPosted);

    std::shared_ptr<State> state_;
};

}  // namespace qlmib::ui
