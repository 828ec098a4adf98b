// Throughput arithmetic, statistics over the task results, and the text of a figure.
#pragma once

#include <cstdint>
#include <string>

double ThroughputMBps(int64_t bytes, int64_t elapsedMs);
// Nearest integer, ties to even; the most negative 64-bit integer for anything
// no 64-bit integer holds (infinities and NaN included).
int64_t RoundToInt64(double value);

int64_t MinimumOf(int64_t r0, int64_t r1, int64_t r2, int64_t r3, int64_t r4,
                  int64_t r5, int64_t r6, int64_t r7, int64_t r8, int64_t r9);
int64_t MaximumOf(int64_t r0, int64_t r1, int64_t r2, int64_t r3, int64_t r4,
                  int64_t r5, int64_t r6, int64_t r7, int64_t r8, int64_t r9);
int64_t AverageOf(const int64_t* results);

std::wstring FormatMBps(double value);
