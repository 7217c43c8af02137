#include "RegistrationFixture.h"

#include "registration/Temperament.h"
#include "stops_table/SysExCheck.h"

namespace kavel::test {
namespace {

using Log = std::vector<std::string>;
using Reset = RegistrationFixture;

TEST_F(Reset, EntriesAndWaitsInOrderThenTheLists) {
    auto& k = console();
    k.state.advanced.RIVERBERO = 3;
    k.state.advanced.TIPO_TREMOLO = 1;
    k.registration.RESET_Click();
    const Log head(log.begin(), log.begin() + 9);
    EXPECT_EQ(head, (Log{"E0", "wait 100", "E1", "wait 2", "E2", "wait 2", "E3", "E25", "T1"}));
    // Temperament, reverb, temperament again, tremolo type, then the update.
    EXPECT_EQ(log[8 + 32], "E25");
    EXPECT_EQ(log[8 + 32 + 1], "T1");
    EXPECT_EQ(log[8 + 32 + 1 + 32], "E37");
    EXPECT_EQ(log[8 + 32 + 1 + 32 + 1], "E38");
    EXPECT_EQ(log[8 + 32 + 1 + 32 + 2], "E40");
    EXPECT_EQ(log.back(), "B2 0B 7F");
    const auto firstRun = log;
    clearLog();
    k.registration.RESET_Click();
    EXPECT_EQ(log, firstRun);
}

TEST_F(Reset, ClickDuringTheWaitIsUndoneByTheReset) {
    auto& k = console();
    loop.post(loop.now() + 50, [&k] { k.registration.Tir_FO_GO_Click(7); });
    k.registration.RESET_Click();
    const auto at = std::find(log.begin(), log.end(), "E47");
    ASSERT_NE(at, log.end());
    EXPECT_LT(at - log.begin(), 4); // inside the 100 ms wait, before entry 1
    EXPECT_EQ(k.state.registration.FO_GO[SLOT_LIVE], 0);
    EXPECT_NE(std::find(at, log.end(), "E40"), log.end());
    EXPECT_FALSE(module.parts[1].sounds());
}

TEST_F(Reset, MutedGroupComesBackSoundingWithoutAString) {
    auto& k = console();
    k.registration.Button_Annullatori_sw_Click(1);
    k.registration.Tir_FO_GO_graph_Click(7);
    k.registration.RESET_Click();
    EXPECT_EQ(k.controls.get("Button_Annullatori_sw", 1).caption, "Sw Mute");
    EXPECT_EQ(std::find(log.begin(), log.end(), "E421"), log.end());
    EXPECT_EQ(fs::path(k.controls.get("Tir_FO_GO_graph", 7).picture).filename(),
              "tirante_off_go.jpg");
}

// After a reset every group shows row 0 only, on whichever panel is in use.
TEST_F(Reset, PanelShowsOnlyTheCancelPositionAfterwards) {
    auto& k = console();
    for (bool graphic : {false, true}) {
        SCOPED_TRACE(graphic ? "graphic" : "standard");
        k.state.panel.INTERFACCIA_GRAFICA = graphic;
        k.registration.Tir_FO_GO_Click(7);
        k.registration.Tir_FO_SW_Click(7);
        k.registration.Tir_MU_SW_Click(2);
        k.registration.NomePedale_Click(3);
        k.registration.RESET_Click();
        const std::tuple<const char*, const char*, const char*, int> groups[] = {
            {"Tir_FO_GO_graph", "Tir_FO_GO", "NomeFondi", 30},
            {"Tir_FO_SW_graph", "Tir_FO_SW", "NomeFondi", 30},
            {"Tir_MU_SW_graph", "Tir_MU_SW", "NomeMutaz", 20},
            {"Tir_PED_graph", nullptr, "NomePedale", 20}};
        for (const auto& [knob, selector, name, rows] : groups) {
            for (int row = 0; row < rows; ++row) {
                SCOPED_TRACE(std::string(knob) + " " + std::to_string(row));
                const bool drawn = row == 0;
                if (graphic) {
                    const auto picture = fs::path(k.controls.get(knob, row).picture).filename();
                    if (k.controls.exists(knob, row)) {
                        EXPECT_EQ(picture.string().find(drawn ? "_on" : "_off"), 7u);
                    }
                    continue;
                }
                if (selector) {
                    EXPECT_EQ(k.controls.get(selector, row).caption == " " ||
                                  k.controls.get(selector, row).caption.empty(),
                              !drawn);
                }
                EXPECT_EQ(k.controls.get(name, row).backColour == Colour::system(9), drawn);
            }
        }
    }
}

TEST_F(Reset, ThruButtonOnlyInNormalRechannelling) {
    auto& k = console();
    for (int mode : {0, 1, 2}) {
        k.state.midi.MODO_THRU = mode;
        k.registration.RESET_Click();
        EXPECT_EQ(k.controls.get("THRUBUTTON").visible, mode == 1) << mode;
    }
}

using Advanced = RegistrationFixture;

struct CouplingCase {
    const char* name;
    int coupling;
    const char* slider;
    Log sent;
};

void PrintTo(const CouplingCase& c, std::ostream* os) {
    *os << c.name;
}

class GlobalSliders : public RegistrationFixture,
                      public ::testing::WithParamInterface<CouplingCase> {};

TEST_P(GlobalSliders, CouplingMovesAndSendsTheOthersFirst) {
    const auto& c = GetParam();
    auto& k = console();
    k.advanced.OptionGlobalCoupling_Click(c.coupling);
    k.controls.edit(c.slider).value = 80;
    const std::string s = c.slider;
    if (s == "SliderGO") k.advanced.SliderGO_Scroll();
    if (s == "SliderSW") k.advanced.SliderSW_Scroll();
    if (s == "SliderPE") k.advanced.SliderPE_Scroll();
    EXPECT_EQ(log, c.sent);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, GlobalSliders,
    ::testing::Values(
        CouplingCase{"NoneGO", 0, "SliderGO", {"B0 0B 50"}},
        CouplingCase{"GoSwFromSW", 1, "SliderSW", {"B0 0B 50", "B1 0B 50"}},
        CouplingCase{"GoSwPedalAlone", 1, "SliderPE", {"B2 0B 50"}},
        CouplingCase{"AllFromGO", 2, "SliderGO", {"B1 0B 50", "B2 0B 50", "B0 0B 50"}},
        CouplingCase{"AllFromPE", 2, "SliderPE", {"B1 0B 50", "B0 0B 50", "B2 0B 50"}}),
    [](const auto& info) { return info.param.name; });

TEST_F(Advanced, BalanceSlidersAreUncoupledAndSentInverted) {
    auto& k = console();
    k.advanced.OptionGlobalCoupling_Click(2);
    k.controls.edit("SliderMutazioni", 2).value = 100;
    k.advanced.SliderMutazioni_Scroll(2);
    k.controls.edit("SliderFondi", 1).value = 0;
    k.advanced.SliderFondi_Scroll(1);
    EXPECT_EQ(log, (Log{"B1 08 1B", "B0 07 7F"}));
    EXPECT_EQ(k.state.registration.BIL_MUTAZ_SW[SLOT_LIVE], 100);
    EXPECT_EQ(k.state.registration.BIL_MUTAZ_GO[SLOT_LIVE], 127);
    EXPECT_EQ(k.controls.get("EXPfondi", 1).caption, "0");
}

TEST_F(Advanced, ListsAndTremoloRate) {
    auto& k = console();
    k.lists.selectListItem("Riverberi", 2);
    k.lists.selectListItem("TremoloType", 1);
    k.lists.selectListItem("TremoloType", 0);
    EXPECT_EQ(log, (Log{"E24", "E37", "E38", "E35", "E36"}));
    clearLog();
    k.controls.edit("SliderTremoloRate").value = 70;
    k.advanced.SliderTremoloRate_Scroll();
    EXPECT_EQ(log, (Log{"B0 01 00", "B1 01 00"}));
    EXPECT_EQ(k.controls.get("Valore").caption, "70");
    k.controls.edit("Memory_Recall", 1).value = 1;
    k.advanced.Memory_Recall_Click(1);
    EXPECT_TRUE(k.state.advanced.RICHIAMA_BILANCIAMENTO);
}

TEST_F(Advanced, TemperamentGoesToAll32PartsAndAnEmptyOneSendsNothing) {
    auto& k = console();
    k.lists.selectListItem("Temperamenti", 1); // Werckmeister III
    ASSERT_EQ(log.size(), 32u);
    EXPECT_EQ(log.front(), "T1");
    EXPECT_EQ(module.parts[26].scaleTuning[1], 0x40 - 10);
    clearLog();
    k.state.stops.STOPS_TABLE[stops::kTemperaments + 11].clear();
    k.lists.selectListItem("Temperamenti", 11);
    EXPECT_TRUE(log.empty());
}

std::string scaleTemplate(std::array<int, 12> values) {
    std::string t("\xF0\x41\x10\x42\x12\x40\x11\x40", 8);
    for (int v : values)
        t += static_cast<char>(v);
    t += static_cast<char>(rolandChecksum(t.substr(5)));
    t += '\xF7';
    return t;
}

TEST(Temperament, RotatesByTheStartNoteAndAddressesEveryPart) {
    const auto t = scaleTemplate({1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12});
    const auto c = buildTemperament(t, 0);
    ASSERT_TRUE(c);
    EXPECT_EQ((*c)[0].substr(8, 12), t.substr(8, 12));
    const auto d = buildTemperament(t, 2); // "D": A# and H land on C and C#
    ASSERT_TRUE(d);
    EXPECT_EQ(static_cast<int>((*d)[0][8]), 11);
    EXPECT_EQ(static_cast<int>((*d)[0][9]), 12);
    EXPECT_EQ(static_cast<int>((*d)[0][10]), 1);
    for (int p = 1; p <= 32; ++p) {
        const auto& m = (*d)[static_cast<std::size_t>(p - 1)];
        ASSERT_EQ(m.size(), 22u);
        EXPECT_TRUE(checkSysExEntry(m).empty()) << p;
    }
    EXPECT_EQ(static_cast<unsigned char>((*d)[9][5]), 0x40); // part 10
    EXPECT_EQ(static_cast<unsigned char>((*d)[9][6]), 0x10);
    EXPECT_EQ(static_cast<unsigned char>((*d)[25][5]), 0x50); // part 26
    EXPECT_EQ(static_cast<unsigned char>((*d)[25][6]), 0x10);
    EXPECT_EQ(static_cast<unsigned char>((*d)[16][6]), 0x11); // part 17
}

TEST(Temperament, ChecksumThatComesOutZero) {
    // 40 11 40 + eleven 40s + 2F = 896 = 7 x 128: the checksum is 0, not 128.
    std::array<int, 12> v{};
    v.fill(0x40);
    v[0] = 0x2F;
    const auto built = buildTemperament(scaleTemplate(v), 0);
    ASSERT_TRUE(built);
    EXPECT_EQ((*built)[0][20], '\0');
    EXPECT_TRUE(checkSysExEntry((*built)[0]).empty());
}

TEST(Temperament, ShortTemplateIsRefused) {
    EXPECT_FALSE(buildTemperament(std::string("\xF0\x41\x10\x42\x12\x40\x11\x40\x40\xF7", 10), 0));
    EXPECT_FALSE(buildTemperament(scaleTemplate({}).substr(0, 21), 0)); // no F7
}

TEST_F(Advanced, ShortTemplateLeavesTheTemperamentStringsAsTheyWere) {
    auto& k = console();
    const auto before = k.state.midi.TEMP_SYSEX;
    k.state.stops.STOPS_TABLE[stops::kTemperaments + 3] = std::string("\xF0\x41\xF7", 3);
    k.state.advanced.TEMPERAMENTO = 3;
    k.advanced.PREPARA_TEMPERAMENTO();
    EXPECT_EQ(k.state.midi.TEMP_SYSEX, before);
}

struct ListCase {
    const char* name;
    std::vector<std::string> names; // from entry 312 on
    std::vector<std::string> items;
};

void PrintTo(const ListCase& c, std::ostream* os) {
    *os << c.name;
}

class ReverbList : public ::testing::TestWithParam<ListCase> {};

TEST_P(ReverbList, FilledUpToTheFirstShortName) {
    StopsTableState stops;
    for (std::size_t i = 0; i < GetParam().names.size(); ++i)
        stops.STOPS_TABLE[312 + i] = GetParam().names[i];
    stops.STOPS_TABLE[320] = "Beyond the column";
    PanelState panel;
    Controls controls;
    StopNames{stops, panel, controls}.CARICAMENTO_LIST_BOXES();
    EXPECT_EQ(controls.get("Riverberi").items, GetParam().items);
    EXPECT_EQ(controls.get("NotaInizTemp").items.back(), "H");
}

const std::vector<std::string> kEight = {"Room 1", "Room 2", "Room 3", "Hall 1",
                                         "Hall 2", "Plate",  "Delay",  "Panning Delay"};

INSTANTIATE_TEST_SUITE_P(Cases, ReverbList,
                         ::testing::Values(ListCase{"EmptyFirstNameGivesSixBlanks",
                                                    {""},
                                                    std::vector<std::string>(6, "  ")},
                                           ListCase{"ShortFirstNameGivesNone", {"abc"}, {}},
                                           ListCase{"StopsAtTheFirstShortName",
                                                    {"Room", "Hall", "Plate", ""},
                                                    {"Room", "Hall", "Plate"}},
                                           ListCase{"EndsAtTheColumn", kEight, kEight}),
                         [](const auto& info) { return info.param.name; });

TEST_F(Advanced, StopNamesAreGreyWithoutUsableSysEx) {
    auto& k = console();
    k.state.stops.STOPS_TABLE[40 + 2] = std::string(40, '\x10');
    k.state.stops.STOPS_TABLE[40 + 3] = std::string(41, '\x10');
    k.stopNames.SCRITTURA_TESTI_DEI_REGISTRI();
    EXPECT_EQ(k.controls.get("Scritta_Fondi", 2).foreColour, Colour::rgb(192, 192, 192));
    EXPECT_EQ(k.controls.get("Scritta_Fondi", 3).foreColour, Colour::system(18));
    EXPECT_EQ(k.controls.get("Scritta_Pedale", 1).caption, "Subbasso 16'");
    k.state.panel.INTERFACCIA_GRAFICA = false;
    k.stopNames.SCRITTURA_TESTI_DEI_REGISTRI();
    EXPECT_EQ(k.controls.get("NomeMutaz", 1).caption, k.state.stops.STOPS_TABLE[231]);
}

} // namespace
} // namespace kavel::test
