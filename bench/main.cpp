// The benchmark program: what the tool's own code adds to what it measures.
// Usage: varnhold_bench [--bytes N] [--reps N] [--folder D:\] [--no-fill] [--no-startup]
#include <cstdio>
#include <cstdlib>
#include <cwchar>
#include <string>

#include "bench/bench.h"
#include "system/constants.h"
#include "system/memory.h"
#include "system/win.h"
#include "ui/gui.h"

#include <psapi.h>

double SecondsNow() {
    static LARGE_INTEGER frequency;
    if (frequency.QuadPart == 0) QueryPerformanceFrequency(&frequency);
    LARGE_INTEGER now;
    QueryPerformanceCounter(&now);
    return static_cast<double>(now.QuadPart) / static_cast<double>(frequency.QuadPart);
}

double PeakWorkingSetMiB() {
    PROCESS_MEMORY_COUNTERS counters = {};
    counters.cb = sizeof counters;
    if (!GetProcessMemoryInfo(GetCurrentProcess(), &counters, sizeof counters)) return 0.0;
    return counters.PeakWorkingSetSize / 1048576.0;
}

namespace {

std::wstring FolderOfThisProgram() {
    wchar_t path[MAX_PATH] = {};
    GetModuleFileNameW(nullptr, path, MAX_PATH);
    std::wstring folder = path;
    return folder.substr(0, folder.find_last_of(L'\\') + 1);
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
    const std::wstring here = FolderOfThisProgram();
    BenchOptions options = {kTestBufferBytes, 5, L"D:\\", here + L"..\\Varnhold.exe",
                            here + L"bench_empty.exe", true};
    bool startup = true;
    for (int i = 1; i < argc; ++i) {
        const std::wstring arg = argv[i];
        const bool hasValue = i + 1 < argc;
        if (arg == L"--bytes" && hasValue) options.passBytes = _wtoi64(argv[++i]);
        else if (arg == L"--reps" && hasValue) options.reps = _wtoi(argv[++i]);
        else if (arg == L"--folder" && hasValue) options.folder = argv[++i];
        else if (arg == L"--no-fill") options.fill = false;
        else if (arg == L"--no-startup") startup = false;
        else {
            std::fprintf(stderr, "unknown argument: %ls\n", arg.c_str());
            return 2;
        }
    }
    if (options.passBytes <= 0 || options.reps <= 0) return 2;
    std::printf("Varnhold Benchmark: overhead of its own code\n"
                "bytes per pass %lld, %d samples per variant (alternating), folder %ls\n",
                static_cast<long long>(options.passBytes), options.reps, options.folder.c_str());

    CreateGeneralHeap();
    CreateMemoryHeap();
    SetUpWindowing(GetModuleHandleW(nullptr));

    bool ok = true;
    if (startup) ok = BenchStartup(options) && ok;
    ok = BenchPasses(options) && ok;  // opens the window the pump section drains
    ok = BenchPumpEvents(options) && ok;
    if (options.fill) ok = BenchFill(options) && ok;

    TearDownWindowing();
    DestroyMemoryHeap();
    DestroyGeneralHeap();
    std::printf(ok ? "\ndone\n" : "\nsome figures could not be taken\n");
    return ok ? 0 : 1;
}
