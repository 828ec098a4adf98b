// Everything start-up, the event loop and shut-down call outside themselves,
// as one record, so a test can run the program's whole life against fakes and
// check the order of every step. The program itself uses kRealStartupSeam.
#pragma once

#include <cstdint>
#include <optional>
#include <string>

#include "system/win.h"
#include "ui/gui.h"

struct StartupSeam {
    HMODULE(WINAPI* GetModuleHandleW)(LPCWSTR);
    bool (*CreateGeneralHeap)();
    bool (*CreateMemoryHeap)();
    void (*SetUpWindowing)(HINSTANCE instance);
    uint64_t (*QueryFreePhysicalMemory)();
    void (*ShowMessage)(const wchar_t* title, const wchar_t* text);
    std::optional<std::wstring> (*SelectTargetFolder)();
    BOOL (*ForceDelete)(const wchar_t* path);
    bool (*OpenProgramWindow)(int number, int x, int y, int clientWidth, int clientHeight,
                              const wchar_t* title);
    bool (*AddControl)(ControlKind kind, int number, int x, int y, int width, int height,
                       const wchar_t* text);
    void (*PumpEvents)();
    Event (*WaitEvent)();
    void (*OpenDocument)(const wchar_t* address);
    void (*RunBenchmark)();
    void (*TearDownWindowing)();
    void (*CloseTestFile)();
    void (*DestroyMemoryHeap)();
    void (*DestroyGeneralHeap)();
};

extern StartupSeam g_startupSeam;
extern const StartupSeam kRealStartupSeam;
