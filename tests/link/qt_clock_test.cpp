// The real-time clock: calls fire from the event loop in due order, cancelled ones never.
#include "link/qt_clock.h"

#include <gtest/gtest.h>

#include "link/link_test_support.h"

namespace vellora::link {
namespace {

TEST(QtClock, CallsFireInDueOrderAndCancelledOnesNever) {
    QtClock clock;
    std::vector<int> fired;
    const std::int64_t start = clock.NowMs();
    clock.CallAfter(30, [&] { fired.push_back(3); });
    clock.CallAfter(0, [&] { fired.push_back(1); });
    const model::TimerId cancelled = clock.CallAfter(10, [&] { fired.push_back(99); });
    clock.CallAfter(10, [&] { fired.push_back(2); });
    clock.Cancel(cancelled);
    clock.Cancel(12345);         // unknown: ignored
    EXPECT_TRUE(fired.empty());  // nothing fires before the event loop runs
    ASSERT_TRUE(testing::WaitUntil([&] { return fired.size() >= 3; }));
    testing::Settle(nullptr, 40);
    EXPECT_EQ(fired, (std::vector<int>{1, 2, 3}));
    EXPECT_GE(clock.NowMs() - start, 30);
}

TEST(QtClock, RepeatingTimerTicksUntilStopped) {
    QtClock clock;
    int ticks = 0;
    model::RepeatingTimer timer(clock, 5, [&] { ++ticks; });
    timer.Start();
    ASSERT_TRUE(testing::WaitUntil([&] { return ticks >= 3; }));
    timer.Stop();
    const int stopped_at = ticks;
    testing::Settle(nullptr, 30);
    EXPECT_EQ(ticks, stopped_at);
}

}  // namespace
}  // namespace vellora::link
