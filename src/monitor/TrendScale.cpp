#include "monitor/TrendScale.h"

#include <algorithm>
#include <array>
#include <cmath>

namespace {

// The smallest of 1, 2, 5 times a power of ten that is at least rough.
double RoundStep(double rough) {
    const double power = std::pow(10.0, std::floor(std::log10(rough)));
    for (const double factor : {1.0, 2.0, 5.0, 10.0}) {
        if (factor * power >= rough * (1.0 - 1e-9)) {
            return factor * power;
        }
    }
    return 10.0 * power;
}

} // namespace

TrendTicks ValueTicks(double low, double high, int maxCount) {
    TrendTicks ticks;
    if (!std::isfinite(low) || !std::isfinite(high)) {
        low = 0.0;
        high = 1.0;
    }
    if (high < low) {
        std::swap(low, high);
    }
    if (high - low < std::max(std::abs(high), 1.0) * 1e-9) {
        // A flat curve sits in the middle of an axis of its own size.
        const double half = std::max(1.0, std::abs(high) * 0.05);
        low -= half;
        high += half;
    }
    const int count = std::max(2, maxCount);
    ticks.step = RoundStep((high - low) / (count - 1));
    ticks.low = std::floor(low / ticks.step) * ticks.step;
    ticks.high = std::ceil(high / ticks.step) * ticks.step;
    for (double value = ticks.low; value <= ticks.high + ticks.step * 0.5; value += ticks.step) {
        // Zero as zero, not as -1e-17.
        ticks.values.push_back(std::abs(value) < ticks.step * 1e-9 ? 0.0 : value);
    }
    return ticks;
}

TrendTicks TimeTicks(double startMs, double endMs, int maxCount, double offsetMs) {
    static constexpr std::array<double, 12> kSteps = {1e3,  2e3,   5e3,   10e3,  15e3,   30e3,
                                                      60e3, 120e3, 300e3, 600e3, 1800e3, 3600e3};
    TrendTicks ticks;
    ticks.low = startMs;
    ticks.high = endMs;
    const double span = std::max(endMs - startMs, 1.0);
    const int count = std::max(1, maxCount);
    ticks.step = kSteps.back();
    for (const double step : kSteps) {
        if (span / step <= count) {
            ticks.step = step;
            break;
        }
    }
    const double first = std::ceil((startMs + offsetMs) / ticks.step) * ticks.step - offsetMs;
    for (double time = first; time <= endMs; time += ticks.step) {
        ticks.values.push_back(time);
    }
    return ticks;
}
