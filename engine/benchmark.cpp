// The run of ten tasks started by the Start button.
#include "engine/benchmark.h"

#include "engine/failure_text.h"
#include "engine/run_seam.h"
#include "engine/statistics.h"

RunState g_run = {};

namespace {

void ForceDeleteThreeTimes() {
    for (int i = 0; i < 3; ++i) g_runSeam.ForceDelete(g_run.testFilePath);
}

void ClearWorkingValues() {
    g_run.mbps = 0.0;
    g_run.elapsedMs = 0;
    g_run.startMs = 0;
    g_run.minimum = 0;
    g_run.maximum = 0;
    g_run.average = 0;
}

// A later run reuses the buffer an earlier one left, still 0x80 in every
// byte, so the program never holds two.
bool ObtainTestBuffer() {
    if (g_run.testBuffer != nullptr) return true;
    g_run.testBuffer = static_cast<char*>(g_runSeam.AllocateTestBuffer(g_run.bufferSize));
    if (g_run.testBuffer == nullptr) return false;
    g_runSeam.FillTestBuffer(g_run.testBuffer, g_run.bufferSize, kFillByte);
    return true;
}

// Writes the whole buffer, a drain before every chunk; false at the first
// chunk the file does not take in full.
bool WriteTestBuffer() {
    g_run.writePos = g_run.testBuffer;
    g_run.writeEnd = g_run.testBuffer + g_run.bufferSize;
    while (g_run.writePos < g_run.writeEnd) {
        const int64_t remaining = g_run.writeEnd - g_run.writePos;
        g_run.chunkLen = remaining < kChunkBytes ? remaining : kChunkBytes;
        g_runSeam.PumpEvents();
        const int64_t taken =
            g_runSeam.WriteChunk(g_run.writePos, static_cast<int32_t>(g_run.chunkLen));
        if (taken < g_run.chunkLen) return false;
        g_run.writePos += g_run.chunkLen;
    }
    return true;
}

// Stops the task: the file is closed and removed as after a good task.
bool AbandonTask() {
    g_run.failedError = g_runSeam.TestFileError();
    g_runSeam.CloseTestFile();
    ForceDeleteThreeTimes();
    return false;
}

void ShowStatistic(int field, int64_t value) {
    g_runSeam.SetControlText(field, FormatMBps(static_cast<double>(value)).c_str());
    g_runSeam.PumpEvents();
}

void ShowStatistics() {
    const int64_t* r = g_run.results;
    g_run.minimum = MinimumOf(r[0], r[1], r[2], r[3], r[4], r[5], r[6], r[7], r[8], r[9]);
    ShowStatistic(kMinimumField, g_run.minimum);
    g_run.maximum = MaximumOf(r[0], r[1], r[2], r[3], r[4], r[5], r[6], r[7], r[8], r[9]);
    ShowStatistic(kMaximumField, g_run.maximum);
    g_run.average = AverageOf(r);
    ShowStatistic(kAverageField, g_run.average);
}

// No figure of an earlier run may stand beside the failed one.
void ShowFailedRun() {
    const int failed = static_cast<int>(g_run.taskIndex);
    g_runSeam.SetControlText(kFirstTaskField + failed, kFailedText);
    for (int i = failed + 1; i < kTasksPerRun; ++i) {
        g_runSeam.SetControlText(kFirstTaskField + i, kFieldPlaceholder);
    }
    g_runSeam.SetControlText(kMinimumField, kFieldPlaceholder);
    g_runSeam.SetControlText(kMaximumField, kFieldPlaceholder);
    g_runSeam.SetControlText(kAverageField, kFieldPlaceholder);
    g_runSeam.PumpEvents();
    const std::wstring message =
        WriteFailureMessage(g_run.testFilePath, SystemErrorText(g_run.failedError));
    g_runSeam.ShowMessage(kMainTitle, message.c_str());
}

void EndRun() {
    ClearWorkingValues();
    g_run.failedError = 0;
    g_run.taskIndex = 0;
    g_runSeam.SetControlEnabled(kStartButton, true);
}

}  // namespace

bool RunTask() {
    const int i = static_cast<int>(g_run.taskIndex);
    g_runSeam.SetLabelBackground(kFirstTaskLabel + i, kHighlightColour);
    g_runSeam.PumpEvents();
    ForceDeleteThreeTimes();
    g_runSeam.PumpEvents();
    g_runSeam.PauseMs(kPauseInTaskMs);

    g_run.startMs = g_runSeam.NowMs();
    if (g_runSeam.CreateTestFile(g_run.testFilePath) == nullptr) return AbandonTask();
    if (!WriteTestBuffer()) return AbandonTask();
    g_runSeam.CloseTestFile();
    g_run.elapsedMs = g_runSeam.NowMs() - g_run.startMs;

    g_runSeam.PumpEvents();
    g_runSeam.PauseMs(kPauseInTaskMs);
    ForceDeleteThreeTimes();
    g_runSeam.PauseMs(kPauseInTaskMs);
    g_runSeam.PumpEvents();

    g_run.mbps = ThroughputMBps(g_run.bufferSize, g_run.elapsedMs);
    g_run.results[i] = RoundToInt64(g_run.mbps);
    g_runSeam.SetControlText(kFirstTaskField + i, FormatMBps(g_run.mbps).c_str());
    g_runSeam.PumpEvents();
    ClearWorkingValues();
    ++g_run.taskIndex;
    g_runSeam.PumpEvents();
    return true;
}

void RunBenchmark() {
    g_runSeam.SetControlEnabled(kStartButton, false);
    g_run.bufferSize = g_runSeam.testBufferBytes;
    if (!ObtainTestBuffer()) {
        g_runSeam.ShowMessage(kMainTitle, kNoBufferMessage);
        EndRun();
        return;
    }
    g_runSeam.PauseMs(kPauseBeforeFirstTaskMs);
    do {
        if (!RunTask()) {
            ShowFailedRun();
            EndRun();
            return;
        }
    } while (g_run.taskIndex < kTasksPerRun);
    g_runSeam.PauseMs(kPauseAfterLastTaskMs);
    ShowStatistics();
    EndRun();
}
