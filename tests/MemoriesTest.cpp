#include "RegistrationFixture.h"

namespace kavel::test {
namespace {

using Memories = RegistrationFixture;

struct RecallCase {
    const char* name;
    bool globals;
    bool balances;
};

void PrintTo(const RecallCase& c, std::ostream* os) {
    *os << c.name;
}

class RecallOptions : public RegistrationFixture,
                      public ::testing::WithParamInterface<RecallCase> {};

TEST_P(RecallOptions, ExpressionAndBalanceFollowOnlyWhenAsked) {
    const auto& c = GetParam();
    auto& k = console();
    auto& r = k.state.registration;
    k.state.advanced.RICHIAMA_GLOBALI = c.globals;
    k.state.advanced.RICHIAMA_BILANCIAMENTO = c.balances;
    r.FO_GO[3] = 4;
    r.EXPR_SW[3] = 70;
    r.BIL_ANCIE_GO[3] = 40;
    r.UNIONE_MAN[3] = 2;
    k.memories.c_memory_Click(3);
    EXPECT_EQ(r.FO_GO[SLOT_LIVE], 4);
    EXPECT_EQ(r.UNIONE_MAN[SLOT_LIVE], 2);
    EXPECT_EQ(r.EXPR_SW[SLOT_LIVE], c.globals ? 70 : 127);
    EXPECT_EQ(r.BIL_ANCIE_GO[SLOT_LIVE], c.balances ? 40 : 127);
    EXPECT_TRUE(k.state.memories.MEMORIA_INTATTA);
    EXPECT_EQ(k.controls.get("C_memory", 3).backColour, Colour::rgb(0, 192, 0));
    EXPECT_NE(std::find(log.begin(), log.end(), "E44"), log.end());
}

INSTANTIATE_TEST_SUITE_P(Options, RecallOptions,
                         ::testing::Values(RecallCase{"Neither", false, false},
                                           RecallCase{"Globals", true, false},
                                           RecallCase{"Balances", false, true},
                                           RecallCase{"Both", true, true}),
                         [](const auto& info) { return info.param.name; });

TEST_F(Memories, StoreWritesAll28FieldsSendsNothingAndMarksUnsaved) {
    auto& k = console();
    auto& r = k.state.registration;
    k.state.advanced.RICHIAMA_GLOBALI = false;
    k.registration.Tir_MU_SW_Click(3);
    r.EXPR_PE[SLOT_LIVE] = 99;
    r.ANNULL_SW[2][SLOT_LIVE] = 0;
    k.registration.AGGIORNAMENTO_KAVEL();
    clearLog();
    k.memories.Rec_button_Click();
    EXPECT_EQ(k.controls.get("Rec_button").backColour, Colour::system(9));
    k.memories.c_memory_Click(5);
    for (SlotArray* f : fieldsInOrder(r))
        EXPECT_EQ((*f)[5], (*f)[SLOT_LIVE]);
    EXPECT_TRUE(log.empty());
    EXPECT_TRUE(k.state.memories.MEMORIE_NON_SALVATE);
    EXPECT_FALSE(k.state.memories.REC_MEMORIA);
    EXPECT_EQ(k.controls.get("Rec_button").backColour, Colour::system(15));
}

TEST_F(Memories, RecThenFixedMemoryStoresNothingAndLightsTheLadder) {
    auto& k = console();
    auto& r = k.state.registration;
    k.memories.c_memory_Click(2);
    const auto fixedBefore = r.FO_GO[12 + 4];
    k.registration.Tir_FO_GO_Click(9);
    k.memories.Rec_button_Click();
    k.memories.Graduatore_Click(4);
    EXPECT_EQ(r.FO_GO[12 + 4], fixedBefore);
    EXPECT_EQ(r.FO_GO[SLOT_LIVE], 9); // nothing recalled either
    EXPECT_FALSE(k.state.memories.REC_MEMORIA);
    EXPECT_EQ(k.state.memories.ULTIMA_MEMORIA, 16);
    for (int i = 1; i <= 12; ++i)
        EXPECT_EQ(k.controls.get("Graduatore", i).backColour, Colour::system(i <= 4 ? 9 : 10)) << i;
    EXPECT_EQ(k.controls.get("C_memory", 2).backColour, Colour::system(15));
}

TEST_F(Memories, YellowMarkIsSetOnceAndOnlyForFreeMemories) {
    auto& k = console();
    k.memories.c_memory_Click(6);
    k.registration.Tir_FO_GO_Click(1);
    EXPECT_EQ(k.controls.get("C_memory", 6).backColour, Colour::rgb(255, 255, 0));
    EXPECT_FALSE(k.state.memories.MEMORIA_INTATTA);
    k.registration.Tir_FO_GO_Click(2);
    EXPECT_EQ(k.controls.get("C_memory", 6).backColour, Colour::rgb(255, 255, 0));
    k.memories.Graduatore_Click(1);
    EXPECT_EQ(k.controls.get("C_memory", 6).backColour, Colour::system(15));
    k.registration.Tir_FO_GO_Click(3);
    for (int i = 1; i <= 12; ++i)
        EXPECT_NE(k.controls.get("C_memory", i).backColour, Colour::rgb(255, 255, 0));
}

TEST_F(Memories, ClearAskedNoChangesNothingYesKeepsTheLiveSlotAndBuffers) {
    auto& k = console();
    auto& r = k.state.registration;
    k.memories.Rec_button_Click();
    k.memories.c_memory_Click(1); // stores: memories now unsaved
    r.FO_GO[1] = 7;
    r.FO_GO[27] = 5;
    r.FO_GO[SLOT_LIVE] = 3;
    r.SUBOTTAVA_PED[4] = 1;
    user.answers.push_back(Answer::No);
    k.memories.CLEAR_Click();
    ASSERT_EQ(user.shown.size(), 1u);
    EXPECT_EQ(user.shown[0].text, "Free memories unsaved: erase anyway ?");
    EXPECT_EQ(r.FO_GO[1], 7);
    EXPECT_TRUE(k.state.memories.MEMORIE_NON_SALVATE);
    user.answers.push_back(Answer::Yes);
    k.memories.CLEAR_Click();
    EXPECT_EQ(r.FO_GO[1], 0);
    EXPECT_EQ(r.CORPO_ORGANO[1], 1);
    EXPECT_EQ(r.SUBOTTAVA_PED[4], 0); // Clr clears the sub-octave with the rest
    EXPECT_EQ(r.FO_GO[27], 5);
    EXPECT_EQ(r.FO_GO[SLOT_LIVE], 3);
    EXPECT_FALSE(k.state.memories.MEMORIE_NON_SALVATE);
    user.shown.clear();
    k.memories.CLEAR_Click(); // nothing unsaved: no question
    EXPECT_TRUE(user.shown.empty());
}

// The fixed memories keep organ body 0 as the defaults write it; recalled, it must neither end
// the program nor send notes with a broken status byte, and the body in use stays.
TEST_F(Memories, OrganBodyThatNamesNoDivisionLeavesTheLiveOne) {
    auto& k = console();
    k.routing.setConsoleFunctions(nullptr);
    auto& r = k.state.registration;
    k.state.midi.MODO_THRU = 1;
    k.thru.THRUBUTTON_Click(); // body 2, the Swell
    for (int body : {0, 4, -1, 32767}) {
        SCOPED_TRACE(body);
        r.CORPO_ORGANO[13] = body;
        user.shown.clear();
        k.memories.Graduatore_Click(1);
        EXPECT_TRUE(user.shown.empty());
        EXPECT_TRUE(k.running());
        EXPECT_EQ(r.CORPO_ORGANO[13], body); // stored as it was
        EXPECT_EQ(r.CORPO_ORGANO[SLOT_LIVE], 2);
        EXPECT_EQ(k.controls.get("THRUBUTTON").caption, "Swell");
        clearLog();
        for (std::vector<std::uint8_t> m : {bytes({0x98, 60, 100}), bytes({0x88, 60, 0}),
                                            bytes({0xA8, 60, 9}), bytes({0xD8, 9, 0})})
            play(1, m);
        EXPECT_EQ(log, (std::vector<std::string>{"91 3C 64", "81 3C 00", "A8 3C 09", "D8 09"}));
    }
    // A body set straight into the live slot is refused by the update as well.
    r.CORPO_ORGANO[SLOT_LIVE] = 0;
    k.registration.AGGIORNAMENTO_KAVEL();
    EXPECT_EQ(r.CORPO_ORGANO[SLOT_LIVE], 2);
    EXPECT_TRUE(user.shown.empty());
}

TEST_F(Memories, OutOfRangeIndexBecomesOne) {
    auto& k = console();
    int index = 31;
    k.memories.Memorie(index);
    EXPECT_EQ(index, 1);
}

TEST_F(Memories, DisplayModeSwitchDarkensEveryIndicator) {
    auto& k = console();
    k.state.memories.PIC_GREEN_OFF = "green-off.gif";
    k.state.memories.PIC_RED_OFF = "red-off.gif";
    k.memories.c_memory_Click(4);
    k.memories.DisplayLeds_Click();
    EXPECT_TRUE(k.state.memories.LED_MEMORIE);
    EXPECT_EQ(k.controls.get("LedFree", 4).picture, "green-off.gif");
    EXPECT_EQ(k.controls.get("LedFix", 12).picture, "red-off.gif");
    k.memories.DisplayLeds_Click();
    EXPECT_EQ(k.controls.get("C_memory", 4).backColour, Colour::system(15));
    EXPECT_EQ(k.controls.get("Graduatore", 4).backColour, Colour::system(15));
}

using TotalRecall = RegistrationFixture;

TEST_F(TotalRecall, TargetAndStepsKeepCommandMode) {
    auto& k = console();
    k.routing.setConsoleFunctions(nullptr);
    auto& r = k.state.registration;
    play(1, {0xB0, 64, 127});
    for (int key : {41, 39, 39})
        play(1, {0x90, static_cast<std::uint8_t>(key), 100});
    EXPECT_EQ(r.FO_GO[SLOT_LIVE], 2);
    EXPECT_TRUE(k.state.midi.EVENTO_SWITCH);
    play(1, {0x90, 38, 100});
    EXPECT_EQ(r.FO_GO[SLOT_LIVE], 14);
    r.FO_GO[SLOT_LIVE] = 25;
    k.registration.AGGIORNAMENTO_KAVEL();
    play(1, {0x90, 40, 100}); // beyond 29: ignored
    EXPECT_EQ(r.FO_GO[SLOT_LIVE], 25);
    play(1, {0x90, 37, 100});
    EXPECT_EQ(r.FO_GO[SLOT_LIVE], 24);
    play(1, {0x90, 47, 100}); // the Pedal
    play(1, {0x90, 39, 100});
    EXPECT_EQ(r.PED[SLOT_LIVE], 1);
}

TEST_F(TotalRecall, RecThenKey60StoresFreeMemory1AndEndsCommandMode) {
    auto& k = console();
    k.routing.setConsoleFunctions(nullptr);
    k.registration.Tir_AN_GO_Click(5);
    play(2, {0xB1, 64, 127});
    play(2, {0x91, 53, 90});
    EXPECT_TRUE(k.state.memories.REC_MEMORIA);
    play(2, {0x91, 60, 90});
    EXPECT_EQ(k.state.registration.AN_GO[1], 5);
    EXPECT_FALSE(k.state.midi.EVENTO_SWITCH);
}

TEST_F(TotalRecall, KeysOutsideTheTablePanicAndEndCommandMode) {
    auto& k = console();
    k.routing.setConsoleFunctions(nullptr);
    for (std::uint8_t key : {88, 30, 59}) {
        play(1, {0xB0, 64, 127});
        clearLog();
        play(1, {0x90, key, 100});
        EXPECT_EQ(log.size(), 6u) << int(key);
        EXPECT_EQ(log.front(), "B0 7B 00");
        EXPECT_FALSE(k.state.midi.EVENTO_SWITCH);
    }
}

TEST_F(TotalRecall, TemperamentAtItsLastEntryIsSentAgain) {
    auto& k = console();
    k.routing.setConsoleFunctions(nullptr);
    k.lists.selectListItem("Temperamenti", 6);
    clearLog();
    play(1, {0xB0, 64, 127});
    play(1, {0x90, 90, 100});
    EXPECT_EQ(k.state.advanced.TEMPERAMENTO, 6);
    EXPECT_EQ(log.size(), 32u);
    play(1, {0x90, 89, 100});
    EXPECT_EQ(k.state.advanced.TEMPERAMENTO, 5);
    EXPECT_TRUE(k.state.midi.EVENTO_SWITCH);
}

// Previous and next keys move within the list as it stands, never backwards, and stop at
// its real ends: the shipped organ names 8 reverbs, more than the 6 of the first organ.
TEST_F(TotalRecall, ListKeysStopAtTheRealEnds) {
    auto& k = console();
    k.routing.setConsoleFunctions(nullptr);
    ASSERT_EQ(k.controls.get("Riverberi").items.size(), 8u);
    const int temperaments = static_cast<int>(k.controls.get("Temperamenti").items.size());
    struct Case {
        const char* list;
        int from;
        int key;
        int to;
    };
    const Case cases[] = {
        {"Riverberi", 5, 94, 6},
        {"Riverberi", 6, 94, 7},
        {"Riverberi", 7, 94, 7},
        {"Riverberi", 7, 93, 6},
        {"Riverberi", 0, 93, 0},
        {"NotaInizTemp", 11, 92, 11},
        {"NotaInizTemp", 0, 91, 0},
        {"NotaInizTemp", 4, 92, 5},
        {"Temperamenti", temperaments - 1, 90, temperaments - 1},
        {"Temperamenti", temperaments - 2, 90, temperaments - 1},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.list) + " " + std::to_string(c.from) + " key " +
                     std::to_string(c.key));
        k.lists.selectListItem(c.list, c.from);
        play(1, {0xB0, 64, 127});
        play(1, {0x90, static_cast<std::uint8_t>(c.key), 100});
        EXPECT_EQ(k.controls.get(c.list).listIndex, c.to);
        if (std::string(c.list) == "Riverberi") {
            EXPECT_EQ(k.state.advanced.RIVERBERO, c.to);
        }
        play(1, {0xB0, 64, 0});
    }
}

TEST_F(TotalRecall, ProgramChangeZeroStepsTheGreatFondiDownTen) {
    auto& k = console();
    k.routing.setConsoleFunctions(nullptr);
    k.registration.Tir_FO_GO_Click(15);
    play(1, {0xC0, 0});
    EXPECT_EQ(k.state.registration.FO_GO[SLOT_LIVE], 5);
}

TEST_F(TotalRecall, CommandKeysReachTheirHandlers) {
    auto& k = console();
    k.routing.setConsoleFunctions(nullptr);
    auto& r = k.state.registration;
    const std::pair<int, std::function<bool()>> keys[] = {
        {49, [&] { return r.UNIONE_PED[SLOT_LIVE] == 1; }},
        {50, [&] { return r.UNIONE_MAN[SLOT_LIVE] == 2; }},
        {58, [&] { return r.TREMOLO_GO[SLOT_LIVE] == 1; }},
        {54, [&] { return r.CORPO_ORGANO[SLOT_LIVE] == 2; }},
        {84, [&] { return r.ANNULL_GO[1][SLOT_LIVE] == 0; }},
        {87, [&] { return r.ANNULL_SW[2][SLOT_LIVE] == 0; }},
    };
    for (const auto& [key, done] : keys) {
        play(1, {0xB0, 64, 127});
        play(1, {0x90, static_cast<std::uint8_t>(key), 100});
        EXPECT_TRUE(done()) << key;
    }
}

} // namespace
} // namespace kavel::test
