#include "system/memory.h"

#include <cstring>

#include "system/constants.h"
#include "system/memory_os.h"

uint64_t QueryFreePhysicalMemory() {
    MEMORYSTATUSEX status;
    std::memset(&status, 0, sizeof status);
    status.dwLength = sizeof status;
    if (!g_memoryOs.GlobalMemoryStatusEx(&status)) return 0;
    return status.ullAvailPhys;
}

// Read as signed, so a figure with the top bit set counts as nothing free.
bool FreeMemoryPassesGate(uint64_t freeBytes) {
    return static_cast<int64_t>(freeBytes) > kFreeMemoryGateBytes;
}

void* AllocateTestBuffer(int64_t bytes) {
    // Without a heap there is nothing to ask; HeapAlloc would fault on null.
    if (bytes <= 0 || MemoryHeap() == nullptr) return nullptr;
    return g_memoryOs.HeapAlloc(MemoryHeap(), HEAP_ZERO_MEMORY, static_cast<SIZE_T>(bytes));
}

// One pass over the whole block: the fill is not cut into pieces.
void FillTestBuffer(void* buffer, int64_t bytes, int value) {
    if (buffer == nullptr || bytes <= 0) return;
    std::memset(buffer, value & 0xFF, static_cast<size_t>(bytes));
}
