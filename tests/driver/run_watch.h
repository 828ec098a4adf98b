// Watches one benchmark run of a started program from outside, as a user
// sees it: the Start button, the label highlights, the figures.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "driver/product_driver.h"

struct RunWatch {
    bool startDisabledBeforeFirstHighlight;
    bool startEnabledDuringRun;  // seen enabled between the first highlight and the end
    // For each task: when its label turned, was its own field still unwritten
    // and the next label not yet highlighted?
    std::vector<bool> highlightedInTurn;
    std::vector<std::wstring> figures;     // fields 90 to 99 after the run
    std::vector<std::wstring> statistics;  // fields 103 to 105 after the run
    bool finished;
};

// Presses Start and watches until the run ends or the time is up. Once the
// label of task duringTask is highlighted, act() runs once.
RunWatch WatchRun(HWND main, uint32_t timeoutMs, int duringTask, const std::function<void()>& act);

bool LabelHighlighted(HWND main, int number);

// Checks that every figure is what the byte count gives for a whole number
// of milliseconds, and that the statistics are those of the rounded figures.
void ExpectConsistentFigures(const RunWatch& watch, int64_t bytesPerTask);
