// The window machinery's door to the calls a test needs to watch or to make
// fail. Tests swap the record; the program never does. Other user32 and gdi32
// calls are made directly.
#pragma once

#include "system/win.h"

// Shell, common controls and COM stay outside the lean Windows header.
#include <commctrl.h>
#include <objbase.h>
#include <shellapi.h>

struct UiOs {
    ATOM(WINAPI* RegisterClassW)(const WNDCLASSW*);
    HWND(WINAPI* CreateWindowExW)(DWORD, LPCWSTR, LPCWSTR, DWORD, int, int, int, int, HWND, HMENU,
                                  HINSTANCE, LPVOID);
    BOOL(WINAPI* SystemParametersInfoW)(UINT, UINT, PVOID, UINT);
    HBRUSH(WINAPI* CreateSolidBrush)(COLORREF);
    BOOL(WINAPI* DeleteObject)(HGDIOBJ);
    BOOL(WINAPI* PeekMessageW)(LPMSG, HWND, UINT, UINT, UINT);
    BOOL(WINAPI* GetMessageW)(LPMSG, HWND, UINT, UINT);
    int(WINAPI* MessageBoxW)(HWND, LPCWSTR, LPCWSTR, UINT);
    BOOL(WINAPI* CreateProcessW)(LPCWSTR, LPWSTR, LPSECURITY_ATTRIBUTES, LPSECURITY_ATTRIBUTES, BOOL,
                                 DWORD, LPVOID, LPCWSTR, LPSTARTUPINFOW, LPPROCESS_INFORMATION);
    BOOL(WINAPI* ShellExecuteExW)(SHELLEXECUTEINFOW*);
};

extern UiOs g_uiOs;           // what the machinery calls
extern const UiOs kRealUiOs;  // the operating system itself
