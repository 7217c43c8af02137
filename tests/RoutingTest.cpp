#include "RoutingFixture.h"
#include "midi/ThruDialog.h"

#include <functional>

namespace kavel::test {
namespace {

using Strings = std::vector<std::string>;

struct RouteCase {
    const char* name;
    std::function<void(Kavel&)> setup;
    std::vector<std::pair<int, std::vector<std::uint8_t>>> messages; // input, bytes
    Strings sent;
    Strings calls;
    bool armedAfter = false;
};

void PrintTo(const RouteCase& c, std::ostream* os) {
    *os << c.name;
}

void couplersAndSub(Kavel& k, int ped, int man, int sub) {
    k.state.registration.UNIONE_PED[SLOT_LIVE] = ped;
    k.state.registration.UNIONE_MAN[SLOT_LIVE] = man;
    k.state.registration.SUBOTTAVA_PED[SLOT_LIVE] = sub;
}
void arm(Kavel& k) {
    k.state.midi.EVENTO_SWITCH = true;
}
const Strings kPanic = {"B0 7B 00", "B0 7B 00", "B1 7B 00", "B1 7B 00", "B2 7B 00", "B2 7B 00"};

class Routing : public RoutingFixture, public ::testing::WithParamInterface<RouteCase> {};

TEST_P(Routing, SendsAndCalls) {
    const auto& c = GetParam();
    auto& k = console();
    if (c.setup) c.setup(k);
    for (const auto& [input, bytes] : c.messages)
        play(input, bytes);
    EXPECT_EQ(takeSent(), c.sent);
    EXPECT_EQ(functions.calls, c.calls);
    EXPECT_EQ(k.state.midi.EVENTO_SWITCH, c.armedAfter);
    EXPECT_EQ(in1.MessageCount() + in2.MessageCount(), 0);
}

const RouteCase kCases[] = {
    // Forwarding and copies (R8, R11, R12).
    {"PedalNoteAllCopies",
     [](Kavel& k) { couplersAndSub(k, 1, 1, 1); },
     {{1, {0x92, 0x3C, 0x64}}},
     {"92 3C 64", "90 3C 64", "91 3C 64", "92 30 64"},
     {}},
    {"PedalToSwellThenSwellToGreat",
     [](Kavel& k) { couplersAndSub(k, 2, 2, 0); },
     {{2, {0x92, 40, 90}}},
     {"92 28 5A", "91 28 5A", "90 28 5A"},
     {}},
    {"GreatToSwell",
     [](Kavel& k) { couplersAndSub(k, 0, 1, 1); },
     {{1, {0x90, 60, 1}}},
     {"90 3C 01", "91 3C 01"},
     {}},
    {"NoCopiesOffTheDivisionChannels",
     [](Kavel& k) { couplersAndSub(k, 1, 1, 1); },
     {{1, {0x94, 60, 100}}, {2, {0xB5, 7, 3}}, {1, {0xE7, 0, 78}}},
     {"94 3C 64", "B5 07 03", "E7 00 4E"},
     {}},
    {"LowPedalNoteHasNoSubOctave",
     [](Kavel& k) { couplersAndSub(k, 0, 0, 1); },
     {{1, {0x92, 11, 100}}, {1, {0x92, 12, 100}}},
     {"92 0B 64", "92 0C 64", "92 00 64"},
     {}},
    {"ReleaseWithVelocityZeroIsCopiedToo",
     [](Kavel& k) { couplersAndSub(k, 1, 0, 0); },
     {{1, {0x92, 50, 0}}},
     {"92 32 00", "90 32 00"},
     {}},
    {"AftertouchBankSelectClockAndProgramless",
     nullptr,
     {{1, {0xD0, 30}}, {1, {0xB0, 0, 5}}, {2, {0xF8}}, {1, {0xA1, 60, 9}}},
     {"D0 1E", "B0 00 05", "F8", "A1 3C 09"},
     {}},
    // Rechannelling (R2).
    {"NormalThruOrganBody2",
     [](Kavel& k) {
         k.state.midi.MODO_THRU = 1;
         k.state.registration.CORPO_ORGANO[SLOT_LIVE] = 2;
     },
     {{1, {0x98, 60, 100}},
      {1, {0x88, 60, 0}},
      {1, {0xB8, 10, 3}},
      {1, {0xE8, 0, 64}},
      {1, {0xD8, 5}}},
     {"91 3C 64", "81 3C 00", "B1 0A 03", "D8 05"},
     {}},
    {"NormalThruProgramChangeKeepsChannelAndIsAKey",
     [](Kavel& k) {
         k.state.midi.MODO_THRU = 1;
         k.state.registration.CORPO_ORGANO[SLOT_LIVE] = 2;
     },
     {{1, {0xC8, 5}}},
     {},
     {"Total_Recall 41 8"},
     true},
    {"FixedThruLowerDivisionWins",
     [](Kavel& k) {
         k.state.midi.MODO_THRU = 2;
         k.state.midi.CANALE_APPRESO = {4, 4, 0, 0};
     },
     {{1, {0x94, 60, 100}}, {2, {0x95, 61, 100}}},
     {"90 3C 64", "95 3D 64"},
     {}},
    {"FixedThruControllerOnLearnedPedalChannel",
     [](Kavel& k) {
         k.state.midi.MODO_THRU = 2;
         k.state.midi.CANALE_APPRESO = {4, 5, 0, 0};
     },
     {{1, {0xB0, 7, 127}}},
     {},
     {"SliderPE_Scroll"}},
    // Switch event (R5..R7).
    {"SustainArmsThenKey64RecallsFree5",
     nullptr,
     {{1, {0xB0, 64, 127}}, {2, {0x90, 64, 100}}, {1, {0xB0, 64, 0}}},
     {},
     {"c_memory_Click 5"}},
    {"Key72RecallsFixed1", arm, {{1, {0x91, 72, 1}}}, {}, {"Graduatore_Click 1"}},
    {"Key83RecallsFixed12", arm, {{1, {0x91, 83, 1}}}, {}, {"Graduatore_Click 12"}},
    {"OtherKeyIsTotalRecallThenReleasePanics",
     nullptr,
     {{1, {0xB0, 64, 127}}, {1, {0x90, 36, 100}}, {1, {0xB0, 64, 0}}},
     kPanic,
     {"Total_Recall 36 0"}},
    {"SustainInBetweenValuesAreSwallowed",
     nullptr,
     {{1, {0xB0, 64, 1}}, {1, {0xB1, 64, 126}}, {1, {0xB2, 64, 0}}},
     {},
     {}},
    {"ProgramChange30RecallsFree7", nullptr, {{1, {0xC0, 30}}}, {}, {"c_memory_Click 7"}},
    {"ProgramChangeAbove91GivesAKeyAbove127",
     nullptr,
     {{2, {0xC0, 100}}},
     {},
     {"Total_Recall 136 0"},
     true},
    {"ReleasesPassWhileArmed",
     arm,
     {{1, {0x80, 60, 0}}, {2, {0x91, 60, 0}}},
     {"80 3C 00", "91 3C 00"},
     {},
     true},
    {"ArmedControllerGoesToTotalRecall",
     arm,
     {{1, {0xB0, 11, 90}}},
     {},
     {"Total_Recall 11 32"},
     true},
    {"SustainOnChannel4IsForwarded", nullptr, {{1, {0xB3, 64, 127}}}, {"B3 40 7F"}, {}},
    // Pitch wheel (R9).
    {"WheelInput1",
     nullptr,
     {{1, {0xE0, 0, 78}},
      {1, {0xE0, 0, 64}},
      {1, {0xE1, 0, 47}},
      {1, {0xE1, 0, 65}},
      {1, {0xE2, 0, 75}},
      {1, {0xE2, 0, 60}},
      {1, {0xE2, 0, 50}}},
     {},
     {"Tir_TREMOLOGO_Click", "TIR_TREMOLOSW_Click", "UNPI_Click", "UNPII_Click"}},
    {"WheelInput2",
     nullptr,
     {{2, {0xE0, 0, 80}},
      {2, {0xE0, 0, 70}},
      {2, {0xE1, 0, 76}},
      {2, {0xE1, 0, 70}},
      {2, {0xE0, 0, 45}},
      {2, {0xE0, 0, 77}},
      {2, {0xE0, 0, 70}},
      {2, {0xE2, 0, 48}}},
     {},
     {"Tir_TREMOLOGO_Click", "TIR_TREMOLOSW_Click", "UNPII_Click"}},
    {"WheelHeldActsOnceUntilCentred",
     nullptr,
     {{1, {0xE0, 0, 78}},
      {1, {0xE0, 0, 79}},
      {1, {0xE0, 0, 90}},
      {1, {0xE0, 0, 66}},
      {1, {0xE0, 0, 78}}},
     {},
     {"Tir_TREMOLOGO_Click", "Tir_TREMOLOGO_Click"}},
    {"WheelOutsideBandsLeavesLatchClear",
     nullptr,
     {{1, {0xE0, 0, 90}}, {1, {0xE0, 0, 78}}},
     {},
     {"Tir_TREMOLOGO_Click"}},
    // Expression (R10).
    {"ExpressionUncoupledSwell",
     nullptr,
     {{1, {0xB1, 11, 0}}, {1, {0xB1, 11, 0}}, {1, {0xB1, 7, 127}}},
     {},
     {"SliderSW_Scroll", "SliderSW_Scroll"}},
    {"ExpressionCoupledGreatAndSwell",
     [](Kavel& k) { k.state.advanced.ACCOPPIAMENTO_GLOBALE = 1; },
     {{1, {0xB0, 1, 64}}, {2, {0xB1, 1, 64}}, {2, {0xB1, 1, 0}}},
     {},
     {"SliderGO_Scroll", "SliderSW_Scroll", "SliderGO_Scroll", "SliderSW_Scroll"}},
    {"ExpressionCoupledAllInput1",
     [](Kavel& k) { k.state.advanced.ACCOPPIAMENTO_GLOBALE = 2; },
     {{1, {0xB1, 11, 127}}},
     {},
     {"SliderPE_Scroll", "SliderGO_Scroll", "SliderSW_Scroll"}},
    {"ExpressionCoupledAllInput2GoesStraightToItsSlider",
     [](Kavel& k) { k.state.advanced.ACCOPPIAMENTO_GLOBALE = 2; },
     {{2, {0xB0, 11, 127}}},
     {},
     {"SliderGO_Scroll"}},
};

INSTANTIATE_TEST_SUITE_P(Cases, Routing, ::testing::ValuesIn(kCases),
                         [](const auto& info) { return info.param.name; });

using RoutingDetails = RoutingFixture;

TEST_F(RoutingDetails, ExpressionSliderValuesFollowTheStepsOf3) {
    auto& k = console();
    const std::pair<int, int> table[] = {{0, 61}, {64, 97}, {127, 127},
                                         {1, 64}, {6, 67},  {100, 115}};
    for (auto [v, e] : table) {
        play(1, {0xB2, 11, static_cast<std::uint8_t>(v)});
        EXPECT_EQ(k.controls.get("SliderPE").value, e) << "value " << v;
    }
}

TEST_F(RoutingDetails, ChannelLearningTeachesAndStillPlays) {
    auto& k = console();
    k.state.midi.APPRENDI_CANALE = true;
    k.state.midi.INDICE_APPRENDI = 1;
    play(2, {0x96, 60, 100});
    EXPECT_EQ(k.state.midi.CANALE_APPRESO[1], 6);
    EXPECT_EQ(k.controls.get("Custom_Thru_label", 1).caption, "Channel = 7");
    EXPECT_EQ(takeSent(), Strings{"96 3C 64"});
    play(2, {0x86, 60, 0}); // not a note-on: teaches nothing
    EXPECT_EQ(k.state.midi.CANALE_APPRESO[1], 6);
}

// The Thru dialog works live; OK keeps all, CANCEL only brings back the mode it opened with.
TEST_F(RoutingDetails, ThruDialogSessions) {
    auto& k = console();
    auto& midi = k.state.midi;
    auto& thru = k.thru;
    struct Session {
        int opensIn;
        int chosen;
        bool ok;
        int modeAfter;
        bool buttonShown;
    };
    const Session sessions[] = {
        {0, 1, false, 0, false}, {0, 1, true, 1, true},  {1, 2, true, 2, false},
        {2, 0, false, 2, false}, {1, 1, false, 1, true},
    };
    for (const Session& s : sessions) {
        SCOPED_TRACE(std::to_string(s.opensIn) + " -> " + std::to_string(s.chosen));
        midi.MODO_THRU = s.opensIn;
        k.thru.MidiThru_Click();
        EXPECT_EQ(midi.APPRENDI_CANALE, s.opensIn == 2); // mode 2 learns from the start
        thru.Thru_choose_Click(s.chosen);
        EXPECT_EQ(midi.MODO_THRU, s.chosen); // at once, before OK
        for (int i = 0; i < 3; ++i)
            EXPECT_EQ(k.controls.get("Thru_explanation", i).backColour,
                      Colour::system(i == s.chosen ? 9 : 15));
        s.ok ? thru.Command1_Click() : thru.Command2_Click();
        EXPECT_EQ(midi.MODO_THRU, s.modeAfter);
        EXPECT_FALSE(midi.APPRENDI_CANALE);
        EXPECT_EQ(k.controls.get("THRUBUTTON").visible, s.buttonShown);
        if (s.buttonShown) {
            EXPECT_EQ(k.controls.get("THRUBUTTON").caption, "Great");
        }
    }
    // Chosen again while it is open, the dialog keeps what was learned and the mode to go back to.
    midi.MODO_THRU = 0;
    k.thru.MidiThru_Click();
    thru.Thru_choose_Click(2);
    EXPECT_EQ(k.controls.get("Custom_Thru_label", 0).backColour, Colour::system(9)); // lit
    play(1, {0x96, 60, 100});
    k.thru.MidiThru_Click();
    EXPECT_EQ(midi.CANALE_APPRESO[0], 6);
    thru.Command2_Click();
    EXPECT_EQ(midi.MODO_THRU, 0);
    // Opening in mode 2 teaches the default channels again, and the labels say so; CANCEL
    // gives back the channels learned before, OK keeps the new ones.
    for (const bool ok : {false, true}) {
        midi.CANALE_APPRESO = {2, 6, 9, 0};
        midi.MODO_THRU = 2;
        k.thru.MidiThru_Click();
        EXPECT_EQ(midi.CANALE_APPRESO, (std::array<int, 4>{1, 0, 3, 0}));
        EXPECT_EQ(k.controls.get("Custom_Thru_label", 2).caption, "channel = 4");
        thru.Custom_Thru_label_Click(2);
        play(1, {0x9B, 40, 100}); // the Pedal learns channel 12
        ok ? thru.Command1_Click() : thru.Command2_Click();
        EXPECT_EQ(midi.MODO_THRU, 2);
        takeSent();
        play(1, {0x96, 60, 100}); // channel 7: the Swell before, no division's after OK
        play(1, {0x9B, 40, 100}); // channel 12: the Pedal learned in the dialog
        EXPECT_EQ(takeSent(),
                  ok ? (Strings{"96 3C 64", "92 28 64"}) : (Strings{"91 3C 64", "9B 28 64"}))
            << ok;
    }
    // A learning label in another mode only moves the lamp.
    midi.MODO_THRU = 0;
    k.thru.MidiThru_Click();
    thru.Custom_Thru_label_Click(2);
    EXPECT_EQ(midi.INDICE_APPRENDI, 2);
    EXPECT_EQ(k.controls.get("Custom_Thru_label", 2).backColour, Colour::system(9));
    EXPECT_EQ(k.controls.get("Custom_Thru_label", 0).caption, "Not rechanneled ");
    EXPECT_FALSE(midi.APPRENDI_CANALE);
    thru.Command2_Click();
}

TEST_F(RoutingDetails, NoteDelayStillHandlesEveryMessage) {
    console().state.midi.RITARDO_NOTE = 100;
    for (int i = 0; i < 5; ++i)
        play(1, {0x90, static_cast<std::uint8_t>(60 + i), 100});
    EXPECT_EQ(takeSent().size(), 5u);
}

} // namespace
} // namespace kavel::test
