// Percentiles of latencies measured in nanoseconds, for the benchmarks'
// counters.
#pragma once

#include <algorithm>
#include <cstdint>
#include <vector>

// The latency below which `fraction` of the values lie, in microseconds;
// 1.0 gives the largest, an empty set 0.
inline double PercentileMicroseconds(std::vector<int64_t> values, double fraction)
{
    if (values.empty())
        return 0.0;
    size_t index = std::min(values.size() - 1, size_t(fraction * double(values.size())));
    std::nth_element(values.begin(), values.begin() + long(index), values.end());
    return double(values[index]) / 1000.0;
}
