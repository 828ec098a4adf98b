// The program as tests run it: every task writes 64 MiB instead of 8 GiB, so a
// whole run of ten tasks takes half a minute.
#include "engine/run_seam.h"
#include "system/constants.h"
#include "system/win.h"
#include "ui/startup.h"

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) {
    g_runSeam.testBufferBytes = kTestBuildBufferBytes;
    ExitProcess(static_cast<UINT>(RunProgram()));
}
