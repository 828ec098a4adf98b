// Everything a benchmark run calls outside the engine, as one record, so a test
// can run the whole benchmark against fakes (a fake clock, no real 8 GiB) and
// check every call. The program itself uses kRealRunSeam.
#pragma once

#include <cstdint>

#include "system/win.h"

struct RunSeam {
    int64_t testBufferBytes;  // what every task writes: kTestBufferBytes in the program
    void* (*AllocateTestBuffer)(int64_t bytes);
    void (*FillTestBuffer)(void* buffer, int64_t bytes, int value);
    void (*PauseMs)(uint32_t ms);
    int64_t (*NowMs)();
    BOOL (*ForceDelete)(const wchar_t* path);
    HANDLE (*CreateTestFile)(const wchar_t* path);
    int64_t (*WriteChunk)(const void* chunk, int32_t length);
    void (*CloseTestFile)();
    DWORD (*TestFileError)();
    void (*PumpEvents)();
    void (*SetControlText)(int number, const wchar_t* text);
    void (*SetLabelBackground)(int number, uint32_t colour);
    void (*SetControlEnabled)(int number, bool enabled);
    void (*ShowMessage)(const wchar_t* title, const wchar_t* text);
    // The system's own text for the error that stopped a run.
    DWORD(WINAPI* FormatMessageW)(DWORD, LPCVOID, DWORD, DWORD, LPWSTR, DWORD, va_list*);
};

extern RunSeam g_runSeam;
extern const RunSeam kRealRunSeam;
