// The selection dialog: asks once which drive the benchmark writes to.
#pragma once

#include <optional>
#include <string>

// Shows the dialog and returns, after OK, the root of the chosen drive ("D:\"),
// or "" when no drive was chosen. Nothing when the dialog could not be made.
std::optional<std::wstring> SelectTargetFolder();

// The user's profile folder ending in a backslash; "" when the shell has none.
std::wstring ProfileStartFolder();
