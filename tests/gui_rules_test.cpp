// The machinery's pure decisions: centring, the Tab walk, document commands.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "ui/gui_rules.h"

namespace {

struct CentringCase {
    int screen;
    int outer;
    int origin;
};

// Names the case in test listings.
void PrintTo(const CentringCase& c, std::ostream* out) { *out << c.screen << "/" << c.outer; }

class Centring : public ::testing::TestWithParam<CentringCase> {};

TEST_P(Centring, CentresOrStartsAtZeroWhenTooLarge) {
    EXPECT_EQ(CentredOrigin(GetParam().screen, GetParam().outer), GetParam().origin);
}

INSTANTIATE_TEST_SUITE_P(Rules, Centring,
                         ::testing::Values(CentringCase{1280, 406, 437}, CentringCase{1280, 407, 436},
                                           CentringCase{1024, 1024, 0}, CentringCase{1024, 1025, 0},
                                           CentringCase{1024, 3000, 0}, CentringCase{1024, 0, 512}));

struct TabCase {
    const char* name;
    std::vector<bool> canTakeFocus;
    int current;
    bool forward;
    int next;
};

// Names the case in test listings.
void PrintTo(const TabCase& c, std::ostream* out) { *out << c.name; }

class TabWalk : public ::testing::TestWithParam<TabCase> {};

TEST_P(TabWalk, FindsTheNextControlThatCanTakeTheFocus) {
    const TabCase& walk = GetParam();
    bool flags[16] = {};
    for (size_t i = 0; i < walk.canTakeFocus.size(); ++i) flags[i] = walk.canTakeFocus[i];
    EXPECT_EQ(NextTabStop(flags, static_cast<int>(walk.canTakeFocus.size()), walk.current, walk.forward),
              walk.next);
}

// Labels and disabled controls are the false entries.
INSTANTIATE_TEST_SUITE_P(
    Rules, TabWalk,
    ::testing::Values(
        TabCase{"nextSkipsOthers", {false, true, false, false, true, true}, 1, true, 4},
        TabCase{"nextWrapsToFirst", {false, true, false, true, false}, 3, true, 1},
        TabCase{"noFocusGoesToFirst", {false, false, true, true}, -1, true, 2},
        TabCase{"previousSkipsOthers", {true, false, false, true}, 3, false, 0},
        TabCase{"previousWrapsToLast", {false, true, true, false}, 1, false, 2},
        TabCase{"noFocusGoesToLast", {true, true, false}, -1, false, 1},
        TabCase{"fromALabel", {true, false, true}, 1, true, 2},
        TabCase{"fromALabelBack", {true, false, true}, 1, false, 0},
        TabCase{"onlyOneStaysPut", {false, true, false}, 1, true, 1},
        TabCase{"onlyOneStaysPutBack", {false, true, false}, 1, false, 1},
        TabCase{"noneCanTakeIt", {false, false}, 0, true, -1},
        TabCase{"noControls", {}, -1, true, -1}),
    [](const ::testing::TestParamInfo<TabCase>& info) { return std::string(info.param.name); });

TEST(DocumentCommand, QuotesTheAddressOnce) {
    EXPECT_EQ(DocumentCommandLine(L"https://example.org/donate/?a=1"), L"\"https://example.org/donate/?a=1\"");
    EXPECT_EQ(DocumentCommandLine(L"C:\\Program Files\\x.exe"), L"\"C:\\Program Files\\x.exe\"");
    EXPECT_EQ(DocumentCommandLine(L"\"C:\\a b\\x.exe\" /s"), L"\"C:\\a b\\x.exe\" /s");
    EXPECT_EQ(DocumentCommandLine(L""), L"\"\"");
}

TEST(DocumentCommand, DirectoryOnlyForAPathWithABackslashAfterItsStart) {
    EXPECT_EQ(DocumentDirectory(L"https://example.org/donate/?a=1"), L"");
    EXPECT_EQ(DocumentDirectory(L"C:\\Tools\\x.exe"), L"C:\\Tools\\");
    EXPECT_EQ(DocumentDirectory(L"C:\\x.exe"), L"C:\\");
    EXPECT_EQ(DocumentDirectory(L"\\x.exe"), L"");
    EXPECT_EQ(DocumentDirectory(L"x.exe"), L"");
}

}  // namespace
