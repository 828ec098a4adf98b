// The sections of the benchmark program: what our code adds to a pass.
#pragma once

#include <cstdint>
#include <string>

struct BenchOptions {
    int64_t passBytes;         // bytes per pass; the program's own figure by default
    int reps;                  // samples per variant, variants alternating A B A B
    std::wstring folder;       // where the passes write their test file
    std::wstring productExe;   // the program, for the start-up figures
    std::wstring emptyExe;     // an empty program, what Wine alone costs to start
    bool fill;                 // the 8 GiB fill section (slow: page faults)
};

double SecondsNow();
double PeakWorkingSetMiB();

// Each returns false when it could not take its figures.
bool BenchStartup(const BenchOptions& options);
bool BenchPumpEvents(const BenchOptions& options);
bool BenchPasses(const BenchOptions& options);
bool BenchFill(const BenchOptions& options);
