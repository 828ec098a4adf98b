#include "ui/gui_rules.h"

#include <algorithm>

int CentredOrigin(int screenExtent, int outerExtent) {
    return (screenExtent - std::min(screenExtent, outerExtent)) / 2;
}

int NextTabStop(const bool* canTakeFocus, int count, int current, bool forward) {
    if (count <= 0) return -1;
    // Start after the focused control, or at the end where the walk comes in.
    const int start = current < 0 ? (forward ? 0 : count - 1) : (forward ? current + 1 : current - 1);
    for (int step = 0; step < count; ++step) {
        const int index = ((forward ? start + step : start - step) % count + count) % count;
        if (canTakeFocus[index]) return index;
    }
    return -1;
}

std::wstring DocumentCommandLine(const wchar_t* address) {
    if (address[0] == L'"') return address;
    return L"\"" + std::wstring(address) + L"\"";
}

std::wstring DocumentDirectory(const wchar_t* address) {
    const std::wstring path(address);
    const size_t last = path.rfind(L'\\');
    if (last == std::wstring::npos || last == 0) return std::wstring();
    return path.substr(0, last + 1);
}
