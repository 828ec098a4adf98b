// What a running program holds, read from outside it: handles, GDI objects,
// windows and memory, so two moments of its life can be compared.
#pragma once

#include <cstdint>

#include "driver/product_driver.h"

struct ProcessCounts {
    int64_t handles;          // kernel handles
    int64_t gdiObjects;       // live cells of the GDI handle table
    int64_t windows;          // its windows, top-level and child
    int64_t privateBytes;     // committed private memory now
    int64_t peakPrivateBytes;
    int64_t peakWorkingSetBytes;
};

// -1 in a field that cannot be read.
ProcessCounts CountsOf(const Product& product);
