// Faults of the test file itself on drive D:, made for real while the test
// build of the program (64 MiB per task) runs there: the file held open by
// another process, and a read-only, hidden file left over from before.
#include "driver/product_test.h"
#include "driver/run_watch.h"
#include "fault_support.h"
#include "system/constants.h"

namespace {

constexpr DWORD kLeftoverAttributes = FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_HIDDEN;

class FileFault : public ProductTest {
protected:
    void SetUp() override {
        ProductTest::SetUp();
        sentinel_ = PlantSentinel(kSentinelOnD);
        ASSERT_FALSE(sentinel_.content.empty()) << "cannot write the sentinel on D:";
    }
    void TearDown() override {
        if (holder_ != INVALID_HANDLE_VALUE) CloseHandle(holder_);
        ProductTest::TearDown();
        DeleteFileW(kSentinelOnD);
    }

    // Once the way is clear, the same window runs all ten tasks.
    void ExpectRunSucceeds(HWND main) {
        RunWatch watch = WatchRun(main, kSmallRunWaitMs, kTasksPerRun, [] {});
        ASSERT_TRUE(watch.finished) << "the run did not end";
        ExpectConsistentFigures(watch, kTestBuildBufferBytes);
        EXPECT_FALSE(FileExists(kTestFileOnD));
        EXPECT_TRUE(SentinelUnchanged(sentinel_));
        EXPECT_TRUE(CloseMainWindow(product, main));
    }

    Sentinel sentinel_;
    HANDLE holder_ = INVALID_HANDLE_VALUE;
};

// This test is the other process: it holds the file with no sharing.
TEST_F(FileFault, ATestFileHeldOpenByAnotherProcessIsNeitherWrittenNorRemoved) {
    const std::string held = "held open, with no sharing, by another program";
    ASSERT_TRUE(WriteWholeFile(kTestFileOnD, held));
    holder_ = CreateFileW(kTestFileOnD, GENERIC_READ | GENERIC_WRITE, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(holder_, INVALID_HANDLE_VALUE);
    Start(kSmallProductExe);
    HWND main = OpenMainWindowOn(product, L'D');
    ASSERT_NE(main, nullptr);
    EXPECT_TRUE(FileExists(kTestFileOnD));  // the start-up deletions could not take it
    ASSERT_TRUE(PressStart(main));

    HWND box = WaitForWindow(product, kMessageBoxClass, kFailureWaitMs);

    ASSERT_NE(box, nullptr) << "no message";
    EXPECT_EQ(TitleOf(box), kMainTitle);
    EXPECT_EQ(MessageBoxText(box), WriteFailureText(kTestFileOnD, ERROR_SHARING_VIOLATION));
    CloseMessageBox(box);
    EXPECT_TRUE(WaitUntil([&] { return IsWindowEnabled(GetDlgItem(main, kStartButton)) != FALSE; },
                          kWindowWaitMs));
    ExpectRunStoppedAt(FieldTexts(main), 0);
    CloseHandle(holder_);
    holder_ = INVALID_HANDLE_VALUE;
    const std::string after = ReadWholeFile(kTestFileOnD);
    EXPECT_TRUE(after == held) << "the held file was written: " << after.size() << " bytes";
    EXPECT_TRUE(SentinelUnchanged(sentinel_));

    // The other program lets go: the forced deletions take the file and the run goes through.
    ExpectRunSucceeds(main);
}

// Left over by an earlier process, or put there again while the program
// waits: the forced deletions clear the attributes and remove it.
TEST_F(FileFault, AReadOnlyHiddenLeftoverGoesAtStartUpAndBeforeATask) {
    ASSERT_TRUE(MakeFile(kTestFileOnD, kLeftoverAttributes));
    ASSERT_EQ(GetFileAttributesW(kTestFileOnD) & kLeftoverAttributes, kLeftoverAttributes)
        << "the drive does not keep the attributes";
    Start(kSmallProductExe);
    HWND main = OpenMainWindowOn(product, L'D');
    ASSERT_NE(main, nullptr);
    EXPECT_FALSE(FileExists(kTestFileOnD)) << "not removed at start-up";

    ASSERT_TRUE(MakeFile(kTestFileOnD, kLeftoverAttributes));
    ExpectRunSucceeds(main);
}

}  // namespace
