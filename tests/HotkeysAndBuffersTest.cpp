#include "RegistrationFixture.h"

namespace kavel::test {
namespace {

using Hotkeys = RegistrationFixture;
using Buffers = RegistrationFixture;

const Colour kLit = Colour::system(9);

TEST_F(Hotkeys, KeysRecallTheirMemoryAndOthersDoNothing) {
    // procedure, code, memory recalled (0: none)
    const std::tuple<const char*, int, int> cases[] = {
        {"Form_KeyDown", 112, 1},   {"Form_KeyDown", 116, 5},    {"Form_KeyDown", 123, 12},
        {"Form_KeyDown", 111, 0},   {"Form_KeyDown", 124, 0},    {"Form_KeyDown", '5', 0},
        {"Form_KeyPress", '1', 13}, {"Form_KeyPress", '5', 17},  {"Form_KeyPress", '9', 21},
        {"Form_KeyPress", '0', 22}, {"Form_KeyPress", '\'', 23}, {"Form_KeyPress", 236, 24},
        {"Form_KeyPress", '%', 0},  {"Form_KeyPress", '=', 0},   {"Form_KeyPress", '?', 0},
        {"Form_KeyPress", '^', 0},  {"Form_KeyPress", 204, 0}, // "Ì"
        {"Form_KeyPress", 'a', 0},  {"Form_KeyPress", 116, 0}, // "t", not F5
    };
    auto& k = console();
    auto& r = k.state.registration;
    for (int slot = 1; slot <= 24; ++slot) // a Fondi row of its own: a recall shows its slot
        r.FO_GO[static_cast<std::size_t>(slot)] = slot;
    for (const auto& [procedure, code, slot] : cases) {
        SCOPED_TRACE(std::string(procedure) + " " + std::to_string(code));
        r.FO_GO[SLOT_LIVE] = 0;
        k.registration.AGGIORNAMENTO_KAVEL();
        k.state.memories.ULTIMA_MEMORIA = 1;
        clearLog();
        std::vector<std::string> args{std::to_string(code)};
        if (std::string(procedure) == "Form_KeyDown") args.emplace_back("0");
        EXPECT_EQ(k.procedures.call(procedure, args), std::nullopt);
        EXPECT_EQ(r.FO_GO[SLOT_LIVE], slot);
        EXPECT_EQ(k.state.memories.ULTIMA_MEMORIA, slot ? slot : 1);
        EXPECT_EQ(log.empty(), slot == 0);
    }
    // F5 with REC armed, Shift held as well, stores free memory 5 instead.
    k.registration.Tir_FO_GO_Click(7);
    k.memories.Rec_button_Click();
    clearLog();
    k.hotkeys.Form_KeyDown(116, 1);
    EXPECT_EQ(std::tuple(r.FO_GO[5], k.state.memories.REC_MEMORIA,
                         k.state.memories.MEMORIE_NON_SALVATE, log.empty()),
              std::tuple(7, false, true, true));
}

TEST_F(Hotkeys, LabelModeCyclesAndWritesEveryLabel) {
    struct Case {
        int mode;
        const char* button;
        std::array<const char*, 4> label, small; // memories 1, 2, 5, 12
    };
    const Case cases[] = {
        {2, "#", {"C", "C#", "E", "B"}, {" C", "C#", " E", " B"}},
        {0, "0", {"0", "1", "4", "11"}, {"0", "1", "4", "11"}},
        {1, "1", {"1", "2", "5", "12"}, {"1", "2", "5", "12"}},
        {2, "#", {"C", "C#", "E", "B"}, {" C", "C#", " E", " B"}},
    };
    auto& k = console();
    k.state.memories.MODO_ETICHETTE = 1;
    k.labels.Scrivi_ToolTips_memorie();
    k.controls.edit("Numerino_Led", 0).caption = "keep";
    for (const Case& c : cases) {
        SCOPED_TRACE(c.mode);
        // Found as a click finds it: by the control's name, whatever its case.
        ASSERT_EQ(k.procedures.call("LabelMode_Click", {}), std::nullopt);
        EXPECT_EQ(k.state.memories.MODO_ETICHETTE, c.mode);
        EXPECT_EQ(k.controls.get("LabelMode").caption, c.button);
        for (std::size_t j = 0; j < 4; ++j) {
            const int i = std::array{1, 2, 5, 12}[j];
            EXPECT_EQ(k.controls.get("C_memory", i).caption, c.label[j]) << i;
            EXPECT_EQ(k.controls.get("Graduatore", i).caption, c.label[j]) << i;
            EXPECT_EQ(k.controls.get("Numerino_Led", i).caption, c.small[j]) << i;
            EXPECT_EQ(k.controls.get("Numerino_Led", i + 12).caption, c.small[j]) << i;
        }
        EXPECT_EQ(k.controls.get("Numerino_Led", 0).caption, "keep");
        EXPECT_EQ(k.controls.get("C_memory", 1).toolTip,
                  "Load Free Memory N. 1 .If REC ON, push led to store stops. Hotkeys: F1..F12");
        EXPECT_EQ(k.controls.get("Graduatore", 12).toolTip,
                  "Load Fixed Memory N. 12.  Hotkeys: 1...9, = , ? , ^");
    }
    // A mode from a damaged file changes no label; a rebuilt panel keeps the button's caption.
    k.state.memories.MODO_ETICHETTE = 5;
    k.labels.Scrivi_Etichette_memorie();
    k.state.panel.INTERFACCIA_GRAFICA = false;
    k.panel.LOAD_NORMAL_INTERFACE();
    EXPECT_EQ(k.controls.get("LabelMode").caption, "#");
    EXPECT_EQ(k.controls.get("C_memory", 2).caption, "C#");
}

TEST_F(Buffers, StoreLoadAndOnlyTheProgramsEndClearsThem) {
    auto& k = console();
    auto& r = k.state.registration;
    k.state.advanced.RICHIAMA_GLOBALI = false; // the recall options are not the buffers'
    k.state.advanced.RICHIAMA_BILANCIAMENTO = false;
    k.memories.c_memory_Click(3);
    k.registration.Tir_FO_GO_Click(5);
    k.registration.Tir_MU_SW_Click(2);
    r.EXPR_PE[SLOT_LIVE] = 90;
    r.ANNULL_GO[1][SLOT_LIVE] = 0;
    const auto freeLook = k.controls.get("C_memory", 3).backColour;
    clearLog();
    for (const char* i : {"0", "1"}) // before any store: only the message
        EXPECT_EQ(k.procedures.call("LoadBuffer_Click", {i}), std::nullopt);
    EXPECT_NE(k.procedures.call("LoadBuffer_Click", {"2"}), std::nullopt); // no such button
    EXPECT_EQ(std::pair(r.FO_GO[SLOT_LIVE], log.empty()), std::pair(5, true));
    k.buffers.TempMemButton_Click(0);
    const auto shown = r;
    k.buffers.LoadBuffer_Click(1); // S1 stored, L2 not: the message, the organ as it was
    EXPECT_EQ(std::pair(r == shown, log.empty()), std::pair(true, true));
    k.registration.Tir_FO_GO_Click(7);
    k.buffers.LoadBuffer_Click(0); // buffer 1 back
    EXPECT_EQ(std::tuple(r.FO_GO[SLOT_LIVE], r.FO_GO[SLOT_APPLIED], r.MU_SW[SLOT_APPLIED]),
              std::tuple(5, 5, 2));
    EXPECT_EQ(k.controls.get("TempMemButton", 1).backColour, Colour::system(15));
    clearLog();                            // a store sends nothing and leaves the memories alone
    for (int pass = 0; pass < 2; ++pass) { // S2 twice: the second overwrites the first
        r.FO_SW[SLOT_LIVE] = 10 + pass;
        EXPECT_EQ(k.procedures.call("TempMemButton_Click", {"1"}), std::nullopt);
    }
    const std::string none =
        "NO buffered stops available! To load it, push T1 or T2 buffer memories";
    const std::string stored = "Actual Stops is now copied on Temporary Buffer ";
    EXPECT_EQ(messageTexts(), (std::vector<std::string>{none, none, stored + "1", none,
                                                        stored + "2", stored + "2"}));
    EXPECT_EQ(std::pair(user.shown[0].icon, user.shown[2].icon),
              std::pair(Icon::Exclamation, Icon::Information));
    for (SlotArray* f : fieldsInOrder(r))
        EXPECT_EQ((*f)[28], (*f)[SLOT_LIVE]);
    EXPECT_EQ(std::tuple(log.empty(), k.state.memories.MEMORIE_NON_SALVATE,
                         k.state.memories.ULTIMA_MEMORIA),
              std::tuple(true, false, 3));
    EXPECT_EQ(k.controls.get("C_memory", 3).backColour, freeLook);
    const auto file = (folder / "buffers.sqs").string();
    user.files = {file, file}; // saved, then loaded back
    k.memoryFile.savefile_Click();
    const std::function<void()> steps[] = {[&] { k.memories.CLEAR_Click(); },
                                           [&] { k.registration.RESET_Click(); },
                                           [&] { k.memoryFile.Loadfile_Click(); }};
    for (const auto& step : steps) {
        step();
        EXPECT_EQ(std::tuple(r.FO_GO[27], r.FO_SW[27], r.FO_SW[28]), std::tuple(5, 0, 11));
        for (int i : {0, 1})
            EXPECT_EQ(k.controls.get("TempMemButton", i).backColour, kLit);
    }
}

} // namespace
} // namespace kavel::test
