// An empty Windows program: what starting any program under this system costs.
#include "system/win.h"

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) { return 0; }
