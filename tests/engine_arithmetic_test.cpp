// Throughput, rounding, statistics and the text of a figure.
#include <gtest/gtest.h>

#include <cfenv>
#include <clocale>
#include <cmath>
#include <cstring>
#include <limits>
#include <string>
#include <vector>

#include "engine/run_seam.h"
#include "engine/statistics.h"
#include "system/constants.h"

namespace {

constexpr double kInf = std::numeric_limits<double>::infinity();
constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();

uint64_t Bits(double value) {
    uint64_t bits;
    std::memcpy(&bits, &value, sizeof bits);
    return bits;
}

// ---- Throughput of a full task, its text and its stored integer ----

struct TaskFigure {
    int64_t elapsedMs;
    double mbps;
    const wchar_t* text;
    int64_t stored;
};

const TaskFigure kTaskFigures[] = {
    {2290, 3577.292576419214, L"3577.293", 3577},
    {2291, 3575.7311217808815, L"3575.731", 3576},
    {131072, 62.5, L"62.500", 62},      // a tie goes to the even integer
    {655360, 12.5, L"12.500", 12},
    {2048, 4000.0, L"4000.000", 4000},
    // Multiplying by 1000 before dividing by the time would give ...2222.
    {9, 910222.2222222221, L"910222.222", 910222},
    {0, kInf, L"+Infinity", INT64_MIN},
};

TEST(EngineThroughput, FullTaskGivesExactFigureTextAndStoredResult) {
    for (const TaskFigure& c : kTaskFigures) {
        SCOPED_TRACE(c.elapsedMs);
        const double mbps = ThroughputMBps(kTestBufferBytes, c.elapsedMs);
        EXPECT_EQ(Bits(c.mbps), Bits(mbps)) << mbps;
        EXPECT_EQ(c.text, FormatMBps(mbps));
        EXPECT_EQ(c.stored, RoundToInt64(mbps));
    }
}

TEST(EngineThroughput, NoBytesOrNoTimeGiveTheIeeeSpecialValues) {
    EXPECT_TRUE(std::isnan(ThroughputMBps(0, 0)));
    EXPECT_EQ(0.0, ThroughputMBps(0, 2290));
    EXPECT_EQ(-kInf, ThroughputMBps(-1, 0));
}

// ---- Rounding to the stored integer ----

struct Rounding {
    double value;
    int64_t rounded;
};

const Rounding kRoundings[] = {
    {2.5, 2}, {3.5, 4}, {-2.5, -2}, {-3.5, -4}, {0.5, 0}, {1.5, 2}, {-0.5, 0},
    {2.4999999999999996, 2}, {2.5000000000000004, 3}, {-0.0, 0},
    {0.49999999999999994, 0},           // adding 0.5 and truncating would give 1
    {4503599627370495.5, 4503599627370496},  // 2^52 - 0.5, a tie next to even
    {9223372036854774784.0, 9223372036854774784},  // largest double below 2^63
    {-9223372036854775808.0, INT64_MIN},            // -2^63 itself is held
    {9223372036854775808.0, INT64_MIN},             // 2^63 is not
    {-9223372036854777856.0, INT64_MIN},            // next double below -2^63
    {1e300, INT64_MIN}, {-1e300, INT64_MIN},
    {kInf, INT64_MIN}, {-kInf, INT64_MIN}, {kNaN, INT64_MIN}, {-kNaN, INT64_MIN},
};

TEST(EngineRounding, NearestWithTiesToEvenAndMostNegativeWhenOutOfRange) {
    for (const Rounding& c : kRoundings) {
        SCOPED_TRACE(c.value);
        EXPECT_EQ(c.rounded, RoundToInt64(c.value));
    }
}

TEST(EngineRounding, SameResultWhateverRoundingModeTheThreadIsIn) {
    for (int mode : {FE_UPWARD, FE_DOWNWARD, FE_TOWARDZERO}) {
        ASSERT_EQ(0, std::fesetround(mode));
        std::vector<int64_t> rounded;
        for (const Rounding& c : kRoundings) rounded.push_back(RoundToInt64(c.value));
        std::fesetround(FE_TONEAREST);
        for (size_t i = 0; i < rounded.size(); ++i) {
            SCOPED_TRACE(kRoundings[i].value);
            EXPECT_EQ(kRoundings[i].rounded, rounded[i]) << "mode " << mode;
        }
    }
}

// ---- Statistics ----

// Counts the drains the statistics make; restores the seam afterwards.
int g_pumps = 0;
void CountPump() { ++g_pumps; }

class EngineStatistics : public ::testing::Test {
protected:
    void SetUp() override {
        saved_ = g_runSeam;
        g_runSeam.PumpEvents = CountPump;
        g_pumps = 0;
    }
    void TearDown() override { g_runSeam = saved_; }
    RunSeam saved_;
};

int64_t Min(const int64_t* r) { return MinimumOf(r[0], r[1], r[2], r[3], r[4], r[5], r[6], r[7], r[8], r[9]); }
int64_t Max(const int64_t* r) { return MaximumOf(r[0], r[1], r[2], r[3], r[4], r[5], r[6], r[7], r[8], r[9]); }

struct StatisticsCase {
    const char* name;
    int64_t results[kTaskResultCount];
    int64_t minimum;
    int64_t maximum;
    int64_t average;
};

const StatisticsCase kStatistics[] = {
    {"a good run", {3577, 3580, 3575, 3590, 3570, 3581, 3579, 3578, 3576, 3573, 0}, 3570, 3590, 3577},
    {"ten equal", {4000, 4000, 4000, 4000, 4000, 4000, 4000, 4000, 4000, 4000, 0}, 4000, 4000, 4000},
    {"sum -15 truncates toward zero", {-15, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0}, -15, 0, -1},
    {"sum 19", {10, 9, 0, 0, 0, 0, 0, 0, 0, 0, 0}, 0, 10, 1},
    {"two 0 ms tasks wrap to 0", {INT64_MIN, 0, 0, 0, 0, INT64_MIN, 0, 0, 0, 0, 0}, INT64_MIN, 0, 0},
    {"sum wraps past the top", {INT64_MAX, 1, 0, 0, 0, 0, 0, 0, 0, 0, 0}, 0, INT64_MAX,
     -922337203685477580},
    // The working array's eleventh zero is outside the sorted range.
    {"all positive", {5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 0}, 5, 14, 9},
    {"all negative", {-5, -6, -7, -8, -9, -10, -11, -12, -13, -14, 0}, -14, -5, -9},
    // Element 10 takes no part.
    {"element 10 ignored", {1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1000000}, 1, 1, 1},
};

TEST_F(EngineStatistics, MinimumMaximumAndAverageOfTheTenResults) {
    for (const StatisticsCase& c : kStatistics) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(c.minimum, Min(c.results));
        EXPECT_EQ(c.maximum, Max(c.results));
        EXPECT_EQ(c.average, AverageOf(c.results));
    }
}

TEST_F(EngineStatistics, ResultsStayInTaskOrder) {
    int64_t results[kTaskResultCount] = {3577, 3580, 3575, 3590, 3570, 3581, 3579, 3578, 3576, 3573, 7};
    const std::vector<int64_t> before(results, results + kTaskResultCount);
    Min(results);
    Max(results);
    AverageOf(results);
    EXPECT_EQ(before, std::vector<int64_t>(results, results + kTaskResultCount));
}

TEST_F(EngineStatistics, MinimumAndMaximumEachDrainEventsOnce) {
    const int64_t results[kTaskResultCount] = {};
    Min(results);
    EXPECT_EQ(1, g_pumps);
    Max(results);
    EXPECT_EQ(2, g_pumps);
    AverageOf(results);
    EXPECT_EQ(2, g_pumps);
}

// ---- Text of a figure ----

struct FigureText {
    double value;
    const wchar_t* text;
};

const FigureText kFigureTexts[] = {
    {3577.292576419214, L"3577.293"},
    {62.5, L"62.500"},
    {8192000.0, L"8192000.000"},
    {3577.0, L"3577.000"},
    {0.0, L"0.000"},
    {-0.0, L"0.000"},        // only an exact zero loses its sign
    {-0.0004, L"-0.000"},
    {0.0005, L"0.001"},      // the binary value lies just above the half
    {0.9995, L"1.000"},      // likewise, carrying into the integer part
    {1234567.8915, L"1234567.891"},  // the binary value lies just below the half
    {999.9996, L"1000.000"},
    {1e-300, L"0.000"},
    {-9223372036854775808.0, L"-9223372036854775808.000"},
    {-922337203685477580.0, L"-922337203685477632.000"},  // the double nearest to it
    {1e22, L"10000000000000000000000.000"},
    {kInf, L"+Infinity"},
    {-kInf, L"-Infinity"},
    {kNaN, L"NaN"},
    {-kNaN, L"NaN"},
};

void ExpectFigureTexts() {
    for (const FigureText& c : kFigureTexts) {
        SCOPED_TRACE(c.value);
        EXPECT_EQ(c.text, FormatMBps(c.value));
    }
}

TEST(EngineFigureText, ThreeDecimalsAndNamedSpecialValues) { ExpectFigureTexts(); }

TEST(EngineFigureText, LargestDoubleInFull) {
    const std::wstring text = FormatMBps(std::numeric_limits<double>::max());
    EXPECT_EQ(309u + 4u, text.size());
    EXPECT_EQ(0u, text.find(L"17976931348623157"));
    EXPECT_EQ(text.size() - 4, text.find(L".000"));
}

// A user whose decimal separator is a comma still sees a point.
TEST(EngineFigureText, PointWhateverTheUserLocale) {
    const char* commaLocale = nullptr;
    for (const char* name : {"German", "de-DE", "French", "fr-FR"}) {
        if (std::setlocale(LC_ALL, name) != nullptr &&
            std::strcmp(std::localeconv()->decimal_point, ",") == 0) {
            commaLocale = name;
            break;
        }
    }
    ASSERT_NE(nullptr, commaLocale) << "no locale with a decimal comma";
    ExpectFigureTexts();
    std::setlocale(LC_ALL, "C");
}

}  // namespace
