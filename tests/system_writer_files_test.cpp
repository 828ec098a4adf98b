// The writer against the real file system, in a folder of its own under the
// temporary folder.
#include <gtest/gtest.h>

#include <string>

#include "system_writer_files.h"

namespace {

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

// A leftover the deletions could not remove, plain or hidden: the longer
// file is cut to nothing and written from offset 0 like a new one, keeping
// its attributes.
TEST_F(WriterFiles, ALeftoverFileIsCutAndReused) {
    const LeftoverCase cases[] = {
        {"plain", FILE_ATTRIBUTE_NORMAL},
        {"hidden", FILE_ATTRIBUTE_HIDDEN},
    };
    for (const LeftoverCase& c : cases) {
        SCOPED_TRACE(c.name);
        ASSERT_TRUE(MakeFile(path_, std::string(3 * kChunkBytes + 77, 'x'), c.attributes));
        const std::string data = PatternOf(kChunkBytes + kLastChunkBytes);
        ASSERT_NE(nullptr, CreateTestFile(path_.c_str()));
        WriteInChunks(data);
        CloseTestFile();
        EXPECT_EQ(0u, TestFileError());
        EXPECT_TRUE(ReadWholeFile(path_) == data);
        EXPECT_EQ(c.attributes & FILE_ATTRIBUTE_HIDDEN, GetFileAttributesW(path_.c_str()) & FILE_ATTRIBUTE_HIDDEN);
        ASSERT_NE(0, ForceDelete(path_.c_str()));
    }
}

// A folder by the test file's name is neither used nor removed.
TEST_F(WriterFiles, AFolderAtThePathIsLeftAlone) {
    ASSERT_TRUE(CreateDirectoryW(path_.c_str(), nullptr));
    EXPECT_EQ(nullptr, CreateTestFile(path_.c_str()));
    EXPECT_NE(0u, TestFileError());
    EXPECT_EQ(0, ForceDelete(path_.c_str()));
    const DWORD attributes = GetFileAttributesW(path_.c_str());
    EXPECT_NE(INVALID_FILE_ATTRIBUTES, attributes);
    EXPECT_NE(0u, attributes & FILE_ATTRIBUTE_DIRECTORY);
    EXPECT_TRUE(RemoveDirectoryW(path_.c_str()));
}

// While another handle holds the file without sharing, it can be neither made
// new nor opened as a leftover, and the system's reason is kept.
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
