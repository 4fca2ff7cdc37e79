#pragma once
// The event services a toolkit gives the controls: timers, socket watches,
// posted calls and "let pending window events run". Everything runs on the
// thread that owns the toolkit.

#include <functional>
#include <memory>

#include "qlmib/common/Event.h"

namespace qlmib::ui {

// A repeating timer. A tick is delivered from the event loop, never inside
// the call that enables the timer, and not again while its own handler runs.
class Timer {
public:
    virtual ~Timer() = default;
    virtual void setInterval(int milliseconds) = 0;
    virtual int getInterval() const = 0;
    virtual void setEnabled(bool enabled) = 0;
    virtual bool getEnabled() const = 0;

    Event<> Tick;
};

// Watches a socket while it lives; the callback runs from the event loop
// whenever the socket has data to read.
class SocketWatch {
public:
    virtual ~SocketWatch() = default;
};

class EventLoop {
public:
    virtual ~EventLoop() = default;

    virtual std::unique_ptr<Timer> createTimer() = 0;
    virtual std::unique_ptr<SocketWatch> watchSocket(int fd, std::function<void()> readable) = 0;
    // Runs `call` from the loop, after the current handler has returned.
    virtual void post(std::function<void()> call) = 0;
    // Lets pending events run (due timers, readable sockets, posted calls) without waiting.
    virtual void processEvents() = 0;
    // Runs the loop until `done()` is true or `timeoutMs` has passed (negative: no limit).
    // Returns done().
    virtual bool runUntil(const std::function<bool()>& done, int timeoutMs = -1) = 0;
};

}  // namespace qlmib::ui
