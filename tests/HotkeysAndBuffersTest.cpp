#include "RegistrationFixture.h"

namespace kavel::test {
namespace {

using Hotkeys = RegistrationFixture;
using Buffers = RegistrationFixture;

constexpr int kF1 = 112;
const Colour kLitColour = Colour::system(9);

// Every memory slot pulls a Great Fondi row of its own, so a recall shows which slot it was.
void markSlots(Kavel& k) {
    for (int slot = 1; slot <= 24; ++slot)
        k.state.registration.FO_GO[static_cast<std::size_t>(slot)] = slot;
}

TEST_F(Hotkeys, KeysRecallTheirMemoryAndOthersDoNothing) {
    struct Case {
        const char* procedure;
        int code;
        int slot; // 0: nothing happens
    };
    const Case cases[] = {
        {"Form_KeyDown", kF1, 1},       {"Form_KeyDown", kF1 + 4, 5},
        {"Form_KeyDown", kF1 + 11, 12}, {"Form_KeyDown", kF1 - 1, 0},
        {"Form_KeyDown", kF1 + 12, 0},  {"Form_KeyDown", '5', 0},
        {"Form_KeyPress", '1', 13},     {"Form_KeyPress", '5', 17},
        {"Form_KeyPress", '9', 21},     {"Form_KeyPress", '0', 22},
        {"Form_KeyPress", '\'', 23},    {"Form_KeyPress", 236, 24}, // "ì"
        {"Form_KeyPress", '%', 0},      {"Form_KeyPress", '=', 0},
        {"Form_KeyPress", '?', 0},      {"Form_KeyPress", '^', 0},
        {"Form_KeyPress", 204, 0},                                 // "Ì"
        {"Form_KeyPress", 'a', 0},      {"Form_KeyPress", 116, 0}, // "t", not F5
    };
    auto& k = console();
    auto& r = k.state.registration;
    markSlots(k);
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.procedure) + " " + std::to_string(c.code));
        r.FO_GO[SLOT_LIVE] = 0;
        k.AGGIORNAMENTO_KAVEL();
        k.state.memories.ULTIMA_MEMORIA = 1;
        clearLog();
        const std::vector<std::string> args =
            c.procedure == std::string("Form_KeyDown")
                ? std::vector<std::string>{std::to_string(c.code), "0"}
                : std::vector<std::string>{std::to_string(c.code)};
        EXPECT_EQ(k.procedures.call(c.procedure, args), std::nullopt);
        EXPECT_EQ(r.FO_GO[SLOT_LIVE], c.slot);
        EXPECT_EQ(k.state.memories.ULTIMA_MEMORIA, c.slot ? c.slot : 1);
        EXPECT_EQ(log.empty(), c.slot == 0);
    }
}

TEST_F(Hotkeys, F5WithRecArmedStoresFreeMemory5) {
    auto& k = console();
    auto& r = k.state.registration;
    k.Tir_FO_GO_Click(7);
    clearLog();
    k.Rec_button_Click();
    k.Form_KeyDown(kF1 + 4, 1); // with Shift as well
    EXPECT_EQ(r.FO_GO[5], 7);
    EXPECT_FALSE(k.state.memories.REC_MEMORIA);
    EXPECT_TRUE(k.state.memories.MEMORIE_NON_SALVATE);
    EXPECT_TRUE(log.empty());
}

TEST_F(Hotkeys, LabelModeCyclesAndWritesEveryLabel) {
    struct Case {
        int mode;
        const char* button;
        const char* first; // memory 1
        const char* fifth; // memory 5
        const char* fifthSmall;
        const char* twelfth;
        const char* twelfthSmall;
    };
    // Three clicks from mode 1.
    const Case cases[] = {
        {2, "#", "C", "E", " E", "B", " B"},
        {0, "0", "0", "4", "4", "11", "11"},
        {1, "1", "1", "5", "5", "12", "12"},
    };
    auto& k = console();
    k.state.memories.MODO_ETICHETTE = 1;
    k.Scrivi_ToolTips_memorie();
    k.controls.edit("Numerino_Led", 0).caption = "keep";
    for (const Case& c : cases) {
        SCOPED_TRACE(c.mode);
        // The button's procedure as a click finds it: by the control's name, whatever its case.
        ASSERT_EQ(k.procedures.call("LabelMode_Click", {}), std::nullopt);
        EXPECT_EQ(k.state.memories.MODO_ETICHETTE, c.mode);
        EXPECT_EQ(k.controls.get("LabelMode").caption, c.button);
        const std::pair<int, const char*> labels[] = {{1, c.first}, {5, c.fifth}, {12, c.twelfth}};
        for (const auto& [i, text] : labels) {
            EXPECT_EQ(k.controls.get("C_memory", i).caption, text);
            EXPECT_EQ(k.controls.get("Graduatore", i).caption, text);
        }
        for (int small : {5, 17})
            EXPECT_EQ(k.controls.get("Numerino_Led", small).caption, c.fifthSmall);
        for (int small : {12, 24})
            EXPECT_EQ(k.controls.get("Numerino_Led", small).caption, c.twelfthSmall);
        EXPECT_EQ(k.controls.get("Numerino_Led", 0).caption, "keep");
        // The tool tips number the memories from 1 whatever the mode.
        EXPECT_EQ(k.controls.get("C_memory", 1).toolTip,
                  "Load Free Memory N. 1 .If REC ON, push led to store stops. Hotkeys: F1..F12");
        EXPECT_EQ(k.controls.get("Graduatore", 12).toolTip,
                  "Load Fixed Memory N. 12.  Hotkeys: 1...9, = , ? , ^");
    }
    EXPECT_EQ(k.controls.get("C_memory", 2).caption, "2");
    k.state.memories.MODO_ETICHETTE = 2;
    k.Scrivi_Etichette_memorie();
    EXPECT_EQ(k.controls.get("C_memory", 2).caption, "C#");
    EXPECT_EQ(k.controls.get("Numerino_Led", 2).caption, "C#");
    // A mode from a damaged file changes no label; a rebuilt panel keeps the button's caption.
    k.state.memories.MODO_ETICHETTE = 5;
    k.Scrivi_Etichette_memorie();
    k.state.panel.INTERFACCIA_GRAFICA = false;
    k.LOAD_NORMAL_INTERFACE();
    EXPECT_EQ(k.controls.get("LabelMode").caption, "#");
    EXPECT_EQ(k.controls.get("C_memory", 2).caption, "C#");
}

TEST_F(Hotkeys, TheirButtonsAreEnabledOnBothPanels) {
    auto& k = console();
    for (bool graphic : {true, false}) {
        graphic ? k.LOAD_GRAPHIC_INTERFACE() : k.LOAD_NORMAL_INTERFACE();
        for (auto [name, index] : {std::pair{"LabelMode", -1},
                                   {"TempMemButton", 0},
                                   {"TempMemButton", 1},
                                   {"LoadBuffer", 0},
                                   {"LoadBuffer", 1}}) {
            SCOPED_TRACE(std::string(name) + std::to_string(index) + (graphic ? " graphic" : ""));
            EXPECT_TRUE(k.controls.get(name, index).enabled);
            EXPECT_EQ(k.controls.get(name, index).kind, ControlKind::Button);
        }
    }
}

const std::string kNothingBuffered =
    "NO buffered stops available! To load it, push T1 or T2 buffer memories";

TEST_F(Buffers, LoadBeforeAnyStoreOnlySaysSo) {
    auto& k = console();
    auto& r = k.state.registration;
    k.Tir_FO_GO_Click(4);
    clearLog();
    for (int i : {0, 1})
        EXPECT_EQ(k.procedures.call("LoadBuffer_Click", {std::to_string(i)}), std::nullopt);
    EXPECT_EQ(messageTexts(), (std::vector<std::string>{kNothingBuffered, kNothingBuffered}));
    EXPECT_EQ(user.shown[0].icon, Icon::Exclamation);
    EXPECT_EQ(r.FO_GO[SLOT_LIVE], 4);
    EXPECT_TRUE(log.empty());
    EXPECT_NE(k.procedures.call("LoadBuffer_Click", {"2"}), std::nullopt); // no such button
}

TEST_F(Buffers, StoreCopiesAllFieldsAndLightsOnlyItsButton) {
    auto& k = console();
    auto& r = k.state.registration;
    auto& m = k.state.memories;
    k.c_memory_Click(3);
    k.Tir_MU_SW_Click(2);
    r.EXPR_PE[SLOT_LIVE] = 90;
    r.ANNULL_GO[1][SLOT_LIVE] = 0;
    const auto freeLook = k.controls.get("C_memory", 3).backColour;
    clearLog();
    for (int pass = 0; pass < 2; ++pass) { // S2 twice: the second overwrites the first
        r.FO_SW[SLOT_LIVE] = 10 + pass;
        EXPECT_EQ(k.procedures.call("TempMemButton_Click", {"1"}), std::nullopt);
    }
    const std::string stored = "Actual Stops is now copied on Temporary Buffer 2";
    EXPECT_EQ(messageTexts(), (std::vector<std::string>{stored, stored}));
    EXPECT_EQ(user.shown[0].icon, Icon::Information);
    for (SlotArray* f : fieldsInOrder(r))
        EXPECT_EQ((*f)[28], (*f)[SLOT_LIVE]);
    EXPECT_EQ(r.FO_SW[28], 11);
    EXPECT_EQ(r.FO_SW[27], 0);
    EXPECT_EQ(k.controls.get("TempMemButton", 1).backColour, kLitColour);
    EXPECT_EQ(k.controls.get("TempMemButton", 0).backColour, Colour::system(15));
    EXPECT_TRUE(log.empty());
    EXPECT_FALSE(m.MEMORIE_NON_SALVATE);
    EXPECT_EQ(m.ULTIMA_MEMORIA, 3);
    EXPECT_EQ(k.controls.get("C_memory", 3).backColour, freeLook);
}

TEST_F(Buffers, S1ThenL2LoadsTheAllZeroRegistration) {
    auto& k = console();
    auto& r = k.state.registration;
    k.state.advanced.RICHIAMA_GLOBALI = false; // the recall options are not the buffers'
    k.state.advanced.RICHIAMA_BILANCIAMENTO = false;
    k.Tir_FO_GO_Click(5);
    k.TempMemButton_Click(0);
    clearLog();
    k.LoadBuffer_Click(1);
    for (SlotArray* f : fieldsInOrder(r)) {
        if (f == &r.CORPO_ORGANO) continue; // a body naming no division leaves the live one
        EXPECT_EQ((*f)[SLOT_LIVE], 0);
        EXPECT_EQ((*f)[SLOT_APPLIED], 0);
    }
    EXPECT_EQ(r.CORPO_ORGANO[SLOT_LIVE], 1);
    for (const char* sent : {"B0 0B 00", "B1 0B 00", "B2 0B 00", "B0 07 7F", "B1 09 7F"})
        EXPECT_NE(std::find(log.begin(), log.end(), sent), log.end()) << sent;
    // Back to buffer 1: the Fondi stop returns.
    k.LoadBuffer_Click(0);
    EXPECT_EQ(r.FO_GO[SLOT_LIVE], 5);
    EXPECT_EQ(r.FO_GO[SLOT_APPLIED], 5);
}

TEST_F(Buffers, ClearResetAndMemoryFileLeaveThemAlone) {
    auto& k = console();
    auto& r = k.state.registration;
    k.Tir_FO_GO_Click(6);
    k.TempMemButton_Click(0);
    k.Tir_AN_SW_Click(3);
    k.TempMemButton_Click(1);
    const auto file = (folder / "buffers.sqs").string();
    user.files.emplace_back(file);
    k.savefile_Click();
    const std::pair<const char*, std::function<void()>> steps[] = {
        {"CLEAR", [&] { k.CLEAR_Click(); }},
        {"reset", [&] { k.RESET_Click(); }},
        {"memory file", [&] {
             user.files.emplace_back(file);
             k.Loadfile_Click();
         }}};
    for (const auto& [name, step] : steps) {
        SCOPED_TRACE(name);
        step();
        EXPECT_EQ(r.FO_GO[27], 6);
        EXPECT_EQ(r.AN_SW[27], 0);
        EXPECT_EQ(r.FO_GO[28], 6);
        EXPECT_EQ(r.AN_SW[28], 3);
        for (int i : {0, 1})
            EXPECT_EQ(k.controls.get("TempMemButton", i).backColour, kLitColour);
    }
}

} // namespace
} // namespace kavel::test
