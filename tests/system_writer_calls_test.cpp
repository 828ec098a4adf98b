// The writer's system calls, recorded through the file seam: one whole task of
// the real size, the ways creation and allocation fail, and the small writes.
#include <gtest/gtest.h>

#include <cstdio>
#include <string>
#include <vector>

#include "system_writer_fixture.h"

namespace {

std::string Hex(uint64_t value) {
    char text[32];
    std::snprintf(text, sizeof text, "0x%llX", static_cast<unsigned long long>(value));
    return text;
}

// Paths here are plain ASCII.
std::string Narrow(const std::wstring& text) {
    std::string narrow;
    for (wchar_t c : text) narrow += static_cast<char>(c);
    return narrow;
}

std::string NameOfHandle(HANDLE handle) {
    if (handle == FakeFileHandle()) return "file";
    if (handle == GeneralHeap() && handle != nullptr) return "general heap";
    return Hex(reinterpret_cast<uintptr_t>(handle));
}

std::string NameOfData(const void* data) {
    const uintptr_t at = reinterpret_cast<uintptr_t>(data);
    if (data == FakeWriteBuffer()) return "write buffer";
    if (at >= kBufferBase && at < kBufferBase + kTestBufferBytes) return "chunk@" + std::to_string(at - kBufferBase);
    return Hex(at);
}

// One line per call, so a whole sequence compares as text and the first
// difference says exactly which call and which argument went wrong.
std::string Describe(const FileCallRecord& r) {
    const std::string extras = r.extrasNull ? "" : " extras-not-null";
    switch (r.call) {
        case FileCall::CreateFile:
            return "CreateFileW " + Narrow(r.path) + " access=" + Hex(r.access) + " share=" + Hex(r.share) +
                   " disposition=" + std::to_string(r.disposition) + " flags=" + Hex(r.flags) + extras;
        case FileCall::WriteFile:
            return "WriteFile " + NameOfHandle(r.handle) + " " + NameOfData(r.data) + " " +
                   std::to_string(r.bytes) + extras;
        case FileCall::SetFilePointer:
            return "SetFilePointer " + NameOfHandle(r.handle) + " " + std::to_string(r.distance) +
                   (r.highGiven ? " high=" + std::to_string(r.high) : " no-high") + " method=" +
                   std::to_string(r.disposition);
        case FileCall::CloseHandle: return "CloseHandle " + NameOfHandle(r.handle);
        case FileCall::SetFileAttributes: return "SetFileAttributesW " + Narrow(r.path) + " " + Hex(r.flags);
        case FileCall::DeleteFile: return "DeleteFileW " + Narrow(r.path);
        case FileCall::HeapAlloc:
            return "HeapAlloc " + NameOfHandle(r.handle) + " " + Hex(r.flags) + " " + std::to_string(r.bytes);
        case FileCall::HeapFree:
            return "HeapFree " + NameOfHandle(r.handle) + " " + Hex(r.flags) + " " + NameOfData(r.data);
        case FileCall::GetLastError: return "GetLastError";
    }
    return "?";
}

void ExpectCalls(const std::vector<std::string>& expected) {
    const std::vector<FileCallRecord>& calls = g_fileRecorder.calls;
    for (size_t i = 0; i < expected.size() && i < calls.size(); ++i) {
        ASSERT_EQ(expected[i], Describe(calls[i])) << "call " << i;
    }
    ASSERT_EQ(expected.size(), calls.size());
}

// The phases of a task's call pattern, each as the lines it adds.
// CREATE_ALWAYS is 2, TRUNCATE_EXISTING 5, FILE_CURRENT 1.
void AddForceDeletes(std::vector<std::string>* lines) {
    for (int i = 0; i < 3; ++i) {
        lines->push_back("SetFileAttributesW D:\\Varnhold.dat 0x80");
        lines->push_back("DeleteFileW D:\\Varnhold.dat");
    }
}
void AddCreateNew(std::vector<std::string>* lines) {
    lines->push_back("CreateFileW D:\\Varnhold.dat access=0xC0000000 share=0x0 disposition=2 flags=0x80");
}
void AddCreateTruncate(std::vector<std::string>* lines) {
    lines->push_back("CreateFileW D:\\Varnhold.dat access=0x40000000 share=0x0 disposition=5 flags=0x0");
}
void AddAllocBuffer(std::vector<std::string>* lines) { lines->push_back("HeapAlloc general heap 0x0 4096"); }
void AddChunks(std::vector<std::string>* lines, bool buffered) {
    if (buffered) lines->push_back("SetFilePointer file 0 high=0 method=1");
    for (int64_t offset = 0; offset < kTestBufferBytes; offset += kChunkBytes) {
        const int64_t length = offset == kLastChunkOffset ? kLastChunkBytes : kChunkBytes;
        if (buffered) lines->push_back("WriteFile file write buffer 0");
        lines->push_back("WriteFile file chunk@" + std::to_string(offset) + " " + std::to_string(length));
    }
}
void AddCloseBuffered(std::vector<std::string>* lines) {
    lines->push_back("WriteFile file write buffer 0");
    lines->push_back("HeapFree general heap 0x0 write buffer");
    lines->push_back("CloseHandle file");
}

TEST_F(RecordedWriter, WholeTaskMakesExactlyTheseCalls) {
    InstallFileOsRecorder({});
    for (int i = 0; i < 3; ++i) ForceDelete(kRecordedPath);
    EXPECT_EQ(FakeFileHandle(), CreateTestFile(kRecordedPath));
    EXPECT_EQ(FakeFileHandle(), g_writer.handle);
    EXPECT_FALSE(g_writer.writing);
    EXPECT_EQ(0, g_writer.pendingBytes);
    EXPECT_EQ(kWriteBufferBytes, g_writer.bufferBytes);

    const std::vector<int64_t> taken = WriteWholeBuffer();
    EXPECT_TRUE(g_writer.writing);
    CloseTestFile();
    EXPECT_EQ(nullptr, g_writer.handle);
    for (int i = 0; i < 3; ++i) ForceDelete(kRecordedPath);

    std::vector<std::string> expected;
    AddForceDeletes(&expected);
    AddCreateNew(&expected);
    AddAllocBuffer(&expected);
    AddChunks(&expected, true);
    AddCloseBuffered(&expected);
    AddForceDeletes(&expected);
    ExpectCalls(expected);

    EXPECT_EQ(8195, CountFileCalls(FileCall::WriteFile));
    int dataWrites = 0;
    int64_t dataBytes = 0;
    for (const FileCallRecord& r : g_fileRecorder.calls) {
        if (r.call == FileCall::WriteFile && r.bytes > 0) {
            ++dataWrites;
            dataBytes += static_cast<int64_t>(r.bytes);
        }
    }
    EXPECT_EQ(4097, dataWrites);
    EXPECT_EQ(kTestBufferBytes, dataBytes);
    EXPECT_EQ(0, CountFileCalls(FileCall::GetLastError));

    ASSERT_EQ(static_cast<size_t>(kChunksPerTask), taken.size());
    EXPECT_EQ(kChunkBytes, taken.front());
    EXPECT_EQ(kLastChunkBytes, taken.back());
    EXPECT_EQ(0u, TestFileError());
}

// The first and last chunks, read straight from the record.
TEST_F(RecordedWriter, FirstAndLastChunkLandAtTheirOffsets) {
    InstallFileOsRecorder({});
    RunRecordedTask();
    std::vector<const FileCallRecord*> data;
    for (const FileCallRecord& r : g_fileRecorder.calls) {
        if (r.call == FileCall::WriteFile && r.bytes > 0) data.push_back(&r);
    }
    ASSERT_EQ(4097u, data.size());
    EXPECT_EQ(ChunkAt(0), data.front()->data);
    EXPECT_EQ(static_cast<SIZE_T>(kChunkBytes), data.front()->bytes);
    EXPECT_EQ(ChunkAt(kLastChunkOffset), data.back()->data);
    EXPECT_EQ(static_cast<SIZE_T>(kLastChunkBytes), data.back()->bytes);
}

enum class Phase { CreateNew, CreateTruncate, ReadLastError, AllocBuffer, BufferedChunks, DirectChunks,
                   CloseBuffered, CloseDirect };

struct FailureCase {
    const char* name;
    int failingCreates;
    bool heapAllocFails;
    bool opened;
    std::vector<Phase> phases;  // between the deletions before and after the task
};

TEST_F(RecordedWriter, FailedCreationOrAllocationChangesTheCalls) {
    const FailureCase cases[] = {
        {"first creation fails, second truncates", 1, false, true,
         {Phase::CreateNew, Phase::CreateTruncate, Phase::AllocBuffer, Phase::BufferedChunks,
          Phase::CloseBuffered}},
        {"both creations fail", 2, false, false,
         {Phase::CreateNew, Phase::CreateTruncate, Phase::ReadLastError}},
        {"write buffer cannot be had", 0, true, true,
         {Phase::CreateNew, Phase::AllocBuffer, Phase::DirectChunks, Phase::CloseDirect}},
        {"second creation with no write buffer", 1, true, true,
         {Phase::CreateNew, Phase::CreateTruncate, Phase::AllocBuffer, Phase::DirectChunks,
          Phase::CloseDirect}},
    };
    for (const FailureCase& c : cases) {
        SCOPED_TRACE(c.name);
        FileOsScript script;
        script.failingCreates = c.failingCreates;
        script.heapAllocFails = c.heapAllocFails;
        InstallFileOsRecorder(script);
        RunRecordedTask();

        std::vector<std::string> expected;
        AddForceDeletes(&expected);
        for (Phase phase : c.phases) {
            switch (phase) {
                case Phase::CreateNew: AddCreateNew(&expected); break;
                case Phase::CreateTruncate: AddCreateTruncate(&expected); break;
                case Phase::ReadLastError: expected.push_back("GetLastError"); break;
                case Phase::AllocBuffer: AddAllocBuffer(&expected); break;
                case Phase::BufferedChunks: AddChunks(&expected, true); break;
                case Phase::DirectChunks: AddChunks(&expected, false); break;
                case Phase::CloseBuffered: AddCloseBuffered(&expected); break;
                case Phase::CloseDirect: expected.push_back("CloseHandle file"); break;
            }
        }
        AddForceDeletes(&expected);
        ExpectCalls(expected);
        EXPECT_EQ(nullptr, g_writer.handle);
        EXPECT_EQ(c.opened ? 0u : static_cast<DWORD>(ERROR_ACCESS_DENIED), TestFileError());
    }
}

TEST_F(RecordedWriter, ClosedWriterTakesNothingAndCallsNothing) {
    FileOsScript script;
    script.failingCreates = 2;
    InstallFileOsRecorder(script);
    EXPECT_EQ(nullptr, CreateTestFile(kRecordedPath));
    const size_t afterCreate = g_fileRecorder.calls.size();
    EXPECT_EQ(0, WriteChunk(ChunkAt(0), static_cast<int32_t>(kChunkBytes)));
    EXPECT_EQ(0, WriteChunk(ChunkAt(0), 10));
    CloseTestFile();
    EXPECT_EQ(afterCreate, g_fileRecorder.calls.size());
}

TEST_F(RecordedWriter, NothingToWriteMakesNoCall) {
    InstallFileOsRecorder({});
    CreateTestFile(kRecordedPath);
    const size_t afterCreate = g_fileRecorder.calls.size();
    EXPECT_EQ(0, WriteChunk(nullptr, static_cast<int32_t>(kChunkBytes)));
    EXPECT_EQ(0, WriteChunk(ChunkAt(0), 0));
    EXPECT_EQ(0, WriteChunk(ChunkAt(0), -1));
    EXPECT_EQ(afterCreate, g_fileRecorder.calls.size());
    EXPECT_FALSE(g_writer.writing);
}

// Without a first chunk there is no position to flush from: the buffer goes
// back and the file is closed, nothing written.
TEST_F(RecordedWriter, ClosingAnUnwrittenFileWritesNothing) {
    InstallFileOsRecorder({});
    CreateTestFile(kRecordedPath);
    CloseTestFile();
    ExpectCalls({"CreateFileW D:\\Varnhold.dat access=0xC0000000 share=0x0 disposition=2 flags=0x80",
                 "HeapAlloc general heap 0x0 4096", "HeapFree general heap 0x0 write buffer",
                 "CloseHandle file"});
}

// Writes shorter than the buffer are gathered and handed on in order, whole;
// a long one goes straight from the caller's memory once the buffer is out.
TEST_F(RecordedWriter, ShortWritesAreGatheredInTheWriteBuffer) {
    std::string source(12000, '\0');
    for (size_t i = 0; i < source.size(); ++i) source[i] = static_cast<char>('a' + i % 26 + i / 4096);
    const char* s = source.data();
    InstallFileOsRecorder({});
    CreateTestFile(kRecordedPath);
    EXPECT_EQ(100, WriteChunk(s, 100));
    EXPECT_EQ(3000, WriteChunk(s + 100, 3000));
    EXPECT_EQ(3100, g_writer.pendingBytes);
    EXPECT_EQ(1000, WriteChunk(s + 3100, 1000));  // no room left: the 3100 go out first
    EXPECT_EQ(1900, WriteChunk(s + 4100, 1900));
    EXPECT_EQ(2900, g_writer.pendingBytes);
    EXPECT_EQ(5000, WriteChunk(s + 6000, 5000));
    EXPECT_EQ(0, g_writer.pendingBytes);
    EXPECT_EQ(1000, WriteChunk(s + 11000, 1000));
    EXPECT_EQ(4096, WriteChunk(s + 1000, 4096));  // a whole buffer's worth goes straight out
    CloseTestFile();

    std::vector<const FileCallRecord*> writes;
    for (const FileCallRecord& r : g_fileRecorder.calls) {
        if (r.call == FileCall::WriteFile) writes.push_back(&r);
    }
    ASSERT_EQ(6u, writes.size());
    EXPECT_EQ(source.substr(0, 3100), writes[0]->content);
    EXPECT_EQ(source.substr(3100, 2900), writes[1]->content);
    EXPECT_EQ(static_cast<const void*>(s + 6000), writes[2]->data);
    EXPECT_EQ(5000u, writes[2]->bytes);
    EXPECT_EQ(source.substr(11000, 1000), writes[3]->content);
    EXPECT_EQ(static_cast<const void*>(s + 1000), writes[4]->data);
    EXPECT_EQ(4096u, writes[4]->bytes);
    EXPECT_EQ(FakeWriteBuffer(), writes[5]->data);
    EXPECT_EQ(0u, writes[5]->bytes);
    EXPECT_EQ(1, CountFileCalls(FileCall::SetFilePointer));
}

}  // namespace
