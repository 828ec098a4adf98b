// Obtaining and filling the test buffer against calloc and memset.
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "bench/bench.h"
#include "bench/samples.h"
#include "system/constants.h"
#include "system/memory.h"

namespace {

// Called through pointers the compiler cannot see through, so the plain
// variant is not optimised away as a block that is filled and freed unread.
void* (*volatile g_calloc)(size_t, size_t) = std::calloc;
void* (*volatile g_memset)(void*, int, size_t) = std::memset;
void (*volatile g_free)(void*) = std::free;

// Each variant takes its block fresh, so every sample pays the first touch.
double OurFirstFill(int64_t bytes, double* warmSeconds) {
    const double start = SecondsNow();
    void* buffer = AllocateTestBuffer(bytes);
    if (buffer == nullptr) return 0.0;
    FillTestBuffer(buffer, bytes, kFillByte);
    const double seconds = SecondsNow() - start;
    const double warmStart = SecondsNow();
    FillTestBuffer(buffer, bytes, kFillByte);
    *warmSeconds = SecondsNow() - warmStart;
    HeapFree(MemoryHeap(), 0, buffer);
    return seconds;
}

double PlainFirstFill(int64_t bytes, double* warmSeconds) {
    const double start = SecondsNow();
    void* buffer = g_calloc(static_cast<size_t>(bytes), 1);
    if (buffer == nullptr) return 0.0;
    g_memset(buffer, kFillByte, static_cast<size_t>(bytes));
    const double seconds = SecondsNow() - start;
    const double warmStart = SecondsNow();
    g_memset(buffer, kFillByte, static_cast<size_t>(bytes));
    *warmSeconds = SecondsNow() - warmStart;
    g_free(buffer);
    return seconds;
}

}  // namespace

bool BenchFill(const BenchOptions& options) {
    Samples ours{"AllocateTestBuffer + FillTestBuffer", "s", {}};
    Samples plain{"calloc + memset", "s", {}};
    Samples oursWarm{"FillTestBuffer, warm", "s", {}};
    Samples plainWarm{"memset, warm", "s", {}};
    for (int rep = 0; rep < options.reps; ++rep) {
        double warm = 0.0;
        ours.values.push_back(OurFirstFill(options.passBytes, &warm));
        oursWarm.values.push_back(warm);
        plain.values.push_back(PlainFirstFill(options.passBytes, &warm));
        plainWarm.values.push_back(warm);
    }
    PrintHeader("4. fill of the test buffer");
    PrintSamples(ours);
    PrintSamples(plain);
    PrintRatio("ours / calloc+memset (time, first touch)", ours, plain, "<= 1.05");
    PrintSamples(oursWarm);
    PrintSamples(plainWarm);
    PrintRatio("ours / memset (time, warm)", oursWarm, plainWarm, "<= 1.05");
    return MedianOf(ours) > 0.0 && MedianOf(plain) > 0.0;
}
