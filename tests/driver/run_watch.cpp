#include "driver/run_watch.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cwchar>

#include "engine/statistics.h"
#include "system/constants.h"

namespace {

constexpr COLORREF kHighlightOnScreen = RGB(200, 100, 100);

bool FieldWritten(HWND main, int number) {
    std::wstring text = TextOf(GetDlgItem(main, number));
    return text != kFieldPlaceholder && text != L"<no answer>";
}

bool RunFinished(HWND main) {
    return IsWindowEnabled(GetDlgItem(main, kStartButton)) && FieldWritten(main, kAverageField);
}

std::wstring Format(double value) {
    wchar_t text[64];
    swprintf(text, 64, L"%.3f", value);
    return text;
}

}  // namespace

bool LabelHighlighted(HWND main, int number) {
    RECT rect{};
    GetWindowRect(GetDlgItem(main, number), &rect);
    // A corner of the label, away from its centred text.
    return ScreenPixel(rect.left + 2, rect.top + 2) == kHighlightOnScreen;
}

RunWatch WatchRun(HWND main, uint32_t timeoutMs, int duringTask, const std::function<void()>& act) {
    RunWatch watch{};
    watch.startDisabledBeforeFirstHighlight = true;
    HWND start = GetDlgItem(main, kStartButton);
    if (!PressStart(main)) return watch;
    int next = 0;  // the task whose highlight comes next
    bool acted = false;
    watch.finished = WaitUntil(
        [&] {
            if (next < kTasksPerRun && LabelHighlighted(main, kFirstTaskLabel + next)) {
                if (next == 0 && IsWindowEnabled(start)) watch.startDisabledBeforeFirstHighlight = false;
                bool inTurn = !FieldWritten(main, kFirstTaskField + next) &&
                              (next + 1 == kTasksPerRun ||
                               !LabelHighlighted(main, kFirstTaskLabel + next + 1));
                watch.highlightedInTurn.push_back(inTurn);
                ++next;
            }
            if (next > duringTask && !acted) {
                act();
                acted = true;
            }
            if (next == 0) return false;
            if (next == kTasksPerRun && RunFinished(main)) return true;
            if (IsWindowEnabled(start)) watch.startEnabledDuringRun = true;
            return false;
        },
        timeoutMs);
    for (int i = 0; i < kTasksPerRun; ++i) {
        watch.figures.push_back(TextOf(GetDlgItem(main, kFirstTaskField + i)));
    }
    for (int number : {kMinimumField, kMaximumField, kAverageField}) {
        watch.statistics.push_back(TextOf(GetDlgItem(main, number)));
    }
    return watch;
}

void ExpectConsistentFigures(const RunWatch& watch, int64_t bytesPerTask) {
    ASSERT_EQ(watch.figures.size(), static_cast<size_t>(kTasksPerRun));
    std::vector<int64_t> rounded;
    for (const std::wstring& figure : watch.figures) {
        SCOPED_TRACE(std::string(figure.begin(), figure.end()));
        if (figure == L"+Infinity") {  // a task that took less than a millisecond
            rounded.push_back(INT64_MIN);
            continue;
        }
        double shown = _wtof(figure.c_str());
        ASSERT_GT(shown, 0.0);
        // The whole milliseconds this figure stands for, and the figure back.
        double ms = static_cast<double>(bytesPerTask) * 1000.0 / (shown * 1048576.0);
        int64_t wholeMs = std::llround(ms);
        double throughput = ThroughputMBps(bytesPerTask, wholeMs);
        EXPECT_EQ(Format(throughput), figure) << "for " << wholeMs << " ms";
        rounded.push_back(RoundToInt64(throughput));
    }
    int64_t minimum = *std::min_element(rounded.begin(), rounded.end());
    int64_t maximum = *std::max_element(rounded.begin(), rounded.end());
    uint64_t sum = 0;
    for (int64_t r : rounded) sum += static_cast<uint64_t>(r);
    int64_t average = static_cast<int64_t>(sum) / kTasksPerRun;
    ASSERT_EQ(watch.statistics.size(), 3u);
    EXPECT_EQ(watch.statistics[0], Format(static_cast<double>(minimum)));
    EXPECT_EQ(watch.statistics[1], Format(static_cast<double>(maximum)));
    EXPECT_EQ(watch.statistics[2], Format(static_cast<double>(average)));
}
