// Label backgrounds: the colour a label paints with, and the brushes shared
// between labels of one colour.
#include "gui_test_support.h"
#include "system/constants.h"

namespace {

constexpr int kWindow = 79;
constexpr COLORREF kRed = RGB(200, 100, 100);
constexpr COLORREF kBlue = RGB(40, 60, 220);

class Labels : public GuiTest {
protected:
    void SetUp() override {
        GuiTest::SetUp();
        ASSERT_TRUE(OpenProgramWindow(kWindow, 50, 80, 305, 200, L"Labels"));
        ASSERT_TRUE(AddControl(ControlKind::Label, 80, 16, 22, 120, 16, L"Task 01 MB/Sec"));
        ASSERT_TRUE(AddControl(ControlKind::Label, 81, 16, 52, 120, 16, L"Task 02 MB/Sec"));
        ASSERT_TRUE(AddControl(ControlKind::Label, 82, 16, 82, 120, 16, L"Task 03 MB/Sec"));
        PumpEvents();
        InstallUiOsRecorder(UiOsAnswers{});
    }
    // What the window answers when the label asks for its colours, on a fresh
    // device context whose colours are then read back.
    struct ColourAnswer {
        HBRUSH brush;
        COLORREF background;
        COLORREF text;
    };
    ColourAnswer AskColours(int label) {
        HDC dc = GetDC(ControlHandle(label));
        SetTextColor(dc, RGB(1, 2, 3));
        const LRESULT brush = SendMessageW(WindowHandle(kWindow), WM_CTLCOLORSTATIC,
                                           reinterpret_cast<WPARAM>(dc),
                                           reinterpret_cast<LPARAM>(ControlHandle(label)));
        const ColourAnswer answer = {reinterpret_cast<HBRUSH>(brush), GetBkColor(dc), GetTextColor(dc)};
        ReleaseDC(ControlHandle(label), dc);
        return answer;
    }
    COLORREF PaintedColour(int label) {
        PumpEvents();
        UpdateWindow(ControlHandle(label));
        HDC dc = GetDC(ControlHandle(label));
        const COLORREF colour = GetPixel(dc, 1, 1);
        ReleaseDC(ControlHandle(label), dc);
        return colour;
    }
};

TEST_F(Labels, WithoutAColourTheSystemColoursApply) {
    const ColourAnswer answer = AskColours(80);
    EXPECT_NE(answer.brush, nullptr);
    EXPECT_EQ(answer.background, GetSysColor(COLOR_BTNFACE));
    EXPECT_EQ(CountUiCalls(UiCall::CreateSolidBrush), 0);
}

TEST_F(Labels, ColouredLabelAnswersItsBrushAndColourOnly) {
    SetLabelBackground(80, kRed);
    const std::vector<UiCallRecord> made = UiCallsOf(UiCall::CreateSolidBrush);
    ASSERT_EQ(made.size(), 1u);
    EXPECT_EQ(made[0].a, kRed);
    const ColourAnswer answer = AskColours(80);
    EXPECT_EQ(answer.brush, made[0].handle);
    EXPECT_EQ(answer.background, kRed);
    EXPECT_EQ(answer.text, RGB(1, 2, 3));
    EXPECT_EQ(AskColours(81).background, GetSysColor(COLOR_BTNFACE));
}

TEST_F(Labels, ColouredLabelPaintsItsBackground) {
    ASSERT_NE(PaintedColour(80), kRed);
    SetLabelBackground(80, kRed);
    EXPECT_EQ(PaintedColour(80), kRed);
    EXPECT_EQ(PaintedColour(81), GetSysColor(COLOR_BTNFACE));
    // A repaint of the whole window keeps it.
    InvalidateRect(WindowHandle(kWindow), nullptr, TRUE);
    EXPECT_EQ(PaintedColour(80), kRed);
}

TEST_F(Labels, OneColourOneBrushDeletedWithItsLastUser) {
    SetLabelBackground(80, kRed);
    SetLabelBackground(81, kRed);
    ASSERT_EQ(CountUiCalls(UiCall::CreateSolidBrush), 1);
    HBRUSH red = static_cast<HBRUSH>(UiCallsOf(UiCall::CreateSolidBrush)[0].handle);
    EXPECT_EQ(AskColours(81).brush, red);

    SetLabelBackground(80, kBlue);  // red still used by 81
    EXPECT_EQ(CountUiCalls(UiCall::CreateSolidBrush), 2);
    EXPECT_EQ(CountUiCalls(UiCall::DeleteObject), 0);
    EXPECT_EQ(GetObjectType(red), static_cast<DWORD>(OBJ_BRUSH));
    HBRUSH blue = static_cast<HBRUSH>(UiCallsOf(UiCall::CreateSolidBrush)[1].handle);

    SetLabelBackground(82, kBlue);
    SetLabelBackground(81, kBlue);  // red's last user lets go
    EXPECT_EQ(CountUiCalls(UiCall::CreateSolidBrush), 2);
    const std::vector<UiCallRecord> deleted = UiCallsOf(UiCall::DeleteObject);
    ASSERT_EQ(deleted.size(), 1u);
    EXPECT_EQ(deleted[0].handle, red);
    EXPECT_EQ(GetObjectType(red), 0u);
    for (int label : {80, 81, 82}) EXPECT_EQ(AskColours(label).brush, blue);
}

// Labels that go with their window no longer hold their brush.
TEST_F(Labels, ClosedWindowReleasesItsBrushes) {
    SetLabelBackground(80, kRed);
    SetLabelBackground(81, kRed);
    HBRUSH red = static_cast<HBRUSH>(UiCallsOf(UiCall::CreateSolidBrush)[0].handle);
    CloseProgramWindow(kWindow);
    const std::vector<UiCallRecord> deleted = UiCallsOf(UiCall::DeleteObject);
    ASSERT_EQ(deleted.size(), 1u);
    EXPECT_EQ(deleted[0].handle, red);
}

TEST_F(Labels, NumberThatNamesNoControl) {
    SetLabelBackground(12345, kRed);
    EXPECT_EQ(CountUiCalls(UiCall::CreateSolidBrush), 0);
}

TEST_F(Labels, ColouringRaisesNoControlEvent) {
    SetLabelBackground(80, kHighlightColour);
    EXPECT_TRUE(ControlEventsOf(ReadEventsUntilMarker(kWindow)).empty());
}

}  // namespace
