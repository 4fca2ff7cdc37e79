#include "PollEventLoop.h"

#include <poll.h>

#include <algorithm>
#include <utility>
#include <vector>

namespace qlmib::ui {

using Clock = std::chrono::steady_clock;

namespace {

struct TimerCore {
    Timer* facade = nullptr;  // null once the timer is destroyed
    int interval = 0;
    bool enabled = false;
    bool running = false;     // its Tick handler is on the stack
    Clock::time_point due{};
    bool active() const { return facade && enabled && interval > 0; }
};

struct SocketEntry {
    int fd;
    std::shared_ptr<std::function<void()>> readable;
};

}  // namespace

struct PollEventLoop::State {
    std::uint64_t lastId = 0;
    std::map<std::uint64_t, std::shared_ptr<TimerCore>> timers;
    std::map<std::uint64_t, SocketEntry> sockets;
    std::vector<std::function<void()>> posted;
    // The poll set of the last round, kept for its storage; a nested round
    // (a handler that lets events run) finds it taken and makes its own.
    std::vector<pollfd> pollSet;
    std::vector<std::uint64_t> pollIds;
};

namespace {

class PollTimer : public Timer {
public:
    PollTimer(std::weak_ptr<PollEventLoop::State> state, std::uint64_t id, std::shared_ptr<TimerCore> core)
        : state_(std::move(state)), id_(id), core_(std::move(core)) {
        core_->facade = this;
    }
    ~PollTimer() override {
        core_->facade = nullptr;
        if (auto state = state_.lock()) state->timers.erase(id_);
    }
    void setInterval(int milliseconds) override {
        core_->interval = std::max(0, milliseconds);
        restart();
    }
    int getInterval() const override { return core_->interval; }
    void setEnabled(bool enabled) override {
        core_->enabled = enabled;
        restart();
    }
    bool getEnabled() const override { return core_->enabled; }

private:
    void restart() { core_->due = Clock::now() + std::chrono::milliseconds(core_->interval); }

    std::weak_ptr<PollEventLoop::State> state_;
    std::uint64_t id_;
    std::shared_ptr<TimerCore> core_;
};

class PollSocketWatch : public SocketWatch {
public:
    PollSocketWatch(std::weak_ptr<PollEventLoop::State> state, std::uint64_t id) : state_(std::move(state)), id_(id) {}
    ~PollSocketWatch() override {
        if (auto state = state_.lock()) state->sockets.erase(id_);
    }

private:
    std::weak_ptr<PollEventLoop::State> state_;
    std::uint64_t id_;
};

}  // namespace

PollEventLoop::PollEventLoop() : state_(std::make_shared<State>()) {}

PollEventLoop::~PollEventLoop() = default;

std::unique_ptr<Timer> PollEventLoop::createTimer() {
    const auto id = ++state_->lastId;
    auto core = std::make_shared<TimerCore>();
    state_->timers.emplace(id, core);
    return std::make_unique<PollTimer>(state_, id, core);
}

std::unique_ptr<SocketWatch> PollEventLoop::watchSocket(int fd, std::function<void()> readable) {
    const auto id = ++state_->lastId;
    state_->sockets.emplace(id, SocketEntry{fd, std::make_shared<std::function<void()>>(std::move(readable))});
    return std::make_unique<PollSocketWatch>(state_, id);
}

void PollEventLoop::post(std::function<void()> call) { state_->posted.push_back(std::move(call)); }

void PollEventLoop::processEvents() { iterate(0, AfterPosted::Poll); }

void PollEventLoop::iterate(int waitMs, AfterPosted afterPosted) {
    // Keep the state alive even if a handler destroys this loop's owner.
    auto state = state_;

    std::vector<std::function<void()>> calls;
    calls.swap(state->posted);
    for (auto& call : calls) call();
    // A posted call is an event: what the caller waits for may have happened,
    // so it must not be made to wait for a socket as well. A caller that comes
    // back to wait spares the look that would find nothing yet (the answer to
    // a request the call just sent), unless calls posted meanwhile would keep
    // it from ever waiting.
    if (!calls.empty()) {
        if (afterPosted == AfterPosted::Return && state->posted.empty()) return;
        waitMs = 0;
    }

    const auto now = Clock::now();
    for (const auto& [id, core] : state->timers) {
        if (!core->active() || core->running) continue;
        const auto untilDue = std::chrono::ceil<std::chrono::milliseconds>(core->due - now).count();
        waitMs = waitMs < 0 ? static_cast<int>(std::max<long long>(0, untilDue))
                            : std::min(waitMs, static_cast<int>(std::max<long long>(0, untilDue)));
    }
    if (!state->posted.empty()) waitMs = 0;

    auto fds = std::exchange(state->pollSet, {});
    auto ids = std::exchange(state->pollIds, {});
    fds.clear();
    ids.clear();
    for (const auto& [id, entry] : state->sockets) {
        fds.push_back({entry.fd, POLLIN, 0});
        ids.push_back(id);
    }
    if (!fds.empty() || waitMs > 0) {
        const int ready = ::poll(fds.data(), fds.size(), waitMs);
        for (size_t i = 0; ready > 0 && i < fds.size(); ++i) {
            if (!(fds[i].revents & (POLLIN | POLLERR | POLLHUP))) continue;
            const auto it = state->sockets.find(ids[i]);
            if (it == state->sockets.end()) continue;  // unwatched by an earlier callback
            auto readable = it->second.readable;
            (*readable)();
        }
    }
    state->pollSet = std::move(fds);
    state->pollIds = std::move(ids);

    std::vector<std::shared_ptr<TimerCore>> due;
    const auto fired = Clock::now();
    for (const auto& [id, core] : state->timers)
        if (core->active() && !core->running && core->due <= fired) due.push_back(core);
    for (auto& core : due) {
        if (!core->active() || core->running) continue;  // changed by an earlier tick
        core->due = fired + std::chrono::milliseconds(core->interval);
        core->running = true;
        core->facade->Tick();
        core->running = false;
    }
}

bool PollEventLoop::runUntil(const std::function<bool()>& done, int timeoutMs) {
    const auto deadline = Clock::now() + std::chrono::milliseconds(std::max(0, timeoutMs));
    while (!done()) {
        const bool idle = state_->posted.empty() && state_->sockets.empty() &&
                          std::none_of(state_->timers.begin(), state_->timers.end(),
                                       [](const auto& t) { return t.second->active(); });
        int wait = -1;
        if (timeoutMs >= 0) {
            const auto left = std::chrono::ceil<std::chrono::milliseconds>(deadline - Clock::now()).count();
            if (left <= 0) return done();
            wait = static_cast<int>(left);
        } else if (idle) {
            return false;  // nothing could ever make done() true
        }
        iterate(wait, AfterPosted::Return);
    }
    return true;
}

}  // namespace qlmib::ui
