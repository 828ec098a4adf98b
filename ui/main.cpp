// The process entry point: no command line, no settings.
#include "system/win.h"
#include "ui/startup.h"

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) {
    ExitProcess(static_cast<UINT>(RunProgram()));
}
