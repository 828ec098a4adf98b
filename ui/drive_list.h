// The selection dialog's drive combo box (control 107): one item per logical
// drive, and a path text of its own ("" or a drive root such as "D:\") that is
// what reading the control's text returns.
#pragma once

#include <string>

// Makes the drive list in the program window made last and fills it from the
// start folder; false when the control could not be made.
bool MakeDriveList(const wchar_t* startFolder);

// Empties the list, adds every logical drive in letter order and selects the
// start folder's drive. The path text becomes the start folder's root.
void FillDriveList(const wchar_t* startFolder);

// The drive number (A = 0) that a folder starts with, or -1 for none.
int StartDriveOf(const wchar_t* folder);

// The text of control 107 as any window reads it: the path text.
std::wstring DriveListText();
