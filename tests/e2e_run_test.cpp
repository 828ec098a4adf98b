// One whole run of the program's test build (64 MiB per task) pressed from
// outside: what the user sees during and after it, and what it leaves on disk.
#include <fstream>

#include "driver/product_test.h"
#include "driver/run_watch.h"
#include "system/constants.h"

namespace {


int64_t FileBytes(const std::wstring& path) {
    WIN32_FILE_ATTRIBUTE_DATA data{};
    if (!GetFileAttributesExW(path.c_str(), GetFileExInfoStandard, &data)) return 0;
    return (static_cast<int64_t>(data.nFileSizeHigh) << 32) | data.nFileSizeLow;
}

class RunTest : public ProductTest {};

TEST_F(RunTest, StartRunsTenTasksThatIgnoreCloseAndDonateAndLeaveNoFile) {
    Start(kSmallProductExe);
    HWND main = PassInfoAndDialog(product);
    ASSERT_NE(main, nullptr);
    std::wstring browserLog = BrowserLogPath();
    int64_t logBytes = FileBytes(browserLog);

    RunWatch watch = WatchRun(main, 240000, 1, [&] {
        PostMessageW(main, WM_CLOSE, 0, 0);
        Press(GetDlgItem(main, kDonateButton));
    });

    ASSERT_TRUE(watch.finished);
    EXPECT_TRUE(watch.startDisabledBeforeFirstHighlight);
    EXPECT_FALSE(watch.startEnabledDuringRun);
    EXPECT_EQ(watch.highlightedInTurn, std::vector<bool>(kTasksPerRun, true));
    ExpectConsistentFigures(watch, kTestBuildBufferBytes);
    EXPECT_TRUE(IsWindow(main));  // the close request was dropped
    EXPECT_EQ(FileBytes(browserLog), logBytes);  // and so was the Donate press
    EXPECT_TRUE(IsWindowEnabled(GetDlgItem(main, kStartButton)));
    EXPECT_FALSE(FileExists(kTestFileOnC));
    for (int i = 0; i < kTasksPerRun; ++i) {
        EXPECT_TRUE(LabelHighlighted(main, kFirstTaskLabel + i)) << i;
    }
    EXPECT_EQ(TextOf(GetDlgItem(main, kReferenceField)), kReferenceFigure);

    // After the run the window is usable again: Donate opens the page, and a
    // close request ends the program.
    Press(GetDlgItem(main, kDonateButton));
    EXPECT_TRUE(WaitUntil([&] { return FileBytes(browserLog) > logBytes; }, kWindowWaitMs));
    std::wifstream log(std::string(browserLog.begin(), browserLog.end()));
    std::wstring line, last;
    while (std::getline(log, line)) last = line;
    EXPECT_EQ(last, kDonationAddress);
    EXPECT_TRUE(CloseMainWindow(product, main));
}

}  // namespace
