// A stand-in for the window machinery's seam: notes every call, then either
// passes it to the system or answers as a test asks.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "ui/gui_os.h"

enum class UiCall {
    RegisterClass, CreateWindow, SystemParametersInfo, CreateSolidBrush, DeleteObject,
    PeekMessage, GetMessage, MessageBox, CreateProcess, ShellExecute,
};

// What each call notes:
//   RegisterClass         text class name; a style; b background brush; icon, cursor
//   CreateWindow          text class; title; a style; b extended style; handle parent
//   SystemParametersInfo  a action; b size argument; c cbSize of the record
//   CreateSolidBrush      a colour; handle the brush made
//   DeleteObject          handle the object
//   PeekMessage           a flags; b, c message range; handle window filter
//   GetMessage            b, c message range; handle window filter
//   MessageBox            text; title; a type; handle owner
//   CreateProcess         text command line; title application name; a creation flags;
//                         b STARTUPINFOW with only cb, dwFlags, wShowWindow set (1) or not (0);
//                         c cb | dwFlags << 16 | wShowWindow << 32; d inherit handles
//   ShellExecute          text file; title parameters ("(null)" for none); a cbSize; b fMask;
//                         c nShow; d 1 when hwnd, verb and class are all null; more directory
struct UiCallRecord {
    UiCall call;
    std::wstring text;
    std::wstring title;
    std::wstring more;
    uint64_t a;
    uint64_t b;
    uint64_t c;
    uint64_t d;
    HANDLE handle;
    HICON icon;
    HCURSOR cursor;
};

enum class ProcessAnswer { Real, Fail, Succeed };

struct UiOsAnswers {
    std::wstring failWindowClass = {};  // CreateWindowExW of this class returns null
    bool failSystemParameters = false;
    bool fakeMessageBox = false;        // answer IDOK at once instead of showing a box
    void (*duringMessageBox)() = nullptr;  // runs inside the faked box
    ProcessAnswer createProcess = ProcessAnswer::Real;
    bool fakeShell = false;             // answer TRUE with a process handle of our own
};

struct UiOsRecorder {
    UiOsAnswers answers;
    std::vector<UiCallRecord> calls;
    HANDLE startedThread = nullptr;     // handles a faked start hands out
    HANDLE startedProcess = nullptr;
    HANDLE shellProcess = nullptr;
};

extern UiOsRecorder g_uiRecorder;

void InstallUiOsRecorder(const UiOsAnswers& answers);  // fresh record, g_uiOs swapped
void RemoveUiOsRecorder();                             // g_uiOs back to the real one
int CountUiCalls(UiCall call);
std::vector<UiCallRecord> UiCallsOf(UiCall call);
