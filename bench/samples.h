// Timing samples of one variant, and the figures printed for them.
#pragma once

#include <string>
#include <vector>

struct Samples {
    std::string name;
    std::string unit;  // of every value, e.g. "MB/s" or "us/call"
    std::vector<double> values;
};

double MedianOf(const Samples& samples);
void PrintHeader(const char* section);
void PrintSamples(const Samples& samples);
// The ratio of the two medians, a over b, with what it is compared against.
void PrintRatio(const char* what, const Samples& a, const Samples& b, const char* target);
void PrintNote(const char* text);
