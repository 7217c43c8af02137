// A key's release goes where its press went, whatever changed while it was held.

#include "RoutingFixture.h"

#include <functional>

namespace kavel::test {
namespace {

using Strings = std::vector<std::string>;

struct HeldCase {
    const char* name;
    std::function<void(Kavel&)> before;
    std::function<void(Kavel&)> whileHeld;
    std::vector<std::uint8_t> press;
    std::vector<std::uint8_t> release;
    Strings pressSent;
    Strings releaseSent;
};

void PrintTo(const HeldCase& c, std::ostream* os) {
    *os << c.name;
}

RegistrationTable& reg(Kavel& k) {
    return k.state.registration;
}

class HeldNotesRelease : public RoutingFixture, public ::testing::WithParamInterface<HeldCase> {};

TEST_P(HeldNotesRelease, GoesWhereThePressWent) {
    const auto& c = GetParam();
    auto& k = console();
    if (c.before) c.before(k);
    play(1, c.press);
    EXPECT_EQ(takeSent(), c.pressSent);
    c.whileHeld(k);
    play(1, c.release);
    EXPECT_EQ(takeSent(), c.releaseSent);
    // Played again after the change, the key follows the new state.
    play(1, c.press);
    play(1, c.release);
    const auto again = takeSent();
    EXPECT_EQ(again.size() % 2, 0u);
}

const HeldCase kHeldCases[] = {
    {"PedalCouplerOff",
     [](Kavel& k) { reg(k).UNIONE_PED[SLOT_LIVE] = 1; },
     [](Kavel& k) { reg(k).UNIONE_PED[SLOT_LIVE] = 0; },
     {0x92, 40, 100},
     {0x82, 40, 64},
     {"92 28 64", "90 28 64"},
     {"82 28 40", "80 28 40"}},
    {"ManualCouplerSwitched",
     [](Kavel& k) { reg(k).UNIONE_MAN[SLOT_LIVE] = 1; },
     [](Kavel& k) { reg(k).UNIONE_MAN[SLOT_LIVE] = 2; },
     {0x90, 60, 100},
     {0x90, 60, 0},
     {"90 3C 64", "91 3C 64"},
     {"90 3C 00", "91 3C 00"}},
    {"SubOctaveTurnedOn",
     nullptr,
     [](Kavel& k) { reg(k).SUBOTTAVA_PED[SLOT_LIVE] = 1; },
     {0x92, 36, 100},
     {0x82, 36, 0},
     {"92 24 64"},
     {"82 24 00"}},
    {"SubOctaveTurnedOff",
     [](Kavel& k) { reg(k).SUBOTTAVA_PED[SLOT_LIVE] = 1; },
     [](Kavel& k) { reg(k).SUBOTTAVA_PED[SLOT_LIVE] = 0; },
     {0x92, 36, 100},
     {0x82, 36, 0},
     {"92 24 64", "92 18 64"},
     {"82 24 00", "82 18 00"}},
    {"OrganBodyChanged",
     [](Kavel& k) {
         k.state.midi.MODO_THRU = 1;
         reg(k).CORPO_ORGANO[SLOT_LIVE] = 1;
     },
     [](Kavel& k) { reg(k).CORPO_ORGANO[SLOT_LIVE] = 3; },
     {0x94, 60, 100},
     {0x84, 60, 0},
     {"90 3C 64"},
     {"80 3C 00"}},
    {"ThruModeChanged",
     nullptr,
     [](Kavel& k) {
         k.state.midi.MODO_THRU = 1;
         reg(k).CORPO_ORGANO[SLOT_LIVE] = 2;
     },
     {0x95, 60, 100},
     {0x85, 60, 0},
     {"95 3C 64"},
     {"85 3C 00"}},
    {"PanicThenThruChange", // the panic silences channels 1..3 only: channel 5 still owes
     nullptr,
     [](Kavel& k) {
         k.sender.Panic_Click();
         k.state.midi.MODO_THRU = 1;
         reg(k).CORPO_ORGANO[SLOT_LIVE] = 2;
     },
     {0x94, 60, 100},
     {0x84, 60, 0},
     {"94 3C 64"},
     {"B0 7B 00", "B0 7B 00", "B1 7B 00", "B1 7B 00", "B2 7B 00", "B2 7B 00", "84 3C 00"}},
    {"PanicForgetsOnlyTheSilencedCopy",
     [](Kavel& k) {
         k.state.midi.MODO_THRU = 2;
         k.state.midi.CANALE_APPRESO = {5, 1, 2, 0}; // channel 6 plays the Great
     },
     [](Kavel& k) {
         k.sender.Panic_Click();
         k.state.midi.MODO_THRU = 0;
     },
     {0x95, 60, 100},
     {0x85, 60, 0},
     {"90 3C 64"},
     // Silenced by the panic: the release owed nothing any more, and goes as it comes.
     {"B0 7B 00", "B0 7B 00", "B1 7B 00", "B1 7B 00", "B2 7B 00", "B2 7B 00", "85 3C 00"}},
    {"AllAtOnce",
     [](Kavel& k) {
         reg(k).UNIONE_PED[SLOT_LIVE] = 1;
         reg(k).UNIONE_MAN[SLOT_LIVE] = 1;
         reg(k).SUBOTTAVA_PED[SLOT_LIVE] = 1;
     },
     [](Kavel& k) {
         reg(k).UNIONE_PED[SLOT_LIVE] = 2;
         reg(k).UNIONE_MAN[SLOT_LIVE] = 0;
         reg(k).SUBOTTAVA_PED[SLOT_LIVE] = 0;
     },
     {0x92, 0x3C, 0x64},
     {0x92, 0x3C, 0x00},
     {"92 3C 64", "90 3C 64", "91 3C 64", "92 30 64"},
     {"92 3C 00", "90 3C 00", "91 3C 00", "92 30 00"}},
};

INSTANTIATE_TEST_SUITE_P(Cases, HeldNotesRelease, ::testing::ValuesIn(kHeldCases),
                         [](const auto& info) { return info.param.name; });

using HeldNotesDetails = RoutingFixture;

TEST_F(HeldNotesDetails, NothingChangedGivesExactlyTheUsualRelease) {
    auto& k = console();
    reg(k).UNIONE_PED[SLOT_LIVE] = 2;
    reg(k).UNIONE_MAN[SLOT_LIVE] = 2;
    reg(k).SUBOTTAVA_PED[SLOT_LIVE] = 1;
    play(2, {0x92, 50, 90});
    takeSent();
    play(2, {0x82, 50, 30});
    const Strings held = takeSent();
    // The same release on a console that never saw the press.
    k.sender.Panic_Click();
    takeSent();
    play(2, {0x82, 50, 30});
    EXPECT_EQ(held, takeSent());
    EXPECT_EQ(held, (Strings{"82 32 1E", "81 32 1E", "80 32 1E", "82 26 1E"}));
}

TEST_F(HeldNotesDetails, InputsAndChannelsKeepTheirOwnKeys) {
    auto& k = console();
    play(1, {0x92, 40, 100}); // pedal, no couplers
    reg(k).UNIONE_PED[SLOT_LIVE] = 1;
    play(2, {0x92, 40, 100}); // same key on the other input, now coupled
    takeSent();
    play(1, {0x82, 40, 0});
    EXPECT_EQ(takeSent(), Strings{"82 28 00"});
    play(2, {0x82, 40, 0});
    EXPECT_EQ(takeSent(), (Strings{"82 28 00", "80 28 00"}));
}

TEST_F(HeldNotesDetails, PanicForgetsHeldKeys) {
    auto& k = console();
    reg(k).UNIONE_MAN[SLOT_LIVE] = 1;
    play(1, {0x90, 60, 100});
    k.sender.Panic_Click();
    reg(k).UNIONE_MAN[SLOT_LIVE] = 0;
    takeSent();
    play(1, {0x80, 60, 0});
    EXPECT_EQ(takeSent(), Strings{"80 3C 00"});
}

// With the switch event armed every message is a command, but never the release of a key
// whose press went out: that would leave the note sounding.
TEST_F(HeldNotesDetails, ReleaseOnAnyChannelAfterTheSustainPedalIsNotACommand) {
    for (std::uint8_t channel : {0, 4, 15}) {
        for (bool noteOnZero : {false, true}) {
            SCOPED_TRACE(std::to_string(channel) + (noteOnZero ? " note-on 0" : " note-off"));
            play(1, {static_cast<std::uint8_t>(0x90 | channel), 64, 100});
            play(2, {0xB0, 64, 127}); // the pedal on the other keyboard arms it for both
            takeSent();
            functions.calls.clear();
            if (noteOnZero)
                play(1, {static_cast<std::uint8_t>(0x90 | channel), 64, 0});
            else
                play(1, {static_cast<std::uint8_t>(0x80 | channel), 64, 0});
            EXPECT_EQ(takeSent(),
                      Strings{hexBytes(bytes({(noteOnZero ? 0x90 : 0x80) | channel, 64, 0}))});
            EXPECT_TRUE(functions.calls.empty());
            EXPECT_TRUE(console().state.midi.EVENTO_SWITCH); // still armed for the next key
            play(1, {static_cast<std::uint8_t>(0x80 | channel), 64, 0}); // owed nothing now
            EXPECT_EQ(takeSent().size(), channel < 3 ? 1u : 0u);
            console().state.midi.EVENTO_SWITCH = false;
        }
    }
}

TEST_F(HeldNotesDetails, ReleaseWhileArmedStillReachesTheCoupledNotes) {
    auto& k = console();
    reg(k).UNIONE_MAN[SLOT_LIVE] = 2;
    play(1, {0x91, 62, 100});
    play(1, {0xB1, 64, 127}); // sustain: switch event armed
    reg(k).UNIONE_MAN[SLOT_LIVE] = 0;
    takeSent();
    play(1, {0x81, 62, 0});
    EXPECT_EQ(takeSent(), (Strings{"81 3E 00", "80 3E 00"}));
}

} // namespace
} // namespace kavel::test
