// Runs that cannot write the test file or cannot have the test buffer, and
// the texts that tell the user why.
#include <gtest/gtest.h>

#include <cwchar>
#include <ostream>
#include <string>
#include <vector>

#include "engine/benchmark.h"
#include "engine/failure_text.h"
#include "engine/run_seam.h"
#include "engine_run_recorder.h"
#include "system/constants.h"

namespace {

const wchar_t kPath[] = L"D:\\Varnhold.dat";

class EngineFailure : public ::testing::Test {
protected:
    void SetUp() override {
        saved_ = g_runSeam;
        ResetRunRecorder(kPath);
        g_runSeam = RecordingRunSeam();
        g_run = RunState{};
        g_run.testFilePath = kPath;
        g_runRecorder.script.writeMs = std::vector<int64_t>(100, 2048);
    }
    void TearDown() override {
        g_runSeam = saved_;
        g_run = RunState{};
    }
    // A complete run first, so every field holds a figure a failure must clear.
    void RunOnce() {
        RunBenchmark();
        TakeTrace();
        g_runRecorder.messages.clear();
    }
    RunSeam saved_;
};

std::wstring CompleteRunTrace() {
    std::wstring trace = RunOpeningTrace(false);
    for (int i = 0; i < kTasksPerRun; ++i) trace += GoodTaskTrace(i, L"4000.000");
    return trace + RunClosingTrace(L"4000.000", L"4000.000", L"4000.000");
}

void ExpectIdleAfterFailure() {
    EXPECT_EQ(0, g_run.taskIndex);
    EXPECT_EQ(0.0, g_run.mbps);
    EXPECT_EQ(0, g_run.startMs);
    EXPECT_EQ(0, g_run.elapsedMs);
    EXPECT_EQ(0, g_run.minimum);
    EXPECT_EQ(0, g_run.maximum);
    EXPECT_EQ(0, g_run.average);
    EXPECT_EQ(0u, g_run.failedError);
    EXPECT_TRUE(g_runRecorder.startEnabled);
    EXPECT_FALSE(g_runRecorder.fileOpen);
    EXPECT_FALSE(g_runRecorder.fileOnDisk);
}

TEST_F(EngineFailure, CreationFailingInTaskThreeStopsTheRun) {
    RunOnce();
    g_runRecorder.script.failingCreate = g_runRecorder.creates + 2;
    g_runRecorder.script.error = ERROR_PATH_NOT_FOUND;
    RunBenchmark();

    const std::wstring expected = RunOpeningTrace(false) + GoodTaskTrace(0, L"4000.000") +
                                  GoodTaskTrace(1, L"4000.000") + FailedTaskTrace(2, 0) +
                                  FailedRunClosingTrace(2);
    EXPECT_EQ(expected, TakeTrace());
    ASSERT_EQ(1u, g_runRecorder.messages.size());
    EXPECT_EQ(kMainTitle, g_runRecorder.messages[0].first);
    EXPECT_EQ(std::wstring(kWriteFailedMessage) +
                  L"\rD:\\Varnhold.dat\rThe system cannot find the path specified.",
              g_runRecorder.messages[0].second);
    ExpectIdleAfterFailure();

    // The next run works again, from task 1.
    RunBenchmark();
    EXPECT_EQ(CompleteRunTrace(), TakeTrace());
    EXPECT_EQ(1u, g_runRecorder.messages.size());
}

TEST_F(EngineFailure, ShortWriteInTheMiddleOfTaskFiveStopsWritingAtOnce) {
    RunOnce();
    g_runRecorder.script.shortWriteTask = g_runRecorder.filesWritten + 4;
    g_runRecorder.script.shortWriteChunk = 2000;
    g_runRecorder.script.shortWriteBytes = 1048576;
    g_runRecorder.script.error = ERROR_DISK_FULL;
    RunBenchmark();

    std::wstring expected = RunOpeningTrace(false);
    for (int i = 0; i < 4; ++i) expected += GoodTaskTrace(i, L"4000.000");
    expected += FailedTaskTrace(4, 2001) + FailedRunClosingTrace(4);
    EXPECT_EQ(expected, TakeTrace());
    ASSERT_EQ(1u, g_runRecorder.messages.size());
    EXPECT_EQ(kMainTitle, g_runRecorder.messages[0].first);
    EXPECT_EQ(std::wstring(kWriteFailedMessage) +
                  L"\rD:\\Varnhold.dat\rThere is not enough space on the disk.",
              g_runRecorder.messages[0].second);
    ExpectIdleAfterFailure();

    RunBenchmark();
    EXPECT_EQ(CompleteRunTrace(), TakeTrace());
}

// Where a run fails decides what each field shows afterwards.
struct FailurePoint {
    const char* name;
    int task;          // index of the failing task
    bool creation;     // else a short write
    int chunk;         // the write that comes up short
    int64_t taken;     // what it takes
};

const FailurePoint kFailurePoints[] = {
    {"CreationOfTask1", 0, true, 0, 0},
    {"FirstWriteOfTask1TakesNothing", 0, false, 0, 0},
    {"CreationOfTask10", 9, true, 0, 0},
    {"LastChunkOfTask10OneByteShort", 9, false, 4096, 131071},
    {"FirstChunkOfTask7OneByteShort", 6, false, 0, 2097119},
};

void PrintTo(const FailurePoint& point, std::ostream* out) { *out << point.name; }

class EngineFailurePoint : public EngineFailure,
                           public ::testing::WithParamInterface<FailurePoint> {};

TEST_P(EngineFailurePoint, FailedTaskShowsFailedAndNoOtherFigureStandsBesideIt) {
    const FailurePoint& c = GetParam();
    RunOnce();
    if (c.creation) {
        g_runRecorder.script.failingCreate = g_runRecorder.creates + c.task;
    } else {
        g_runRecorder.script.shortWriteTask = g_runRecorder.filesWritten + c.task;
        g_runRecorder.script.shortWriteChunk = c.chunk;
        g_runRecorder.script.shortWriteBytes = c.taken;
    }
    g_runRecorder.script.error = ERROR_DISK_FULL;
    RunBenchmark();

    // Nothing written after the failure; the file removed after it as after any task.
    const int64_t writesOfFailedRun = g_runRecorder.writes - 10 * 4097;
    EXPECT_EQ(c.task * 4097 + (c.creation ? 0 : c.chunk + 1), writesOfFailedRun);
    EXPECT_EQ(60 + (c.task + 1) * 6, g_runRecorder.deletes);
    for (int i = 0; i < kTasksPerRun; ++i) {
        const wchar_t* expected = i < c.task ? L"4000.000" : i == c.task ? L"Failed" : L"MB/Sec";
        EXPECT_EQ(expected, g_runRecorder.texts[kFirstTaskField + i]) << i;
    }
    for (int field : {kMinimumField, kMaximumField, kAverageField}) {
        EXPECT_EQ(L"MB/Sec", g_runRecorder.texts[field]) << field;
    }
    EXPECT_EQ(1u, g_runRecorder.messages.size());
    ExpectIdleAfterFailure();
}

INSTANTIATE_TEST_SUITE_P(Points, EngineFailurePoint, ::testing::ValuesIn(kFailurePoints),
                         [](const ::testing::TestParamInfo<FailurePoint>& info) {
                             return info.param.name;
                         });

TEST_F(EngineFailure, NoTestBufferMeansNothingFilledOrWrittenAndAMessage) {
    g_runRecorder.script.allocateFails = true;
    RunBenchmark();
    EXPECT_EQ(L"Enabled(14,0) Alloc(8589934592) Message Enabled(14,1)", TakeTrace());
    ASSERT_EQ(1u, g_runRecorder.messages.size());
    EXPECT_EQ(kMainTitle, g_runRecorder.messages[0].first);
    EXPECT_EQ(kNoBufferMessage, g_runRecorder.messages[0].second);
    EXPECT_EQ(nullptr, g_run.testBuffer);
    EXPECT_EQ(L"MB/Sec", g_runRecorder.texts[kFirstTaskField]);
    ExpectIdleAfterFailure();

    // Once memory is free again, the next run obtains the buffer and runs in full.
    g_runRecorder.script.allocateFails = false;
    RunBenchmark();
    std::wstring expected = RunOpeningTrace(true);
    for (int i = 0; i < kTasksPerRun; ++i) expected += GoodTaskTrace(i, L"4000.000");
    expected += RunClosingTrace(L"4000.000", L"4000.000", L"4000.000");
    EXPECT_EQ(expected, TakeTrace());
    EXPECT_EQ(1, g_runRecorder.allocations);
}

// ---- The system's text of an error ----

const wchar_t* g_systemText = nullptr;  // what the fake system answers; null fails
int g_formatCalls = 0;

DWORD WINAPI ScriptedFormatMessage(DWORD flags, LPCVOID, DWORD, DWORD, LPWSTR buffer, DWORD size,
                                   va_list*) {
    ++g_formatCalls;
    EXPECT_EQ(static_cast<DWORD>(FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS), flags);
    if (g_systemText == nullptr || std::wcslen(g_systemText) >= size) return 0;
    std::wcscpy(buffer, g_systemText);
    return static_cast<DWORD>(std::wcslen(g_systemText));
}

struct ErrorText {
    const wchar_t* system;
    const wchar_t* shown;
};

const ErrorText kErrorTexts[] = {
    {L"There is not enough space on the disk.\r\n", L"There is not enough space on the disk."},
    {L"No line end", L"No line end"},
    {L"First line.\r\nSecond line.\r\n\r\n", L"First line.\rSecond line."},
    {L"Bare\nline feeds\n", L"Bare\rline feeds"},
    {L"\r\n", L"System error code 112"},  // nothing left: the code itself
    {nullptr, L"System error code 112"},   // the system knows no text
};

TEST(EngineErrorText, SystemTextWithLoneCarriageReturnsAndNoLineEnd) {
    const RunSeam saved = g_runSeam;
    g_runSeam.FormatMessageW = ScriptedFormatMessage;
    for (const ErrorText& c : kErrorTexts) {
        SCOPED_TRACE(c.shown);
        g_systemText = c.system;
        EXPECT_EQ(c.shown, SystemErrorText(ERROR_DISK_FULL));
    }
    g_formatCalls = 0;
    EXPECT_EQ(kNoReasonText, SystemErrorText(0));  // code 0 would read as success
    EXPECT_EQ(0, g_formatCalls);
    g_runSeam = saved;
}

TEST(EngineErrorText, RealSystemTextOfAFullDisk) {
    const std::wstring text = SystemErrorText(ERROR_DISK_FULL);
    EXPECT_FALSE(text.empty());
    EXPECT_EQ(std::wstring::npos, text.find(L'\n'));
    EXPECT_NE(L'\r', text.back());
    EXPECT_EQ(std::wstring::npos, text.find(kErrorCodeText)) << "the system had no text";
}

TEST(EngineErrorText, MessageNamesWhatHappenedTheFileAndWhy) {
    EXPECT_EQ(std::wstring(kWriteFailedMessage) + L"\rE:\\Varnhold.dat\rAccess is denied.",
              WriteFailureMessage(L"E:\\Varnhold.dat", L"Access is denied."));
}

}  // namespace
