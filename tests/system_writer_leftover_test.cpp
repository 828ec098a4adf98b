// Creation and forced deletion through the recorded seam: what stands at the
// path decides whether it is made new, reused after its checks, removed, or
// left alone.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "system_writer_calls.h"

namespace {

struct CreationCase {
    const char* name;
    FileOsScript script;
    std::vector<std::string> lines;  // every call CreateTestFile makes
    DWORD expectedError;             // 0: the file is open
};

FileOsScript Leftover() {
    FileOsScript script;
    script.fileThere = true;
    return script;
}

FileOsScript Failing(DWORD code) {
    FileOsScript script;
    script.createErrors = {code};
    return script;
}

std::vector<std::string> Then(std::vector<std::string> lines, const std::vector<std::string>& more) {
    lines.insert(lines.end(), more.begin(), more.end());
    return lines;
}

// The calls up to and including the check that refuses, then the close.
std::vector<std::string> RefusedAfter(const std::vector<std::string>& checks) {
    return Then(Then({kCreateNewLine, "GetLastError", kOpenLeftoverLine}, checks), {"CloseHandle file"});
}

std::vector<CreationCase> CreationCases() {
    std::vector<CreationCase> cases;
    cases.push_back({"nothing at the path: one call", {}, {kCreateNewLine, "HeapAlloc general heap 0x0 4096"}, 0});
    cases.push_back({"an ordinary leftover is cut and reused", Leftover(),
                     Then(ReusedLeftoverLines(), {"HeapAlloc general heap 0x0 4096"}), 0});
    FileOsScript script = Leftover();
    script.createErrors = {ERROR_ALREADY_EXISTS};
    cases.push_back({"a leftover reported as already existing", script,
                     Then(ReusedLeftoverLines(), {"HeapAlloc general heap 0x0 4096"}), 0});
    script = Leftover();
    script.fileAttributes = FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_ARCHIVE;
    cases.push_back({"a hidden leftover is reused too", script,
                     Then(ReusedLeftoverLines(), {"HeapAlloc general heap 0x0 4096"}), 0});

    script = Leftover();
    script.fileAttributes = FILE_ATTRIBUTE_REPARSE_POINT | FILE_ATTRIBUTE_ARCHIVE;
    cases.push_back({"a symbolic link or other reparse point", script, RefusedAfter({kLeftoverInfoLine}),
                     ERROR_CANT_ACCESS_FILE});
    script = Leftover();
    script.fileAttributes = FILE_ATTRIBUTE_DIRECTORY;
    cases.push_back({"a folder", script, RefusedAfter({kLeftoverInfoLine}), ERROR_CANT_ACCESS_FILE});
    script = Leftover();
    script.linkCount = 2;
    cases.push_back({"a file with a second name (hard link)", script, RefusedAfter({kLeftoverInfoLine}),
                     ERROR_CANT_ACCESS_FILE});
    script = Leftover();
    script.finalPath = L"\\\\?\\C:\\Windows\\system.ini";
    cases.push_back({"a file the path does not reach directly", script,
                     RefusedAfter({kLeftoverInfoLine, kFinalPathLine, kFullPathLine}), ERROR_CANT_ACCESS_FILE});
    script = Leftover();
    script.infoFails = true;
    cases.push_back({"what the file is cannot be read", script, RefusedAfter({kLeftoverInfoLine}),
                     ERROR_CANT_ACCESS_FILE});
    script = Leftover();
    script.finalPathFails = true;
    cases.push_back({"where the file is cannot be read", script, RefusedAfter({kLeftoverInfoLine, kFinalPathLine}),
                     ERROR_CANT_ACCESS_FILE});
    script = Leftover();
    script.finalPath = L"\\\\?\\D:\\" + std::wstring(1100, L'a');
    cases.push_back({"a final path longer than the room", script, RefusedAfter({kLeftoverInfoLine, kFinalPathLine}),
                     ERROR_CANT_ACCESS_FILE});
    script = Leftover();
    script.fullPathFails = true;
    cases.push_back({"the asked path cannot be made whole", script,
                     RefusedAfter({kLeftoverInfoLine, kFinalPathLine, kFullPathLine}), ERROR_CANT_ACCESS_FILE});

    // Nothing to open, yet creation found a name: what a dangling link does.
    cases.push_back({"a dangling link: the leftover cannot be opened", Failing(ERROR_FILE_EXISTS),
                     {kCreateNewLine, "GetLastError", kOpenLeftoverLine, "GetLastError"}, ERROR_FILE_NOT_FOUND});
    script = Leftover();
    script.createErrors = {0, ERROR_SHARING_VIOLATION};
    cases.push_back({"the leftover is held elsewhere", script,
                     {kCreateNewLine, "GetLastError", kOpenLeftoverLine, "GetLastError"}, ERROR_SHARING_VIOLATION});
    script = Leftover();
    script.setEndError = ERROR_ACCESS_DENIED;
    cases.push_back({"the leftover cannot be cut", script,
                     Then(ReusedLeftoverLines(), {"GetLastError", "CloseHandle file"}), ERROR_ACCESS_DENIED});

    // Anything but "exists" ends creation at once, with the system's code.
    const DWORD others[] = {ERROR_ACCESS_DENIED, ERROR_SHARING_VIOLATION, ERROR_PATH_NOT_FOUND,
                            ERROR_WRITE_PROTECT};
    for (DWORD code : others) {
        cases.push_back({"first attempt fails otherwise: no second attempt", Failing(code),
                         {kCreateNewLine, "GetLastError"}, code});
    }
    return cases;
}

TEST_F(RecordedWriter, WhatStandsAtThePathDecidesTheCreation) {
    for (const CreationCase& c : CreationCases()) {
        SCOPED_TRACE(testing::Message() << c.name << " (" << c.expectedError << ")");
        InstallFileOsRecorder(c.script);
        HANDLE file = CreateTestFile(kRecordedPath);
        ExpectCalls(c.lines);
        EXPECT_EQ(c.expectedError, TestFileError());
        EXPECT_EQ(c.expectedError == 0 ? FakeFileHandle() : nullptr, file);
        EXPECT_EQ(file, g_writer.handle);
        if (c.expectedError != 0) {
            // Refused or failed: the writer stays closed and touches nothing more.
            const size_t before = g_fileRecorder.calls.size();
            EXPECT_EQ(0, WriteChunk(ChunkAt(0), static_cast<int32_t>(kChunkBytes)));
            CloseTestFile();
            EXPECT_EQ(before, g_fileRecorder.calls.size());
        }
        CloseTestFile();
    }
}

struct PathCase {
    const wchar_t* finalPath;  // as the opened file's handle tells it
    const wchar_t* fullPath;   // the test path made whole
    bool reused;
};

// Only the same path, in any case of its ASCII letters and with or without
// the long-path prefix, lets a leftover be reused.
TEST_F(RecordedWriter, ALeftoverIsReusedOnlyWhereThePathLeadsItself) {
    const PathCase cases[] = {
        {L"\\\\?\\D:\\Varnhold.dat", L"D:\\Varnhold.dat", true},
        {L"\\\\?\\d:\\VARNHOLD.DAT", L"D:\\Varnhold.dat", true},
        {L"D:\\Varnhold.dat", L"D:\\Varnhold.dat", true},
        {L"\\\\?\\D:\\Varnhold.dat", L"\\\\?\\D:\\Varnhold.dat", true},
        {L"\\\\?\\UNC\\host\\share\\Varnhold.dat", L"\\\\host\\share\\Varnhold.dat", true},
        {L"\\\\?\\UNC\\host\\other\\Varnhold.dat", L"\\\\host\\share\\Varnhold.dat", false},
        {L"\\\\?\\UNC\\D:\\Varnhold.dat", L"D:\\Varnhold.dat", false},
        {L"\\\\?\\C:\\sentinel.bin", L"D:\\Varnhold.dat", false},
        {L"\\\\?\\E:\\Varnhold.dat", L"D:\\Varnhold.dat", false},
        {L"\\\\?\\D:\\sub\\Varnhold.dat", L"D:\\Varnhold.dat", false},
        {L"\\\\?\\D:\\Varnhold.dat.bak", L"D:\\Varnhold.dat", false},
        {L"\\\\?\\D:\\Varnhold.da", L"D:\\Varnhold.dat", false},
        {L"\\\\?\\D:\\V\u00C4rnhold.dat", L"D:\\V\u00E4rnhold.dat", false},  // only ASCII letters fold
    };
    for (const PathCase& c : cases) {
        SCOPED_TRACE(Narrow(c.finalPath) + " against " + Narrow(c.fullPath));
        FileOsScript script = Leftover();
        script.finalPath = c.finalPath;
        script.fullPath = c.fullPath;
        InstallFileOsRecorder(script);
        const bool reused = CreateTestFile(kRecordedPath) != nullptr;
        CloseTestFile();
        EXPECT_EQ(c.reused, reused);
        EXPECT_EQ(c.reused ? 1 : 0, CountFileCalls(FileCall::SetEndOfFile));
        EXPECT_EQ(c.reused ? 0u : static_cast<DWORD>(ERROR_CANT_ACCESS_FILE), TestFileError());
    }
}

struct DeleteCase {
    const char* name;
    FileOsScript script;
    std::vector<std::string> lines;
    BOOL deleted;
};

std::vector<std::string> DeletionCheckedUpTo(const std::vector<std::string>& checks) {
    return Then(Then({kOpenToDeleteLine}, checks), {"CloseHandle file"});
}

std::vector<DeleteCase> DeleteCases() {
    const std::vector<std::string> fullChecks = {kLeftoverInfoLine, kFinalPathLine, kFullPathLine};
    std::vector<DeleteCase> cases;
    cases.push_back({"nothing at the path: one call", {}, {kOpenToDeleteLine}, FALSE});
    cases.push_back({"a plain file", Leftover(), DeletionLines(), TRUE});
    FileOsScript script = Leftover();
    script.fileAttributes = FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_HIDDEN;
    cases.push_back({"a read-only file is made writable first", script,
                     DeletionCheckedUpTo(Then(fullChecks, {kMakeWritableLine, kMarkDeletedLine})), TRUE});
    script = Leftover();
    script.fileAttributes = FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM;
    cases.push_back({"hidden and system do not stand in the way", script, DeletionLines(), TRUE});
    script = Leftover();
    script.fileAttributes = FILE_ATTRIBUTE_READONLY;
    script.linkCount = 2;
    script.deleteError = ERROR_ACCESS_DENIED;
    cases.push_back({"shared attributes of a second name are not changed", script, DeletionLines(), FALSE});
    script = Leftover();
    script.linkCount = 2;
    cases.push_back({"a second name goes, the other stays", script, DeletionLines(), TRUE});
    script = Leftover();
    script.fileAttributes = FILE_ATTRIBUTE_REPARSE_POINT;
    cases.push_back({"a symbolic link opened as itself goes itself", script, DeletionLines(), TRUE});
    script = Leftover();
    script.finalPath = L"\\\\?\\C:\\Windows\\system.ini";
    cases.push_back({"a file the path does not reach directly", script, DeletionCheckedUpTo(fullChecks), FALSE});
    script = Leftover();
    script.infoFails = true;
    cases.push_back({"what the file is cannot be read", script, DeletionCheckedUpTo({kLeftoverInfoLine}), FALSE});
    script = Leftover();
    script.deleteError = ERROR_ACCESS_DENIED;
    cases.push_back({"the system refuses the deletion", script, DeletionLines(), FALSE});
    script = Leftover();
    script.createErrors = {ERROR_SHARING_VIOLATION};
    cases.push_back({"held elsewhere", script, {kOpenToDeleteLine}, FALSE});
    return cases;
}

// Deletion goes through a handle to the name itself and never asks for a
// failure's code: nothing about it is reported.
TEST_F(RecordedWriter, ForceDeleteRemovesOnlyWhatThePathNamesItself) {
    for (const DeleteCase& c : DeleteCases()) {
        SCOPED_TRACE(c.name);
        InstallFileOsRecorder(c.script);
        EXPECT_EQ(c.deleted, ForceDelete(kRecordedPath));
        ExpectCalls(c.lines);
        EXPECT_EQ(c.script.fileThere && !c.deleted, g_fileRecorder.fileThere);
        EXPECT_EQ(0u, TestFileError());
    }
}

}  // namespace
