// One pass through the program's own task against the bare Win32 pattern it
// makes, and that pattern against a raw write loop.
#include <cstdio>
#include <string>

#include "bench/bench.h"
#include "bench/samples.h"
#include "engine/benchmark.h"
#include "engine/run_seam.h"
#include "system/constants.h"
#include "system/memory.h"
#include "system/win.h"
#include "system/writer.h"
#include "ui/gui.h"

namespace {

double g_clockReadings[2];
int g_clockReadCount;

// The task's two clock readings, taken again at full resolution.
int64_t NowMsRecorded() {
    g_clockReadings[g_clockReadCount++ % 2] = SecondsNow();
    return kRealRunSeam.NowMs();
}

void NoPause(uint32_t) {}

double MBps(int64_t bytes, double seconds) { return bytes / seconds / 1048576.0; }

void DeleteThreeTimes(const wchar_t* path) {
    for (int i = 0; i < 3; ++i) ForceDelete(path);
}

double OurPass(int64_t bytes) {
    g_clockReadCount = 0;
    g_run.taskIndex = 0;
    RunTask();
    return MBps(bytes, g_clockReadings[1] - g_clockReadings[0]);
}

void Drain() {
    MSG msg;
    while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE | PM_NOYIELD)) {
        TranslateMessage(&msg);
        DispatchMessageW(&msg);
    }
}

// The same Win32 calls a task makes, with nothing around them.
double PatternPass(const wchar_t* path, const char* buffer, int64_t bytes, bool drains) {
    static char zero[1];
    DeleteThreeTimes(path);
    const double start = SecondsNow();
    HANDLE file = CreateFileW(path, GENERIC_READ | GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) return 0.0;
    DWORD written = 0;
    for (int64_t pos = 0; pos < bytes;) {
        const int64_t length = bytes - pos < kChunkBytes ? bytes - pos : kChunkBytes;
        if (drains) {
            Drain();
            if (pos == 0) {
                LONG high = 0;
                SetFilePointer(file, 0, &high, FILE_CURRENT);
            }
            WriteFile(file, zero, 0, &written, nullptr);
        }
        WriteFile(file, buffer + pos, static_cast<DWORD>(length), &written, nullptr);
        pos += length;
    }
    if (drains) WriteFile(file, zero, 0, &written, nullptr);
    CloseHandle(file);
    const double seconds = SecondsNow() - start;
    DeleteThreeTimes(path);
    return MBps(bytes, seconds);
}

bool OpenTaskWindow() {
    if (!OpenProgramWindow(kMainWindow, kMainWindowX, kMainWindowY, kMainClientWidth,
                           kMainClientHeight, kMainTitle)) {
        return false;
    }
    for (int i = 0; i < kTasksPerRun; ++i) {
        AddControl(ControlKind::Label, kFirstTaskLabel + i, kTaskLabelX,
                   kTaskLabelFirstY + kTaskRowPitch * i, kTaskLabelWidth, kTaskLabelHeight,
                   kTaskLabelTexts[i]);
    }
    for (int i = 0; i < kTasksPerRun; ++i) {
        AddControl(ControlKind::ValueField, kFirstTaskField + i, kFieldX,
                   kTaskFieldFirstY + kTaskRowPitch * i, kFieldWidth, kFieldHeight,
                   kFieldPlaceholder);
    }
    PumpEvents();
    return true;
}

}  // namespace

bool BenchPasses(const BenchOptions& options) {
    const std::wstring path = options.folder + kTestFileName;
    if (!OpenTaskWindow()) {
        std::printf("  no window: passes skipped\n");
        return false;
    }
    char* buffer = static_cast<char*>(AllocateTestBuffer(options.passBytes));
    if (buffer == nullptr) {
        std::printf("  no test buffer of %lld bytes: passes skipped\n",
                    static_cast<long long>(options.passBytes));
        return false;
    }
    FillTestBuffer(buffer, options.passBytes, kFillByte);

    g_runSeam.testBufferBytes = options.passBytes;
    g_runSeam.NowMs = NowMsRecorded;
    g_runSeam.PauseMs = NoPause;
    g_run.testFilePath = path.c_str();
    g_run.testBuffer = buffer;
    g_run.bufferSize = options.passBytes;

    Samples ours{"our task (RunTask, window, PumpEvents)", "MB/s", {}};
    Samples pattern{"bare pattern (same Win32 calls)", "MB/s", {}};
    Samples raw{"raw write loop (no drains, no 0-byte writes)", "MB/s", {}};
    for (int rep = 0; rep < options.reps; ++rep) {
        ours.values.push_back(OurPass(options.passBytes));
        pattern.values.push_back(PatternPass(path.c_str(), buffer, options.passBytes, true));
        raw.values.push_back(PatternPass(path.c_str(), buffer, options.passBytes, false));
    }
    g_runSeam = kRealRunSeam;
    const double peakMiB = PeakWorkingSetMiB();
    HeapFree(MemoryHeap(), 0, buffer);
    g_run.testBuffer = nullptr;

    PrintHeader("1. one pass: our task against the bare pattern");
    PrintSamples(ours);
    PrintSamples(pattern);
    PrintRatio("ours / pattern (throughput)", ours, pattern, ">= 0.99");

    PrintHeader("2. the pattern against a raw write loop");
    PrintSamples(pattern);
    PrintSamples(raw);
    PrintRatio("pattern / raw (throughput)", pattern, raw, "(none: shows the drains' cost)");
    const double share = 1.0 - MedianOf(pattern) / MedianOf(raw);
    std::printf("  share of a pass spent in drains and 0-byte writes: %.1f %%\n", share * 100.0);

    std::printf("\n== 5. memory\n  peak working set after the passes: %.1f MiB (buffer %.1f MiB)"
                "  target <= buffer + 32 MiB\n",
                peakMiB, options.passBytes / 1048576.0);
    return MedianOf(ours) > 0.0 && MedianOf(pattern) > 0.0 && MedianOf(raw) > 0.0;
}
