// Faults of the drive itself, made for real on the tiny drive T: (a 64 MiB
// tmpfs) while the test build of the program (64 MiB per task) runs on it:
// the drive fills up, its root cannot be written, it disappears. Each run
// must stop with a message, leave no test file and keep the sentinel beside
// it whole; once the drive is good again the same program runs in full.
#include "driver/product_test.h"
#include "driver/run_watch.h"
#include "fault_support.h"
#include "system/constants.h"

namespace {

// Big enough that the drive fills up halfway through the first task.
constexpr size_t kHalfDriveSentinelBytes = 24 * 1048576 + 777;

class DriveFault : public ProductTest {
protected:
    void SetUp() override {
        ProductTest::SetUp();
        RestoreTinyDrive();
        ExpectTinyDrive();
        if (HasFatalFailure()) return;
        ClearTestFile(kTestFileOnT);
    }
    void TearDown() override {
        EndProduct(&product);
        RestoreTinyDrive();
        ProductTest::TearDown();
    }

    void PlantSentinelOnT(size_t bytes = kSentinelBytes) {
        sentinel_ = PlantSentinel(kSentinelOnT, bytes);
        ASSERT_FALSE(sentinel_.content.empty()) << "cannot write the sentinel on T:";
    }

    // The program on T:, with Start pressed; its main window, or null.
    HWND StartRunOnT() {
        Start(kSmallProductExe);
        HWND main = OpenMainWindowOn(product, L'T');
        if (main == nullptr || !PressStart(main)) return nullptr;
        return main;
    }

    // What a run stopped by the drive shows once its message is closed: the
    // program still runs, Start is enabled, the fields tell where it stopped.
    void ExpectStoppedAndIdle(HWND main, int failedTask) {
        EXPECT_EQ(WaitForExit(product, 0), static_cast<DWORD>(STILL_ACTIVE)) << "the program ended";
        EXPECT_TRUE(WaitUntil([&] { return IsWindowEnabled(GetDlgItem(main, kStartButton)) != FALSE; },
                              kWindowWaitMs));
        ExpectRunStoppedAt(FieldTexts(main), failedTask);
        EXPECT_FALSE(TestFileOnTinyDrive());
        EXPECT_TRUE(SentinelUnchanged(sentinel_));
    }

    // Once the drive is good again, the same window runs all ten tasks.
    void ExpectLaterRunSucceeds(HWND main) {
        RunWatch watch = WatchRun(main, kSmallRunWaitMs, kTasksPerRun, [] {});
        ASSERT_TRUE(watch.finished) << "the later run did not end";
        ExpectConsistentFigures(watch, kTestBuildBufferBytes);
        EXPECT_FALSE(TestFileOnTinyDrive());
        EXPECT_TRUE(SentinelUnchanged(sentinel_));
        EXPECT_TRUE(CloseMainWindow(product, main));
    }

    Sentinel sentinel_;
};

TEST_F(DriveFault, ADriveThatFillsUpMidTaskStopsTheRunAndGetsItsSpaceBack) {
    PlantSentinelOnT(kHalfDriveSentinelBytes);
    const int64_t freeBefore = FreeBytes(kTinyRoot);
    ASSERT_LT(freeBefore, kTestBuildBufferBytes) << "a task would fit on T:";
    HWND main = StartRunOnT();
    ASSERT_NE(main, nullptr);

    HWND box = WaitForWindow(product, kMessageBoxClass, kFailureWaitMs);

    ASSERT_NE(box, nullptr) << "no message";
    EXPECT_EQ(TitleOf(box), kMainTitle);
    EXPECT_EQ(MessageBoxText(box), WriteFailureText(kTestFileOnT, ERROR_DISK_FULL));
    // Already while the user reads why: no file, every byte of space back.
    EXPECT_FALSE(FileExists(kTestFileOnT));
    EXPECT_EQ(FreeBytes(kTinyRoot), freeBefore);
    CloseMessageBox(box);
    ExpectStoppedAndIdle(main, 0);

    // The user makes room.
    ASSERT_TRUE(ResizeTinyDrive(kRoomyTinyDriveMiB));
    ExpectLaterRunSucceeds(main);
}

// As on a write-protected medium. The program runs as root here, so the
// folder's mode bits would not stop it: the whole drive is made read-only.
TEST_F(DriveFault, ADriveRootThatCannotBeWrittenStopsTheRunWithNothingLeft) {
    PlantSentinelOnT();
    ASSERT_TRUE(SetTinyDriveReadOnly(true));
    ASSERT_FALSE(WriteWholeFile(L"T:\\probe.bin", "x")) << "T: can still be written";
    HWND main = StartRunOnT();
    ASSERT_NE(main, nullptr);

    HWND box = WaitForWindow(product, kMessageBoxClass, kFailureWaitMs);

    ASSERT_NE(box, nullptr) << "no message";
    EXPECT_EQ(TitleOf(box), kMainTitle);
    // Wine words it as a denied access; Windows as a write-protected medium.
    const std::wstring text = MessageBoxText(box);
    EXPECT_TRUE(text == WriteFailureText(kTestFileOnT, ERROR_ACCESS_DENIED) ||
                text == WriteFailureText(kTestFileOnT, ERROR_WRITE_PROTECT))
        << std::string(text.begin(), text.end());
    CloseMessageBox(box);
    ExpectStoppedAndIdle(main, 0);

    ASSERT_TRUE(SetTinyDriveReadOnly(false));
    ASSERT_TRUE(ResizeTinyDrive(kRoomyTinyDriveMiB));
    ExpectLaterRunSucceeds(main);
}

// The drive's mapping goes as soon as the first task is under way, in the
// pause before its file is created. Had it gone after the creation, the open
// file would live on (Wine keeps it) and the next task would find the drive
// gone: either way the run must stop with a message and not hang.
TEST_F(DriveFault, ADriveThatDisappearsDuringARunStopsItWithAMessage) {
    PlantSentinelOnT();
    ASSERT_TRUE(ResizeTinyDrive(kRoomyTinyDriveMiB));  // the disappearance is the only fault
    HWND main = StartRunOnT();
    ASSERT_NE(main, nullptr);
    ASSERT_TRUE(WaitUntil([&] { return LabelHighlighted(main, kFirstTaskLabel); }, kFailureWaitMs));
    ASSERT_TRUE(HideTinyDrive());

    HWND box = WaitForWindow(product, kMessageBoxClass, kFailureWaitMs);

    ASSERT_NE(box, nullptr) << "no message: the run went on or hangs";
    EXPECT_EQ(TitleOf(box), kMainTitle);
    const std::wstring text = MessageBoxText(box);
    EXPECT_TRUE(text == WriteFailureText(kTestFileOnT, ERROR_FILE_NOT_FOUND) ||
                text == WriteFailureText(kTestFileOnT, ERROR_PATH_NOT_FOUND))
        << std::string(text.begin(), text.end());
    CloseMessageBox(box);
    const std::vector<std::wstring> fields = FieldTexts(main);
    int failedTask = 0;
    while (failedTask < kTasksPerRun && fields[failedTask] != kFailedText) ++failedTask;
    EXPECT_LE(failedTask, 1) << "the run went on after the drive had gone";
    printf("the run stopped in task %d: %ls\n", failedTask + 1, text.c_str());
    ASSERT_TRUE(ShowTinyDrive());
    if (failedTask == 0) {
        ExpectStoppedAndIdle(main, 0);
    } else {
        // The file of the task that outlived the drive is still there; the
        // forced deletions of the next run remove it.
        ExpectRunStoppedAt(fields, failedTask);
    }
    ExpectLaterRunSucceeds(main);
}

}  // namespace
