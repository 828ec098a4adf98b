// The selection dialog's door to the shell and the operating system. Tests
// swap the record to fake drives and profile folders or to watch the calls.
#pragma once

#include "system/win.h"

#include <shellapi.h>
#include <shlobj.h>

struct SelectOs {
    HRESULT(WINAPI* SHGetFolderLocation)(HWND, int, HANDLE, DWORD, PIDLIST_ABSOLUTE*);
    BOOL(WINAPI* SHGetPathFromIDListW)(PCIDLIST_ABSOLUTE, LPWSTR);
    void(WINAPI* CoTaskMemFree)(LPVOID);
    DWORD_PTR(WINAPI* SHGetFileInfoW)(LPCWSTR, DWORD, SHFILEINFOW*, UINT, UINT);
    DWORD(WINAPI* GetLogicalDrives)();
    UINT(WINAPI* SetErrorMode)(UINT);
    UINT(WINAPI* GetWindowsDirectoryW)(LPWSTR, UINT);
    HWND(WINAPI* CreateWindowExW)(DWORD, LPCWSTR, LPCWSTR, DWORD, int, int, int, int, HWND, HMENU,
                                  HINSTANCE, LPVOID);
};

extern SelectOs g_selectOs;
extern const SelectOs kRealSelectOs;
