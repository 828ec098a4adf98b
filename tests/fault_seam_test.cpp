// Faults that cannot be made for real here, made through a seam of the whole
// program running in this process on the tiny drive T:, and worked through
// its windows: a write that comes up short, a test buffer that cannot be had,
// a link planted at the test path just before creation, a window or control
// that cannot be made.
#include <gtest/gtest.h>

#include <atomic>
#include <cwchar>
#include <string>
#include <vector>

#include "driver/product_test.h"
#include "driver/run_watch.h"
#include "fault_in_process.h"
#include "fault_support.h"
#include "system/file_os.h"
#include "system/memory_os.h"
#include "ui/gui_os.h"

namespace {

// ---- Seams ----

std::atomic<int64_t> g_dataWrites{0};
int64_t g_shortWriteAt = -1;  // the data write that comes up short, counted from 1

// Writes half of the chunk for real and reports that as done, as a full
// drive may.
BOOL WINAPI ComingUpShort(HANDLE file, LPCVOID data, DWORD length, LPDWORD written, LPOVERLAPPED overlapped) {
    if (length > 0 && ++g_dataWrites == g_shortWriteAt) {
        return kRealFileOs.WriteFile(file, data, length / 2, written, overlapped);
    }
    return kRealFileOs.WriteFile(file, data, length, written, overlapped);
}

std::atomic<bool> g_refuseTestBuffer{false};
std::atomic<int> g_testBuffersGiven{0};
std::atomic<int> g_creations{0};

LPVOID WINAPI RefusingTestBuffer(HANDLE heap, DWORD flags, SIZE_T bytes) {
    if (bytes == static_cast<SIZE_T>(kMiniatureBufferBytes)) {
        if (g_refuseTestBuffer) return nullptr;
        ++g_testBuffersGiven;
    }
    return kRealMemoryOs.HeapAlloc(heap, flags, bytes);
}

HANDLE WINAPI CountingCreation(LPCWSTR path, DWORD access, DWORD share, LPSECURITY_ATTRIBUTES security,
                               DWORD disposition, DWORD flags, HANDLE templateFile) {
    if (disposition == CREATE_NEW) ++g_creations;
    return kRealFileOs.CreateFileW(path, access, share, security, disposition, flags, templateFile);
}

enum class LinkKind { UnixSymbolic, Hard };
LinkKind g_linkKind = LinkKind::Hard;
bool g_plantPending = false;
bool g_planted = false;

// Plants the link the moment the program creates its test file: after the
// forced deletions, before the creation itself.
HANDLE WINAPI PlantingLink(LPCWSTR path, DWORD access, DWORD share, LPSECURITY_ATTRIBUTES security,
                           DWORD disposition, DWORD flags, HANDLE templateFile) {
    if (disposition == CREATE_NEW && g_plantPending && std::wcscmp(path, kTestFileOnT) == 0) {
        g_plantPending = false;
        if (g_linkKind == LinkKind::Hard) {
            g_planted = CreateHardLinkW(kTestFileOnT, kSentinelOnT, nullptr) != FALSE;
        } else {
            g_planted = RunUnix("ln -s sentinel.bin " + TinyDriveUnix() + "/Varnhold.dat") == 0;
        }
    }
    return kRealFileOs.CreateFileW(path, access, share, security, disposition, flags, templateFile);
}

const wchar_t* g_failingClass = nullptr;
const wchar_t* g_failingText = nullptr;  // any text when null
int g_refusedWindows = 0;

bool Named(LPCWSTR name, const wchar_t* expected) {
    return !IS_INTRESOURCE(name) && std::wcscmp(name, expected) == 0;
}

HWND WINAPI RefusingWindow(DWORD exStyle, LPCWSTR className, LPCWSTR text, DWORD style, int x, int y, int width,
                           int height, HWND parent, HMENU menu, HINSTANCE instance, LPVOID param) {
    if (Named(className, g_failingClass) && (g_failingText == nullptr || Named(text, g_failingText))) {
        ++g_refusedWindows;
        SetLastError(ERROR_NOT_ENOUGH_MEMORY);
        return nullptr;
    }
    return kRealUiOs.CreateWindowExW(exStyle, className, text, style, x, y, width, height, parent, menu,
                                     instance, param);
}

// ---- What the user saw ----

struct Seen {
    HWND main = nullptr;
    MessageSeen message;
    bool fileWhileMessage = true;
    int64_t freeWhileMessage = -1;
    bool sentinelWhileMessage = false;
    int creationsWhileMessage = -1;
    bool startEnabledAfter = false;
    std::vector<std::wstring> fields;
    bool linkRemoved = false;
    RunWatch laterRun{};
    bool closed = false;
};

class SeamFault : public ::testing::Test {
protected:
    void SetUp() override {
        RestoreTinyDrive();
        ExpectTinyDrive();
        if (HasFatalFailure()) return;
        sentinel_ = PlantSentinel(kSentinelOnT);
        ASSERT_FALSE(sentinel_.content.empty()) << "cannot write the sentinel on T:";
        freeBefore_ = FreeBytes(kTinyRoot);
        PrepareProgramInProcess();
    }
    void TearDown() override { RestoreTinyDrive(); }

    // Opens the main window on T:, presses Start, reads the message that
    // stops the run, looks at the drive while it is shown, then at the
    // fields; between() runs before a later run on the same window.
    int RunUntilMessageThenAgain(const std::function<void(Seen&)>& between) {
        bool rescued = false;
        const int exitCode = RunProgramWhile(
            [&](const Product& self) {
                seen_.main = OpenMainWindowOn(self, L'T');
                if (seen_.main == nullptr || !PressStart(seen_.main)) return;
                seen_.message = ReadAndCloseMessage(self, kFailureWaitMs, [&] {
                    seen_.fileWhileMessage = FileExists(kTestFileOnT);
                    seen_.freeWhileMessage = FreeBytes(kTinyRoot);
                    seen_.sentinelWhileMessage = SentinelUnchanged(sentinel_);
                    seen_.creationsWhileMessage = g_creations;
                });
                seen_.startEnabledAfter = WaitUntilStartEnabled(seen_.main);
                seen_.fields = FieldTexts(seen_.main);
                between(seen_);
                seen_.laterRun = WatchRun(seen_.main, kMiniatureRunWaitMs, kTasksPerRun, [] {});
                seen_.closed = CloseMainWindowInProcess(seen_.main);
            },
            &rescued);
        EXPECT_FALSE(rescued) << "the program had to be closed from outside";
        return exitCode;
    }

    // The later run on the same window: ten figures, no file, sentinel whole.
    void ExpectLaterRunSucceeded() {
        ASSERT_TRUE(seen_.laterRun.finished) << "the later run did not end";
        ExpectConsistentFigures(seen_.laterRun, kMiniatureBufferBytes);
        EXPECT_TRUE(seen_.closed);
        EXPECT_FALSE(FileExists(kTestFileOnT));
        EXPECT_TRUE(SentinelUnchanged(sentinel_));
        EXPECT_EQ(FreeBytes(kTinyRoot), freeBefore_);
    }

    Sentinel sentinel_;
    int64_t freeBefore_ = -1;
    Seen seen_;
};

// Like a full drive: the file goes, its space comes back, the run says why.
TEST_F(SeamFault, AWriteThatComesUpShortStopsTheRunLikeAFullDrive) {
    g_fileOs.WriteFile = ComingUpShort;
    g_shortWriteAt = 5;  // the fifth chunk of the first task
    const int exitCode = RunUntilMessageThenAgain([](Seen&) {});

    ASSERT_TRUE(seen_.message.shown) << "no message";
    EXPECT_EQ(seen_.message.title, kMainTitle);
    EXPECT_EQ(seen_.message.text, WriteFailureText(kTestFileOnT, ERROR_DISK_FULL));
    EXPECT_FALSE(seen_.fileWhileMessage);
    EXPECT_EQ(seen_.freeWhileMessage, freeBefore_);
    EXPECT_TRUE(seen_.sentinelWhileMessage);
    EXPECT_TRUE(seen_.startEnabledAfter);
    ExpectRunStoppedAt(seen_.fields, 0);
    ExpectLaterRunSucceeded();
    EXPECT_EQ(exitCode, kExitCodeNormal);
}

// The buffer is asked for when Start is pressed; without it nothing is
// created or written, and once memory is back the same window runs in full.
TEST_F(SeamFault, ATestBufferThatCannotBeHadWritesNothingAndALaterRunWorks) {
    g_memoryOs.HeapAlloc = RefusingTestBuffer;
    g_fileOs.CreateFileW = CountingCreation;
    g_refuseTestBuffer = true;
    const int exitCode = RunUntilMessageThenAgain([](Seen&) { g_refuseTestBuffer = false; });

    ASSERT_TRUE(seen_.message.shown) << "no message";
    EXPECT_EQ(seen_.message.title, kMainTitle);
    EXPECT_EQ(seen_.message.text, kNoBufferMessage);
    EXPECT_EQ(seen_.creationsWhileMessage, 0);
    EXPECT_FALSE(seen_.fileWhileMessage);
    EXPECT_EQ(seen_.freeWhileMessage, freeBefore_);
    EXPECT_TRUE(seen_.startEnabledAfter);
    EXPECT_EQ(seen_.fields, std::vector<std::wstring>(kTasksPerRun + 3, kFieldPlaceholder));
    ExpectLaterRunSucceeded();
    EXPECT_EQ(g_testBuffersGiven, 1);
    EXPECT_EQ(exitCode, kExitCodeNormal);
}

struct PlantedLinkCase {
    const char* name;
    LinkKind kind;
    bool nameLeftByProgram;  // whether the planted name is still there after the failed run
};

void PrintTo(const PlantedLinkCase& c, std::ostream* out) { *out << c.name; }

class PlantedLinkFault : public SeamFault, public ::testing::WithParamInterface<PlantedLinkCase> {};

// The sentinel is the file the link leads to. A hard link's name is removed
// by the forced deletions after the stopped task (the file keeps its other
// name); a Unix symbolic link cannot be told from its target by Wine, so the
// program leaves it alone and the user removes it before running again.
TEST_P(PlantedLinkFault, TheFileBehindTheLinkIsNeverWrittenAndTheRunSaysSo) {
    const PlantedLinkCase& c = GetParam();
    g_fileOs.CreateFileW = PlantingLink;
    g_linkKind = c.kind;
    g_plantPending = true;
    bool nameAfterFailure = false;
    const int exitCode = RunUntilMessageThenAgain([&](Seen& seen) {
        nameAfterFailure = FileExists(kTestFileOnT);
        if (nameAfterFailure) {
            seen.linkRemoved = RunUnix("rm -f " + TinyDriveUnix() + "/Varnhold.dat") == 0 &&
                               !FileExists(kTestFileOnT);
        }
    });

    ASSERT_TRUE(g_planted) << "the link could not be planted";
    ASSERT_TRUE(seen_.message.shown) << "no message";
    EXPECT_EQ(seen_.message.title, kMainTitle);
    EXPECT_EQ(seen_.message.text, WriteFailureText(kTestFileOnT, ERROR_CANT_ACCESS_FILE));
    EXPECT_TRUE(seen_.sentinelWhileMessage) << "the file behind the link was changed";
    EXPECT_TRUE(seen_.startEnabledAfter);
    ExpectRunStoppedAt(seen_.fields, 0);
    EXPECT_EQ(nameAfterFailure, c.nameLeftByProgram);
    if (nameAfterFailure) {
        EXPECT_TRUE(seen_.linkRemoved);
    }
    ExpectLaterRunSucceeded();
    EXPECT_EQ(exitCode, kExitCodeNormal);
}

INSTANTIATE_TEST_SUITE_P(Links, PlantedLinkFault,
                         ::testing::Values(PlantedLinkCase{"HardLink", LinkKind::Hard, false},
                                           PlantedLinkCase{"UnixSymbolicLink", LinkKind::UnixSymbolic, true}),
                         [](const ::testing::TestParamInfo<PlantedLinkCase>& info) { return info.param.name; });

// ---- A window or control that cannot be made ----

struct WindowFaultCase {
    const char* name;
    const wchar_t* className;
    const wchar_t* text;  // any when null
    bool inDialog;        // the dialog never opens, so no drive is chosen
};

void PrintTo(const WindowFaultCase& c, std::ostream* out) { *out << c.name; }

class WindowFault : public SeamFault, public ::testing::WithParamInterface<WindowFaultCase> {};

TEST_P(WindowFault, SaysSoAndEndsInOrderWithExitCodeOne) {
    const WindowFaultCase& c = GetParam();
    g_uiOs.CreateWindowExW = RefusingWindow;
    g_failingClass = c.className;
    g_failingText = c.text;
    ASSERT_TRUE(WriteWholeFile(kTestFileOnT, "left over"));
    MessageSeen message;
    std::vector<HWND> windowsAtEnd;
    bool rescued = false;
    const int exitCode = RunProgramWhile(
        [&](const Product& self) {
            MessageSeen info = ReadAndCloseMessage(self, kWindowWaitMs);
            if (!info.shown) return;
            if (!c.inDialog) {
                HWND dialog = WaitForDialog(self);
                if (dialog == nullptr) return;
                if (!ConfirmDriveItem(GetDlgItem(dialog, kDriveList), DriveItemIndex(L'T'), kTinyRoot)) return;
                Press(GetDlgItem(dialog, kOkButton));
            }
            message = ReadAndCloseMessage(self, kWindowWaitMs);
        },
        &rescued);
    Product self{};
    self.process.dwProcessId = GetCurrentProcessId();

    EXPECT_EQ(g_refusedWindows, 1);
    ASSERT_TRUE(message.shown) << "no message";
    EXPECT_EQ(message.title, kMainTitle);
    EXPECT_EQ(message.text, kNoWindowMessage);
    EXPECT_FALSE(rescued);
    EXPECT_EQ(exitCode, kExitCodeNoWindow);
    EXPECT_TRUE(VisibleWindowsOf(self).empty()) << "a window outlived the program";
    // With a drive chosen, the start-up deletions ran before the window failed.
    EXPECT_EQ(FileExists(kTestFileOnT), c.inDialog);
    EXPECT_TRUE(SentinelUnchanged(sentinel_));
}

INSTANTIATE_TEST_SUITE_P(
    Windows, WindowFault,
    ::testing::Values(WindowFaultCase{"SelectionDialog", L"WindowClass_106", nullptr, true},
                      WindowFaultCase{"MainWindow", L"WindowClass_79", nullptr, false},
                      WindowFaultCase{"FirstTaskLabel", L"Static", L"Task 01 MB/Sec", false},
                      WindowFaultCase{"ReferenceField", L"Edit", L"3577 MB/Sec", false},
                      WindowFaultCase{"StartButton", L"Button", L"Start", false}),
    [](const ::testing::TestParamInfo<WindowFaultCase>& info) { return info.param.name; });

}  // namespace
