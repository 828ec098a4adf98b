// Whole runs against the recording seam: every call in its order, what the
// window shows, and a second run.
#include <gtest/gtest.h>

#include <string>

#include "engine/benchmark.h"
#include "engine/run_seam.h"
#include "engine_run_recorder.h"

namespace {

const wchar_t kPath[] = L"D:\\Varnhold.dat";

class EngineRun : public ::testing::Test {
protected:
    void SetUp() override {
        saved_ = g_runSeam;
        ResetRunRecorder(kPath);
        g_runSeam = RecordingRunSeam();
        g_run = RunState{};
        g_run.testFilePath = kPath;
    }
    void TearDown() override {
        g_runSeam = saved_;
        g_run = RunState{};
    }
    RunSeam saved_;
};

void ExpectWorkingValuesClear() {
    EXPECT_EQ(0, g_run.taskIndex);
    EXPECT_EQ(0.0, g_run.mbps);
    EXPECT_EQ(0, g_run.startMs);
    EXPECT_EQ(0, g_run.elapsedMs);
    EXPECT_EQ(0, g_run.minimum);
    EXPECT_EQ(0, g_run.maximum);
    EXPECT_EQ(0, g_run.average);
}

TEST_F(EngineRun, TenTasksMakeEveryCallInOrder) {
    // The fake clock also moves by every pause, so a reading on the wrong
    // side of one would change the figures.
    g_runRecorder.script.writeMs = {2290, 2291, 131072, 655360, 2290, 2290, 2290, 2290, 2290, 2290};
    const std::wstring texts[kTasksPerRun] = {L"3577.293", L"3575.731", L"62.500", L"12.500",
                                              L"3577.293", L"3577.293", L"3577.293", L"3577.293",
                                              L"3577.293", L"3577.293"};
    RunBenchmark();

    std::wstring expected = RunOpeningTrace(true);
    for (int i = 0; i < kTasksPerRun; ++i) expected += GoodTaskTrace(i, texts[i]);
    expected += RunClosingTrace(L"12.000", L"3577.000", L"2868.000");
    EXPECT_EQ(expected, TakeTrace());

    EXPECT_EQ(10 * 4097, g_runRecorder.writes);
    EXPECT_EQ(60, g_runRecorder.deletes);
    EXPECT_EQ(0, g_runRecorder.misplacedCalls);  // chunks back to back from the buffer's start
    EXPECT_FALSE(g_runRecorder.fileOnDisk);
    EXPECT_TRUE(g_runRecorder.messages.empty());

    for (int i = 0; i < kTasksPerRun; ++i) {
        EXPECT_EQ(texts[i], g_runRecorder.texts[kFirstTaskField + i]);
        EXPECT_EQ(kHighlightColour, g_runRecorder.highlights[kFirstTaskLabel + i]);
    }
    EXPECT_EQ(L"12.000", g_runRecorder.texts[kMinimumField]);
    EXPECT_EQ(L"3577.000", g_runRecorder.texts[kMaximumField]);
    EXPECT_EQ(L"2868.000", g_runRecorder.texts[kAverageField]);
    EXPECT_TRUE(g_runRecorder.startEnabled);

    const int64_t stored[kTaskResultCount] = {3577, 3576, 62, 12, 3577, 3577, 3577, 3577, 3577, 3577, 0};
    for (int i = 0; i < kTaskResultCount; ++i) EXPECT_EQ(stored[i], g_run.results[i]) << i;
    ExpectWorkingValuesClear();
    EXPECT_EQ(FakeTestBuffer(), g_run.testBuffer);
    EXPECT_EQ(kTestBufferBytes, g_run.bufferSize);
}

TEST_F(EngineRun, SecondRunStartsAtTaskOneWithTheSameBufferAndFreshStatistics) {
    g_runRecorder.script.writeMs = {2290, 2290, 2290, 2290, 2290, 2290, 2290, 2290, 2290, 2291,
                                    2048, 2048, 2048, 2048, 2048, 2048, 2048, 2048, 2048, 2048};
    RunBenchmark();
    TakeTrace();
    RunBenchmark();

    std::wstring expected = RunOpeningTrace(false);  // the buffer is still 0x80 throughout
    for (int i = 0; i < kTasksPerRun; ++i) expected += GoodTaskTrace(i, L"4000.000");
    expected += RunClosingTrace(L"4000.000", L"4000.000", L"4000.000");
    EXPECT_EQ(expected, TakeTrace());

    EXPECT_EQ(1, g_runRecorder.allocations);
    EXPECT_EQ(120, g_runRecorder.deletes);
    for (int i = 0; i < kTasksPerRun; ++i) EXPECT_EQ(4000, g_run.results[i]) << i;
    ExpectWorkingValuesClear();
    EXPECT_TRUE(g_runRecorder.startEnabled);
}

TEST_F(EngineRun, TaskOfNoMeasurableTimeShowsInfinityAndBecomesTheMinimum) {
    g_runRecorder.script.writeMs = {2048, 2048, 2048, 0, 2048, 2048, 2048, 2048, 2048, 2048};
    RunBenchmark();
    TakeTrace();

    EXPECT_EQ(L"+Infinity", g_runRecorder.texts[kFirstTaskField + 3]);
    EXPECT_EQ(INT64_MIN, g_run.results[3]);
    EXPECT_EQ(L"-9223372036854775808.000", g_runRecorder.texts[kMinimumField]);
    EXPECT_EQ(L"4000.000", g_runRecorder.texts[kMaximumField]);
    // (-2^63 + 36000) / 10, shown as the nearest double
    EXPECT_EQ(L"-922337203685473920.000", g_runRecorder.texts[kAverageField]);
    EXPECT_TRUE(g_runRecorder.messages.empty());
}

}  // namespace
