// Runs against the real system under Wine: real windows, a real test file in
// a temporary folder, a buffer small enough to keep the test quick. Only the
// pauses are replaced (by a note of their length), so ten tasks take
// seconds, not half a minute; the clock and the file size are read through.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <cwchar>
#include <string>
#include <vector>

#include "engine/benchmark.h"
#include "engine/run_seam.h"
#include "engine/statistics.h"
#include "system/clock.h"
#include "system/constants.h"
#include "system/memory.h"
#include "system/writer.h"
#include "system/win.h"
#include "ui/gui.h"

namespace {

// 32 full chunks and a last one of the program's last-chunk size.
constexpr int64_t kSmallBufferBytes = 32 * kChunkBytes + kLastChunkBytes;

std::vector<uint32_t> g_pauses;
std::vector<int64_t> g_readings;
std::vector<int64_t> g_closedFileBytes;
std::vector<std::pair<std::wstring, std::wstring>> g_messages;
std::wstring g_path;

void NotePause(uint32_t ms) { g_pauses.push_back(ms); }

int64_t ReadClock() {
    const int64_t now = NowMs();
    g_readings.push_back(now);
    return now;
}

// The size the task left on the drive, seen between closing and deleting.
void CloseAndMeasure() {
    CloseTestFile();
    WIN32_FILE_ATTRIBUTE_DATA data = {};
    int64_t bytes = -1;
    if (GetFileAttributesExW(g_path.c_str(), GetFileExInfoStandard, &data)) {
        bytes = (static_cast<int64_t>(data.nFileSizeHigh) << 32) | data.nFileSizeLow;
    }
    g_closedFileBytes.push_back(bytes);
}

// A message box would wait for a click that never comes.
void NoteMessage(const wchar_t* title, const wchar_t* text) { g_messages.emplace_back(title, text); }

// For failure reports; the texts here are plain ASCII.
std::string Narrow(const std::wstring& text) { return std::string(text.begin(), text.end()); }

std::wstring Num2(int n) { return (n < 10 ? L"0" : L"") + std::to_wstring(n); }

// This thread's main window: another test process may show one of the same
// class and title on the same desktop.
HWND OwnMainWindow() {
    HWND found = nullptr;
    EnumThreadWindows(
        GetCurrentThreadId(),
        [](HWND window, LPARAM result) -> BOOL {
            wchar_t name[64] = {};
            GetClassNameW(window, name, 64);
            if (std::wstring(name) != L"WindowClass_" + std::to_wstring(kMainWindow)) return TRUE;
            *reinterpret_cast<HWND*>(result) = window;
            return FALSE;
        },
        reinterpret_cast<LPARAM>(&found));
    return found;
}

class EngineRealRun : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(CreateGeneralHeap());
        ASSERT_TRUE(CreateMemoryHeap());
        SetUpWindowing(GetModuleHandleW(nullptr));
        ASSERT_TRUE(OpenProgramWindow(kMainWindow, kMainWindowX, kMainWindowY, kMainClientWidth,
                                      kMainClientHeight, kMainTitle));
        for (int i = 0; i < kTasksPerRun; ++i) {
            const std::wstring label = L"Task " + Num2(i + 1) + L" MB/Sec";
            ASSERT_TRUE(AddControl(ControlKind::Label, kFirstTaskLabel + i, 16, 22 + 40 * i, 120,
                                   16, label.c_str()));
            ASSERT_TRUE(AddControl(ControlKind::ValueField, kFirstTaskField + i, 150, 20 + 40 * i,
                                   140, 20, kFieldPlaceholder));
        }
        for (int field : {kMinimumField, kMaximumField, kAverageField}) {
            ASSERT_TRUE(AddControl(ControlKind::ValueField, field, 150, 420 + 30 * (field - kMinimumField),
                                   140, 20, kFieldPlaceholder));
        }
        ASSERT_TRUE(AddControl(ControlKind::Button, kStartButton, 16, 510, 120, 30, kStartText));
        window_ = OwnMainWindow();
        ASSERT_NE(nullptr, window_);

        wchar_t temp[MAX_PATH];
        ASSERT_NE(0u, GetTempPathW(MAX_PATH, temp));
        LARGE_INTEGER count = {};
        QueryPerformanceCounter(&count);
        folder_ = std::wstring(temp) + L"varnhold-engine-" + std::to_wstring(GetCurrentProcessId()) +
                  L"-" + std::to_wstring(count.QuadPart) + L"\\";
        ASSERT_TRUE(CreateDirectoryW(folder_.c_str(), nullptr));

        saved_ = g_runSeam;
        g_runSeam.testBufferBytes = kSmallBufferBytes;
        g_runSeam.PauseMs = NotePause;
        g_runSeam.NowMs = ReadClock;
        g_runSeam.CloseTestFile = CloseAndMeasure;
        g_runSeam.ShowMessage = NoteMessage;
        g_pauses.clear();
        g_readings.clear();
        g_closedFileBytes.clear();
        g_messages.clear();
        g_run = RunState{};
    }

    void TearDown() override {
        g_runSeam = saved_;
        CloseProgramWindow(kMainWindow);
        TearDownWindowing();
        DestroyMemoryHeap();  // releases the test buffer
        DestroyGeneralHeap();
        g_run = RunState{};
        RemoveDirectoryW(folder_.c_str());
    }

    std::wstring Shown(int number) {
        wchar_t text[256] = {};
        GetWindowTextW(GetDlgItem(window_, number), text, 256);
        return text;
    }

    HWND window_ = nullptr;
    std::wstring folder_;
    RunSeam saved_;
};

TEST_F(EngineRealRun, FiguresShownMatchTheBytesAndTheMeasuredTimes) {
    g_path = folder_ + kTestFileName;
    g_run.testFilePath = g_path.c_str();
    RunBenchmark();

    std::vector<uint32_t> pauses = {kPauseBeforeFirstTaskMs};
    for (int i = 0; i < kTasksPerRun; ++i) pauses.insert(pauses.end(), 3, kPauseInTaskMs);
    pauses.push_back(kPauseAfterLastTaskMs);
    EXPECT_EQ(pauses, g_pauses);
    for (const auto& message : g_messages) ADD_FAILURE() << Narrow(message.second);
    ASSERT_EQ(2u * kTasksPerRun, g_readings.size());
    EXPECT_EQ(std::vector<int64_t>(kTasksPerRun, kSmallBufferBytes), g_closedFileBytes);

    for (int i = 0; i < kTasksPerRun; ++i) {
        SCOPED_TRACE(i);
        const int64_t elapsedMs = g_readings[2 * i + 1] - g_readings[2 * i];
        ASSERT_GE(elapsedMs, 0);
        const std::wstring shown = Shown(kFirstTaskField + i);
        if (elapsedMs == 0) {
            EXPECT_EQ(L"+Infinity", shown);
            EXPECT_EQ(INT64_MIN, g_run.results[i]);
            continue;
        }
        const double mbps = kSmallBufferBytes * 1000.0 / elapsedMs / 1048576.0;
        const size_t point = shown.find(L'.');
        ASSERT_NE(std::wstring::npos, point) << Narrow(shown);
        EXPECT_EQ(point + 4, shown.size()) << Narrow(shown);
        EXPECT_NEAR(mbps, std::wcstod(shown.c_str(), nullptr), 0.0005 + mbps * 1e-12) << Narrow(shown);
        EXPECT_NEAR(mbps, static_cast<double>(g_run.results[i]), 0.5 + mbps * 1e-12);
        std::printf("task %d: %lld ms, %ls MB/Sec\n", i + 1, static_cast<long long>(elapsedMs),
                    shown.c_str());
    }

    const int64_t* r = g_run.results;
    const int64_t minimum = *std::min_element(r, r + kTasksPerRun);
    const int64_t maximum = *std::max_element(r, r + kTasksPerRun);
    int64_t sum = 0;
    for (int i = 0; i < kTasksPerRun; ++i) sum += r[i];
    EXPECT_EQ(std::to_wstring(minimum) + L".000", Shown(kMinimumField));
    EXPECT_EQ(std::to_wstring(maximum) + L".000", Shown(kMaximumField));
    EXPECT_EQ(std::to_wstring(sum / kTasksPerRun) + L".000", Shown(kAverageField));

    EXPECT_EQ(INVALID_FILE_ATTRIBUTES, GetFileAttributesW(g_path.c_str())) << "test file left behind";
    EXPECT_TRUE(IsWindowEnabled(GetDlgItem(window_, kStartButton)));
    EXPECT_TRUE(g_messages.empty());
    EXPECT_EQ(0, g_run.taskIndex);
}

TEST_F(EngineRealRun, FolderThatIsGoneGivesFailedAndTheSystemsReason) {
    g_path = folder_ + L"gone\\" + kTestFileName;
    g_run.testFilePath = g_path.c_str();
    RunBenchmark();

    EXPECT_EQ(kFailedText, Shown(kFirstTaskField));
    for (int i = 1; i < kTasksPerRun; ++i) EXPECT_EQ(kFieldPlaceholder, Shown(kFirstTaskField + i)) << i;
    EXPECT_EQ(kFieldPlaceholder, Shown(kAverageField));
    ASSERT_EQ(1u, g_messages.size());
    EXPECT_EQ(kMainTitle, g_messages[0].first);
    const std::wstring& text = g_messages[0].second;
    const std::wstring opening = std::wstring(kWriteFailedMessage) + L"\r" + g_path + L"\r";
    ASSERT_EQ(0u, text.find(opening)) << text;
    const std::wstring reason = text.substr(opening.size());
    std::printf("reason: %ls\n", reason.c_str());
    EXPECT_FALSE(reason.empty());
    EXPECT_EQ(std::wstring::npos, reason.find(L'\n'));
    EXPECT_EQ(std::wstring::npos, reason.find(kErrorCodeText)) << "the system gave no text: " << reason;
    EXPECT_TRUE(g_closedFileBytes.empty() || g_closedFileBytes[0] == -1);
    EXPECT_TRUE(IsWindowEnabled(GetDlgItem(window_, kStartButton)));
    EXPECT_EQ(0, g_run.taskIndex);
}

}  // namespace
