// The writer's system calls, recorded through the file seam: one whole task of
// the real size, the ways creation and allocation fail, and the small writes.
#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

#include "system_writer_calls.h"

namespace {

// The phases of a task's call pattern, each as the lines it adds.
// FILE_CURRENT is 1.
// Three forced deletions: the first removes the file if one is there, the
// others find nothing to open.
void AddForceDeletes(std::vector<std::string>* lines, bool fileThere) {
    if (fileThere) {
        for (const std::string& line : DeletionLines()) lines->push_back(line);
    }
    for (int i = fileThere ? 1 : 0; i < 3; ++i) lines->push_back(kOpenToDeleteLine);
}
// Three forced deletions of a file that will not go: each makes every call.
void AddFailedDeletes(std::vector<std::string>* lines) {
    for (int i = 0; i < 3; ++i) {
        for (const std::string& line : DeletionLines()) lines->push_back(line);
    }
}
void AddCreateNew(std::vector<std::string>* lines) { lines->push_back(kCreateNewLine); }
void AddReuseLeftover(std::vector<std::string>* lines) {
    for (const std::string& line : ReusedLeftoverLines()) lines->push_back(line);
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
    AddForceDeletes(&expected, false);
    AddCreateNew(&expected);
    AddAllocBuffer(&expected);
    AddChunks(&expected, true);
    AddCloseBuffered(&expected);
    AddForceDeletes(&expected, true);
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

enum class Phase { NoFileToDelete, DeleteFile, DeletionFails, CreateNew, OpenLeftover, ReuseLeftover,
                   ReadLastError, AllocBuffer, BufferedChunks, DirectChunks, CloseBuffered, CloseDirect };

struct FailureCase {
    const char* name;
    FileOsScript script;
    DWORD expectedError;
    std::vector<Phase> phases;
};

FileOsScript Script(bool fileThere, std::vector<DWORD> createErrors, bool heapAllocFails, DWORD deleteError) {
    FileOsScript script;
    script.fileThere = fileThere;
    script.createErrors = std::move(createErrors);
    script.heapAllocFails = heapAllocFails;
    script.deleteError = deleteError;
    return script;
}

// How the rest of a task follows from the way its file was had.
TEST_F(RecordedWriter, FailedCreationOrAllocationChangesTheCalls) {
    const FailureCase cases[] = {
        {"a leftover the deletions cannot remove is reused like a new file",
         Script(true, {}, false, ERROR_ACCESS_DENIED), 0,
         {Phase::DeletionFails, Phase::ReuseLeftover, Phase::AllocBuffer, Phase::BufferedChunks,
          Phase::CloseBuffered, Phase::DeletionFails}},
        {"creation fails", Script(false, {0, 0, 0, ERROR_ACCESS_DENIED}, false, 0), ERROR_ACCESS_DENIED,
         {Phase::NoFileToDelete, Phase::CreateNew, Phase::ReadLastError, Phase::NoFileToDelete}},
        {"the leftover cannot be opened", Script(true, {0, 0, 0, 0, ERROR_SHARING_VIOLATION}, false, ERROR_ACCESS_DENIED),
         ERROR_SHARING_VIOLATION,
         {Phase::DeletionFails, Phase::CreateNew, Phase::ReadLastError, Phase::OpenLeftover, Phase::ReadLastError,
          Phase::DeletionFails}},
        {"write buffer cannot be had", Script(false, {}, true, 0), 0,
         {Phase::NoFileToDelete, Phase::CreateNew, Phase::AllocBuffer, Phase::DirectChunks, Phase::CloseDirect,
          Phase::DeleteFile}},
        {"reused leftover with no write buffer", Script(true, {}, true, ERROR_ACCESS_DENIED), 0,
         {Phase::DeletionFails, Phase::ReuseLeftover, Phase::AllocBuffer, Phase::DirectChunks, Phase::CloseDirect,
          Phase::DeletionFails}},
    };
    for (const FailureCase& c : cases) {
        SCOPED_TRACE(c.name);
        InstallFileOsRecorder(c.script);
        RunRecordedTask();

        std::vector<std::string> expected;
        for (Phase phase : c.phases) {
            switch (phase) {
                case Phase::NoFileToDelete: AddForceDeletes(&expected, false); break;
                case Phase::DeleteFile: AddForceDeletes(&expected, true); break;
                case Phase::DeletionFails: AddFailedDeletes(&expected); break;
                case Phase::CreateNew: AddCreateNew(&expected); break;
                case Phase::OpenLeftover: expected.push_back(kOpenLeftoverLine); break;
                case Phase::ReuseLeftover: AddReuseLeftover(&expected); break;
                case Phase::ReadLastError: expected.push_back("GetLastError"); break;
                case Phase::AllocBuffer: AddAllocBuffer(&expected); break;
                case Phase::BufferedChunks: AddChunks(&expected, true); break;
                case Phase::DirectChunks: AddChunks(&expected, false); break;
                case Phase::CloseBuffered: AddCloseBuffered(&expected); break;
                case Phase::CloseDirect: expected.push_back("CloseHandle file"); break;
            }
        }
        ExpectCalls(expected);
        EXPECT_EQ(nullptr, g_writer.handle);
        EXPECT_EQ(c.expectedError, TestFileError());
    }
}

TEST_F(RecordedWriter, ClosedWriterTakesNothingAndCallsNothing) {
    FileOsScript script;
    script.createErrors = {ERROR_ACCESS_DENIED};
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
    ExpectCalls({kCreateNewLine, "HeapAlloc general heap 0x0 4096", "HeapFree general heap 0x0 write buffer",
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
