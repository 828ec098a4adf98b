// The test file writer's only door to the operating system. Tests swap the
// record to watch every call or to make one fail; the program never does.
#pragma once

#include "system/win.h"

struct FileOs {
    HANDLE(WINAPI* CreateFileW)(LPCWSTR, DWORD, DWORD, LPSECURITY_ATTRIBUTES, DWORD, DWORD, HANDLE);
    BOOL(WINAPI* WriteFile)(HANDLE, LPCVOID, DWORD, LPDWORD, LPOVERLAPPED);
    DWORD(WINAPI* SetFilePointer)(HANDLE, LONG, PLONG, DWORD);
    BOOL(WINAPI* CloseHandle)(HANDLE);
    BOOL(WINAPI* SetFileAttributesW)(LPCWSTR, DWORD);
    BOOL(WINAPI* DeleteFileW)(LPCWSTR);
    LPVOID(WINAPI* HeapAlloc)(HANDLE, DWORD, SIZE_T);
    BOOL(WINAPI* HeapFree)(HANDLE, DWORD, LPVOID);
    DWORD(WINAPI* GetLastError)();
};

extern FileOs g_fileOs;           // what the writer calls
extern const FileOs kRealFileOs;  // the operating system itself
