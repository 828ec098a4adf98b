#include "system/memory_os.h"

const MemoryOs kRealMemoryOs = {
    ::GlobalMemoryStatusEx,    ::HeapCreate,   ::HeapAlloc, ::HeapDestroy,
    ::QueryPerformanceFrequency, ::QueryPerformanceCounter, ::GetTickCount,
    ::Sleep,                   ::timeBeginPeriod,
};

MemoryOs g_memoryOs = kRealMemoryOs;
