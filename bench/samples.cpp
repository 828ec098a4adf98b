// Figures of the benchmark program, as plain aligned text.
#include "bench/samples.h"

#include <algorithm>
#include <cstdio>

double MedianOf(const Samples& samples) {
    std::vector<double> v = samples.values;
    if (v.empty()) return 0.0;
    std::sort(v.begin(), v.end());
    const size_t n = v.size();
    return n % 2 == 1 ? v[n / 2] : (v[n / 2 - 1] + v[n / 2]) / 2.0;
}

void PrintHeader(const char* section) {
    std::printf("\n== %s\n", section);
    std::printf("  %-44s %12s %12s %12s  %s\n", "variant", "min", "median", "max", "unit");
}

void PrintSamples(const Samples& samples) {
    if (samples.values.empty()) return;
    const auto [lo, hi] = std::minmax_element(samples.values.begin(), samples.values.end());
    std::printf("  %-44s %12.3f %12.3f %12.3f  %s (n=%zu)\n", samples.name.c_str(), *lo,
                MedianOf(samples), *hi, samples.unit.c_str(), samples.values.size());
}

void PrintRatio(const char* what, const Samples& a, const Samples& b, const char* target) {
    const double mb = MedianOf(b);
    std::printf("  ratio %-38s %12.4f  target %s\n", what, mb != 0.0 ? MedianOf(a) / mb : 0.0, target);
}

void PrintNote(const char* text) { std::printf("  %s\n", text); }
