// Millisecond clock and pauses at a 1 ms timer resolution.
#pragma once

#include <cstdint>

struct ClockState {
    int64_t countsPerMs;  // 0 until the performance counter has been read
    int64_t baseCount;    // the counter at the first reading
    bool timerPeriodRaised;
};

extern ClockState g_clock;

int64_t NowMs();  // whole milliseconds since the first reading
void PauseMs(uint32_t ms);
