// Free-memory gate, the program's two heaps and the test buffer.
#pragma once

#include <cstdint>

#include "system/win.h"

// ---- Heaps ----
bool CreateGeneralHeap();
bool CreateMemoryHeap();
void DestroyMemoryHeap();  // releases the test buffer with it
void DestroyGeneralHeap();
HANDLE GeneralHeap();
HANDLE MemoryHeap();

// ---- Free-memory gate ----
uint64_t QueryFreePhysicalMemory();  // 0 when the query fails
bool FreeMemoryPassesGate(uint64_t freeBytes);

// ---- Test buffer ----
void* AllocateTestBuffer(int64_t bytes);  // zeroed; null when it cannot be had
void FillTestBuffer(void* buffer, int64_t bytes, int value);
