// The real program with its real 8 GiB buffer: one whole run, pressed from
// outside. Long, and holds 8 GiB: run on request only.
#include "driver/product_test.h"
#include "driver/run_watch.h"
#include "system/constants.h"

namespace {

class FullRunTest : public ProductTest {};

TEST_F(FullRunTest, TenTasksOfEightGiBGiveConsistentFiguresAndLeaveNoFile) {
    Start(kProductExe);
    HWND main = PassInfoAndDialog(product);
    ASSERT_NE(main, nullptr);

    RunWatch watch = WatchRun(main, 3000000, kTasksPerRun, [] {});

    ASSERT_TRUE(watch.finished);
    EXPECT_TRUE(watch.startDisabledBeforeFirstHighlight);
    EXPECT_FALSE(watch.startEnabledDuringRun);
    EXPECT_EQ(watch.highlightedInTurn, std::vector<bool>(kTasksPerRun, true));
    ExpectConsistentFigures(watch, kTestBufferBytes);
    EXPECT_FALSE(FileExists(kTestFileOnC));
    for (size_t i = 0; i < watch.figures.size(); ++i) {
        printf("task %zu: %ls MB/s\n", i + 1, watch.figures[i].c_str());
    }
    printf("min %ls, max %ls, average %ls\n", watch.statistics[0].c_str(),
           watch.statistics[1].c_str(), watch.statistics[2].c_str());
    EXPECT_TRUE(CloseMainWindow(product, main));
}

}  // namespace
