#include <gtest/gtest.h>

#include <unistd.h>

#include <chrono>
#include <functional>

#include <qlmib/ui/PollEventLoop.h>

namespace qlmib::ui {
namespace {

using Clock = std::chrono::steady_clock;
using std::chrono::milliseconds;

// A pipe whose ends are closed with the object.
struct Pipe {
    int fds[2];
    Pipe() { EXPECT_EQ(pipe(fds), 0); }
    ~Pipe() { close(fds[0]), close(fds[1]); }
};

TEST(PollEventLoop, OnlyAnEnabledTimerWithAnIntervalTicksAndOnlyFromTheLoop) {
    PollEventLoop loop;
    auto timer = loop.createTimer(), disabled = loop.createTimer(), zero = loop.createTimer();
    int ticks = 0, others = 0;
    auto a = timer->Tick.subscribe([&] { ++ticks; });
    auto b = disabled->Tick.subscribe([&] { ++others; });
    auto c = zero->Tick.subscribe([&] { ++others; });
    disabled->setInterval(1);
    zero->setEnabled(true);
    EXPECT_FALSE(loop.runUntil([&] { return others > 0; })) << "with nothing to wait for the loop returns";
    timer->setInterval(10);
    timer->setEnabled(true);
    EXPECT_EQ(ticks, 0) << "enabling does not tick at once";
    const auto start = Clock::now();
    EXPECT_TRUE(loop.runUntil([&] { return ticks >= 3; }, 2000));
    EXPECT_GE(Clock::now() - start, milliseconds(30));
    EXPECT_EQ(others, 0);
}

TEST(PollEventLoop, ATimerMayBeDestroyedInItsHandlerAndIsNotReenteredByProcessEvents) {
    PollEventLoop loop;
    auto once = loop.createTimer(), busy = loop.createTimer();
    int onceTicks = 0, busyTicks = 0, depth = 0, maxDepth = 0;
    auto a = once->Tick.subscribe([&] {
        ++onceTicks;
        once.reset();
    });
    auto b = busy->Tick.subscribe([&] {
        ++busyTicks;
        maxDepth = std::max(maxDepth, ++depth);
        usleep(3000);
        loop.processEvents();
        --depth;
    });
    for (auto* timer : {once.get(), busy.get()}) timer->setInterval(1), timer->setEnabled(true);
    EXPECT_TRUE(loop.runUntil([&] { return busyTicks >= 3; }, 2000));
    EXPECT_EQ(onceTicks, 1);
    EXPECT_EQ(maxDepth, 1);
}

TEST(PollEventLoop, ReadableSocketCallsItsWatcher) {
    PollEventLoop loop;
    Pipe p;
    std::string received;
    auto watch = loop.watchSocket(p.fds[0], [&] {
        char buffer[16];
        const auto n = read(p.fds[0], buffer, sizeof buffer);
        if (n > 0) received.append(buffer, static_cast<size_t>(n));
    });
    loop.processEvents();
    EXPECT_EQ(received, "");
    ASSERT_EQ(write(p.fds[1], "abc", 3), 3);
    EXPECT_TRUE(loop.runUntil([&] { return received == "abc"; }, 1000));
    watch.reset();
    ASSERT_EQ(write(p.fds[1], "d", 1), 1);
    loop.runUntil([] { return false; }, 20);
    EXPECT_EQ(received, "abc") << "an unwatched socket calls nobody";
}

TEST(PollEventLoop, PostedCallsRunLaterInOrderAndAWaitEndsAsSoonAsOneHasDoneItOrAtItsTimeout) {
    PollEventLoop loop;
    std::string order;
    loop.post([&] { order += "a", loop.post([&] { order += "c"; }); });
    loop.post([&] { order += "b"; });
    EXPECT_EQ(order, "");
    loop.processEvents();
    EXPECT_EQ(order, "ab") << "a call posted by a posted call waits for the next turn";

    Pipe p;
    auto watch = loop.watchSocket(p.fds[0], [] {});  // something that could be waited for
    auto start = Clock::now();
    EXPECT_TRUE(loop.runUntil([&] { return order == "abc"; }, 2000));
    EXPECT_LT(Clock::now() - start, milliseconds(500));

    start = Clock::now();
    EXPECT_FALSE(loop.runUntil([] { return false; }, 40));
    EXPECT_GE(Clock::now() - start, milliseconds(40));
    EXPECT_LT(Clock::now() - start, milliseconds(1000));
}

TEST(PollEventLoop, CallsThatKeepPostingNeverKeepASocketFromBeingRead) {
    PollEventLoop loop;
    Pipe p;
    bool read = false;
    auto watch = loop.watchSocket(p.fds[0], [&] {
        char byte;
        read = ::read(p.fds[0], &byte, 1) == 1;
    });
    int turns = 0;
    std::function<void()> again = [&] {
        ++turns;
        loop.post(again);
    };
    loop.post(again);
    ASSERT_EQ(write(p.fds[1], "x", 1), 1);
    EXPECT_TRUE(loop.runUntil([&] { return read; }, 2000));
    EXPECT_LT(turns, 10) << "the socket is looked at in the rounds that run posted calls";
}

}  // namespace
}  // namespace qlmib::ui
