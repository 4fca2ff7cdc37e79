// Qt's event loop behind the toolkit interface: timers, socket watches,
// posted calls and waiting with a limit.
#include <gtest/gtest.h>
#include <unistd.h>

#include <QElapsedTimer>
#include <vector>

#include <qlmib/ui/qt/QtEventLoop.h>

namespace qlmib::ui::qt {
namespace {

class QtEventLoopTest : public ::testing::Test {
protected:
    QtEventLoop loop;
};

TEST_F(QtEventLoopTest, TimerTicksFromTheLoopAndNotInsideItsOwnHandler) {
    auto timer = loop.createTimer();
    timer->setInterval(5);
    int ticks = 0, nested = 0;
    bool inside = false;
    auto sub = timer->Tick.subscribe([&] {
        if (inside) ++nested;
        inside = true;
        ++ticks;
        // A handler that lets events run, as a message box does.
        QElapsedTimer waited;
        waited.start();
        while (waited.elapsed() < 20) loop.processEvents();
        inside = false;
    });
    timer->setEnabled(true);
    EXPECT_EQ(ticks, 0) << "enabling does not tick";
    EXPECT_TRUE(loop.runUntil([&] { return ticks >= 3; }, 2000));
    EXPECT_EQ(nested, 0);
    timer->setEnabled(false);
    const int stopped = ticks;
    loop.runUntil([] { return false; }, 30);
    EXPECT_EQ(ticks, stopped);
    EXPECT_FALSE(timer->getEnabled());
    EXPECT_EQ(timer->getInterval(), 5);
}

TEST_F(QtEventLoopTest, SocketWatchCallsBackWhileDataWaitsAndStopsWhenDropped) {
    int fds[2];
    ASSERT_EQ(pipe(fds), 0);
    std::string received;
    auto watch = loop.watchSocket(fds[0], [&] {
        char buffer[16];
        const auto n = read(fds[0], buffer, sizeof buffer);
        if (n > 0) received.append(buffer, static_cast<size_t>(n));
    });
    ASSERT_EQ(write(fds[1], "ping", 4), 4);
    EXPECT_TRUE(loop.runUntil([&] { return received == "ping"; }, 2000));
    watch.reset();
    ASSERT_EQ(write(fds[1], "more", 4), 4);
    loop.runUntil([] { return false; }, 30);
    EXPECT_EQ(received, "ping");
    close(fds[0]);
    close(fds[1]);
}

TEST_F(QtEventLoopTest, PostedCallsRunAfterTheCurrentHandlerInOrder) {
    std::vector<int> order;
    loop.post([&] {
        loop.post([&] { order.push_back(3); });
        order.push_back(1);
    });
    loop.post([&] { order.push_back(2); });
    EXPECT_TRUE(order.empty());
    EXPECT_TRUE(loop.runUntil([&] { return order.size() == 3; }, 2000));
    EXPECT_EQ(order, (std::vector<int>{1, 2, 3}));
}

TEST_F(QtEventLoopTest, RunUntilGivesUpAfterItsLimit) {
    QElapsedTimer clock;
    clock.start();
    EXPECT_FALSE(loop.runUntil([] { return false; }, 50));
    EXPECT_GE(clock.elapsed(), 45);
    EXPECT_LT(clock.elapsed(), 1000);
    EXPECT_TRUE(loop.runUntil([] { return true; }, 0));
}

}  // namespace
}  // namespace qlmib::ui::qt
