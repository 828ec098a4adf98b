// A stand-in for everything a run calls outside the engine: it notes each call
// as a short token, keeps a fake clock, a fake window (texts, highlights, Start)
// and a fake test file, and fails where a test scripts it. The test buffer it
// hands out is an address that is never touched.
#pragma once

#include <cstdint>
#include <map>
#include <string>
#include <utility>
#include <vector>

#include "engine/run_seam.h"

struct RunScript {
    std::vector<int64_t> writeMs;  // clock advance from creation to closing, per created file
    bool allocateFails = false;
    int failingCreate = -1;        // index of the CreateTestFile call that fails, counted over the test
    int shortWriteTask = -1;       // index of the created file whose write comes up short
    int shortWriteChunk = -1;      // index of that write within its file
    int64_t shortWriteBytes = 0;
    uint32_t error = 0;            // what TestFileError answers after a failure
};

struct RunRecorder {
    RunScript script;
    std::vector<std::wstring> tokens;
    std::vector<std::pair<std::wstring, std::wstring>> messages;  // title, text
    std::map<int, std::wstring> texts;  // what each value field shows
    std::map<int, uint32_t> highlights;
    bool startEnabled;
    int64_t nowMs;
    int allocations;
    int64_t deletes;
    int64_t writes;
    int creates;
    int filesWritten;     // successful creations, indexes script.writeMs
    int writesInFile;
    int64_t writeOffset;  // where the next chunk must start in the buffer
    int64_t misplacedCalls;  // a chunk, fill or path that is not where it belongs
    bool fileOpen;
    bool fileOnDisk;
    std::wstring path;
};

extern RunRecorder g_runRecorder;

// Every value field showing "MB/Sec", Start enabled, no file, clock at 0.
void ResetRunRecorder(const wchar_t* path);
// The recording seam, to assign to g_runSeam; testBufferBytes is the program's.
RunSeam RecordingRunSeam();
// The address the fake allocation hands out.
char* FakeTestBuffer();

// The tokens since the last call, one string; every drain followed by a
// chunk write becomes part of "Chunks(<length>)x<count>".
std::wstring TakeTrace();

// ---- Expected traces ----
// The start of a run, with or without obtaining and filling the buffer.
std::wstring RunOpeningTrace(bool obtainsBuffer);
// One task that writes the program's full buffer and shows `text` in its field.
std::wstring GoodTaskTrace(int taskIndex, const std::wstring& text);
// The end of a complete run with the texts of its three statistics.
std::wstring RunClosingTrace(const std::wstring& minimum, const std::wstring& maximum,
                             const std::wstring& average);
// A task up to the failed creation, or up to and including the write that came up short.
std::wstring FailedTaskTrace(int taskIndex, int64_t chunksWritten);
// What a failed run shows after its failed task, up to enabling Start.
std::wstring FailedRunClosingTrace(int taskIndex);
