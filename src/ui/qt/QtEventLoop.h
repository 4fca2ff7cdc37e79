#pragma once
// The event loop of the Qt toolkit: Qt's own. Timers are QTimers, sockets
// are watched by QSocketNotifiers and posted calls are queued events, so the
// SNMP engine's answers arrive while windows paint and take input. Needs a
// QCoreApplication; thread affinity: its thread.

#include <QObject>
#include <memory>

#include "qlmib/ui/EventLoop.h"

namespace qlmib::ui::qt {

class QtEventLoop : public EventLoop {
public:
    QtEventLoop();
    ~QtEventLoop() override;

    std::unique_ptr<Timer> createTimer() override;
    std::unique_ptr<SocketWatch> watchSocket(int fd, std::function<void()> readable) override;
    // Calls posted and not yet run when the loop goes are dropped.
    void post(std::function<void()> call) override;
    void processEvents() override;
    bool runUntil(const std::function<bool()>& done, int timeoutMs = -1) override;

private:
    std::unique_ptr<QObject> context_;  // receiver of posted calls
};

}  // namespace qlmib::ui::qt
