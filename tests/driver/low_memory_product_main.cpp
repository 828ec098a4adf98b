// The program on a machine with exactly 8 GiB of free physical memory, one
// byte too little: the memory query reports that, everything else is real.
#include "system/constants.h"
#include "system/memory_os.h"
#include "system/win.h"
#include "ui/startup.h"

namespace {

BOOL WINAPI ExactlyGateBytesFree(LPMEMORYSTATUSEX status) {
    BOOL ok = kRealMemoryOs.GlobalMemoryStatusEx(status);
    status->ullAvailPhys = static_cast<DWORDLONG>(kFreeMemoryGateBytes);
    return ok;
}

}  // namespace

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) {
    g_memoryOs.GlobalMemoryStatusEx = ExactlyGateBytesFree;
    ExitProcess(static_cast<UINT>(RunProgram()));
}
