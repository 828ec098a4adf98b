// The memory, heap and clock services' only door to the operating system.
// Tests swap the record to watch the calls or to fake a result.
#pragma once

#include "system/win.h"

struct MemoryOs {
    BOOL(WINAPI* GlobalMemoryStatusEx)(LPMEMORYSTATUSEX);
    HANDLE(WINAPI* HeapCreate)(DWORD, SIZE_T, SIZE_T);
    LPVOID(WINAPI* HeapAlloc)(HANDLE, DWORD, SIZE_T);
    BOOL(WINAPI* HeapDestroy)(HANDLE);
    BOOL(WINAPI* QueryPerformanceFrequency)(LARGE_INTEGER*);
    BOOL(WINAPI* QueryPerformanceCounter)(LARGE_INTEGER*);
    DWORD(WINAPI* GetTickCount)();
    void(WINAPI* Sleep)(DWORD);
    UINT(WINAPI* timeBeginPeriod)(UINT);
};

extern MemoryOs g_memoryOs;
extern const MemoryOs kRealMemoryOs;
