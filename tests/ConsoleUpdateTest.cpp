#include "RegistrationFixture.h"

namespace kavel::test {
namespace {

using Log = std::vector<std::string>;
using ConsoleUpdate = RegistrationFixture;

const Log kGreatTail = {"B0 0B 7F", "B0 01 00"};

Log concat(std::initializer_list<Log> parts) {
    Log all;
    for (const auto& p : parts)
        all.insert(all.end(), p.begin(), p.end());
    return all;
}

TEST_F(ConsoleUpdate, FondiStopTakesReinforcementFromTheAncieRow) {
    auto& k = console();
    k.registration.Tir_AN_GO_Click(1); // Tromba 8', reinforceable
    clearLog();
    k.registration.Tir_FO_GO_Click(4); // Flauto 8', not reinforceable
    EXPECT_EQ(log, concat({{"E44", "E30", "T1", "T2", "T3", "T4", "T5", "B0 07 00"}, kGreatTail}));
    k.registration.Tir_AN_GO_Click(0);
    clearLog();
    k.registration.Tir_FO_GO_Click(5);
    EXPECT_EQ(log[1], "E31");
}

TEST_F(ConsoleUpdate, MutazioniStopHasNoReinforcement) {
    console().registration.Tir_MU_GO_Click(4);
    EXPECT_EQ(log, concat({{"E104", "T11", "T12", "T13", "B0 08 00"}, kGreatTail}));
}

TEST_F(ConsoleUpdate, StopDrawnUnderAMutedGroupIsMutedAgain) {
    auto& k = console();
    k.registration.Button_Annullatori_sw_Click(2); // row 0: no string, only the button
    EXPECT_TRUE(log.empty());
    EXPECT_EQ(k.controls.get("Button_Annullatori_sw", 2).caption, "Sw Restore");
    EXPECT_EQ(k.controls.get("Button_Annullatori_sw", 2).backColour, Colour::system(9));
    k.registration.Tir_AN_SW_Click(2);
    EXPECT_EQ(log, (Log{"E162", "E33", "T22", "T23", "T24", "T25", "E416", "B1 09 00", "B1 0B 7F",
                        "B1 01 00"}));
    EXPECT_FALSE(module.parts[22].sounds());
}

TEST_F(ConsoleUpdate, RestoreSendsOnlyTheRestoreEntryAndKeepsTheRow) {
    auto& k = console();
    k.registration.Tir_MU_GO_Click(7);
    k.registration.Button_Annullatori_go_Click(1);
    clearLog();
    k.registration.Button_Annullatori_go_Click(1);
    EXPECT_EQ(log, Log{"E415"});
    EXPECT_EQ(k.state.registration.MU_GO[SLOT_LIVE], 7);
    EXPECT_EQ(k.controls.get("Button_Annullatori_go", 1).caption, "Go Mute");
}

TEST_F(ConsoleUpdate, FondiCancellersMuteToo) {
    auto& k = console();
    k.registration.Tir_FO_GO_Click(1);
    clearLog();
    k.registration.Button_Annullatori_go_Click(0);
    EXPECT_EQ(log, Log{"E411"});
    EXPECT_FALSE(module.parts[1].sounds());
    k.registration.Button_Annullatori_go_Click(0);
    EXPECT_TRUE(module.parts[1].sounds());
}

TEST_F(ConsoleUpdate, CancellersGoInTheirOrder) {
    auto& k = console();
    auto& r = k.state.registration;
    for (SlotArray* f : {&r.FO_GO, &r.FO_SW, &r.MU_GO, &r.MU_SW, &r.AN_GO, &r.AN_SW})
        (*f)[SLOT_LIVE] = 1;
    k.registration.AGGIORNAMENTO_KAVEL();
    for (std::size_t g = 0; g < 3; ++g)
        r.ANNULL_GO[g][SLOT_LIVE] = r.ANNULL_SW[g][SLOT_LIVE] = 0;
    clearLog();
    k.registration.AGGIORNAMENTO_KAVEL();
    EXPECT_EQ(log, (Log{"E411", "E417", "E412", "E418", "E410", "E416"}));
}

TEST_F(ConsoleUpdate, SecondRunSendsNothingAndSlotsAgree) {
    auto& k = console();
    k.state.registration.FO_SW[SLOT_LIVE] = 3;
    k.state.registration.EXPR_PE[SLOT_LIVE] = 90;
    k.registration.AGGIORNAMENTO_KAVEL();
    clearLog();
    k.registration.AGGIORNAMENTO_KAVEL();
    EXPECT_TRUE(log.empty());
    auto& r = k.state.registration;
    for (SlotArray* f : fieldsInOrder(r))
        EXPECT_EQ((*f)[SLOT_LIVE], (*f)[SLOT_APPLIED]);
}

TEST_F(ConsoleUpdate, ExpressionAloneIsSentOnceByTheFirstBlockThatSeesIt) {
    auto& k = console();
    k.state.registration.EXPR_SW[SLOT_LIVE] = 100;
    k.registration.AGGIORNAMENTO_KAVEL();
    EXPECT_EQ(log, Log{"B1 0B 64"});
    EXPECT_EQ(k.controls.get("SliderSW").value, 100);
}

TEST_F(ConsoleUpdate, SameRowOnBothManualsSendsBothStrings) {
    auto& k = console();
    k.registration.Tir_FO_GO_Click(5);
    k.registration.Tir_FO_SW_Click(5);
    EXPECT_NE(std::find(log.begin(), log.end(), "E45"), log.end());
    EXPECT_NE(std::find(log.begin(), log.end(), "E75"), log.end());
    clearLog();
    k.registration.Tir_FO_SW_Click(5); // already drawn
    EXPECT_TRUE(log.empty());
}

TEST_F(ConsoleUpdate, GraphicDrawknobsFollowTheStop) {
    auto& k = console();
    k.registration.Tir_PED_graph_Click(3);
    EXPECT_EQ(fs::path(k.controls.get("Tir_PED_graph", 3).picture).filename(), "tirante_on.jpg");
    EXPECT_EQ(fs::path(k.controls.get("Tir_PED_graph", 0).picture).filename(), "tirante_off.jpg");
    k.registration.Tir_MU_SW_graph_Click(2);
    EXPECT_EQ(fs::path(k.controls.get("Tir_MU_SW_graph", 2).picture).filename(),
              "tirante_on_sw.jpg");
}

TEST_F(ConsoleUpdate, StandardPanelNameStaysLitWhileTheOtherManualHoldsIt) {
    auto& k = console();
    k.state.panel.INTERFACCIA_GRAFICA = false;
    k.registration.Tir_FO_GO_Click(5);
    k.registration.Tir_FO_SW_Click(5);
    k.registration.Tir_FO_GO_Click(6);
    EXPECT_EQ(k.controls.get("Tir_FO_GO", 5).caption, " ");
    EXPECT_EQ(k.controls.get("Tir_FO_GO", 6).caption, k.state.panel.SCRITTA_GREAT);
    EXPECT_EQ(k.controls.get("NomeFondi", 5).backColour, Colour::system(9));
    EXPECT_EQ(k.controls.get("NomeFondi", 6).backColour, Colour::system(9));
    k.registration.Tir_FO_SW_Click(0);
    EXPECT_EQ(k.controls.get("NomeFondi", 5).backColour, Colour::system(15));
}

// A row beyond its group, from a damaged memory, is the cancel position everywhere: its
// entry goes out, the panel shows row 0 and the module plays nothing of the group.
TEST_F(ConsoleUpdate, RowBeyondItsGroupIsTheCancelPosition) {
    struct Case {
        SlotArray RegistrationTable::*field;
        void (Registration::*draw)(int);
        int bad;
        const char* cancel;
        const char* knobs;
        std::vector<std::size_t> parts;
    };
    using R = RegistrationTable;
    const Case cases[] = {
        {&R::FO_GO, &Registration::Tir_FO_GO_Click, 30, "E40", "Tir_FO_GO_graph", {1, 2, 3, 4, 5}},
        {&R::MU_SW, &Registration::Tir_MU_SW_Click, -1, "E120", "Tir_MU_SW_graph", {27, 28, 29}},
        {&R::AN_GO, &Registration::Tir_AN_GO_Click, 25, "E140", "Tir_AN_GO_graph", {6, 7, 8, 9}},
        {&R::PED,
         &Registration::NomePedale_Click,
         20,
         "E180",
         "Tir_PED_graph",
         {14, 15, 16, 30, 31, 32}},
    };
    auto sounding = [this](const std::vector<std::size_t>& parts) {
        return std::count_if(parts.begin(), parts.end(),
                             [this](std::size_t p) { return module.parts[p].sounds(); });
    };
    auto& k = console();
    auto& r = k.state.registration;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.cancel);
        (k.registration.*c.draw)(1);
        ASSERT_GT(sounding(c.parts), 0);
        copySlot(r, SLOT_LIVE, 2); // the registration on show, but for the one damaged row
        (r.*c.field)[2] = c.bad;
        clearLog();
        k.memories.c_memory_Click(2);
        EXPECT_NE(std::find(log.begin(), log.end(), c.cancel), log.end());
        EXPECT_EQ(sounding(c.parts), 0);
        EXPECT_EQ((r.*c.field)[SLOT_LIVE], 0);
        EXPECT_EQ((r.*c.field)[SLOT_APPLIED], 0);
        EXPECT_EQ(fs::path(k.controls.get(c.knobs, 0).picture).filename().string().find("_on"),
                  std::string("tirante").size());
        EXPECT_EQ(fs::path(k.controls.get(c.knobs, 1).picture).filename().string().find("_off"),
                  std::string("tirante").size());
        (r.*c.field)[2] = 0;
    }
}

// With a SysEx delay the update waits between messages, and the organist may draw another
// stop of the same group meanwhile: the module, the panel and the applied slot must all end
// on the stop drawn last, wherever in the first one's sends the click falls.
TEST_F(ConsoleUpdate, StopDrawnDuringTheWaitsOfAnotherWins) {
    auto& k = console();
    k.state.midi.RITARDO_SYSEX = 20;
    GsModule alone; // what the second stop asks of its parts, heard on its own
    alone.apply(k.state.stops.STOPS_TABLE[45]);
    for (double after : {5.0, 25.0, 45.0, 70.0, 110.0, 150.0, 190.0}) {
        SCOPED_TRACE(after);
        k.registration.Tir_FO_GO_Click(0);
        loop.post(loop.now() + after, [&k] { k.registration.Tir_FO_GO_Click(5); });
        k.registration.Tir_FO_GO_Click(3);
        loop.advance(1000); // a click due after the update ended comes now
        const auto& r = k.state.registration;
        EXPECT_EQ(r.FO_GO[SLOT_LIVE], 5);
        EXPECT_EQ(r.FO_GO[SLOT_APPLIED], 5);
        for (int row : {0, 3, 5}) {
            const bool drawnOut =
                fs::path(k.controls.get("Tir_FO_GO_graph", row).picture).filename() ==
                "tirante_on_go.jpg";
            EXPECT_EQ(drawnOut, row == 5) << row;
        }
        for (std::size_t p = 1; p <= 5; ++p) {
            EXPECT_EQ(module.parts[p].sounds(), alone.parts[p].sounds()) << p;
            if (alone.parts[p].sounds()) {
                EXPECT_EQ(module.parts[p].program, alone.parts[p].program) << p;
            }
        }
    }
}

struct CouplerCase {
    const char* name;
    int applied;
    bool firstButton;
    int expected;
};

void PrintTo(const CouplerCase& c, std::ostream* os) {
    *os << c.name;
}

class Couplers : public RegistrationFixture, public ::testing::WithParamInterface<CouplerCase> {};

TEST_P(Couplers, ThreeWayTableFromTheAppliedValue) {
    const auto& c = GetParam();
    auto& k = console();
    for (bool pedal : {true, false}) {
        auto& field = pedal ? k.state.registration.UNIONE_PED : k.state.registration.UNIONE_MAN;
        field[SLOT_APPLIED] = c.applied;
        if (pedal)
            c.firstButton ? k.registration.UNPI_Click() : k.registration.UNPII_Click();
        else
            c.firstButton ? k.registration.UN_GOSW_Click() : k.registration.UN_SWGO_Click();
        EXPECT_EQ(field[SLOT_LIVE], c.expected);
        EXPECT_EQ(field[SLOT_APPLIED], c.expected);
        const char* first = pedal ? "UNPI" : "UN_GOSW";
        const char* second = pedal ? "UNPII" : "UN_SWGO";
        EXPECT_EQ(k.controls.get(first).backColour, Colour::system(c.expected == 1 ? 9 : 15));
        EXPECT_EQ(k.controls.get(second).backColour, Colour::system(c.expected == 2 ? 9 : 15));
    }
    EXPECT_TRUE(log.empty()); // couplers act on the notes, not on the module
}

INSTANTIATE_TEST_SUITE_P(Table, Couplers,
                         ::testing::Values(CouplerCase{"Off_First", 0, true, 1},
                                           CouplerCase{"Off_Second", 0, false, 2},
                                           CouplerCase{"First_First", 1, true, 0},
                                           CouplerCase{"First_Second", 1, false, 2},
                                           CouplerCase{"Second_First", 2, true, 1},
                                           CouplerCase{"Second_Second", 2, false, 0},
                                           CouplerCase{"Damaged5_First", 5, true, 1},
                                           CouplerCase{"Damaged5_Second", 5, false, 2}),
                         [](const auto& info) { return info.param.name; });

TEST_F(ConsoleUpdate, CouplerDisplayFollowsALiveChangeWithoutSending) {
    auto& k = console();
    k.state.registration.UNIONE_PED[SLOT_LIVE] = 2;
    k.registration.AGGIORNAMENTO_KAVEL();
    EXPECT_EQ(k.controls.get("UNPII").backColour, Colour::system(9));
    EXPECT_EQ(k.controls.get("UNPI").backColour, Colour::system(15));
    EXPECT_TRUE(log.empty());
}

TEST_F(ConsoleUpdate, TremoloAndSubOctaveToggles) {
    auto& k = console();
    k.state.advanced.VELOCITA_TREMOLO = 64;
    k.registration.Tir_TREMOLOGO_Click();
    k.registration.Tir_TREMOLOGO_Click();
    k.registration.TIR_TREMOLOSW_Click();
    EXPECT_EQ(log, (Log{"B0 01 40", "B0 01 00", "B1 01 40"}));
    EXPECT_EQ(k.controls.get("TIR_TREMOLOSW").backColour, Colour::system(9));
    clearLog();
    auto& sub = k.state.registration.SUBOTTAVA_PED;
    k.registration.Subottava_Click();
    EXPECT_EQ(sub[SLOT_LIVE], 1);
    EXPECT_EQ(k.controls.get("Subottava").backColour, Colour::system(9));
    k.registration.Subottava_Click();
    EXPECT_EQ(sub[SLOT_LIVE], 0);
    sub[SLOT_LIVE] = 5;
    k.registration.Subottava_Click();
    EXPECT_EQ(sub[SLOT_LIVE], 1);
    EXPECT_TRUE(log.empty());
}

TEST_F(ConsoleUpdate, CancelAllTurnsTheTremoloOffAndKeepsLevels) {
    auto& k = console();
    k.state.advanced.VELOCITA_TREMOLO = 64;
    k.registration.Tir_TREMOLOGO_Click();
    k.state.registration.EXPR_GO[SLOT_LIVE] = 90;
    k.registration.AGGIORNAMENTO_KAVEL();
    clearLog();
    k.registration.CancelALL_Click();
    EXPECT_NE(std::find(log.begin(), log.end(), "B0 01 00"), log.end());
    EXPECT_EQ(k.state.registration.EXPR_GO[SLOT_LIVE], 90);
    EXPECT_EQ(k.controls.get("CancelALL").backColour, Colour::system(15));
}

} // namespace
} // namespace kavel::test
