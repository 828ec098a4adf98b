// Free memory at or below the gate at start-up, for real: a native program
// (memory-hog, built by scripts/test.sh) takes memory until Wine reports a
// gibibyte less than 8 GiB free and keeps it there, then the real program starts. Only its failure message
// may show, and it ends with exit code 0 having touched no file.
#include <string>
#include <vector>

#include "driver/product_test.h"
#include "fault_support.h"
#include "system/constants.h"

namespace {

constexpr int64_t kMiB = 1048576;
constexpr int64_t kBelowGateMarginBytes = 1024 * kMiB;  // room for others' ups and downs
constexpr int kHogLongestHoldSeconds = 120;
constexpr DWORD kHogReadyWaitMs = 90000;  // populating 16 GiB takes seconds

int64_t FreePhysicalBytes() {
    MEMORYSTATUSEX status = {};
    status.dwLength = sizeof status;
    if (!GlobalMemoryStatusEx(&status)) return -1;
    return static_cast<int64_t>(status.ullAvailPhys);
}

class LowMemoryFault : public ProductTest {
protected:
    void TearDown() override {
        EndProduct(&product);
        StopHog();
        ProductTest::TearDown();
    }

    std::string HogFile(const std::string& what) const {
        return BuildFolderUnix() + "/fault-hog-" + std::to_string(GetCurrentProcessId()) + what;
    }

    // The hog takes that much, then more whenever others give memory back;
    // true once it holds the first.
    bool StartHog(int64_t mebibytes) {
        const std::string ready = HogFile(".ready");
        std::wstring line = WindowsPathOfUnix(BuildFolderUnix() + "/memory-hog");
        const int64_t keepFreeMiB = (kFreeMemoryGateBytes - kBelowGateMarginBytes) / kMiB;
        for (const std::string& argument : {std::to_string(mebibytes), ready, HogFile(".stop"),
                                             std::to_string(kHogLongestHoldSeconds), std::to_string(keepFreeMiB)}) {
            line += L" " + std::wstring(argument.begin(), argument.end());
        }
        STARTUPINFOW startup = {};
        startup.cb = sizeof startup;
        PROCESS_INFORMATION process = {};
        if (!CreateProcessW(nullptr, line.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup,
                            &process)) {
            return false;
        }
        CloseHandle(process.hThread);
        CloseHandle(process.hProcess);
        readyFile_ = WindowsPathOfUnix(ready);
        return WaitUntil([&] { return FileExists(readyFile_.c_str()); }, kHogReadyWaitMs);
    }

    // The hog removes its ready file when it lets go of its memory.
    void StopHog() {
        if (readyFile_.empty()) return;
        const std::wstring stop = WindowsPathOfUnix(HogFile(".stop"));
        WriteWholeFile(stop.c_str(), "stop\n");
        EXPECT_TRUE(WaitUntil([&] { return !FileExists(readyFile_.c_str()); }, kHogReadyWaitMs))
            << "the memory hog still holds its memory";
        DeleteFileW(stop.c_str());
        readyFile_.clear();
    }

    std::wstring readyFile_;
};

TEST_F(LowMemoryFault, AtMostEightGiBFreeShowsOnlyTheMessageAndTouchesNoFile) {
    ASSERT_TRUE(FileExists(WindowsPathOfUnix(BuildFolderUnix() + "/memory-hog").c_str()))
        << "memory-hog is missing: scripts/test.sh builds it from tests/tools/memory_hog.c";
    const std::string leftover = "a file the program must not touch";
    ASSERT_TRUE(WriteWholeFile(kTestFileOnC, leftover));

    // Others on the machine give memory back too: the hog takes that as well.
    const int64_t excess = FreePhysicalBytes() - kFreeMemoryGateBytes;
    ASSERT_TRUE(StartHog((excess > 0 ? excess : 0) / kMiB + kBelowGateMarginBytes / kMiB))
        << "memory-hog could not take its memory";
    ASSERT_TRUE(WaitUntil([] { return FreePhysicalBytes() <= kFreeMemoryGateBytes - kBelowGateMarginBytes / 2; },
                          kHogReadyWaitMs))
        << "memory could not be taken";
    const int64_t freeAtStart = FreePhysicalBytes();
    Start(kProductExe);

    HWND box = WaitForWindow(product, kMessageBoxClass, kWindowWaitMs);

    ASSERT_NE(box, nullptr) << "no message";
    printf("free physical memory when the program started: %lld MiB\n",
           static_cast<long long>(freeAtStart / kMiB));
    EXPECT_EQ(TitleOf(box), kMainTitle);
    EXPECT_EQ(MessageBoxText(box), kLowMemoryMessage);
    EXPECT_EQ(VisibleWindowsOf(product), std::vector<HWND>{box}) << "a dialog or window came up";
    StopHog();  // the program has decided; the user frees memory and reads on
    CloseMessageBox(box);
    EXPECT_EQ(WaitForExit(product, kWindowWaitMs), static_cast<DWORD>(kExitCodeNormal));
    EXPECT_EQ(ReadWholeFile(kTestFileOnC), leftover);
}

}  // namespace
