// Where windows and controls land on the screen, at the scale of the prefix the
// test runs in (registered once at 96 and once at 144 dots per inch).
#include "gui_test_support.h"

namespace {

struct ScaleCase {
    int dpi;
    RECT window;   // outer left, top; client width, height (as right, bottom)
    RECT control;  // left, top in the client area; width, height
};

// Client 305 x 560 at 50, 80 and a control at 16, 22 of 120 x 16, scaled.
constexpr ScaleCase kScales[] = {
    {96, {50, 80, 305, 560}, {16, 22, 120, 16}},
    {144, {75, 120, 458, 840}, {24, 33, 180, 24}},
};

const ScaleCase* ScaleOfScreen() {
    HDC screen = GetDC(nullptr);
    const int dpi = GetDeviceCaps(screen, LOGPIXELSX);
    ReleaseDC(nullptr, screen);
    for (const ScaleCase& scale : kScales) {
        if (scale.dpi == dpi) return &scale;
    }
    ADD_FAILURE() << "no expectations for " << dpi << " dots per inch";
    return nullptr;
}

using Geometry = GuiTest;

TEST_F(Geometry, ScaleFollowsTheScreenAndRoundsHalvesUp) {
    const ScaleCase* scale = ScaleOfScreen();
    ASSERT_NE(scale, nullptr);
    EXPECT_EQ(ScaleX(305), scale->window.right);
    EXPECT_EQ(ScaleY(560), scale->window.bottom);
    EXPECT_EQ(ScaleX(1), MulDiv(1, scale->dpi, 96));
    EXPECT_EQ(ScaleY(-7), MulDiv(-7, scale->dpi, 96));
}

TEST_F(Geometry, WindowHasTheClientAreaAndCornerAsked) {
    const ScaleCase* scale = ScaleOfScreen();
    ASSERT_NE(scale, nullptr);
    ASSERT_TRUE(OpenProgramWindow(79, 50, 80, 305, 560, L"Geometry"));
    HWND window = WindowHandle(79);
    RECT client;
    GetClientRect(window, &client);
    EXPECT_EQ(client.right, scale->window.right);
    EXPECT_EQ(client.bottom, scale->window.bottom);
    RECT outer;
    GetWindowRect(window, &outer);
    EXPECT_EQ(outer.left, scale->window.left);
    EXPECT_EQ(outer.top, scale->window.top);
}

TEST_F(Geometry, ControlHasThePlaceAndSizeAsked) {
    const ScaleCase* scale = ScaleOfScreen();
    ASSERT_NE(scale, nullptr);
    ASSERT_TRUE(OpenProgramWindow(79, 50, 80, 305, 560, L"Geometry"));
    for (ControlKind kind : {ControlKind::Label, ControlKind::ValueField, ControlKind::Button}) {
        const int number = 80 + static_cast<int>(kind);
        ASSERT_TRUE(AddControl(kind, number, 16, 22, 120, 16, L"Task 01 MB/Sec"));
        RECT rect;
        GetWindowRect(ControlHandle(number), &rect);
        MapWindowPoints(nullptr, WindowHandle(79), reinterpret_cast<POINT*>(&rect), 2);
        EXPECT_EQ(rect.left, scale->control.left) << "kind " << static_cast<int>(kind);
        EXPECT_EQ(rect.top, scale->control.top);
        EXPECT_EQ(rect.right - rect.left, scale->control.right);
        EXPECT_EQ(rect.bottom - rect.top, scale->control.bottom);
    }
}

struct CentredCase {
    int clientWidth;
    int clientHeight;
    bool wideAsScreen;
    bool tallAsScreen;
};

// Names the case in test listings.
void PrintTo(const CentredCase& c, std::ostream* out) { *out << c.clientWidth << "x" << c.clientHeight; }

class Centred : public GuiTest, public ::testing::WithParamInterface<CentredCase> {};

// Too large on an axis: at 0 on that axis, centred on the other.
TEST_P(Centred, CentredOnThePrimaryScreen) {
    const CentredCase& asked = GetParam();
    ASSERT_TRUE(OpenProgramWindow(106, kCentred, kCentred, asked.clientWidth, asked.clientHeight, L"Centred"));
    RECT outer;
    GetWindowRect(WindowHandle(106), &outer);
    const int width = outer.right - outer.left;
    const int height = outer.bottom - outer.top;
    const int screenWidth = GetSystemMetrics(SM_CXSCREEN);
    const int screenHeight = GetSystemMetrics(SM_CYSCREEN);
    EXPECT_EQ(width >= screenWidth, asked.wideAsScreen);
    EXPECT_EQ(height >= screenHeight, asked.tallAsScreen);
    EXPECT_EQ(outer.left, asked.wideAsScreen ? 0 : (screenWidth - width) / 2);
    EXPECT_EQ(outer.top, asked.tallAsScreen ? 0 : (screenHeight - height) / 2);
    RECT client;
    GetClientRect(WindowHandle(106), &client);
    if (!asked.wideAsScreen) {
        EXPECT_EQ(client.right, ScaleX(asked.clientWidth));
    }
    if (!asked.tallAsScreen) {
        EXPECT_EQ(client.bottom, ScaleY(asked.clientHeight));
    }
}

INSTANTIATE_TEST_SUITE_P(Placement, Centred,
                         ::testing::Values(CentredCase{400, 95, false, false},
                                           CentredCase{401, 96, false, false},
                                           CentredCase{3000, 95, true, false},
                                           CentredCase{400, 3000, false, true},
                                           CentredCase{3000, 3000, true, true}));

}  // namespace
