#include "ConsoleFixture.h"

namespace kavel::test {
namespace {

constexpr const char* kUnassigned = "Midi devices are unassigned : go to Setup !";
constexpr const char* kUnsaved = "Free memories unsaved : exit anyway?";

using Startup = ConsoleFixture;

TEST_F(Startup, FirstStartWithoutConfigurationOrDevices) {
    setDevices({}, {});
    auto& k = console();
    k.Form_Load();
    EXPECT_EQ(messageTexts(), std::vector<std::string>{kUnassigned});
    EXPECT_EQ(user.shown[0].icon, Icon::Exclamation);
    const auto& m = k.state.midi;
    EXPECT_EQ(m.DISPOSITIVO_IN1, 0);
    EXPECT_EQ(m.NESSUN_DISPOSITIVO_IN1, 0);
    EXPECT_EQ(m.DISPOSITIVO_OUT, m.NESSUN_DISPOSITIVO_OUT);
    EXPECT_EQ(in1.openCount + in2.openCount + out.openCount, 0);
    EXPECT_TRUE(out.sent.empty());
    EXPECT_EQ(k.state.config.SALVA_CFG_USCITA, 1);
    EXPECT_EQ(k.state.config.PATH_CFG, (folder / "kavel.CFG").string());
    EXPECT_EQ(k.state.config.PATH_DAT, (folder / "kavel.dat").string());
    EXPECT_TRUE(k.state.midi.LISTE_DISPOSITIVI_PRONTE);
    EXPECT_EQ(k.state.memories.BERSAGLIO_RECALL, 11);
    EXPECT_EQ(k.state.memories.PIC_YELLOW_ON, (folder / "yellow-on.gif").string());
    EXPECT_FALSE(k.state.memories.MEMORIE_NON_SALVATE);
    const auto& r = k.state.registration;
    for (int slot : {1, 12}) {
        EXPECT_EQ(r.FO_GO[slot], 0);
        EXPECT_EQ(r.BIL_ANCIE_SW[slot], 127);
        EXPECT_EQ(r.ANNULL_SW[2][slot], 1);
        EXPECT_EQ(r.CORPO_ORGANO[slot], 1);
    }
    EXPECT_EQ(r.CORPO_ORGANO[13], 0); // fixed memories are not free memories
    EXPECT_EQ(user.windowsShown, (std::vector<std::string>{"Advanced", "Kavel"}));
    EXPECT_TRUE(k.running());
}

TEST_F(Startup, DefaultsPlaceBothWindowsOnTheScreen) {
    user.screenSize = {30000, 18000};
    auto& k = console();
    k.Form_Load();
    const auto& window = k.controls.get("Kavel");
    // No saved places: the graphic console (10650 x 10200) and the Advanced window (9990 wide)
    // side by side, centred together; on a narrow screen the Advanced one goes to the corner.
    EXPECT_EQ(k.state.config.MAIN_LEFT, (30000 - 10650 - 9990) / 2);
    EXPECT_EQ(k.state.config.MAIN_TOP, (18000 - 10200) / 2);
    EXPECT_EQ(k.state.config.ADV_LEFT, (30000 - 10650 - 9990) / 2 + 10650);
    EXPECT_EQ(k.state.config.ADV_TOP, (18000 - 10200) / 2);
    EXPECT_EQ(window.left, static_cast<int>(k.state.config.MAIN_LEFT));
    EXPECT_EQ(k.state.advanced.VELOCITA_TREMOLO, 100);
    EXPECT_EQ(k.controls.get("Valore").caption, "100");
    EXPECT_EQ(k.controls.get("OptionGlobalCoupling", 0).value, 1);
    EXPECT_TRUE(std::all_of(k.state.midi.FILTRI_INGRESSO.begin(),
                            k.state.midi.FILTRI_INGRESSO.end(), [](bool b) { return b; }));
    core.reset();
    user.screenSize = {19200, 12000}; // 1280 x 800: no room for both side by side
    auto& narrow = console();
    narrow.Form_Load();
    EXPECT_EQ(narrow.state.config.MAIN_LEFT, (19200 - 10650) / 2);
    EXPECT_EQ(narrow.state.config.ADV_LEFT, 19200 - 9990);
    EXPECT_EQ(narrow.state.config.ADV_TOP, 12000 - 392 * 15);
}

// The menus as the organist reads them, in order, each item running its own command.
TEST_F(Startup, MenusCarryTheirCaptionsAndOnlyBuiltCommandsAreEnabled) {
    auto& k = console();
    const std::vector<std::pair<const char*, std::vector<std::pair<const char*, const char*>>>>
        menus = {{"File",
                  {{"LoadFile", "&Load  Memory File"},
                   {"savefile", "&Save Memory File"},
                   {"EnableCFG", "Save &Configuration on EXIT"},
                   {"SaveFIXED", "Load current Memories as &Fixed Memories"},
                   {"exit", "&Exit"}}},
                 {"Setup",
                  {{"SetMidi", "&Midi Devices"},
                   {"MidiThru", "Midi &Thru..."},
                   {"SetFont", "Font&s"},
                   {"Graphmode", "Graphic interface"},
                   {"LoadEditor", "E&ditor"},
                   {"DisplayLeds", "Leds on memor&ies"}}},
                 {"Help",
                  {{"Help1", "&Help"}, {"totRec", "Total Recall Displa&y"}, {"About", "&About"}}},
                 {"advanced_s", {}}};
    for (const auto& [menu, items] : menus) {
        EXPECT_EQ(k.controls.get(menu).caption,
                  menu == std::string("advanced_s") ? "Advanced" : menu);
        for (const auto& [name, caption] : items) {
            EXPECT_EQ(k.controls.get(name).caption, caption) << name;
            // Every item has its command, and it runs.
            EXPECT_TRUE(k.controls.get(name).enabled) << name;
            EXPECT_TRUE(k.procedures.named(std::string(name) + "_Click").has_value()) << name;
        }
    }
    EXPECT_TRUE(k.procedures.named("advanced_s_Click").has_value());
}

using Shutdown = ConsoleFixture;

TEST_F(Shutdown, UnsavedMemoriesAnsweredNoKeepsRunningAndSendsNothing) {
    auto& k = console();
    k.Form_Load();
    openPorts(0, 1, 0);
    user.shown.clear();
    k.state.memories.MEMORIE_NON_SALVATE = true;
    user.answers.push_back(Answer::No);
    k.exit_Click();
    ASSERT_EQ(messageTexts(), std::vector<std::string>{kUnsaved});
    const auto& box = user.shown[0];
    EXPECT_EQ(box.title, "Warning");
    EXPECT_EQ(box.buttons, Buttons::YesNo);
    EXPECT_EQ(box.icon, Icon::Exclamation);
    EXPECT_EQ(defaultAnswer(box), Answer::No);
    EXPECT_TRUE(k.running());
    EXPECT_FALSE(user.ended);
    EXPECT_TRUE(out.sent.empty());
    EXPECT_TRUE(in1.isOpen() && in2.isOpen() && out.isOpen());

    // No answer given: the default, No, keeps it running too.
    k.exit_Click();
    EXPECT_TRUE(k.running());

    user.answers.push_back(Answer::Yes);
    k.exit_Click();
    EXPECT_FALSE(k.running());
    EXPECT_TRUE(user.ended);
    EXPECT_FALSE(in1.isOpen() || in2.isOpen() || out.isOpen());
}

TEST_F(Shutdown, NothingUnsavedExitsWithoutAsking) {
    auto& k = console();
    k.Form_Load();
    user.shown.clear();
    k.exit_Click();
    EXPECT_TRUE(user.shown.empty());
    EXPECT_FALSE(k.running());
}

TEST_F(Shutdown, FatalErrorSaysSoThenUnloadsAndStillAsksAboutMemories) {
    auto& k = console();
    k.Form_Load();
    user.shown.clear();
    k.state.memories.MEMORIE_NON_SALVATE = true;
    user.answers = {Answer::Ok, Answer::No};
    k.Gest_Errore_advanced();
    ASSERT_EQ(user.shown.size(), 2u);
    EXPECT_EQ(user.shown[0].title, "Fatal Error!");
    EXPECT_EQ(user.shown[0].icon, Icon::Critical);
    EXPECT_EQ(user.shown[0].text, "Some files needed to Kavel would be loss or corrupted. Try "
                                  "program restart or Re-install Kavel.");
    EXPECT_EQ(user.shown[1].text, kUnsaved);
    EXPECT_TRUE(k.running());
}

} // namespace
} // namespace kavel::test
