// Two whole runs in a row in one process of the program, pressed from
// outside: both give ten figures and statistics consistent with them, the
// test buffer is had once and kept, and nothing the process holds grows from
// the end of the first run to the end of the second. Built twice: with the
// test build (64 MiB per task) for every test run, and with the real program
// and its 8 GiB buffer for the long runs on request.
#include <cstdio>

#include "driver/product_test.h"
#include "driver/run_watch.h"
#include "fault_process_counts.h"
#include "system/constants.h"

namespace {

#ifdef VARNHOLD_FULL_SIZE
constexpr const wchar_t* kExe = kProductExe;
constexpr int64_t kBytesPerTask = kTestBufferBytes;
constexpr uint32_t kRunWaitMs = 3000000;
#else
constexpr const wchar_t* kExe = kSmallProductExe;
constexpr int64_t kBytesPerTask = kTestBuildBufferBytes;
constexpr uint32_t kRunWaitMs = 240000;
#endif
constexpr int64_t kMiB = 1048576;

void Print(const char* moment, const ProcessCounts& c) {
    printf("%s: %lld handles, %lld GDI objects, %lld windows, private %lld MiB (peak %lld MiB), "
           "peak working set %lld MiB\n",
           moment, static_cast<long long>(c.handles), static_cast<long long>(c.gdiObjects),
           static_cast<long long>(c.windows), static_cast<long long>(c.privateBytes / kMiB),
           static_cast<long long>(c.peakPrivateBytes / kMiB), static_cast<long long>(c.peakWorkingSetBytes / kMiB));
}

void PrintFigures(const RunWatch& watch) {
    for (size_t i = 0; i < watch.figures.size(); ++i) printf(" %ls", watch.figures[i].c_str());
    printf("\n  min %ls, max %ls, average %ls\n", watch.statistics[0].c_str(), watch.statistics[1].c_str(),
           watch.statistics[2].c_str());
}

class TwoRuns : public ProductTest {};

TEST_F(TwoRuns, TwentyFiguresOneBufferAndNothingGrowsBetweenTheRuns) {
    Start(kExe);
    HWND main = PassInfoAndDialog(product);
    ASSERT_NE(main, nullptr);
    const ProcessCounts before = CountsOf(product);
    Print("before the first run", before);

    RunWatch first = WatchRun(main, kRunWaitMs, kTasksPerRun, [] {});
    ASSERT_TRUE(first.finished) << "the first run did not end";
    const ProcessCounts afterFirst = CountsOf(product);
    RunWatch second = WatchRun(main, kRunWaitMs, kTasksPerRun, [] {});
    ASSERT_TRUE(second.finished) << "the second run did not end";
    const ProcessCounts afterSecond = CountsOf(product);

    printf("first run:");
    PrintFigures(first);
    printf("second run:");
    PrintFigures(second);
    Print("after the first run", afterFirst);
    Print("after the second run", afterSecond);
    RecordProperty("peak_working_set_mib", static_cast<int>(afterSecond.peakWorkingSetBytes / kMiB));
    RecordProperty("peak_private_mib", static_cast<int>(afterSecond.peakPrivateBytes / kMiB));

    ExpectConsistentFigures(first, kBytesPerTask);
    ExpectConsistentFigures(second, kBytesPerTask);
    EXPECT_TRUE(second.startDisabledBeforeFirstHighlight);
    EXPECT_FALSE(second.startEnabledDuringRun);
    // The buffer is kept after the first run and reused: the second neither
    // adds one nor takes a second beside it for a while.
    ASSERT_GE(afterFirst.privateBytes, 0) << "the memory counters cannot be read";
    EXPECT_GE(afterFirst.privateBytes - before.privateBytes, kBytesPerTask);
    EXPECT_LT(afterSecond.privateBytes - afterFirst.privateBytes, kBytesPerTask / 2);
    EXPECT_LT(afterSecond.peakPrivateBytes - afterFirst.peakPrivateBytes, kBytesPerTask / 2);
    ASSERT_GE(afterFirst.handles, 0) << "the handles cannot be counted";
    EXPECT_LE(afterSecond.handles, afterFirst.handles);
    ASSERT_GE(afterFirst.gdiObjects, 0) << "the GDI objects cannot be counted";
    EXPECT_LE(afterSecond.gdiObjects, afterFirst.gdiObjects);
    EXPECT_EQ(afterSecond.windows, afterFirst.windows);
    EXPECT_FALSE(FileExists(kTestFileOnC));
    EXPECT_TRUE(CloseMainWindow(product, main));
}

}  // namespace
