// Free memory at or below the gate at start-up, for real: a native program
// (memory-hog, built by scripts/test.sh) takes memory until Wine reports a
// gibibyte less than 8 GiB free and keeps it there; then the real program
// starts. Only its failure message may show, and it ends with exit code 0.
//
// This test runs beside the end-to-end tests that use C: and D:, so it
// touches neither: the program starts in a folder of the test's own, where a
// test file would land if one were made without a drive chosen.
#include <gtest/gtest.h>

#include <string>
#include <vector>

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

bool Exists(const std::wstring& path) { return GetFileAttributesW(path.c_str()) != INVALID_FILE_ATTRIBUTES; }

class LowMemoryFault : public ::testing::Test {
protected:
    void SetUp() override {
        wchar_t temp[MAX_PATH + 1] = {};
        ASSERT_GT(GetTempPathW(MAX_PATH + 1, temp), 0u);
        folder_ = std::wstring(temp) + L"varnhold-fault-" + std::to_wstring(GetCurrentProcessId()) + L"\\";
        ASSERT_TRUE(CreateDirectoryW(folder_.c_str(), nullptr));
        sentinel_ = PlantSentinel((folder_ + L"sentinel.bin").c_str());
        ASSERT_FALSE(sentinel_.content.empty());
    }
    void TearDown() override {
        EndProduct(&product_);
        StopHog();
        DeleteFileW(sentinel_.path.c_str());
        DeleteFileW((folder_ + kTestFileName).c_str());
        RemoveDirectoryW(folder_.c_str());
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
        return WaitUntil([&] { return Exists(readyFile_); }, kHogReadyWaitMs);
    }

    // The hog removes its ready file when it lets go of its memory.
    void StopHog() {
        if (readyFile_.empty()) return;
        const std::wstring stop = WindowsPathOfUnix(HogFile(".stop"));
        WriteWholeFile(stop.c_str(), "stop\n");
        EXPECT_TRUE(WaitUntil([&] { return !Exists(readyFile_); }, kHogReadyWaitMs))
            << "the memory hog still holds its memory";
        DeleteFileW(stop.c_str());
        readyFile_.clear();
    }

    bool StartProductIn(const std::wstring& folder) {
        const std::wstring path = ProductPath(kProductExe);
        std::wstring commandLine = L"\"" + path + L"\"";
        STARTUPINFOW startup = {};
        startup.cb = sizeof startup;
        product_.started = CreateProcessW(path.c_str(), commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr,
                                          folder.c_str(), &startup, &product_.process) != FALSE;
        return product_.started;
    }

    std::wstring folder_;
    Sentinel sentinel_;
    std::wstring readyFile_;
    Product product_{};
};

TEST_F(LowMemoryFault, AtMostEightGiBFreeShowsOnlyTheMessageAndTouchesNoFile) {
    ASSERT_TRUE(Exists(WindowsPathOfUnix(BuildFolderUnix() + "/memory-hog")))
        << "memory-hog is missing: scripts/test.sh builds it from tests/tools/memory_hog.c";
    const int64_t excess = FreePhysicalBytes() - kFreeMemoryGateBytes;
    ASSERT_TRUE(StartHog((excess > 0 ? excess : 0) / kMiB + kBelowGateMarginBytes / kMiB))
        << "memory-hog could not take its memory";
    ASSERT_TRUE(WaitUntil([] { return FreePhysicalBytes() <= kFreeMemoryGateBytes - kBelowGateMarginBytes / 2; },
                          kHogReadyWaitMs))
        << "memory could not be taken";
    const int64_t freeAtStart = FreePhysicalBytes();
    ASSERT_TRUE(StartProductIn(folder_));

    HWND box = WaitForWindow(product_, kMessageBoxClass, kWindowWaitMs);

    ASSERT_NE(box, nullptr) << "no message";
    printf("free physical memory when the program started: %lld MiB\n",
           static_cast<long long>(freeAtStart / kMiB));
    EXPECT_EQ(TitleOf(box), kMainTitle);
    EXPECT_EQ(MessageBoxText(box), kLowMemoryMessage);
    EXPECT_EQ(VisibleWindowsOf(product_), std::vector<HWND>{box}) << "a dialog or window came up";
    StopHog();  // the program has decided; the user frees memory and reads on
    CloseMessageBox(box);
    EXPECT_EQ(WaitForExit(product_, kWindowWaitMs), static_cast<DWORD>(kExitCodeNormal));
    EXPECT_FALSE(Exists(folder_ + kTestFileName));
    EXPECT_TRUE(SentinelUnchanged(sentinel_));
}

}  // namespace
