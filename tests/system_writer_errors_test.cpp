// What the writer remembers when the file fails, through the recorded file seam.
#include <gtest/gtest.h>

#include "system_writer_fixture.h"

namespace {

// WriteFile calls of a task: index 2k is the zero-length write before chunk k,
// 2k + 1 the chunk itself, 8194 the zero-length write at closing.
constexpr int kCloseWrite = 8194;
int ChunkWrite(int chunk) { return 2 * chunk + 1; }

struct WriteErrorCase {
    const char* name;
    int failingWrite;
    DWORD writeError;
    int shortWrite;
    DWORD shortWriteBytes;
    DWORD expectedError;
    int lastErrorReads;
};

TEST_F(RecordedWriter, FirstWriteFailureIsKeptAndTheTaskGoesOn) {
    const WriteErrorCase cases[] = {
        {"first chunk fails", ChunkWrite(0), ERROR_DISK_FULL, -1, 0, ERROR_DISK_FULL, 1},
        {"a middle chunk fails", ChunkWrite(100), ERROR_IO_DEVICE, -1, 0, ERROR_IO_DEVICE, 1},
        {"a failure with no code still counts", ChunkWrite(7), 0, -1, 0, ERROR_WRITE_FAULT, 1},
        {"zero-length write fails", 0, ERROR_INVALID_HANDLE, -1, 0, ERROR_INVALID_HANDLE, 1},
        {"zero-length write at closing fails", kCloseWrite, ERROR_IO_DEVICE, -1, 0, ERROR_IO_DEVICE, 1},
        {"last chunk comes up short", -1, 0, ChunkWrite(4096), 1000, ERROR_DISK_FULL, 0},
        {"a chunk is written not at all", -1, 0, ChunkWrite(3), 0, ERROR_DISK_FULL, 0},
        {"a chunk is one byte short", -1, 0, ChunkWrite(9), static_cast<DWORD>(kChunkBytes - 1), ERROR_DISK_FULL, 0},
        {"failure then short write", ChunkWrite(1), ERROR_IO_DEVICE, ChunkWrite(2), 5, ERROR_IO_DEVICE, 1},
        {"short write then failure", ChunkWrite(2), ERROR_IO_DEVICE, ChunkWrite(1), 5, ERROR_DISK_FULL, 1},
    };
    for (const WriteErrorCase& c : cases) {
        SCOPED_TRACE(c.name);
        FileOsScript script;
        script.failingWrite = c.failingWrite;
        script.writeError = c.writeError;
        script.shortWrite = c.shortWrite;
        script.shortWriteBytes = c.shortWriteBytes;
        InstallFileOsRecorder(script);
        const std::vector<int64_t> taken = RunRecordedTask();

        EXPECT_EQ(c.expectedError, TestFileError());
        EXPECT_EQ(8195, CountFileCalls(FileCall::WriteFile));
        EXPECT_EQ(c.lastErrorReads, CountFileCalls(FileCall::GetLastError));
        EXPECT_EQ(2, CountFileCalls(FileCall::CloseHandle));  // the file's, then the deletion's
        if (c.failingWrite % 2 == 1) {
            EXPECT_EQ(0, taken[c.failingWrite / 2]);
        }
        if (c.shortWrite >= 0) {
            EXPECT_EQ(static_cast<int64_t>(c.shortWriteBytes), taken[c.shortWrite / 2]);
        }
    }
}

TEST_F(RecordedWriter, SuccessfulCreationClearsAnEarlierFailure) {
    FileOsScript script;
    script.fileThere = true;
    script.linkCount = 2;
    InstallFileOsRecorder(script);
    CreateTestFile(kRecordedPath);
    ASSERT_NE(0u, TestFileError());
    InstallFileOsRecorder({});
    EXPECT_EQ(FakeFileHandle(), CreateTestFile(kRecordedPath));
    EXPECT_EQ(0u, TestFileError());
    CloseTestFile();

    script = {};
    script.failingWrite = ChunkWrite(0);
    InstallFileOsRecorder(script);
    RunRecordedTask();
    ASSERT_EQ(static_cast<DWORD>(ERROR_DISK_FULL), TestFileError());
    InstallFileOsRecorder({});
    RunRecordedTask();
    EXPECT_EQ(0u, TestFileError());
}

// A creation that fails anew replaces the code of the task before.
TEST_F(RecordedWriter, FailedCreationReplacesAnOlderWriteFailure) {
    FileOsScript script;
    script.failingWrite = ChunkWrite(0);
    script.writeError = ERROR_IO_DEVICE;
    InstallFileOsRecorder(script);
    RunRecordedTask();
    ASSERT_EQ(static_cast<DWORD>(ERROR_IO_DEVICE), TestFileError());
    script = {};
    script.createErrors = {ERROR_SHARING_VIOLATION};
    InstallFileOsRecorder(script);
    CreateTestFile(kRecordedPath);
    EXPECT_EQ(static_cast<DWORD>(ERROR_SHARING_VIOLATION), TestFileError());
}

}  // namespace
