// The general heap serves small allocations such as the write buffer; the
// memory heap holds the test buffer alone, so destroying it releases that.
#include "system/constants.h"
#include "system/memory.h"
#include "system/memory_os.h"

namespace {

HANDLE g_generalHeap = nullptr;
HANDLE g_memoryHeap = nullptr;

bool CreateHeapInto(HANDLE* heap) {
    *heap = g_memoryOs.HeapCreate(kHeapCreateOptions, kHeapInitialBytes, kHeapMaximumBytes);
    return *heap != nullptr;
}

void DestroyHeapAt(HANDLE* heap) {
    if (*heap == nullptr) return;
    g_memoryOs.HeapDestroy(*heap);
    *heap = nullptr;
}

}  // namespace

bool CreateGeneralHeap() { return CreateHeapInto(&g_generalHeap); }
bool CreateMemoryHeap() { return CreateHeapInto(&g_memoryHeap); }
void DestroyMemoryHeap() { DestroyHeapAt(&g_memoryHeap); }
void DestroyGeneralHeap() { DestroyHeapAt(&g_generalHeap); }
HANDLE GeneralHeap() { return g_generalHeap; }
HANDLE MemoryHeap() { return g_memoryHeap; }
