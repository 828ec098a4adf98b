// The free-memory gate, the heaps and the test buffer: calls recorded through
// the memory seam, and a small buffer from a real heap.
#include <gtest/gtest.h>

#include <cstdint>
#include <cstring>
#include <vector>

#include "fakes/memory_os_recorder.h"
#include "system/constants.h"
#include "system/memory.h"

namespace {

class MemoryCalls : public ::testing::Test {
protected:
    void TearDown() override {
        DestroyMemoryHeap();
        DestroyGeneralHeap();
        RemoveMemoryOsRecorder();
    }
};

struct GateCase {
    const char* name;
    BOOL queryResult;
    uint64_t availPhysBytes;
    uint64_t expectedFree;
    bool passes;
};

TEST_F(MemoryCalls, GateNeedsMoreThanEightGibibytesFree) {
    const GateCase cases[] = {
        {"exactly 8 GiB", TRUE, 8589934592, 8589934592, false},
        {"one byte more", TRUE, 8589934593, 8589934593, true},
        {"one byte less", TRUE, 8589934591, 8589934591, false},
        {"plenty", TRUE, 24ull << 30, 24ull << 30, true},
        {"the query fails", FALSE, 16ull << 30, 0, false},
        {"top bit set reads as negative", TRUE, 0x8000000000000000ull, 0x8000000000000000ull, false},
        {"all bits set reads as -1", TRUE, UINT64_MAX, UINT64_MAX, false},
    };
    for (const GateCase& c : cases) {
        SCOPED_TRACE(c.name);
        MemoryOsAnswers answers;
        answers.statusResult = c.queryResult;
        answers.availPhysBytes = c.availPhysBytes;
        InstallMemoryOsRecorder(answers);
        const uint64_t free = QueryFreePhysicalMemory();
        EXPECT_EQ(c.expectedFree, free);
        EXPECT_EQ(c.passes, FreeMemoryPassesGate(free));
        ASSERT_EQ(1u, g_memoryRecorder.calls.size());
        EXPECT_EQ(64u, g_memoryRecorder.calls[0].a) << "dwLength";
        EXPECT_EQ(1u, g_memoryRecorder.calls[0].b) << "the record came cleared";
    }
}

TEST_F(MemoryCalls, HeapsAreGrowablePrivateHeaps) {
    MemoryOsAnswers answers;
    InstallMemoryOsRecorder(answers);
    ASSERT_TRUE(CreateGeneralHeap());
    ASSERT_TRUE(CreateMemoryHeap());
    EXPECT_EQ(answers.createdHeap, GeneralHeap());
    EXPECT_EQ(answers.createdHeap, MemoryHeap());
    ASSERT_EQ(2, CountMemoryCalls(MemoryCall::HeapCreate));
    for (const MemoryCallRecord& r : g_memoryRecorder.calls) {
        EXPECT_EQ(0u, r.a) << "options";
        EXPECT_EQ(4096u, r.b) << "initial size";
        EXPECT_EQ(0u, r.c) << "maximum size";
    }
    DestroyMemoryHeap();
    EXPECT_EQ(nullptr, MemoryHeap());
    EXPECT_EQ(answers.createdHeap, GeneralHeap());
    DestroyGeneralHeap();
    EXPECT_EQ(nullptr, GeneralHeap());
    ASSERT_EQ(2, CountMemoryCalls(MemoryCall::HeapDestroy));
    DestroyMemoryHeap();  // a second time: nothing left to destroy
    EXPECT_EQ(2, CountMemoryCalls(MemoryCall::HeapDestroy));
}

TEST_F(MemoryCalls, HeapThatCannotBeMadeIsReported) {
    MemoryOsAnswers answers;
    answers.createdHeap = nullptr;
    InstallMemoryOsRecorder(answers);
    EXPECT_FALSE(CreateMemoryHeap());
    EXPECT_EQ(nullptr, MemoryHeap());
    EXPECT_EQ(nullptr, AllocateTestBuffer(kTestBufferBytes));
    EXPECT_EQ(0, CountMemoryCalls(MemoryCall::HeapAlloc));
}

TEST_F(MemoryCalls, TestBufferComesZeroedFromTheMemoryHeap) {
    char block[16];
    MemoryOsAnswers answers;
    answers.allocated = block;
    InstallMemoryOsRecorder(answers);
    ASSERT_TRUE(CreateMemoryHeap());
    EXPECT_EQ(block, AllocateTestBuffer(kTestBufferBytes));
    ASSERT_EQ(1, CountMemoryCalls(MemoryCall::HeapAlloc));
    const MemoryCallRecord& alloc = g_memoryRecorder.calls.back();
    EXPECT_EQ(MemoryHeap(), alloc.heap);
    EXPECT_EQ(static_cast<uint64_t>(HEAP_ZERO_MEMORY), alloc.a);
    EXPECT_EQ(8589934592u, alloc.b);

    g_memoryRecorder.answers.allocated = nullptr;
    EXPECT_EQ(nullptr, AllocateTestBuffer(kTestBufferBytes));
}

TEST_F(MemoryCalls, NoSizeMeansNoBufferAndNoHeapCall) {
    char block[16];
    MemoryOsAnswers answers;
    answers.allocated = block;
    InstallMemoryOsRecorder(answers);
    ASSERT_TRUE(CreateMemoryHeap());
    for (int64_t size : {int64_t{0}, int64_t{-1}, INT64_MIN}) {
        SCOPED_TRACE(size);
        EXPECT_EQ(nullptr, AllocateTestBuffer(size));
    }
    EXPECT_EQ(0, CountMemoryCalls(MemoryCall::HeapAlloc));
}

TEST(MemoryReal, FreePhysicalMemoryIsReported) { EXPECT_GT(QueryFreePhysicalMemory(), 0u); }

// Only the low 8 bits of the value count, and not a byte outside the block moves.
TEST(MemoryReal, FillSetsEveryByteOfTheBlockAndNoOther) {
    ASSERT_TRUE(CreateMemoryHeap());
    constexpr int64_t kBytes = 3 * 1048576 + 5;
    char* buffer = static_cast<char*>(AllocateTestBuffer(kBytes + 2));
    ASSERT_NE(nullptr, buffer);
    EXPECT_EQ(std::vector<char>(kBytes + 2, 0), std::vector<char>(buffer, buffer + kBytes + 2)) << "zeroed";
    FillTestBuffer(buffer + 1, kBytes, 0x180);
    EXPECT_EQ(0, buffer[0]);
    EXPECT_EQ(0, buffer[kBytes + 1]);
    EXPECT_EQ(std::vector<char>(kBytes, static_cast<char>(0x80)), std::vector<char>(buffer + 1, buffer + 1 + kBytes));
    FillTestBuffer(buffer + 1, 0, 0x11);
    FillTestBuffer(buffer + 1, -5, 0x11);
    EXPECT_EQ(static_cast<char>(0x80), buffer[1]);
    DestroyMemoryHeap();
}

}  // namespace
