// The texts a failed run shows to the user.
#pragma once

#include <cstdint>
#include <string>

// The system's own text for an error code, on one line or several separated
// by a lone carriage return, with no line end after the last.
std::wstring SystemErrorText(uint32_t code);

// The message of a run stopped by the test file: what happened, the file, why.
std::wstring WriteFailureMessage(const wchar_t* testFilePath, const std::wstring& reason);
