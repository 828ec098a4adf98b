// The program's whole life: start-up, the main window's event loop and
// shut-down, in that order.
#pragma once

// Returns the process exit code: 0, or 1 when a window could not be made.
int RunProgram();
