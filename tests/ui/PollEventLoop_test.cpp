#include <gtest/gtest.h>

#include <unistd.h>

#include <chrono>

#include <qlmib/ui/PollEventLoop.h>

namespace qlmib::ui {
namespace {

using Clock = std::chrono::steady_clock;

TEST(PollEventLoop, EnabledTimerTicksFromTheLoopOnly) {
    PollEventLoop loop;
    auto timer = loop.createTimer();
    int ticks = 0;
    auto sub = timer->Tick.subscribe([&] { ++ticks; });
    timer->setInterval(10);
    timer->setEnabled(true);
    EXPECT_EQ(ticks, 0) << "enabling does not tick at once";
    const auto start = Clock::now();
    EXPECT_TRUE(loop.runUntil([&] { return ticks >= 3; }, 2000));
    EXPECT_GE(Clock::now() - start, std::chrono::milliseconds(30));
}

TEST(PollEventLoop, DisabledOrZeroIntervalTimerNeverTicks) {
    PollEventLoop loop;
    auto disabled = loop.createTimer();
    auto zero = loop.createTimer();
    int ticks = 0;
    auto a = disabled->Tick.subscribe([&] { ++ticks; });
    auto b = zero->Tick.subscribe([&] { ++ticks; });
    disabled->setInterval(1);
    zero->setEnabled(true);
    EXPECT_FALSE(loop.runUntil([&] { return ticks > 0; }, 50));
    EXPECT_FALSE(loop.runUntil([&] { return ticks > 0; })) << "with nothing to wait for the loop returns";
}

TEST(PollEventLoop, TimerDestroyedInItsOwnHandler) {
    PollEventLoop loop;
    auto timer = loop.createTimer();
    int ticks = 0;
    auto sub = timer->Tick.subscribe([&] {
        ++ticks;
        timer.reset();
    });
    timer->setInterval(1);
    timer->setEnabled(true);
    loop.runUntil([&] { return ticks > 0; }, 1000);
    EXPECT_FALSE(loop.runUntil([&] { return ticks > 1; }, 30));
    EXPECT_EQ(ticks, 1);
}

TEST(PollEventLoop, RunningTimerIsNotReenteredByProcessEvents) {
    PollEventLoop loop;
    auto timer = loop.createTimer();
    int depth = 0, maxDepth = 0, ticks = 0;
    auto sub = timer->Tick.subscribe([&] {
        ++ticks;
        maxDepth = std::max(maxDepth, ++depth);
        usleep(3000);
        loop.processEvents();
        --depth;
    });
    timer->setInterval(1);
    timer->setEnabled(true);
    loop.runUntil([&] { return ticks >= 3; }, 2000);
    EXPECT_EQ(maxDepth, 1);
}

TEST(PollEventLoop, ReadableSocketCallsItsWatcher) {
    PollEventLoop loop;
    int fds[2];
    ASSERT_EQ(pipe(fds), 0);
    std::string received;
    auto watch = loop.watchSocket(fds[0], [&] {
        char buffer[16];
        const auto n = read(fds[0], buffer, sizeof buffer);
        if (n > 0) received.append(buffer, static_cast<size_t>(n));
    });
    loop.processEvents();
    EXPECT_EQ(received, "");
    ASSERT_EQ(write(fds[1], "abc", 3), 3);
    EXPECT_TRUE(loop.runUntil([&] { return received == "abc"; }, 1000));
    watch.reset();
    ASSERT_EQ(write(fds[1], "d", 1), 1);
    loop.runUntil([] { return false; }, 20);
    EXPECT_EQ(received, "abc") << "an unwatched socket calls nobody";
    close(fds[0]);
    close(fds[1]);
}

TEST(PollEventLoop, PostedCallsRunLaterInOrder) {
    PollEventLoop loop;
    std::string order;
    loop.post([&] {
        order += "a";
        loop.post([&] { order += "c"; });
    });
    loop.post([&] { order += "b"; });
    EXPECT_EQ(order, "");
    loop.processEvents();
    EXPECT_EQ(order, "ab") << "a call posted by a posted call waits for the next turn";
    loop.processEvents();
    EXPECT_EQ(order, "abc");
}

TEST(PollEventLoop, WaitEndsAsSoonAsAPostedCallHasDoneIt) {
    PollEventLoop loop;
    int fds[2];
    ASSERT_EQ(pipe(fds), 0);
    auto watch = loop.watchSocket(fds[0], [] {});  // something that could be waited for
    bool done = false;
    loop.post([&] { done = true; });
    const auto start = Clock::now();
    EXPECT_TRUE(loop.runUntil([&] { return done; }, 2000));
    EXPECT_LT(Clock::now() - start, std::chrono::milliseconds(500));
    close(fds[0]);
    close(fds[1]);
}

TEST(PollEventLoop, TimeoutEndsTheWait) {
    PollEventLoop loop;
    int fds[2];
    ASSERT_EQ(pipe(fds), 0);
    auto watch = loop.watchSocket(fds[0], [] {});
    const auto start = Clock::now();
    EXPECT_FALSE(loop.runUntil([] { return false; }, 40));
    const auto took = Clock::now() - start;
    EXPECT_GE(took, std::chrono::milliseconds(40));
    EXPECT_LT(took, std::chrono::milliseconds(1000));
    close(fds[0]);
    close(fds[1]);
}

}  // namespace
}  // namespace qlmib::ui
