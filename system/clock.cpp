#include "system/clock.h"

#include "system/constants.h"
#include "system/memory_os.h"

ClockState g_clock = {0, 0, false};

// Counts per millisecond are truncated, so a frequency that is not a multiple
// of 1000 makes the clock run slightly fast; callers only take differences.
int64_t NowMs() {
    LARGE_INTEGER count;
    if (g_clock.countsPerMs == 0) {
        LARGE_INTEGER frequency;
        if (g_memoryOs.QueryPerformanceFrequency(&frequency)) {
            g_clock.countsPerMs = frequency.QuadPart / kClockMsPerSecond;
            g_memoryOs.QueryPerformanceCounter(&count);
            g_clock.baseCount = count.QuadPart;
        }
    }
    // A missing or too slow counter: tick count now, the counter again next time.
    if (g_clock.countsPerMs == 0) return static_cast<int64_t>(g_memoryOs.GetTickCount());
    g_memoryOs.QueryPerformanceCounter(&count);
    return (count.QuadPart - g_clock.baseCount) / g_clock.countsPerMs;
}

// The 1 ms period is raised once and kept until the process ends; a failure
// to raise it is not retried.
void PauseMs(uint32_t ms) {
    if (!g_clock.timerPeriodRaised) {
        g_memoryOs.timeBeginPeriod(kTimerPeriodMs);
        g_clock.timerPeriodRaised = true;
    }
    g_memoryOs.Sleep(ms);
}
