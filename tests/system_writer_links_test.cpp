// Links planted at the test path, against the real file system: creation
// refuses them, the file they lead to keeps every byte and its attributes,
// and the forced deletions remove a planted name only where that cannot
// reach the file behind it.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "system_writer_files.h"

namespace {

constexpr wchar_t kSentinelName[] = L"sentinel.bin";
constexpr DWORD kUnixWaitMs = 30000;
constexpr DWORD kUnixPollMs = 10;

// Starts a Unix program from Wine's drive Z: in the folder. Its process
// handle cannot be waited on, so the caller waits for what it does.
bool StartUnix(const std::wstring& folder, const std::wstring& command) {
    std::vector<wchar_t> line(command.begin(), command.end());
    line.push_back(L'\0');
    STARTUPINFOW startup = {};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process = {};
    if (!CreateProcessW(nullptr, line.data(), nullptr, nullptr, FALSE, 0, nullptr, folder.c_str(), &startup,
                        &process)) {
        return false;
    }
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
    return true;
}

bool WaitForExistence(const std::wstring& path, bool exists) {
    const ULONGLONG deadline = GetTickCount64() + kUnixWaitMs;
    while (FileExists(path) != exists) {
        if (GetTickCount64() > deadline) return false;
        Sleep(kUnixPollMs);
    }
    return true;
}

class PlantedLink : public WriterFiles {
protected:
    void SetUp() override {
        WriterFiles::SetUp();
        sentinelPath_ = folder_ + kSentinelName;
        ASSERT_TRUE(MakeFile(sentinelPath_, sentinel_, FILE_ATTRIBUTE_NORMAL));
    }
    void TearDown() override {
        // Removing a Unix link through Wine would remove its target instead.
        if (unixLinkPlanted_ && StartUnix(folder_, L"Z:\\bin\\rm -f " + std::wstring(kTestFileName))) {
            WaitForExistence(path_, false);
        }
        WriterFiles::TearDown();
    }

    // A Unix symbolic link at the test path to the target, relative to the
    // folder; false where there is no Unix side to make one.
    bool PlantUnixLink(const std::wstring& target) {
        if (!StartUnix(folder_, L"Z:\\bin\\ln -s " + target + L" " + kTestFileName)) return false;
        unixLinkPlanted_ = true;
        return WaitForExistence(path_, true);
    }

    void ExpectCreationRefused() {
        EXPECT_EQ(nullptr, CreateTestFile(path_.c_str()));
        EXPECT_EQ(static_cast<DWORD>(ERROR_CANT_ACCESS_FILE), TestFileError());
        EXPECT_EQ(nullptr, g_writer.handle);
        EXPECT_EQ(0, WriteChunk(sentinel_.data(), static_cast<int32_t>(sentinel_.size())));
        CloseTestFile();
    }

    void ExpectSentinelUnchanged(DWORD attributes) {
        EXPECT_TRUE(ReadWholeFile(sentinelPath_) == sentinel_) << "the sentinel's bytes changed";
        EXPECT_EQ(attributes, GetFileAttributesW(sentinelPath_.c_str()) & kKeptAttributes);
    }

    static constexpr DWORD kKeptAttributes = FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_HIDDEN;
    const std::string sentinel_ = PatternOf(3 * kChunkBytes / 2);
    std::wstring sentinelPath_;
    bool unixLinkPlanted_ = false;
};

// Removing a second name leaves the data under the first.
TEST_F(PlantedLink, AHardLinkIsRefusedAndOnlyItsNameRemoved) {
    ASSERT_TRUE(CreateHardLinkW(path_.c_str(), sentinelPath_.c_str(), nullptr)) << GetLastError();
    ASSERT_TRUE(ReadWholeFile(path_) == sentinel_);
    ExpectCreationRefused();
    ExpectSentinelUnchanged(0);

    EXPECT_NE(0, ForceDelete(path_.c_str()));
    EXPECT_FALSE(FileExists(path_));
    ExpectSentinelUnchanged(0);
}

// The attributes of a file with two names are the other name's too: they
// are not cleared, so a read-only one stays, name and all.
TEST_F(PlantedLink, AHardLinkToAReadOnlyFileKeepsItsAttributes) {
    const DWORD attributes = FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_HIDDEN;
    ASSERT_TRUE(SetFileAttributesW(sentinelPath_.c_str(), attributes));
    ASSERT_TRUE(CreateHardLinkW(path_.c_str(), sentinelPath_.c_str(), nullptr)) << GetLastError();
    ExpectCreationRefused();
    for (int i = 0; i < 3; ++i) EXPECT_EQ(0, ForceDelete(path_.c_str()));
    EXPECT_TRUE(FileExists(path_));
    ExpectSentinelUnchanged(attributes);
}

// Under Wine a Unix symbolic link shows no reparse point: it looks and opens
// like the file it leads to, and removing it would remove that file. Both
// creation and deletion leave it, and the file behind it, alone.
TEST_F(PlantedLink, AUnixSymbolicLinkIsRefusedAndLeftAlone) {
    const DWORD attributes = FILE_ATTRIBUTE_READONLY;
    ASSERT_TRUE(SetFileAttributesW(sentinelPath_.c_str(), attributes));
    if (!PlantUnixLink(kSentinelName)) {
        ASSERT_FALSE(unixLinkPlanted_) << "ln started but no link appeared";
        GTEST_SKIP() << "no Unix side to make a link";
    }
    ASSERT_TRUE(ReadWholeFile(path_) == sentinel_);
    ExpectCreationRefused();
    ExpectSentinelUnchanged(attributes);

    for (int i = 0; i < 3; ++i) EXPECT_EQ(0, ForceDelete(path_.c_str()));
    ExpectSentinelUnchanged(attributes);
    EXPECT_TRUE(ReadWholeFile(path_) == sentinel_) << "the link is gone or leads elsewhere";
}

// A link that leads nowhere must not make its target spring up, as creating
// through it would.
TEST_F(PlantedLink, ADanglingUnixSymbolicLinkCreatesNothing) {
    const std::wstring target = folder_ + L"target.bin";
    ASSERT_TRUE(MakeFile(target, "soon gone", FILE_ATTRIBUTE_NORMAL));
    if (!PlantUnixLink(L"target.bin")) {
        ASSERT_FALSE(unixLinkPlanted_) << "ln started but no link appeared";
        GTEST_SKIP() << "no Unix side to make a link";
    }
    ASSERT_TRUE(DeleteFileW(target.c_str()));
    ASSERT_FALSE(FileExists(target));

    EXPECT_EQ(nullptr, CreateTestFile(path_.c_str()));
    EXPECT_NE(0u, TestFileError());
    CloseTestFile();
    for (int i = 0; i < 3; ++i) ForceDelete(path_.c_str());
    EXPECT_FALSE(FileExists(target));
    ExpectSentinelUnchanged(0);
    // A link with a target can be seen going when the fixture removes it.
    ASSERT_TRUE(MakeFile(target, "back", FILE_ATTRIBUTE_NORMAL));
}

// A Windows symbolic link is a reparse point, opened and removed as itself.
// Wine only pretends to make one; Windows makes one only with the privilege.
TEST_F(PlantedLink, AWindowsSymbolicLinkIsRefusedAndOnlyItsNameRemoved) {
    if (!CreateSymbolicLinkW(path_.c_str(), sentinelPath_.c_str(), 0) || !FileExists(path_)) {
        GTEST_SKIP() << "symbolic links cannot be made here";
    }
    ExpectCreationRefused();
    EXPECT_NE(0, ForceDelete(path_.c_str()));
    EXPECT_FALSE(FileExists(path_));
    ExpectSentinelUnchanged(0);
}

}  // namespace
