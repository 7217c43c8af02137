#include "ConsoleFixture.h"

namespace kavel::test {
namespace {

// The wait alone, over a fake clock.
struct Waits : ::testing::Test {
    ManualEventLoop loop;
    MidiState midi;
    Waiting waiting{loop, midi};
};

TEST_F(Waits, ZeroOrLessReturnsAtOnceWithoutATimer) {
    int started = 0;
    loop.onTimerStarted = [&](int) { ++started; };
    waiting.Waiting_Timer(0);
    waiting.Waiting_Timer(-5);
    EXPECT_EQ(started, 0);
    EXPECT_EQ(loop.now(), 0);
}

TEST_F(Waits, LastsOneTimerPeriodAndStopsTheTimer) {
    waiting.Waiting_Timer(100);
    EXPECT_EQ(loop.now(), 100);
    EXPECT_TRUE(midi.TEMPO_SCADUTO);
    loop.advance(1000); // a stopped timer fires no more
    midi.TEMPO_SCADUTO = false;
    loop.processPendingEvents();
    EXPECT_FALSE(midi.TEMPO_SCADUTO);
}

TEST_F(Waits, AWaitInsideAWaitEndsBothWithoutHanging) {
    loop.post(10, [&] { waiting.Waiting_Timer(20); });
    waiting.Waiting_Timer(100);
    // The inner wait's firing ends the outer one too, as one shared timer does.
    EXPECT_EQ(loop.now(), 30);
}

// Input and port closing during a wait: the whole console on fake ports.
using Wait = ConsoleFixture;

TEST_F(Wait, InputArrivingDuringAWaitIsHandledDuringIt) {
    openPorts(0, 1, 0);
    auto& k = console();
    loop.post(30, [&] {
        in1.inject({0x90, 60, 100});
        in1.dispatch();
    });
    loop.post(70, [&] {
        in2.inject({0x80, 60, 0});
        in2.dispatch();
    });
    k.waiting.Waiting_Timer(100);
    ASSERT_EQ(out.sent.size(), 2u);
    EXPECT_EQ(out.sent[0].timeMs, 30);
    EXPECT_EQ(out.sent[0].bytes, bytes({0x90, 60, 100}));
    EXPECT_EQ(out.sent[1].timeMs, 70);
    EXPECT_EQ(out.sent[1].bytes, bytes({0x80, 60, 0}));
    EXPECT_EQ(loop.now(), 100);
}

TEST_F(Wait, OtherInputIsHandledInsideTheFirstInputsHandler) {
    openPorts(0, 1, 0);
    // Input 2's message is pending when input 1's handler processes events before reading.
    in1.inject({0x90, 60, 100});
    loop.postNow([&] {
        in2.inject({0x90, 62, 100});
        in2.dispatch();
    });
    in1.dispatch();
    ASSERT_EQ(out.sent.size(), 2u);
    EXPECT_EQ(out.sent[0].bytes, bytes({0x90, 62, 100}));
    EXPECT_EQ(out.sent[1].bytes, bytes({0x90, 60, 100}));
    EXPECT_EQ(in1.MessageCount() + in2.MessageCount(), 0);
}

TEST_F(Wait, PortClosedWhileEventsRunDoesNotReadAnEmptyQueue) {
    openPorts(0, 1, 0);
    in1.inject({0x90, 60, 100});
    loop.postNow([&] { console().devices.CHIUSURA_PORTE_MIDI(); });
    in1.dispatch();
    EXPECT_TRUE(out.sent.empty());
}

} // namespace
} // namespace kavel::test
