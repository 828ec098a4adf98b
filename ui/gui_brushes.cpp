// Label backgrounds. One solid brush per colour in use, shared by every label
// of that colour and deleted when its last label lets go.
#include "ui/gui_brushes.h"

#include "ui/gui.h"
#include "ui/gui_os.h"
#include "ui/gui_state.h"

static_assert(kLabelRedrawFlags == (RDW_INVALIDATE | RDW_INTERNALPAINT | RDW_ERASE | RDW_FRAME));

namespace {

HBRUSH TakeBrush(uint32_t colour) {
    for (int i = 0; i < g_windowing.brushCount; ++i) {
        SharedBrush& shared = g_windowing.brushes[i];
        if (shared.colour == colour) {
            ++shared.users;
            return shared.brush;
        }
    }
    if (g_windowing.brushCount == kMaxControls) return nullptr;
    HBRUSH brush = g_uiOs.CreateSolidBrush(colour);
    if (brush != nullptr) g_windowing.brushes[g_windowing.brushCount++] = SharedBrush{colour, brush, 1};
    return brush;
}

}  // namespace

void ReleaseBrush(HBRUSH brush) {
    for (int i = 0; i < g_windowing.brushCount; ++i) {
        if (g_windowing.brushes[i].brush != brush) continue;
        if (--g_windowing.brushes[i].users > 0) return;
        g_uiOs.DeleteObject(brush);
        g_windowing.brushes[i] = g_windowing.brushes[--g_windowing.brushCount];
        return;
    }
}

void SetLabelBackground(int number, uint32_t colour) {
    Control* label = FindControlByNumber(number);
    if (label == nullptr) return;
    if (label->brush != nullptr) ReleaseBrush(label->brush);
    label->brush = TakeBrush(colour);
    label->colour = colour;
    RedrawWindow(label->handle, nullptr, nullptr, kLabelRedrawFlags);
}

// Without a colour of its own the label gets the system's colours.
LRESULT OnCtlColorStatic(HWND window, WPARAM dc, LPARAM label) {
    const Control* control = FindControlByHandle(reinterpret_cast<HWND>(label));
    if (control == nullptr || control->brush == nullptr) {
        return DefWindowProcW(window, WM_CTLCOLORSTATIC, dc, label);
    }
    SetBkColor(reinterpret_cast<HDC>(dc), control->colour);
    return reinterpret_cast<LRESULT>(control->brush);
}
