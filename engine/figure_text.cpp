// The text of every figure the run shows.
#include <charconv>
#include <cmath>

#include "engine/statistics.h"
#include "system/constants.h"

std::wstring FormatMBps(double value) {
    if (std::isinf(value)) return value > 0 ? L"+Infinity" : L"-Infinity";
    if (std::isnan(value)) return L"NaN";
    if (value == 0.0) value = 0.0;  // negative zero shows without its sign
    // to_chars never consults a locale, so the point stays "." whatever the
    // user's regional settings; it rounds the exact binary value.
    char text[kFigureTextMaxChars];
    const std::to_chars_result end =
        std::to_chars(text, text + kFigureTextMaxChars, value, std::chars_format::fixed, 3);
    return std::wstring(text, end.ptr);
}
