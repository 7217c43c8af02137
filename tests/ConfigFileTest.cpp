#include "ConsoleFixture.h"

#include "config/TextValues.h"

#include <csignal>
#include <fstream>
#include <functional>
#include <iterator>
#include <random>
#include <sstream>
#include <sys/resource.h>

namespace kavel::test {
namespace {

namespace fs = std::filesystem;

constexpr const char* kUnassigned = "Midi devices are unassigned : go to Setup !";

std::string slurp(const fs::path& p) {
    std::ifstream in(p, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

// The file's lines as the format table numbers them (1-based), read without the program's
// own reader: CR LF ends a line.
std::vector<std::string> lines(const std::string& bytes) {
    std::vector<std::string> out;
    std::size_t at = 0;
    while (at < bytes.size()) {
        const auto end = bytes.find("\r\n", at);
        if (end == std::string::npos) {
            out.push_back(bytes.substr(at) + "<no CR LF>");
            break;
        }
        out.push_back(bytes.substr(at, end - at));
        at = end + 2;
    }
    return out;
}

class Config : public ConsoleFixture {
  protected:
    fs::path cfg() const { return folder / "kavel.CFG"; }

    // Some settings and a fixed memory that differ from every default.
    void setUp(Kavel& k) {
        auto& s = k.state;
        s.config.PATH_DAT = "/organs/my, own organ.dat";
        s.midi.DISPOSITIVO_IN1 = 1;
        s.midi.DISPOSITIVO_IN2 = 0;
        s.midi.DISPOSITIVO_OUT = 0;
        s.advanced.TEMPERAMENTO = 3;
        s.advanced.VELOCITA_TREMOLO = 77;
        s.advanced.TIPO_TREMOLO = 1;
        s.advanced.RIVERBERO = 4;
        s.advanced.NOTA_INIZIO_TEMP = 9;
        s.midi.MODO_THRU = 2;
        s.midi.CANALE_APPRESO = {4, 5, 6, 0};
        s.midi.RITARDO_NOTE = 12;
        s.midi.RITARDO_SYSEX = 20;
        s.memories.MODO_ETICHETTE = 2;
        s.memories.LED_MEMORIE = true;
        s.advanced.RICHIAMA_GLOBALI = true;
        s.advanced.RICHIAMA_BILANCIAMENTO = false;
        s.advanced.ACCOPPIAMENTO_GLOBALE = 2;
        s.config.SALVA_CFG_USCITA = 0;
        k.controls.edit("Advanced").top = 1500;
        k.controls.edit("Advanced").left = 3000;
        k.controls.edit("Kavel").top = 450;
        k.controls.edit("Kavel").left = 600;
        s.midi.FILTRI_INGRESSO = {true, false, true, false, false, true, false, true};
        s.panel.fontBold = false;
        s.panel.fontName = "Times New Roman";
        s.panel.fontSize = 9.6;
        s.panel.fontItalic = true;
        s.panel.INTERFACCIA_GRAFICA = false;
        s.panel.SCALA_PANNELLO = 1.25;
        for (SlotArray* f : fieldsInOrder(s.registration))
            (*f)[17] = 3;
        s.registration.EXPR_GO[24] = 64;
    }
};

TEST_F(Config, WrittenAndReadBackGivesTheSameSettings) {
    {
        auto& k = console();
        setUp(k);
        k.config.Salva_dati_di_avvio();
    }
    ASSERT_TRUE(fs::exists(cfg()));
    core.reset();
    auto& k = console();
    k.devices.MIDI_DEVICES_ACK();
    k.config.LEGGI_FILE_AVVIO();
    EXPECT_TRUE(user.shown.empty());
    const auto& s = k.state;
    EXPECT_EQ(s.config.PATH_DAT, "/organs/my, own organ.dat");
    EXPECT_EQ(s.midi.DISPOSITIVO_IN1, 1);
    EXPECT_EQ(s.advanced.VELOCITA_TREMOLO, 77);
    EXPECT_EQ(s.advanced.NOTA_INIZIO_TEMP, 9);
    EXPECT_EQ(s.midi.CANALE_APPRESO[2], 6);
    EXPECT_EQ(s.midi.RITARDO_SYSEX, 20);
    EXPECT_TRUE(s.memories.LED_MEMORIE);
    EXPECT_TRUE(s.advanced.RICHIAMA_GLOBALI);
    EXPECT_FALSE(s.advanced.RICHIAMA_BILANCIAMENTO);
    EXPECT_EQ(s.advanced.ACCOPPIAMENTO_GLOBALE, 2);
    EXPECT_EQ(s.config.SALVA_CFG_USCITA, 0);
    EXPECT_EQ(s.config.ADV_TOP, 1500);
    EXPECT_EQ(s.config.MAIN_LEFT, 600);
    EXPECT_EQ(s.midi.FILTRI_INGRESSO,
              (std::array<bool, 8>{true, false, true, false, false, true, false, true}));
    EXPECT_FALSE(s.panel.fontBold);
    EXPECT_EQ(s.panel.fontName, "Times New Roman");
    EXPECT_EQ(s.panel.fontSize, 10); // a whole number of points
    EXPECT_TRUE(s.panel.fontItalic);
    EXPECT_FALSE(s.panel.INTERFACCIA_GRAFICA);
    EXPECT_EQ(k.controls.get("Graphmode").value, 0);
    EXPECT_DOUBLE_EQ(s.panel.SCALA_PANNELLO, 1.2); // kept in tenths
    EXPECT_EQ(s.registration.CORPO_ORGANO[17], 3);
    EXPECT_EQ(s.registration.EXPR_GO[24], 64);
}

// The fields of a memory in the order the file keeps them, written out here rather than taken
// from the program.
std::vector<SlotArray*> fileOrder(RegistrationTable& r) {
    return {&r.FO_GO,        &r.FO_SW,        &r.MU_GO,        &r.MU_SW,        &r.AN_GO,
            &r.AN_SW,        &r.PED,          &r.TREMOLO_GO,   &r.TREMOLO_SW,   &r.EXPR_GO,
            &r.EXPR_SW,      &r.EXPR_PE,      &r.BIL_FONDI_GO, &r.BIL_MUTAZ_GO, &r.BIL_ANCIE_GO,
            &r.BIL_FONDI_SW, &r.BIL_MUTAZ_SW, &r.BIL_ANCIE_SW, &r.UNIONE_PED,   &r.UNIONE_MAN,
            &r.CORPO_ORGANO, &r.ANNULL_GO[0], &r.ANNULL_GO[1], &r.ANNULL_GO[2], &r.ANNULL_SW[0],
            &r.ANNULL_SW[1], &r.ANNULL_SW[2], &r.SUBOTTAVA_PED};
}

// Every value of the file different from every other, so that a value in the wrong place shows.
TEST_F(Config, EveryValueLandsOnItsOwnLine) {
    auto& k = console();
    setUp(k);
    auto& s = k.state;
    // Every number its own; the flags alternate, so that no two neighbours can swap unseen.
    s.midi.DISPOSITIVO_IN1 = 21;
    s.midi.DISPOSITIVO_IN2 = 22;
    s.midi.DISPOSITIVO_OUT = 23;
    s.advanced.TEMPERAMENTO = 3;
    s.advanced.VELOCITA_TREMOLO = 77;
    s.advanced.TIPO_TREMOLO = 6;
    s.advanced.RIVERBERO = 4;
    s.advanced.NOTA_INIZIO_TEMP = 9;
    s.midi.MODO_THRU = 1;
    s.midi.CANALE_APPRESO = {13, 14, 15, 0};
    s.midi.RITARDO_NOTE = 11;
    s.midi.RITARDO_SYSEX = 20;
    s.memories.MODO_ETICHETTE = 5;
    s.memories.LED_MEMORIE = true;
    s.advanced.RICHIAMA_GLOBALI = false;
    s.advanced.RICHIAMA_BILANCIAMENTO = true;
    s.advanced.ACCOPPIAMENTO_GLOBALE = 2;
    s.config.SALVA_CFG_USCITA = 0;
    s.panel.fontBold = true;
    s.panel.fontItalic = false;
    s.panel.INTERFACCIA_GRAFICA = true;
    const auto fields = fileOrder(s.registration);
    for (int m = 1; m <= 12; ++m)
        for (int f = 1; f <= 28; ++f)
            (*fields[static_cast<std::size_t>(f - 1)])[static_cast<std::size_t>(12 + m)] =
                m * 100 + f;
    k.config.Salva_dati_di_avvio();

    // clang-format off
    std::vector<std::string> want = {
        "\"/organs/my, own organ.dat\"",      // 1 PATH_DAT, quoted for its comma
        " 21 ", " 22 ", " 23 ",                // 2..4 devices
        " 3 ", " 77 ", " 6 ", " 4 ",           // 5..8 temperament, tremolo rate and type, reverb
        " 9 ", " 1 ",                          // 9 start note, 10 thru mode
        " 13 ", " 14 ", " 15 ",                // 11..13 learned channels
        " 11 ", " 20 ", " 5 ",                 // 14, 15 delays, 16 label mode
        " 1 ", " 0 ", " 1 ", " 2 ", " 0 ",     // 17 leds, 18, 19 recall, 20 coupling, 21 save
        " 1500 ", " 3000 ", " 450 ", " 600 ",  // 22..25 window places
        "1", "0", "1", "0", "0", "1", "0", "1", // 26..33 filters, as text
        "1", "Times New Roman", " 10 ", " 0 ", " 1 ", " 12 ", // 34..39 font, graphic, size
    };
    // clang-format on
    for (int m = 1; m <= 12; ++m)
        for (int f = 1; f <= 28; ++f)
            want.push_back(" " + std::to_string(m * 100 + f) + " ");
    EXPECT_EQ(lines(slurp(cfg())), want);
}

TEST_F(Config, ReaderTakesCommasBlanksAndQuotes) {
    TextValueReader in(" 12 , -3,\"a, b\" ,plain text\r\n 4.5 \n7");
    EXPECT_EQ(in.integer(), 12);
    EXPECT_EQ(in.integer(), -3);
    EXPECT_EQ(in.text(), "a, b");
    EXPECT_EQ(in.text(), "plain text");
    EXPECT_EQ(in.number(), 4.5);
    EXPECT_EQ(in.integer(), 7);
    EXPECT_TRUE(in.atEnd());
    EXPECT_EQ(in.integer(), std::nullopt);
    TextValueReader bad("abc\r\n40000\r\n");
    EXPECT_EQ(bad.integer(), std::nullopt); // a text where a number belongs
    EXPECT_EQ(bad.integer(), std::nullopt); // beyond 16 bits
}

struct DamageCase {
    const char* name;
    std::function<std::string(std::string)> damage;
    bool earlyValuesRead; // the damage lies after values 9 and 20
    const char* why;      // as the message gives it
};

void PrintTo(const DamageCase& c, std::ostream* os) {
    *os << c.name;
}

class DamagedConfig : public Config, public ::testing::WithParamInterface<DamageCase> {};

TEST_P(DamagedConfig, GivesTheDefaultsAndTheMessage) {
    {
        auto& k = console();
        setUp(k);
        k.config.Salva_dati_di_avvio();
    }
    const std::string damaged = GetParam().damage(slurp(cfg()));
    std::ofstream(cfg(), std::ios::binary | std::ios::trunc) << damaged;
    core.reset();
    auto& k = console();
    k.devices.MIDI_DEVICES_ACK();
    k.config.LEGGI_FILE_AVVIO();
    ASSERT_EQ(user.shown.size(), 1u);
    EXPECT_EQ(user.shown[0].text.rfind(kUnassigned, 0), 0u);
    EXPECT_NE(user.shown[0].text.find("kept as " + (folder / "kavel.CFG.bad").string()),
              std::string::npos)
        << user.shown[0].text;
    EXPECT_NE(user.shown[0].text.find(std::string("(") + GetParam().why + ")"), std::string::npos)
        << user.shown[0].text;
    // What the user had survives the defaults that the exit will write.
    EXPECT_EQ(slurp(folder / "kavel.CFG.bad"), damaged);
    const auto& s = k.state;
    EXPECT_EQ(s.midi.DISPOSITIVO_IN1, s.midi.NESSUN_DISPOSITIVO_IN1);
    EXPECT_EQ(s.config.PATH_DAT, (folder / "kavel.dat").string());
    EXPECT_EQ(s.advanced.VELOCITA_TREMOLO, 100);
    EXPECT_EQ(s.config.SALVA_CFG_USCITA, 1);
    EXPECT_EQ(s.registration.CORPO_ORGANO[17], 0); // fixed memories: the defaults
    EXPECT_EQ(s.registration.EXPR_GO[24], 127);
    EXPECT_EQ(s.registration.ANNULL_SW[1][13], 1);
    // Values that the defaults do not reset keep what was read, or their start value.
    EXPECT_EQ(s.advanced.NOTA_INIZIO_TEMP, GetParam().earlyValuesRead ? 9 : 0);
    EXPECT_EQ(s.advanced.ACCOPPIAMENTO_GLOBALE, GetParam().earlyValuesRead ? 2 : 0);
}

std::string dropLastLine(std::string s) {
    s.resize(s.size() - 2);
    return s.substr(0, s.rfind("\r\n") + 2);
}

std::string replaceLine(std::string s, int number, const std::string& with) {
    std::size_t at = 0;
    for (int i = 1; i < number; ++i)
        at = s.find("\r\n", at) + 2;
    return s.replace(at, s.find("\r\n", at) - at, with);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, DamagedConfig,
    ::testing::Values(
        DamageCase{"Only374Values", dropLastLine, true, "value 375 is missing"},
        DamageCase{"Value21Fails", [](std::string s) { return replaceLine(s, 21, "x"); }, true,
                   "value 21 is not valid"},
        DamageCase{
            "NulInThePath",
            [](std::string s) { return replaceLine(s, 1, std::string("/org\0ans.dat", 12)); },
            false, "value 1 is not valid"},
        DamageCase{"LineEndInsideQuotes",
                   [](std::string s) { return replaceLine(s, 35, "\"Times\r\nNew\""); }, true,
                   "value 35 is not valid"},
        DamageCase{"TextForANumber", [](std::string s) { return replaceLine(s, 300, "lots"); },
                   true, "value 300 is not valid"},
        DamageCase{"NumberBeyond16Bits",
                   [](std::string s) { return replaceLine(s, 200, " 70000 "); }, true,
                   "value 200 is not valid"},
        DamageCase{"Empty", [](std::string) { return std::string(); }, false,
                   "value 1 is missing"}),
    [](const auto& info) { return info.param.name; });

// A 20000 x 15000 twip screen. A saved place is checked once the window has its size: the
// graphic panel's 10650 x 10200, the standard panel's 7744 x 5596 at 80 %, or the size the
// organist left the window at. Wholly on the screen, it stays; else the window comes back
// centred.
TEST_F(Config, WindowsComeBackWhollyOnTheScreen) {
    user.screenSize = {20000, 15000};
    struct Case {
        const char* top;
        const char* left;
        bool graphic;
        const char* windowFile; // kavel-window.txt, none when empty
        double wantTop, wantLeft;
    };
    const char* sized = "panel=10650x10200\nsize=16000x12000\nmaximised=0\n";
    const Case cases[] = {
        {" 450 ", " 600 ", true, "", 450, 600},        // on the screen
        {" 4800 ", " 9350 ", true, "", 4800, 9350},    // touching the far corner
        {" 4801 ", " 600 ", true, "", 2400, 4675},     // one twip too low
        {" 16000 ", " 600 ", true, "", 2400, 4675},    // below the screen
        {" -15 ", " 600 ", true, "", 2400, 4675},      // above the screen
        {" -1e300 ", " 1e300 ", true, "", 2400, 4675}, // nonsense, but numbers
        {" 9000 ", " 12000 ", false, "", 9000, 12000}, // the small panel fits far down
        {" 9000 ", " 12300 ", false, "", 4702, 6128},  // but not beyond the edge
        {" 3000 ", " 4000 ", true, sized, 3000, 4000}, // the larger window fits
        {" 3001 ", " 4000 ", true, sized, 1500, 2000}, // centred at its own size
    };
    {
        auto& k = console();
        setUp(k);
        k.config.Salva_dati_di_avvio();
    }
    const std::string good = slurp(cfg());
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.top) + "," + c.left + (c.graphic ? " graphic" : " 80 %"));
        std::string placed = replaceLine(replaceLine(good, 24, c.top), 25, c.left);
        placed = replaceLine(replaceLine(placed, 38, c.graphic ? " 1 " : " 0 "), 39, " 8 ");
        std::ofstream(cfg(), std::ios::binary | std::ios::trunc) << placed;
        fs::remove(folder / "kavel-window.txt");
        if (*c.windowFile) std::ofstream(folder / "kavel-window.txt") << c.windowFile;
        core.reset();
        auto& k = console();
        k.Form_Load();
        EXPECT_EQ(k.controls.get("Kavel").top, c.wantTop);
        EXPECT_EQ(k.controls.get("Kavel").left, c.wantLeft);
    }
}

// The window's size goes beside kavel.CFG with the panel it was chosen for, and comes back
// only to a panel of that size.
TEST_F(Config, WindowSizeComesBackToTheSamePanel) {
    struct Case {
        bool graphicAtRestart;
        int wantWidth, wantHeight; // 0: the panel's own size
        bool wantMaximised;
    };
    const Case cases[] = {{true, 16000, 12000, true}, {false, 0, 0, false}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.graphicAtRestart);
        {
            auto& k = console();
            k.Form_Load();
            setUp(k);
            k.state.panel.INTERFACCIA_GRAFICA = true;
            k.panel.LOAD_GRAPHIC_INTERFACE();
            k.state.panel.windowWidth = 16000;
            k.state.panel.windowHeight = 12000;
            k.state.panel.windowMaximised = true;
            k.state.panel.INTERFACCIA_GRAFICA = c.graphicAtRestart;
            k.state.panel.SCALA_PANNELLO = 1.0;
            k.config.Salva_dati_di_avvio();
        }
        EXPECT_EQ(slurp(folder / "kavel-window.txt"),
                  "panel=10650x10200\nsize=16000x12000\nmaximised=1\n");
        core.reset();
        auto& k = console();
        k.Form_Load();
        EXPECT_EQ(k.state.panel.windowWidth, c.wantWidth);
        EXPECT_EQ(k.state.panel.windowHeight, c.wantHeight);
        EXPECT_EQ(k.state.panel.windowMaximised, c.wantMaximised);
        core.reset();
    }
}

// Values that would turn into wrong MIDI bytes, or that no control could show, are brought
// within what their controls can set.
TEST_F(Config, OutOfRangeSettingsAreBroughtIntoRange) {
    {
        auto& k = console();
        setUp(k);
        k.config.Salva_dati_di_avvio();
    }
    const std::string saved = slurp(cfg());
    struct Case {
        const char* labelMode; // line 16
        const char* panelSize; // line 39
        const char* firstLabel;
        double scale;
        double nameFontSize; // the size step's stop-name font
    };
    for (const Case c : {Case{" 7 ", " 30 ", "C", 1.6, 11}, Case{" -3 ", " 2 ", "0", 0.8, 5}}) {
        SCOPED_TRACE(c.labelMode);
        std::string bytes = saved;
        for (auto [line, value] : {std::pair{11, " 99 "},
                                   {12, " -4 "},
                                   {6, " 900 "},
                                   {20, " 7 "},
                                   {14, " 30000 "},
                                   {16, c.labelMode},
                                   {39, c.panelSize}})
            bytes = replaceLine(bytes, line, value);
        std::ofstream(cfg(), std::ios::binary | std::ios::trunc) << bytes;
        core.reset();
        auto& k = console();
        k.config.LEGGI_FILE_AVVIO();
        EXPECT_TRUE(user.shown.empty());
        EXPECT_EQ(k.state.midi.CANALE_APPRESO[0], 15);
        EXPECT_EQ(k.state.midi.CANALE_APPRESO[1], 0);
        EXPECT_EQ(k.state.advanced.VELOCITA_TREMOLO, 127);
        EXPECT_EQ(k.state.advanced.ACCOPPIAMENTO_GLOBALE, 2);
        EXPECT_EQ(k.state.midi.RITARDO_NOTE, 100);
        // The memory labels show, and the standard panel has its size's fonts.
        k.labels.Scrivi_Etichette_memorie();
        EXPECT_EQ(k.controls.get("C_memory", 1).caption, c.firstLabel);
        EXPECT_DOUBLE_EQ(k.state.panel.SCALA_PANNELLO, c.scale);
        k.panel.SET_FONTS_NORMAL_INTERFACE();
        EXPECT_EQ(k.controls.get("NomeFondi", 3).font.size, c.nameFontSize);
    }
}

// A text the file cannot hold is left out when the file is written, with a message; the rest
// of the file, fixed memories included, is saved and reads back.
TEST_F(Config, TextsThatWouldNotReadBackAreLeftOut) {
    const std::pair<std::string, std::string> texts[] = {
        {"/organs/with \"quote\", comma.dat", "Arial"},
        {"/organs/line\r\nend.dat", "Arial"},
        {"/organs/ok.dat", "Tab\tFont"},
        {"\"/quoted\" first.dat", "Arial"},
    };
    for (const auto& [path, font] : texts) {
        SCOPED_TRACE(path + " / " + font);
        {
            auto& k = console();
            setUp(k);
            k.state.config.PATH_DAT = path;
            k.state.panel.fontName = font;
            user.shown.clear();
            k.config.Salva_dati_di_avvio();
            ASSERT_EQ(user.shown.size(), 1u);
            EXPECT_NE(user.shown[0].text.find("it was left out, the rest was saved"),
                      std::string::npos);
        }
        const auto l = lines(slurp(cfg()));
        ASSERT_EQ(l.size(), 375u);
        EXPECT_EQ(l[0], font == "Arial" ? "" : "/organs/ok.dat");
        EXPECT_EQ(l[34], font == "Arial" ? "Arial" : "");
        core.reset();
        user.shown.clear();
        auto& k = console();
        k.devices.MIDI_DEVICES_ACK();
        k.config.LEGGI_FILE_AVVIO();
        EXPECT_TRUE(user.shown.empty()); // it reads back whole
        EXPECT_EQ(k.state.registration.EXPR_GO[24], 64);
        core.reset();
    }
    // A quote inside a text that needs no quotes of its own reads back whole.
    auto& k = console();
    k.state.config.PATH_DAT = "/organs/say \"hi\".dat";
    k.state.panel.fontName = "Arial";
    k.config.Salva_dati_di_avvio();
    EXPECT_EQ(TextValueReader(slurp(cfg())).text(), "/organs/say \"hi\".dat");
}

// A folder or a device in place of the file is a read failure like any other.
TEST_F(Config, UnreadableFileGivesTheDefaults) {
    fs::create_directories(cfg());
    auto& k = console();
    k.devices.MIDI_DEVICES_ACK();
    k.config.LEGGI_FILE_AVVIO();
    ASSERT_EQ(user.shown.size(), 1u);
    EXPECT_NE(user.shown[0].text.find("folder"), std::string::npos) << user.shown[0].text;
    EXPECT_EQ(k.state.config.SALVA_CFG_USCITA, 1);
    fs::remove(cfg());
    fs::create_symlink("/dev/zero", cfg());
    user.shown.clear();
    k.config.LEGGI_FILE_AVVIO();
    EXPECT_EQ(user.shown.size(), 1u);
}

TEST_F(Config, TogglingSaveOnExitWritesValue21AtOnce) {
    auto& k = console();
    k.Form_Load(); // no file: the defaults, saving on exit
    EXPECT_EQ(k.controls.get("EnableCFG").value, 1);
    k.config.EnableCFG_Click();
    EXPECT_EQ(lines(slurp(cfg()))[20], " 0 ");
    k.exit_Click();
    core.reset();
    user.shown.clear();
    auto& next = console();
    next.Form_Load();
    EXPECT_TRUE(user.shown.empty()); // the file is there: no message
    EXPECT_EQ(next.state.config.SALVA_CFG_USCITA, 0);
    EXPECT_EQ(next.controls.get("EnableCFG").value, 0);
}

TEST_F(Config, FirstStartCreatesTheFileOnExit) {
    auto& k = console();
    k.Form_Load();
    EXPECT_FALSE(fs::exists(cfg()));
    k.exit_Click();
    EXPECT_TRUE(fs::exists(cfg()));
    EXPECT_EQ(lines(slurp(cfg())).size(), 375u);
}

TEST_F(Config, FreeMemoriesOverTheFixedOnes) {
    auto& k = console();
    k.Form_Load();
    k.state.registration.PED[7] = 11;
    user.answers.push_back(Answer::Yes);
    k.memories.SaveFIXED_Click();
    EXPECT_EQ(k.state.registration.PED[19], 11);
    EXPECT_EQ(messageTexts().back(), "FIXED MEMORY OVERWRITTEN!");
    EXPECT_FALSE(k.state.memories.SALVA_FISSE);
    EXPECT_EQ(lines(slurp(cfg()))[39 + 28 * 6 + 6], " 11 ");
    user.answers.push_back(Answer::No);
    k.state.registration.PED[7] = 2;
    k.memories.SaveFIXED_Click();
    EXPECT_EQ(k.state.registration.PED[19], 11);
}

TEST_F(Config, FailedWriteIsReportedAndTheOldFileKept) {
    auto& k = console();
    std::ofstream(cfg(), std::ios::binary) << "old";
    fs::create_directories(folder / "cfg-is-a-folder");
    k.state.config.PATH_CFG = (folder / "cfg-is-a-folder").string();
    k.config.Salva_dati_di_avvio();
    ASSERT_EQ(user.shown.size(), 1u);
    EXPECT_EQ(user.shown[0].text.rfind("The configuration was not saved.", 0), 0u);
    EXPECT_EQ(slurp(cfg()), "old");
}

// Random damage to a good file: never a crash or a hang, and always either the values read
// or the defaults with their message.
TEST_F(Config, SeededRandomDamageNeverBreaksTheReader) {
    {
        auto& k = console();
        setUp(k);
        k.config.Salva_dati_di_avvio();
    }
    const std::string good = slurp(cfg());
    std::mt19937 random(20261208);
    const char alphabet[] = {',', '"', '\r', '\n', ' ', '-', '.', '0', '9', 'x', '\0', '\xFF'};
    for (int round = 0; round < 400; ++round) {
        std::string bytes = good;
        const int edits = 1 + static_cast<int>(random() % 6);
        for (int e = 0; e < edits && !bytes.empty(); ++e) {
            const std::size_t at = random() % bytes.size();
            switch (random() % 4) {
            case 0:
                bytes[at] = alphabet[random() % sizeof alphabet];
                break;
            case 1:
                bytes.erase(at, 1 + random() % 40);
                break;
            case 2:
                bytes.insert(at, 1, alphabet[random() % sizeof alphabet]);
                break;
            default:
                bytes.resize(at);
                break;
            }
        }
        std::ofstream(cfg(), std::ios::binary | std::ios::trunc) << bytes;
        core.reset();
        user.shown.clear();
        auto& k = console();
        k.devices.MIDI_DEVICES_ACK();
        k.config.LEGGI_FILE_AVVIO();
        ASSERT_LE(user.shown.size(), 1u) << "round " << round;
        if (user.shown.empty()) {
            EXPECT_GE(k.state.midi.RITARDO_NOTE, 0);
            EXPECT_LE(k.state.midi.RITARDO_NOTE, 100);
        } else {
            EXPECT_EQ(user.shown[0].text.rfind(kUnassigned, 0), 0u);
            EXPECT_EQ(k.state.advanced.VELOCITA_TREMOLO, 100) << "round " << round;
        }
    }
}

} // namespace
} // namespace kavel::test

namespace kavel::test {
namespace {

// A disk that fills up while Kavel saves (the file-size limit stands in for it): each writer
// says so, keeps the old file whole and leaves no temporary file behind.
TEST_F(Config, FullDiskOnSaveKeepsEveryOldFile) {
    auto& k = console();
    k.state.config.PATH_DAT = (folder / "kavel.DAT").string();
    k.tableFile.CARICAMENTO_DAT();
    k.devices.MIDI_DEVICES_ACK();
    struct Writer {
        const char* file;
        const char* message;
        std::function<void()> save;
    } writers[] = {
        {"kavel.CFG", "The configuration was not saved.", [&] { k.config.Salva_dati_di_avvio(); }},
        {"kavel-devices.txt", "The names of the MIDI devices were not saved.",
         [&] { k.config.saveDeviceNames(); }},
        {"kavel.DAT", "The Stops Table was not saved.",
         [&] { k.tableFile.writeStopsTable(k.state.config.PATH_DAT); }},
    };
    for (const auto& w : writers) {
        SCOPED_TRACE(w.file);
        std::ofstream(folder / w.file, std::ios::binary) << "old";
        user.shown.clear();
        rlimit before{};
        getrlimit(RLIMIT_FSIZE, &before);
        auto* oldHandler = std::signal(SIGXFSZ, SIG_IGN);
        rlimit full = before;
        full.rlim_cur = 8;
        setrlimit(RLIMIT_FSIZE, &full);
        w.save();
        setrlimit(RLIMIT_FSIZE, &before);
        std::signal(SIGXFSZ, oldHandler);
        ASSERT_FALSE(user.shown.empty());
        EXPECT_EQ(user.shown.back().text.rfind(w.message, 0), 0u) << user.shown.back().text;
        EXPECT_EQ(slurp(folder / w.file), "old");
        for (const auto& entry : fs::directory_iterator(folder))
            EXPECT_EQ(entry.path().filename().string().find(".tmp"), std::string::npos)
                << entry.path();
    }
}

} // namespace
} // namespace kavel::test
