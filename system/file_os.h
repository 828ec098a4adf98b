// The test file writer's only door to the operating system. Tests swap the
// record to watch every call or to make one fail; the program never does.
#pragma once

#include "system/win.h"

struct FileOs {
    HANDLE(WINAPI* CreateFileW)(LPCWSTR, DWORD, DWORD, LPSECURITY_ATTRIBUTES, DWORD, DWORD, HANDLE);
    BOOL(WINAPI* WriteFile)(HANDLE, LPCVOID, DWORD, LPDWORD, LPOVERLAPPED);
    DWORD(WINAPI* SetFilePointer)(HANDLE, LONG, PLONG, DWORD);
    BOOL(WINAPI* CloseHandle)(HANDLE);
    LPVOID(WINAPI* HeapAlloc)(HANDLE, DWORD, SIZE_T);
    BOOL(WINAPI* HeapFree)(HANDLE, DWORD, LPVOID);
    DWORD(WINAPI* GetLastError)();
    // What a file found at the test path is, and what is done to it through
    // its handle: truncation, attributes, deletion.
    BOOL(WINAPI* GetFileInformationByHandle)(HANDLE, LPBY_HANDLE_FILE_INFORMATION);
    DWORD(WINAPI* GetFinalPathNameByHandleW)(HANDLE, LPWSTR, DWORD, DWORD);
    DWORD(WINAPI* GetFullPathNameW)(LPCWSTR, DWORD, LPWSTR, LPWSTR*);
    BOOL(WINAPI* SetEndOfFile)(HANDLE);
    BOOL(WINAPI* SetFileInformationByHandle)(HANDLE, FILE_INFO_BY_HANDLE_CLASS, LPVOID, DWORD);
};

extern FileOs g_fileOs;           // what the writer calls
extern const FileOs kRealFileOs;  // the operating system itself
