#include "engine/failure_text.h"

#include "engine/run_seam.h"
#include "system/constants.h"

namespace {

// Every message of the program separates its lines with a lone carriage
// return; the system's texts end their lines with CR LF.
std::wstring WithLoneCarriageReturns(const std::wstring& text) {
    std::wstring lines;
    for (size_t i = 0; i < text.size(); ++i) {
        const wchar_t c = text[i];
        if (c == L'\r' && i + 1 < text.size() && text[i + 1] == L'\n') {
            lines += L'\r';
            ++i;
        } else {
            lines += c == L'\n' ? L'\r' : c;
        }
    }
    while (!lines.empty() && lines.back() == L'\r') lines.pop_back();
    return lines;
}

}  // namespace

std::wstring SystemErrorText(uint32_t code) {
    // Code 0 reads "The operation completed successfully", which would
    // contradict the message it ends up in.
    if (code == 0) return kNoReasonText;
    wchar_t text[kErrorTextMaxChars] = {};
    const DWORD length = g_runSeam.FormatMessageW(
        FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, nullptr, code, 0, text,
        kErrorTextMaxChars, nullptr);
    std::wstring reason;
    if (length > 0 && length < static_cast<DWORD>(kErrorTextMaxChars)) {
        reason = WithLoneCarriageReturns(std::wstring(text, length));
    }
    if (reason.empty()) return kErrorCodeText + std::to_wstring(code);
    return reason;
}

std::wstring WriteFailureMessage(const wchar_t* testFilePath, const std::wstring& reason) {
    std::wstring message = kWriteFailedMessage;
    message += L'\r';
    message += testFilePath != nullptr ? testFilePath : L"";
    message += L'\r';
    message += reason;
    return message;
}
