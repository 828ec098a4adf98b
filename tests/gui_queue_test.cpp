// The event queue's rules on a queue of its own, without windows.
#include <gtest/gtest.h>

#include <vector>

#include "ui/gui_queue.h"

namespace {

Event Click(int window, int control) { return Event{EventKind::Control, window, control, BN_CLICKED}; }
Event Other(int window, int type) { return Event{EventKind::Other, window, 0, type}; }
Event Close(int window) { return Event{EventKind::Close, window, 0, 0}; }

bool Same(const Event& a, const Event& b) {
    return a.kind == b.kind && a.window == b.window && a.control == b.control && a.type == b.type;
}

std::vector<Event> Drain(EventQueue& queue) {
    std::vector<Event> taken;
    Event event;
    while (TakeEvent(queue, &event)) taken.push_back(event);
    return taken;
}

void ExpectEvents(const std::vector<Event>& actual, const std::vector<Event>& expected) {
    ASSERT_EQ(actual.size(), expected.size());
    for (size_t i = 0; i < expected.size(); ++i) EXPECT_TRUE(Same(actual[i], expected[i])) << "at " << i;
}

struct QueueCase {
    const char* name;
    std::vector<Event> pushed;
    std::vector<Event> kept;
};

// Names the case in test listings.
void PrintTo(const QueueCase& c, std::ostream* out) { *out << c.name; }

class QueuePushing : public ::testing::TestWithParam<QueueCase> {};

TEST_P(QueuePushing, KeepsOrderAndDropsOnlyARepeatOfTheLastEvent) {
    EventQueue queue = {};
    for (const Event& event : GetParam().pushed) PushEvent(queue, event);
    ExpectEvents(Drain(queue), GetParam().kept);
}

INSTANTIATE_TEST_SUITE_P(
    Rules, QueuePushing,
    ::testing::Values(
        QueueCase{"empty", {}, {}},
        QueueCase{"fifo", {Click(1, 2), Close(1), Other(1, 3)}, {Click(1, 2), Close(1), Other(1, 3)}},
        QueueCase{"repeat", {Click(1, 2), Click(1, 2), Click(1, 2)}, {Click(1, 2)}},
        QueueCase{"repeatNotLast", {Click(1, 2), Close(1), Click(1, 2)}, {Click(1, 2), Close(1), Click(1, 2)}},
        QueueCase{"otherWindow", {Click(1, 2), Click(3, 2)}, {Click(1, 2), Click(3, 2)}},
        QueueCase{"otherControl", {Click(1, 2), Click(1, 4)}, {Click(1, 2), Click(1, 4)}},
        QueueCase{"otherType", {Click(1, 2), Event{EventKind::Control, 1, 2, EN_CHANGE}},
                  {Click(1, 2), Event{EventKind::Control, 1, 2, EN_CHANGE}}},
        QueueCase{"otherKind", {Other(1, 0), Close(1), Close(1)}, {Other(1, 0), Close(1)}}),
    [](const ::testing::TestParamInfo<QueueCase>& info) { return std::string(info.param.name); });

TEST(EventQueue, RepeatIsKeptOnceTheFirstWasTaken) {
    EventQueue queue = {};
    PushEvent(queue, Close(5));
    Event taken;
    ASSERT_TRUE(TakeEvent(queue, &taken));
    PushEvent(queue, Close(5));
    ExpectEvents(Drain(queue), {Close(5)});
}

TEST(EventQueue, RemovingAWindowKeepsTheOthersInOrder) {
    EventQueue queue = {};
    for (const Event& event : {Click(1, 2), Click(7, 8), Other(1, 3), Close(7), Close(1), Click(7, 9)}) {
        PushEvent(queue, event);
    }
    RemoveWindowEvents(queue, 1);
    ExpectEvents(Drain(queue), {Click(7, 8), Close(7), Click(7, 9)});
}

TEST(EventQueue, RemovingAControlLeavesItsWindowsOtherEvents) {
    EventQueue queue = {};
    for (const Event& event : {Click(1, 2), Event{EventKind::Control, 1, 2, EN_CHANGE}, Close(1),
                               Click(1, 3), Click(4, 2), Click(1, 2)}) {
        PushEvent(queue, event);
    }
    RemoveControlEvents(queue, 1, 2);
    ExpectEvents(Drain(queue), {Close(1), Click(1, 3), Click(4, 2)});
}

// The ring wraps round its end many times over without losing order.
TEST(EventQueue, WrapsRoundItsEnd) {
    EventQueue queue = {};
    Event taken;
    for (int i = 0; i < 3 * kEventQueueCapacity; ++i) {
        PushEvent(queue, Click(1, i));
        PushEvent(queue, Click(2, i));
        ASSERT_TRUE(TakeEvent(queue, &taken));
        EXPECT_TRUE(Same(taken, Click(1, i)));
        ASSERT_TRUE(TakeEvent(queue, &taken));
        EXPECT_TRUE(Same(taken, Click(2, i)));
    }
    EXPECT_FALSE(TakeEvent(queue, &taken));
}

TEST(EventQueue, RemovalAcrossTheEndOfTheRing) {
    EventQueue queue = {};
    Event taken;
    for (int i = 0; i < kEventQueueCapacity - 2; ++i) {
        PushEvent(queue, Other(1, i));
        TakeEvent(queue, &taken);
    }
    for (int i = 0; i < 6; ++i) PushEvent(queue, Click(i % 2 + 1, i));
    RemoveWindowEvents(queue, 1);
    ExpectEvents(Drain(queue), {Click(2, 1), Click(2, 3), Click(2, 5)});
}

// A queue that nobody reads (a message box is up) fills with repaints and the
// like; a close request still gets in, at the cost of the oldest of those.
TEST(EventQueue, FullQueueMakesRoomForWhatMattersOnly) {
    EventQueue queue = {};
    PushEvent(queue, Click(1, 1));
    for (int i = 1; i < kEventQueueCapacity; ++i) PushEvent(queue, Other(1, i));
    PushEvent(queue, Other(1, -1));  // no room, and not worth any
    PushEvent(queue, Close(1));      // takes the place of Other(1, 1)
    const std::vector<Event> taken = Drain(queue);
    ASSERT_EQ(taken.size(), static_cast<size_t>(kEventQueueCapacity));
    EXPECT_TRUE(Same(taken[0], Click(1, 1)));
    EXPECT_TRUE(Same(taken[1], Other(1, 2)));
    EXPECT_TRUE(Same(taken.back(), Close(1)));
}

TEST(EventQueue, FullOfControlEventsDropsTheNewOne) {
    EventQueue queue = {};
    for (int i = 0; i < kEventQueueCapacity; ++i) PushEvent(queue, Click(1, i));
    PushEvent(queue, Close(1));
    const std::vector<Event> taken = Drain(queue);
    ASSERT_EQ(taken.size(), static_cast<size_t>(kEventQueueCapacity));
    EXPECT_TRUE(Same(taken.back(), Click(1, kEventQueueCapacity - 1)));
}

}  // namespace
