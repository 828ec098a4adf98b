// The writer against the real file system, in a folder of its own under the
// temporary folder.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "system/constants.h"
#include "system/memory.h"
#include "system/writer.h"
#include "system_temp_folder.h"

namespace {

bool FileExists(const std::wstring& path) { return GetFileAttributesW(path.c_str()) != INVALID_FILE_ATTRIBUTES; }

bool MakeFile(const std::wstring& path, const std::string& content, DWORD attributes) {
    HANDLE file = CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) return false;
    DWORD written = 0;
    const BOOL wrote = WriteFile(file, content.data(), static_cast<DWORD>(content.size()), &written, nullptr);
    CloseHandle(file);
    return wrote && written == content.size() && SetFileAttributesW(path.c_str(), attributes);
}

std::string ReadWholeFile(const std::wstring& path) {
    std::string content;
    HANDLE file = CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
    if (file == INVALID_HANDLE_VALUE) return "(cannot open)";
    char block[65536];
    DWORD got = 0;
    while (ReadFile(file, block, sizeof block, &got, nullptr) && got > 0) content.append(block, got);
    CloseHandle(file);
    return content;
}

// Every byte tells where it belongs, so a chunk out of place or order shows.
std::string PatternOf(size_t bytes) {
    std::string pattern(bytes, '\0');
    for (size_t i = 0; i < bytes; ++i) pattern[i] = static_cast<char>((i * 7 + i / 65536) & 0xFF);
    return pattern;
}

void WriteInChunks(const std::string& data) {
    for (size_t offset = 0; offset < data.size(); offset += kChunkBytes) {
        const size_t length = std::min<size_t>(data.size() - offset, kChunkBytes);
        ASSERT_EQ(static_cast<int64_t>(length), WriteChunk(data.data() + offset, static_cast<int32_t>(length)));
    }
}

class WriterFiles : public TempFolderTest {
protected:
    void SetUp() override {
        TempFolderTest::SetUp();
        ASSERT_TRUE(CreateGeneralHeap());
    }
    void TearDown() override {
        TempFolderTest::TearDown();
        DestroyGeneralHeap();
    }
};

struct LeftoverCase {
    const char* name;
    DWORD attributes;
};

TEST_F(WriterFiles, ForceDeleteRemovesAFileWhateverItsAttributes) {
    const LeftoverCase cases[] = {
        {"plain", FILE_ATTRIBUTE_NORMAL},
        {"read-only", FILE_ATTRIBUTE_READONLY},
        {"hidden", FILE_ATTRIBUTE_HIDDEN},
        {"read-only, hidden and system", FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM},
    };
    for (const LeftoverCase& c : cases) {
        SCOPED_TRACE(c.name);
        ASSERT_TRUE(MakeFile(path_, "left from an earlier run", c.attributes));
        if (c.attributes != FILE_ATTRIBUTE_NORMAL) {
            ASSERT_EQ(c.attributes, GetFileAttributesW(path_.c_str()) & c.attributes);
        }
        EXPECT_NE(0, ForceDelete(path_.c_str()));
        EXPECT_FALSE(FileExists(path_));
    }
}

TEST_F(WriterFiles, ForceDeleteReportsFailureWhereThereIsNoFile) {
    EXPECT_EQ(0, ForceDelete(path_.c_str()));
    EXPECT_EQ(0, ForceDelete((folder_ + L"missing\\" + kTestFileName).c_str()));
}

TEST_F(WriterFiles, ChunksLandFrontToBackInANewFile) {
    const std::string data = PatternOf(3 * kChunkBytes + kLastChunkBytes);
    ASSERT_NE(nullptr, CreateTestFile(path_.c_str()));
    WriteInChunks(data);
    CloseTestFile();
    EXPECT_EQ(0u, TestFileError());
    EXPECT_TRUE(ReadWholeFile(path_) == data);
    const DWORD kept = FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM;
    EXPECT_EQ(0u, GetFileAttributesW(path_.c_str()) & kept);
}

// A longer file from before is cut to nothing, not overwritten in place.
TEST_F(WriterFiles, AnOlderLongerFileIsReplacedWhole) {
    ASSERT_TRUE(MakeFile(path_, std::string(3 * kChunkBytes, 'x'), FILE_ATTRIBUTE_NORMAL));
    const std::string data = PatternOf(kChunkBytes + kLastChunkBytes);
    ASSERT_NE(nullptr, CreateTestFile(path_.c_str()));
    WriteInChunks(data);
    CloseTestFile();
    EXPECT_TRUE(ReadWholeFile(path_) == data);
}

// Refuses the first creation as the system does for an existing hidden file
// (Wine does not), and passes the rest on, so the second attempt meets a real file.
int g_creations = 0;
HANDLE WINAPI RefuseFirstCreateFileW(LPCWSTR path, DWORD access, DWORD share, LPSECURITY_ATTRIBUTES security,
                                     DWORD disposition, DWORD flags, HANDLE templateFile) {
    if (g_creations++ == 0) {
        SetLastError(ERROR_ACCESS_DENIED);
        return INVALID_HANDLE_VALUE;
    }
    return kRealFileOs.CreateFileW(path, access, share, security, disposition, flags, templateFile);
}

HANDLE CreateAfterARefusal(const std::wstring& path) {
    g_creations = 0;
    g_fileOs.CreateFileW = RefuseFirstCreateFileW;
    HANDLE file = CreateTestFile(path.c_str());
    g_fileOs = kRealFileOs;
    return file;
}

// The second attempt cuts the longer file to nothing and it is written from
// offset 0 like a new one; its attributes stay as they were.
TEST_F(WriterFiles, SecondAttemptTruncatesAnExistingFile) {
    ASSERT_TRUE(MakeFile(path_, std::string(3 * kChunkBytes + 77, 'x'), FILE_ATTRIBUTE_HIDDEN));
    const std::string data = PatternOf(kChunkBytes + kLastChunkBytes);
    ASSERT_NE(nullptr, CreateAfterARefusal(path_));
    EXPECT_EQ(2, g_creations);
    WriteInChunks(data);
    CloseTestFile();
    EXPECT_EQ(0u, TestFileError());
    EXPECT_TRUE(ReadWholeFile(path_) == data);
    EXPECT_NE(0u, GetFileAttributesW(path_.c_str()) & FILE_ATTRIBUTE_HIDDEN);
}

// Truncation needs a file: without one the system's reason is kept.
TEST_F(WriterFiles, SecondAttemptFindsNoFileToTruncate) {
    EXPECT_EQ(nullptr, CreateAfterARefusal(path_));
    EXPECT_EQ(2, g_creations);
    EXPECT_EQ(static_cast<DWORD>(ERROR_FILE_NOT_FOUND), TestFileError());
    EXPECT_FALSE(FileExists(path_));
}

// While another handle holds the file without sharing, neither attempt can
// open it, and the system's reason is kept.
TEST_F(WriterFiles, AFileHeldElsewhereCannotBeCreated) {
    HANDLE holder = CreateFileW(path_.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    ASSERT_NE(INVALID_HANDLE_VALUE, holder);
    EXPECT_EQ(nullptr, CreateTestFile(path_.c_str()));
    EXPECT_EQ(static_cast<DWORD>(ERROR_SHARING_VIOLATION), TestFileError());
    const std::string data = PatternOf(kChunkBytes);
    EXPECT_EQ(0, WriteChunk(data.data(), static_cast<int32_t>(kChunkBytes)));
    CloseTestFile();
    CloseHandle(holder);
}

TEST_F(WriterFiles, ABareNameLandsInTheCurrentFolder) {
    wchar_t previous[MAX_PATH];
    ASSERT_NE(0u, GetCurrentDirectoryW(MAX_PATH, previous));
    ASSERT_TRUE(SetCurrentDirectoryW(folder_.c_str()));
    const std::string data = PatternOf(kLastChunkBytes);
    const bool created = CreateTestFile(kTestFileName) != nullptr;
    WriteInChunks(data);
    CloseTestFile();
    EXPECT_TRUE(created);
    EXPECT_TRUE(ReadWholeFile(path_) == data);
    EXPECT_NE(0, ForceDelete(kTestFileName));
    SetCurrentDirectoryW(previous);
    EXPECT_FALSE(FileExists(path_));
}

}  // namespace
