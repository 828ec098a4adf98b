// Decisions of the window machinery as pure functions, apart from the calls
// that act on them.
#pragma once

#include <string>

// Where a window of the given outer extent starts on a screen axis, so that it
// is centred, or at 0 when it is larger than the screen.
int CentredOrigin(int screenExtent, int outerExtent);

// Index of the control Tab (forward) or Shift+Tab moves to, in creation order
// and round the end; current is -1 when no control has the focus. -1 when no
// control can take it.
int NextTabStop(const bool* canTakeFocus, int count, int current, bool forward);

// The command line that starts a document as a program: the address quoted,
// unless it comes quoted already.
std::wstring DocumentCommandLine(const wchar_t* address);

// The folder of a path whose backslash comes after its first character, up to
// and including the last backslash; empty for a web address.
std::wstring DocumentDirectory(const wchar_t* address);
