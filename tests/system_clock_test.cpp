// The millisecond clock and pauses: the real counter, and fake counters that
// show the arithmetic, the fallback to the tick count and the one raise of
// the timer period.
#include <gtest/gtest.h>

#include <vector>

#include "fakes/memory_os_recorder.h"
#include "system/clock.h"

namespace {

class Clock : public ::testing::Test {
protected:
    void SetUp() override { g_clock = ClockState{0, 0, false}; }
    void TearDown() override {
        RemoveMemoryOsRecorder();
        g_clock = ClockState{0, 0, false};
    }
};

TEST_F(Clock, RealClockStartsAtZeroAndNeverGoesBack) {
    const int64_t first = NowMs();
    EXPECT_GE(first, 0);
    EXPECT_LE(first, 5);
    int64_t previous = first;
    const ULONGLONG deadline = GetTickCount64() + 10000;
    while (previous < first + 50 && GetTickCount64() < deadline) {
        const int64_t now = NowMs();
        ASSERT_GE(now, previous);
        previous = now;
    }
    EXPECT_GE(previous, first + 50) << "the clock did not move";
}

struct CounterCase {
    const char* name;
    int64_t frequency;
    int64_t elapsedCounts;
    int64_t expectedMs;
};

// Counts per millisecond are truncated; each reading drops its own fraction.
TEST_F(Clock, ReadingsAreWholeMillisecondsOfTruncatedCounts) {
    const CounterCase cases[] = {
        {"just short of a millisecond", 10000000, 9999, 0},
        {"one millisecond", 10000000, 10000, 1},
        {"an hour", 10000000, 36000000000, 3600000},
        {"frequency not a multiple of 1000 runs fast", 1234567, 1234 * 5 + 1233, 5},
        {"slowest usable counter", 1000, 7, 7},
        {"counter behind its base truncates toward zero", 1234567, -1233, 0},
        {"further behind", 1234567, -1234 * 3 - 1, -3},
    };
    for (const CounterCase& c : cases) {
        SCOPED_TRACE(c.name);
        g_clock = ClockState{0, 0, false};
        MemoryOsAnswers answers;
        answers.frequency = c.frequency;
        answers.counter = 5000000000;
        InstallMemoryOsRecorder(answers);
        EXPECT_EQ(0, NowMs());
        EXPECT_EQ(c.frequency / 1000, g_clock.countsPerMs);
        EXPECT_EQ(5000000000, g_clock.baseCount);
        g_memoryRecorder.answers.counter += c.elapsedCounts;
        EXPECT_EQ(c.expectedMs, NowMs());
    }
}

// Once the counter is in use a reading costs one counter query, nothing else.
TEST_F(Clock, ReadingsAfterTheFirstQueryOnlyTheCounter) {
    InstallMemoryOsRecorder({});
    NowMs();
    EXPECT_EQ(1, CountMemoryCalls(MemoryCall::QueryFrequency));
    EXPECT_EQ(2, CountMemoryCalls(MemoryCall::QueryCounter));
    g_memoryRecorder.calls.clear();
    for (int i = 0; i < 5; ++i) NowMs();
    ASSERT_EQ(5u, g_memoryRecorder.calls.size());
    EXPECT_EQ(5, CountMemoryCalls(MemoryCall::QueryCounter));
}

struct FallbackCase {
    const char* name;
    BOOL frequencyResult;
    int64_t frequency;
};

// Without a usable counter the tick count answers, widened without sign, and
// every reading tries the counter again.
TEST_F(Clock, UnusableCounterFallsBackToTheTickCount) {
    const FallbackCase cases[] = {
        {"frequency query fails", FALSE, 10000000},
        {"below 1000 counts a second", TRUE, 999},
        {"no counts at all", TRUE, 0},
    };
    for (const FallbackCase& c : cases) {
        SCOPED_TRACE(c.name);
        g_clock = ClockState{0, 0, false};
        MemoryOsAnswers answers;
        answers.frequencyResult = c.frequencyResult;
        answers.frequency = c.frequency;
        answers.tickCount = 0xFFFFFFF0;
        InstallMemoryOsRecorder(answers);
        EXPECT_EQ(4294967280, NowMs());
        g_memoryRecorder.answers.tickCount = 12345;
        EXPECT_EQ(12345, NowMs());
        EXPECT_EQ(0, g_clock.countsPerMs);
        EXPECT_EQ(2, CountMemoryCalls(MemoryCall::QueryFrequency));
        EXPECT_EQ(2, CountMemoryCalls(MemoryCall::GetTickCount));
    }
}

TEST_F(Clock, CounterThatBecomesUsableTakesOverFromTheTickCount) {
    MemoryOsAnswers answers;
    answers.frequencyResult = FALSE;
    answers.tickCount = 777;
    answers.counter = 40000;
    InstallMemoryOsRecorder(answers);
    EXPECT_EQ(777, NowMs());
    g_memoryRecorder.answers.frequencyResult = TRUE;
    EXPECT_EQ(0, NowMs());
    g_memoryRecorder.answers.counter += 30000;
    EXPECT_EQ(3, NowMs());
    EXPECT_EQ(1, CountMemoryCalls(MemoryCall::GetTickCount));
}

TEST_F(Clock, TimerPeriodIsRaisedOnceBeforeTheFirstSleep) {
    for (UINT timerResult : {0u, 97u}) {  // TIMERR_NOERROR, TIMERR_NOCANDO
        SCOPED_TRACE(timerResult);
        g_clock = ClockState{0, 0, false};
        MemoryOsAnswers answers;
        answers.timerResult = timerResult;
        InstallMemoryOsRecorder(answers);
        const std::vector<uint32_t> pauses = {250, 900, 900, 900, 500, 0, 900};
        for (uint32_t ms : pauses) PauseMs(ms);
        ASSERT_EQ(pauses.size() + 1, g_memoryRecorder.calls.size());
        EXPECT_EQ(MemoryCall::TimeBeginPeriod, g_memoryRecorder.calls[0].call);
        EXPECT_EQ(1u, g_memoryRecorder.calls[0].a);
        for (size_t i = 0; i < pauses.size(); ++i) {
            EXPECT_EQ(MemoryCall::Sleep, g_memoryRecorder.calls[i + 1].call);
            EXPECT_EQ(pauses[i], g_memoryRecorder.calls[i + 1].a);
        }
    }
}

}  // namespace
