#pragma once
#include <vector>

// Where the trend puts its tick marks: round numbers a reader can take in at
// a glance (1, 2 or 5 times a power of ten on the value axis; whole seconds
// and minutes on the time axis).
struct TrendTicks {
    double low = 0.0; // the axis' range, widened to whole steps
    double high = 1.0;
    double step = 1.0;
    std::vector<double> values; // from low to high
};

// At most about maxCount ticks covering [low, high]; a flat or empty range
// still gets an axis around its value.
TrendTicks ValueTicks(double low, double high, int maxCount);

// The ticks for a time span [startMs, endMs] (milliseconds since the epoch,
// local time offset offsetMs added before rounding so that ticks fall on
// whole local minutes): the axis keeps its range, the ticks fall inside it.
TrendTicks TimeTicks(double startMs, double endMs, int maxCount, double offsetMs = 0.0);
