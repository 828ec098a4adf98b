// A stand-in for the memory and clock seam: notes every call with its
// arguments and answers from fields a test sets. Nothing is allocated.
#pragma once

#include <cstdint>
#include <vector>

#include "system/memory_os.h"

enum class MemoryCall {
    GlobalMemoryStatus, HeapCreate, HeapAlloc, HeapDestroy, QueryFrequency, QueryCounter,
    GetTickCount, Sleep, TimeBeginPeriod,
};

struct MemoryCallRecord {
    MemoryCall call;
    HANDLE heap;        // HeapAlloc, HeapDestroy
    uint64_t a;         // HeapCreate options, HeapAlloc flags, Sleep ms, timer period, dwLength
    uint64_t b;         // HeapCreate initial size, HeapAlloc size; 1 when a status record came cleared
    uint64_t c;         // HeapCreate maximum size
};

// What the calls answer; a test changes these between calls.
struct MemoryOsAnswers {
    BOOL statusResult = TRUE;
    uint64_t availPhysBytes = 0;
    HANDLE createdHeap = reinterpret_cast<HANDLE>(static_cast<uintptr_t>(0x4EA9));
    void* allocated = nullptr;
    BOOL frequencyResult = TRUE;
    int64_t frequency = 10000000;
    int64_t counter = 0;
    DWORD tickCount = 0;
    UINT timerResult = 0;  // TIMERR_NOERROR
};

struct MemoryOsRecorder {
    MemoryOsAnswers answers;
    std::vector<MemoryCallRecord> calls;
};

extern MemoryOsRecorder g_memoryRecorder;

void InstallMemoryOsRecorder(const MemoryOsAnswers& answers);  // fresh record, g_memoryOs swapped
void RemoveMemoryOsRecorder();                                 // g_memoryOs back to the real one
int CountMemoryCalls(MemoryCall call);
