// The benchmark run: ten timed tasks started by the Start button.
#pragma once

#include <cstdint>

#include "system/constants.h"

struct RunState {
    int64_t taskIndex;  // next task, 0 to 9
    char* testBuffer;
    int64_t bufferSize;
    char* writePos;
    char* writeEnd;
    int64_t chunkLen;
    int64_t startMs;
    int64_t elapsedMs;
    double mbps;
    int64_t results[kTaskResultCount];  // rounded MB/s; element i is task i + 1
    int64_t minimum;
    int64_t maximum;
    int64_t average;
    const wchar_t* testFilePath;  // built once at start-up
    uint32_t failedError;  // the system's code for the failure that stopped a task; 0 otherwise
};

extern RunState g_run;

void RunBenchmark();
// One task; false when the test file could not be created or written, after
// the file has been closed and removed again.
bool RunTask();
