// One whole task with the real 8 GiB test buffer against the real file system:
// the file it leaves is exactly the buffer, byte for byte.
#include <gtest/gtest.h>

#include <cstring>
#include <vector>

#include "system/constants.h"
#include "system/memory.h"
#include "system/memory_os.h"
#include "system/writer.h"
#include "system_temp_folder.h"

namespace {

constexpr DWORD kReadBlockBytes = 64 << 20;

// Reads the file in large blocks against a block of the fill byte; returns the
// number of bytes that matched before the first difference or the end.
int64_t CountFillBytes(const std::wstring& path) {
    HANDLE file = CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                              FILE_FLAG_SEQUENTIAL_SCAN, nullptr);
    if (file == INVALID_HANDLE_VALUE) return -1;
    std::vector<char> block(kReadBlockBytes);
    const std::vector<char> expected(kReadBlockBytes, static_cast<char>(kFillByte));
    int64_t matched = 0;
    DWORD got = 0;
    while (ReadFile(file, block.data(), kReadBlockBytes, &got, nullptr) && got > 0) {
        if (std::memcmp(block.data(), expected.data(), got) != 0) break;
        matched += got;
    }
    CloseHandle(file);
    return matched;
}

class FullTask : public TempFolderTest {
protected:
    void SetUp() override {
        TempFolderTest::SetUp();
        g_memoryOs = kRealMemoryOs;
        ASSERT_TRUE(CreateGeneralHeap());
        ASSERT_TRUE(CreateMemoryHeap());
    }
    void TearDown() override {
        TempFolderTest::TearDown();
        DestroyMemoryHeap();
        DestroyGeneralHeap();
    }
};

TEST_F(FullTask, LeavesEightGibibytesOfTheFillByte) {
    char* buffer = static_cast<char*>(AllocateTestBuffer(kTestBufferBytes));
    ASSERT_NE(nullptr, buffer) << "free physical memory: " << QueryFreePhysicalMemory();
    FillTestBuffer(buffer, kTestBufferBytes, kFillByte);
    ASSERT_EQ(static_cast<char>(kFillByte), buffer[0]);
    ASSERT_EQ(static_cast<char>(kFillByte), buffer[kTestBufferBytes - 1]);

    for (int i = 0; i < 3; ++i) ForceDelete(path_.c_str());
    ASSERT_NE(nullptr, CreateTestFile(path_.c_str()));
    int64_t chunks = 0;
    for (int64_t offset = 0; offset < kTestBufferBytes; offset += kChunkBytes, ++chunks) {
        const int64_t remaining = kTestBufferBytes - offset;
        const int32_t length = static_cast<int32_t>(remaining < kChunkBytes ? remaining : kChunkBytes);
        ASSERT_EQ(length, WriteChunk(buffer + offset, length)) << "chunk " << chunks;
    }
    CloseTestFile();
    EXPECT_EQ(kChunksPerTask, chunks);
    EXPECT_EQ(0u, TestFileError());
    // Hand the 8 GiB back before reading, so the file's cache has the room.
    DestroyMemoryHeap();

    WIN32_FILE_ATTRIBUTE_DATA data;
    ASSERT_TRUE(GetFileAttributesExW(path_.c_str(), GetFileExInfoStandard, &data));
    const int64_t size = (static_cast<int64_t>(data.nFileSizeHigh) << 32) | data.nFileSizeLow;
    EXPECT_EQ(kTestBufferBytes, size);
    EXPECT_EQ(kTestBufferBytes, CountFillBytes(path_));

    for (int i = 0; i < 3; ++i) ForceDelete(path_.c_str());
    EXPECT_EQ(INVALID_FILE_ATTRIBUTES, GetFileAttributesW(path_.c_str()));
}

}  // namespace
