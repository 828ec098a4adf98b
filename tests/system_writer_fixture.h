// What the recorded writer tests share: a task cut as a run cuts it, over a
// test buffer that is only addresses, and a fixture that leaves the writer closed.
#pragma once

#include <gtest/gtest.h>

#include <vector>

#include "fakes/file_os_recorder.h"
#include "system/constants.h"
#include "system/memory.h"
#include "system/writer.h"

constexpr wchar_t kRecordedPath[] = L"D:\\Varnhold.dat";
// The recorder never reads a chunk that large, so no memory stands behind these.
constexpr uintptr_t kBufferBase = 0x100000000000;
constexpr int64_t kLastChunkOffset = 8589803520;

inline const void* ChunkAt(int64_t offset) {
    return reinterpret_cast<const void*>(kBufferBase + static_cast<uintptr_t>(offset));
}

// Chunks of kChunkBytes in ascending order, the rest last; what each took.
inline std::vector<int64_t> WriteWholeBuffer() {
    std::vector<int64_t> taken;
    for (int64_t offset = 0; offset < kTestBufferBytes; offset += kChunkBytes) {
        const int64_t remaining = kTestBufferBytes - offset;
        const int32_t length = static_cast<int32_t>(remaining < kChunkBytes ? remaining : kChunkBytes);
        taken.push_back(WriteChunk(ChunkAt(offset), length));
    }
    return taken;
}

inline std::vector<int64_t> RunRecordedTask() {
    for (int i = 0; i < 3; ++i) ForceDelete(kRecordedPath);
    CreateTestFile(kRecordedPath);
    std::vector<int64_t> taken = WriteWholeBuffer();
    CloseTestFile();
    for (int i = 0; i < 3; ++i) ForceDelete(kRecordedPath);
    return taken;
}

class RecordedWriter : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(CreateGeneralHeap()); }
    void TearDown() override {
        RemoveFileOsRecorder();
        g_writer = WriterState{nullptr, nullptr, kWriteBufferBytes, 0, false, 0};
        DestroyGeneralHeap();
    }
};
