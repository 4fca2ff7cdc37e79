#include "QtEventLoop.h"

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QSocketNotifier>
#include <QTimer>

namespace qlmib::ui::qt {
namespace {

class QtTimer : public Timer {
public:
    QtTimer() {
        timer_.setInterval(0);
        QObject::connect(&timer_, &QTimer::timeout, [this] {
            // A handler that lets events run must not see its own timer tick again.
            if (ticking_) return;
            ticking_ = true;
            struct Reset {
                bool& flag;
                ~Reset() { flag = false; }
            } reset{ticking_};
            Tick();
        });
    }
    void setInterval(int milliseconds) override { timer_.setInterval(std::max(milliseconds, 0)); }
    int getInterval() const override { return timer_.interval(); }
    void setEnabled(bool enabled) override {
        if (enabled == timer_.isActive()) return;
        if (enabled) timer_.start();
        else timer_.stop();
    }
    bool getEnabled() const override { return timer_.isActive(); }

private:
    QTimer timer_;
    bool ticking_ = false;
};

class QtSocketWatch : public SocketWatch {
public:
    QtSocketWatch(int fd, std::function<void()> readable)
        : notifier_(static_cast<qintptr>(fd), QSocketNotifier::Read), readable_(std::move(readable)) {
        QObject::connect(&notifier_, &QSocketNotifier::activated, [this] { readable_(); });
    }

private:
    QSocketNotifier notifier_;
    std::function<void()> readable_;
};

}  // namespace

QtEventLoop::QtEventLoop() : context_(std::make_unique<QObject>()) {}

QtEventLoop::~QtEventLoop() = default;

std::unique_ptr<Timer> QtEventLoop::createTimer() { return std::make_unique<QtTimer>(); }

std::unique_ptr<SocketWatch> QtEventLoop::watchSocket(int fd, std::function<void()> readable) {
    return std::make_unique<QtSocketWatch>(fd, std::move(readable));
}

void QtEventLoop::post(std::function<void()> call) {
    QMetaObject::invokeMethod(context_.get(), std::move(call), Qt::QueuedConnection);
}

void QtEventLoop::processEvents() { QCoreApplication::processEvents(QEventLoop::AllEvents); }

bool QtEventLoop::runUntil(const std::function<bool()>& done, int timeoutMs) {
    const QDeadlineTimer deadline(timeoutMs < 0 ? QDeadlineTimer(QDeadlineTimer::Forever)
                                                : QDeadlineTimer(timeoutMs, Qt::PreciseTimer));
    // Wakes the blocking wait below when the time is up; armed again on every
    // turn, since a tick consumed by an earlier turn wakes nothing.
    QTimer wake;
    wake.setSingleShot(true);
    wake.setTimerType(Qt::PreciseTimer);
    while (!done()) {
        if (timeoutMs >= 0) {
            const qint64 left = deadline.remainingTime();
            if (left <= 0) break;
            wake.start(static_cast<int>(left));
        }
        QCoreApplication::processEvents(QEventLoop::AllEvents | QEventLoop::WaitForMoreEvents);
    }
    return done();
}

}  // namespace qlmib::ui::qt
