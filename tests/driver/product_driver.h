// Drives a built program of this project from another process in the same
// Wine prefix, as a user would: through its windows only.
#pragma once

#include <functional>
#include <string>
#include <vector>

#include "system/win.h"

constexpr wchar_t kProductExe[] = L"Varnhold.exe";
constexpr wchar_t kSmallProductExe[] = L"VarnholdSmall.exe";          // 64 MiB per task
constexpr wchar_t kLowMemoryProductExe[] = L"VarnholdLowMemory.exe";  // exactly 8 GiB free
constexpr wchar_t kMessageBoxClass[] = L"#32770";
constexpr wchar_t kDialogClass[] = L"WindowClass_106";
constexpr wchar_t kMainClass[] = L"WindowClass_79";
constexpr DWORD kWindowWaitMs = 20000;

struct Product {
    PROCESS_INFORMATION process;
    bool started;
};

// ---- The process ----
bool StartProduct(const wchar_t* exeName, Product* product);
void EndProduct(Product* product);  // ends it if it still runs
DWORD WaitForExit(const Product& product, DWORD timeoutMs);  // STILL_ACTIVE on time-out

// ---- Finding its windows ----
bool WaitUntil(const std::function<bool()>& condition, DWORD timeoutMs);
std::vector<HWND> VisibleWindowsOf(const Product& product);
HWND WaitForWindow(const Product& product, const wchar_t* className, DWORD timeoutMs);
// The dialog and the main window once their last control is made.
HWND WaitForDialog(const Product& product);
HWND WaitForMainWindow(const Product& product);

// ---- Reading windows ----
std::wstring ClassOf(HWND window);
std::wstring TextOf(HWND window);             // WM_GETTEXT
std::wstring MessageBoxText(HWND box);        // the static text, control 0xFFFF
RECT ChildRect(HWND parent, int id);          // in the parent's client coordinates
POINT ClientOrigin(HWND window);              // on the screen
HWND FocusedWindow(const Product& product);   // of its user-interface thread
int ScreenDpi();
int Scale(int logical);                       // as the program scales, at the screen's dpi
COLORREF ScreenPixel(int x, int y);

// ---- Acting ----
// A press or close request that arrives while start-up drains its last
// messages is dropped, as the program drops any event then; so the action is
// repeated until the condition shows that the program took it.
bool RepeatUntil(const std::function<void()>& action, const std::function<bool()>& taken,
                 DWORD timeoutMs);
bool CloseMainWindow(const Product& product, HWND main);  // true once it ended with code 0
void Press(HWND button);                      // posted BM_CLICK
bool PressStart(HWND main);                   // true once the run has disabled Start
void CloseMessageBox(HWND box);               // posted IDOK
void KeyPress(WORD key, bool withAlt = false, bool withShift = false);  // real keyboard input

// ---- The usual way in ----
// Closes the info box, confirms the dialog with OK and returns the main window.
HWND PassInfoAndDialog(const Product& product);
// Confirms the dialog's item with that index as a user does: opens the list,
// moves to it and takes it with Enter; again while the list's text does not
// show the path text expected (a list opened while the dialog is still being
// activated closes again unconfirmed).
bool ConfirmDriveItem(HWND driveList, int index, const std::wstring& pathText);
int DriveItemIndex(wchar_t letter);  // the drive's place among the logical drives
std::wstring ProductPath(const wchar_t* exeName);
std::wstring BrowserLogPath();  // where the prefix's stand-in browser notes addresses
