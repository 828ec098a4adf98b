// Throughput of a task and its rounding to the stored integer.
#include <cmath>

#include "engine/statistics.h"
#include "system/constants.h"

double ThroughputMBps(int64_t bytes, int64_t elapsedMs) {
    // One IEEE operation per statement, in this order: folding the constants
    // into one factor would change the last bit of some figures.
    double value = static_cast<double>(bytes);
    const double ms = static_cast<double>(elapsedMs);
    value = value / ms;
    value = value * kMsPerSecond;
    value = value / kBytesPerKiB;
    value = value / kBytesPerKiB;
    return value;
}

int64_t RoundToInt64(double value) {
    // 2^63 itself is out of range; -2^63 is in. NaN fails both comparisons.
    constexpr double kTwoTo63 = 9223372036854775808.0;
    if (!(value >= -kTwoTo63 && value < kTwoTo63)) return INT64_MIN;
    // Ties to even by hand, whatever rounding mode the thread is in.
    // value - floor(value) is exact for every double.
    double whole = std::floor(value);
    const double fraction = value - whole;
    if (fraction > 0.5 || (fraction == 0.5 && std::fmod(whole, 2.0) != 0.0)) whole += 1.0;
    return static_cast<int64_t>(whole);
}
