#include "RoutingFixture.h"

namespace kavel::test {
namespace {

using Strings = std::vector<std::string>;

class Sending : public RoutingFixture {
  protected:
    Sending() {
        loop.onTimerStarted = [this](int ms) { waits.push_back(ms); };
    }
    void entry(int n, std::initializer_list<int> b) {
        std::string s;
        for (int v : b)
            s.push_back(static_cast<char>(v));
        console().state.stops.STOPS_TABLE[static_cast<std::size_t>(n)] = s;
    }
    std::vector<int> waits;
};

const std::initializer_list<int> kTwoMessages = {0xF0, 0x41, 0x10, 0x42, 0x12, 0x40, 0x00, 0x7F,
                                                 0x00, 0x41, 0xF7, 0xF0, 0x41, 0x10, 0x42, 0x12,
                                                 0x40, 0x01, 0x30, 0x00, 0x0F, 0xF7};

TEST_F(Sending, WithADelayEachMessageIsSentAndFollowedByAWait) {
    entry(12, kTwoMessages);
    console().state.midi.RITARDO_SYSEX = 20;
    console().Sysex_Sending(12);
    EXPECT_EQ(takeSent(),
              (Strings{"F0 41 10 42 12 40 00 7F 00 41 F7", "F0 41 10 42 12 40 01 30 00 0F F7"}));
    EXPECT_EQ(waits, (std::vector<int>{20, 20}));
    EXPECT_EQ(out.sent[0].timeMs, 0);
    EXPECT_EQ(out.sent[1].timeMs, 20);
    EXPECT_EQ(loop.now(), 40);
}

TEST_F(Sending, WithoutADelayTheEntryGoesWholeAndNothingWaits) {
    entry(12, kTwoMessages);
    console().Sysex_Sending(12);
    ASSERT_EQ(out.sent.size(), 1u);
    EXPECT_EQ(out.sent[0].bytes.size(), 22u);
    EXPECT_TRUE(waits.empty());
}

TEST_F(Sending, BytesAfterTheLastF7AreDroppedAndEmptyEntriesSendNothing) {
    entry(3, {0xF0, 0x7E, 0xF7, 0xF0, 0x41});
    entry(4, {0xF0, 0x41, 0x10});
    auto& k = console();
    k.state.midi.RITARDO_SYSEX = 20;
    k.Sysex_Sending(3);
    k.Sysex_Sending(4);
    k.Sysex_Sending(5);
    EXPECT_EQ(takeSent(), Strings{"F0 7E F7"});
    EXPECT_EQ(waits, std::vector<int>{20});
    k.state.midi.RITARDO_SYSEX = 0;
    k.Sysex_Sending(5);
    k.Sysex_Sending(-1);
    k.Sysex_Sending(431);
    EXPECT_TRUE(takeSent().empty());
}

TEST_F(Sending, InputIsHandledBetweenTheMessagesOfAnEntry) {
    entry(12, kTwoMessages);
    console().state.midi.RITARDO_SYSEX = 20;
    loop.post(5, [this] { play(1, {0x90, 60, 100}); });
    console().Sysex_Sending(12);
    const auto sent = takeSent();
    ASSERT_EQ(sent.size(), 3u);
    EXPECT_EQ(sent[1], "90 3C 64");
}

TEST_F(Sending, TemperamentStringWaitsFirstAndIsNeverSplit) {
    auto& k = console();
    k.state.midi.TEMP_SYSEX[7] = std::string("\xF0\x01\xF7\xF0\x02\xF7", 6);
    k.state.midi.RITARDO_SYSEX = 15;
    k.Sysex_Temp_sending(7);
    EXPECT_EQ(waits, std::vector<int>{15});
    ASSERT_EQ(out.sent.size(), 1u);
    EXPECT_EQ(out.sent[0].timeMs, 15);
    EXPECT_EQ(out.sent[0].bytes.size(), 6u);
}

TEST_F(Sending, PanicSendsAllNotesOffTwiceOnTheThreeDivisions) {
    console().Panic_Click();
    EXPECT_EQ(takeSent(),
              (Strings{"B0 7B 00", "B0 7B 00", "B1 7B 00", "B1 7B 00", "B2 7B 00", "B2 7B 00"}));
    EXPECT_TRUE(waits.empty());
}

} // namespace
} // namespace kavel::test
