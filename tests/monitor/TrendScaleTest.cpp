#include "monitor/TrendScale.h"

#include <gtest/gtest.h>

#include <limits>

// Value axes end and step at round numbers, whatever the curves span.
TEST(TrendScaleTest, ValueTicksAreRoundAndCoverTheCurves) {
    struct Case {
        double low, high;
        double step, first, last;
    };
    const Case cases[] = {
        {7748.45, 10497.9, 1000.0, 7000.0, 11000.0},
        {-0.013, 0.021, 0.01, -0.02, 0.03},
        {0.0, 100.0, 20.0, 0.0, 100.0},
        {-273.2, 1372.0, 500.0, -500.0, 1500.0},
        {42.0, 42.0, 1.0, 39.0, 45.0}, // flat: an axis of its own around the value
    };
    for (const Case& c : cases) {
        const TrendTicks ticks = ValueTicks(c.low, c.high, 6);
        EXPECT_DOUBLE_EQ(ticks.step, c.step) << c.low << ".." << c.high;
        ASSERT_FALSE(ticks.values.empty());
        EXPECT_NEAR(ticks.values.front(), c.first, 1e-9) << c.low;
        EXPECT_NEAR(ticks.values.back(), c.last, 1e-9) << c.high;
        EXPECT_LE(ticks.values.size(), 7U);
    }
    const TrendTicks none =
        ValueTicks(std::numeric_limits<double>::infinity(), -std::numeric_limits<double>::infinity(), 5);
    EXPECT_EQ(none.values.front(), 0.0);
}

// Time ticks fall on whole local seconds or minutes inside the span.
TEST(TrendScaleTest, TimeTicksFallOnWholeSecondsAndMinutes) {
    const double hour = 3600e3;
    const TrendTicks tenMinutes = TimeTicks(hour + 1234.0, hour + 1234.0 + 600e3, 5);
    EXPECT_DOUBLE_EQ(tenMinutes.step, 120e3);
    EXPECT_DOUBLE_EQ(tenMinutes.values.front(), hour + 120e3);
    EXPECT_EQ(tenMinutes.values.size(), 5U);
    // A zone 2.5 s off the hour moves the ticks with it.
    const TrendTicks minute = TimeTicks(hour + 500.0, hour + 60500.0, 6, 2500.0);
    EXPECT_DOUBLE_EQ(minute.step, 10e3);
    EXPECT_DOUBLE_EQ(minute.values.front(), hour + 7500.0);
    EXPECT_EQ(minute.values.size(), 6U);
}
