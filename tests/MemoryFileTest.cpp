#include "RegistrationFixture.h"

#include <csignal>
#include <fstream>
#include <functional>
#include <iterator>
#include <sys/resource.h>

namespace kavel::test {
namespace {

namespace fs = std::filesystem;

constexpr const char* kInvalid = "Invalid SQS file. File corrupted or from Kavel Older Version";
constexpr const char* kUnsavedQuestion =
    "Free memories unsaved: loading will erase them. Continue anyway ?";

std::string slurp(const fs::path& p) {
    std::ifstream in(p, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

void spit(const fs::path& p, const std::string& bytes) {
    std::ofstream(p, std::ios::binary | std::ios::trunc) << bytes;
}

// The file's lines, numbered from 1 as the format numbers its values: CR LF ends a line.
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

// A number as the files write it: a blank before it when not negative, a blank after it.
std::string num(int v) {
    return (v >= 0 ? " " : "") + std::to_string(v) + " ";
}

using R = RegistrationTable;
// The 28 fields of a memory in the file's order, written out here.
constexpr SlotArray R::*kPlain[] = {
    &R::FO_GO,        &R::FO_SW,        &R::MU_GO,        &R::MU_SW,        &R::AN_GO,
    &R::AN_SW,        &R::PED,          &R::TREMOLO_GO,   &R::TREMOLO_SW,   &R::EXPR_GO,
    &R::EXPR_SW,      &R::EXPR_PE,      &R::BIL_FONDI_GO, &R::BIL_MUTAZ_GO, &R::BIL_ANCIE_GO,
    &R::BIL_FONDI_SW, &R::BIL_MUTAZ_SW, &R::BIL_ANCIE_SW, &R::UNIONE_PED,   &R::UNIONE_MAN,
    &R::CORPO_ORGANO};
int& field(RegistrationTable& r, int f, int slot) { // f = 1..28
    const auto s = static_cast<std::size_t>(slot);
    if (f <= 21) return (r.*kPlain[f - 1])[s];
    if (f <= 24) return r.ANNULL_GO[static_cast<std::size_t>(f - 22)][s];
    if (f <= 27) return r.ANNULL_SW[static_cast<std::size_t>(f - 25)][s];
    return r.SUBOTTAVA_PED[s];
}

// The line of memory m's field f (both from 1).
int lineOf(int m, int f) {
    return 7 + (m - 1) * 28 + f;
}

// A value for every memory field that no correction touches, most unlike their neighbours.
int inRange(int m, int f) {
    if (f <= 2) return (m * 3 + f) % 30;       // Fondi
    if (f <= 7) return (m * 5 + f) % 20;       // the other stop groups
    if (f <= 9) return (m + f) % 3;            // tremolos
    if (f <= 12) return 60 + (m * 5 + f) % 68; // expressions
    if (f <= 18) return (m * 10 + f) % 128;    // balances
    if (f <= 20) return (m + f) % 3;           // couplers
    if (f == 21) return 1 + m % 3;             // organ body
    return (m + f) % 2;                        // cancellers, sub-octave
}

// A memory file written out here value by value: the table's name, temperament, tremolo rate,
// tremolo type, reverb, label mode, the indicator flag, 12 x 28 memory values, start note.
struct FileText {
    std::vector<std::string> values;
    FileText() {
        values = {"kavel.DAT", num(3), num(77), num(1), num(4), num(2), num(0)};
        for (int m = 1; m <= 12; ++m)
            for (int f = 1; f <= 28; ++f)
                values.push_back(num(inRange(m, f)));
        values.push_back(num(9));
    }
    FileText& set(int line, std::string value) {
        values.at(static_cast<std::size_t>(line - 1)) = std::move(value);
        return *this;
    }
    std::string bytes() const {
        std::string s;
        for (const auto& v : values)
            s += v + "\r\n";
        return s;
    }
};

class MemoryFile : public RegistrationFixture {
  protected:
    MemoryFile() {
        auto& m = console().state.memories;
        m.PIC_GREEN_ON = "green-on.gif";
        m.PIC_GREEN_OFF = "green-off.gif";
        m.PIC_RED_ON = "red-on.gif";
        m.PIC_RED_OFF = "red-off.gif";
        m.PIC_YELLOW_ON = "yellow-on.gif";
    }

    fs::path sqs(const char* name = "mine.sqs") const { return folder / name; }

    void save(const fs::path& path) {
        user.files.emplace_back(path.string());
        console().savefile_Click();
    }
    void load(const fs::path& path) {
        user.files.emplace_back(path.string());
        console().Loadfile_Click();
    }

    // Settings unlike the file's, and every free memory -7, a value no file here holds.
    void oldState() {
        auto& k = console();
        auto& a = k.state.advanced;
        a.TEMPERAMENTO = 5;
        a.VELOCITA_TREMOLO = 100;
        a.TIPO_TREMOLO = 0;
        a.RIVERBERO = 6;
        a.NOTA_INIZIO_TEMP = 2;
        k.state.memories.MODO_ETICHETTE = 0;
        for (int m = 1; m <= 12; ++m)
            for (int f = 1; f <= 28; ++f)
                field(k.state.registration, f, m) = -7;
    }

    void expectAllIndicatorsDark() {
        const auto& k = console();
        for (int i = 1; i <= 12; ++i) {
            SCOPED_TRACE("indicator " + std::to_string(i));
            if (k.state.memories.LED_MEMORIE) {
                EXPECT_EQ(k.controls.get("LedFree", i).picture, "green-off.gif");
                EXPECT_EQ(k.controls.get("LedFix", i).picture, "red-off.gif");
            } else {
                EXPECT_EQ(k.controls.get("C_memory", i).backColour, Colour::system(10));
                EXPECT_EQ(k.controls.get("Graduatore", i).backColour, Colour::system(10));
            }
        }
    }

    // Free memory 3 current and fixed memory 4's ladder lit, in the mode in force.
    void lightSomeIndicators() {
        auto& k = console();
        k.c_memory_Click(3);
        for (int i = 1; i <= 4; ++i) {
            if (k.state.memories.LED_MEMORIE)
                k.controls.edit("LedFix", i).picture = "red-on.gif";
            else
                k.controls.edit("Graduatore", i).backColour = Colour::system(9);
        }
    }
};

TEST_F(MemoryFile, SavedFileHoldsEveryValueOnItsOwnLine) {
    auto& k = console();
    auto& a = k.state.advanced;
    a.TEMPERAMENTO = 3;
    a.VELOCITA_TREMOLO = 77;
    a.TIPO_TREMOLO = 1;
    a.RIVERBERO = 4;
    k.state.memories.MODO_ETICHETTE = 2;
    k.state.memories.LED_MEMORIE = true;
    a.NOTA_INIZIO_TEMP = 9;
    for (int m = 1; m <= 12; ++m)
        for (int f = 1; f <= 28; ++f)
            field(k.state.registration, f, m) = m * 100 + f;
    field(k.state.registration, 3, 5) = -4;
    k.state.memories.MEMORIE_NON_SALVATE = true;
    save(sqs());
    EXPECT_TRUE(user.shown.empty());
    EXPECT_FALSE(k.state.memories.MEMORIE_NON_SALVATE);

    std::vector<std::string> want = {"kavel.DAT", " 3 ", " 77 ", " 1 ", " 4 ", " 2 ", " 1 "};
    for (int m = 1; m <= 12; ++m)
        for (int f = 1; f <= 28; ++f)
            want.push_back(m == 5 && f == 3 ? "-4 " : num(m * 100 + f));
    want.push_back(" 9 ");
    EXPECT_EQ(lines(slurp(sqs())), want);
    EXPECT_EQ(lines(slurp(sqs()))[static_cast<std::size_t>(lineOf(5, 3) - 1)], "-4 ");
}

// The table's name is only a reminder: a name the file could not keep is left out, and the
// file still reads back.
TEST_F(MemoryFile, TableNameIsTheFileNameOrLeftOut) {
    const std::pair<std::string, std::string> cases[] = {
        {"C:\\organ\\tables\\base.dat", "base.dat"},
        {"/organs/my, own organ.dat", "\"my, own organ.dat\""},
        {"/organs/with \"quote\", comma.dat", ""},
        {"/organs/line\r\nend.dat", ""},
        {"bare.DAT", "bare.DAT"},
    };
    auto& k = console();
    for (const auto& [path, line] : cases) {
        SCOPED_TRACE(path);
        k.state.config.PATH_DAT = path;
        k.state.registration.PED[12] = 11;
        save(sqs());
        const auto l = lines(slurp(sqs()));
        ASSERT_EQ(l.size(), 344u);
        EXPECT_EQ(l[0], line);
        k.state.registration.PED[12] = 0;
        user.shown.clear();
        load(sqs());
        EXPECT_TRUE(user.shown.empty());
        EXPECT_EQ(k.state.registration.PED[12], 11);
    }
}

struct RoundTripCase {
    const char* name;
    bool ledsWhenSaved;
    bool ledsWhenLoaded;
};

void PrintTo(const RoundTripCase& c, std::ostream* os) {
    *os << c.name;
}

class RoundTrip : public MemoryFile, public ::testing::WithParamInterface<RoundTripCase> {};

TEST_P(RoundTrip, GivesTheSameMemoriesAndSettingsAndKeepsTheIndicatorMode) {
    const auto& c = GetParam();
    auto& k = console();
    auto& a = k.state.advanced;
    auto& r = k.state.registration;
    a.TEMPERAMENTO = 3;
    a.VELOCITA_TREMOLO = 77;
    a.TIPO_TREMOLO = 1;
    a.RIVERBERO = 4;
    k.state.memories.MODO_ETICHETTE = 2;
    a.NOTA_INIZIO_TEMP = 9;
    k.state.memories.LED_MEMORIE = c.ledsWhenSaved;
    for (int m = 1; m <= 12; ++m)
        for (int f = 1; f <= 28; ++f)
            field(r, f, m) = inRange(m, f);
    save(sqs());

    oldState();
    k.state.memories.LED_MEMORIE = c.ledsWhenLoaded;
    k.state.memories.MEMORIE_NON_SALVATE = true;
    user.answers.push_back(Answer::Yes);
    load(sqs());
    ASSERT_EQ(messageTexts(), std::vector<std::string>{kUnsavedQuestion});
    for (int m = 1; m <= 12; ++m)
        for (int f = 1; f <= 28; ++f)
            EXPECT_EQ(field(r, f, m), inRange(m, f)) << "memory " << m << " field " << f;
    EXPECT_EQ(a.TEMPERAMENTO, 3);
    EXPECT_EQ(a.VELOCITA_TREMOLO, 77);
    EXPECT_EQ(a.TIPO_TREMOLO, 1);
    EXPECT_EQ(a.RIVERBERO, 4);
    EXPECT_EQ(k.state.memories.MODO_ETICHETTE, 2);
    EXPECT_EQ(a.NOTA_INIZIO_TEMP, 9);
    // The Advanced window shows them.
    EXPECT_EQ(k.controls.get("Temperamenti").listIndex, 3);
    EXPECT_EQ(k.controls.get("NotaInizTemp").listIndex, 9);
    EXPECT_EQ(k.controls.get("Riverberi").listIndex, 4);
    EXPECT_EQ(k.controls.get("TremoloType").listIndex, 1);
    EXPECT_EQ(k.controls.get("SliderTremoloRate").value, 77);
    EXPECT_EQ(k.state.memories.LED_MEMORIE, c.ledsWhenLoaded);
    EXPECT_EQ(k.controls.get("DisplayLeds").value, c.ledsWhenLoaded ? 1 : 0);
    EXPECT_TRUE(k.state.memories.MEMORIE_NON_SALVATE); // loading does not save them
}

INSTANTIATE_TEST_SUITE_P(Modes, RoundTrip,
                         ::testing::Values(RoundTripCase{"LabelsThenLeds", false, true},
                                           RoundTripCase{"LedsThenLabels", true, false},
                                           RoundTripCase{"Labels", false, false}),
                         [](const auto& info) { return info.param.name; });

// Values out of range are brought back as they are read; the rest are taken as they are.
TEST_F(MemoryFile, OutOfRangeMemoryValuesAreCorrected) {
    struct Case {
        const char* what;
        int f; // field, 1..28 in the file's order
        int inFile;
        int loaded;
    };
    const Case cases[] = {
        {"FO_GO 35", 1, 35, 29},
        {"FO_GO 30", 1, 30, 29},
        {"FO_SW 29", 2, 29, 29},
        {"FO_GO -3", 1, -3, -3},
        {"MU_GO 20", 3, 20, 19},
        {"MU_SW 19", 4, 19, 19},
        {"AN_GO 25", 5, 25, 19},
        {"AN_SW 20", 6, 20, 19},
        {"PED 40", 7, 40, 19},
        {"PED -1", 7, -1, -1},
        {"TREMOLO_GO 2", 8, 2, 2},
        {"TREMOLO_GO 3", 8, 3, 0},
        {"TREMOLO_SW 3", 9, 3, 0},
        {"TREMOLO_SW -1", 9, -1, -1},
        {"EXPR_GO 30", 10, 30, 127},
        {"EXPR_SW 59", 11, 59, 127},
        {"EXPR_PE 60", 12, 60, 60},
        {"EXPR_GO 128", 10, 128, 127},
        {"EXPR_SW 127", 11, 127, 127},
        {"BIL_FONDI_GO 0", 13, 0, 0},
        {"BIL_MUTAZ_GO -1", 14, -1, 127},
        {"BIL_ANCIE_GO 128", 15, 128, 127},
        {"BIL_FONDI_SW 5", 16, 5, 5},
        {"BIL_MUTAZ_SW 200", 17, 200, 127},
        {"BIL_ANCIE_SW 127", 18, 127, 127},
        {"UNIONE_PED 3", 19, 3, 0},
        {"UNIONE_PED 2", 19, 2, 2},
        {"UNIONE_MAN 7", 20, 7, 7},
        {"CORPO_ORGANO 9", 21, 9, 9},
        {"ANNULL_GO(0) 5", 22, 5, 5},
        {"ANNULL_GO(2) -2", 24, -2, -2},
        {"ANNULL_SW(1) 3", 26, 3, 3},
        {"SUBOTTAVA_PED 4", 28, 4, 4},
    };
    auto& k = console();
    int m = 0;
    for (const Case& c : cases) {
        m = m % 12 + 1; // each case in another memory, so that a slot mix-up shows
        SCOPED_TRACE(std::string(c.what) + " in memory " + std::to_string(m));
        spit(sqs(), FileText().set(lineOf(m, c.f), num(c.inFile)).bytes());
        load(sqs());
        ASSERT_TRUE(user.shown.empty()) << user.shown[0].text;
        EXPECT_EQ(field(k.state.registration, c.f, m), c.loaded);
        // Its neighbours as the file has them.
        if (c.f > 1) {
            EXPECT_EQ(field(k.state.registration, c.f - 1, m), inRange(m, c.f - 1));
        }
        if (c.f < 28) {
            EXPECT_EQ(field(k.state.registration, c.f + 1, m), inRange(m, c.f + 1));
        }
    }
    EXPECT_EQ(out.refusedMessages(), 0u);
}

// A setting its control cannot show keeps the one in force; the edges of each range are taken.
// The shipped organ names 7 temperaments and 8 reverbs.
TEST_F(MemoryFile, SettingsOutsideTheirControlsKeepTheOnesInForce) {
    struct Case {
        int line;
        int inFile;
        bool taken;
    };
    const Case cases[] = {
        {2, 6, true},    {2, 7, false},    {2, -1, false}, {2, 0, true},      // temperament
        {3, 127, true},  {3, 128, false},  {3, 0, true},   {3, -1, false},    // tremolo rate
        {4, 1, true},    {4, 2, false},    {4, -1, false},                    // tremolo type
        {5, 7, true},    {5, 8, false},    {5, 0, true},   {5, 32767, false}, // reverb
        {6, 2, true},    {6, 3, false},    {6, 0, true},   {6, -1, false},    // label mode
        {344, 11, true}, {344, 12, false}, {344, 0, true}, {344, -1, false},  // start note
    };
    auto& k = console();
    auto& a = k.state.advanced;
    int* setting[] = {nullptr,
                      nullptr,
                      &a.TEMPERAMENTO,
                      &a.VELOCITA_TREMOLO,
                      &a.TIPO_TREMOLO,
                      &a.RIVERBERO,
                      &k.state.memories.MODO_ETICHETTE};
    for (const Case& c : cases) {
        SCOPED_TRACE("value " + std::to_string(c.line) + " = " + std::to_string(c.inFile));
        oldState();
        k.state.memories.MODO_ETICHETTE = 1; // so that taking 0 or 2 shows
        int* s = c.line == 344 ? &a.NOTA_INIZIO_TEMP : setting[c.line];
        const int before = *s;
        spit(sqs(), FileText().set(c.line, num(c.inFile)).bytes());
        load(sqs());
        ASSERT_TRUE(user.shown.empty());
        EXPECT_EQ(*s, c.taken ? c.inFile : before);
    }
    EXPECT_EQ(out.refusedMessages(), 0u);
}

struct FailureCase {
    const char* name;
    std::function<fs::path(const fs::path& folder)> make; // the file to load
    int taken; // how many leading values are read before the failure
};

void PrintTo(const FailureCase& c, std::ostream* os) {
    *os << c.name;
}

fs::path written(const fs::path& folder, const std::string& bytes) {
    spit(folder / "bad.sqs", bytes);
    return folder / "bad.sqs";
}

std::string withoutLastValue() {
    auto f = FileText();
    f.values.pop_back();
    return f.bytes();
}

class FailedLoad : public MemoryFile, public ::testing::WithParamInterface<FailureCase> {};

// What was read stays; no reset, no recall, nothing sent; the message; every indicator dark.
TEST_P(FailedLoad, KeepsWhatWasReadAndLeavesTheIndicatorsDark) {
    const auto& c = GetParam();
    for (bool leds : {false, true}) {
        SCOPED_TRACE(leds ? "leds" : "labels");
        auto& k = console();
        k.state.memories.LED_MEMORIE = leds;
        oldState();
        const auto old = k.state.advanced;
        lightSomeIndicators();
        const auto liveBefore = k.state.registration.FO_GO[SLOT_LIVE];
        clearLog();
        user.shown.clear();
        load(c.make(folder));

        ASSERT_EQ(messageTexts(), std::vector<std::string>{kInvalid});
        EXPECT_EQ(user.shown[0].icon, Icon::Critical);
        EXPECT_EQ(user.shown[0].buttons, Buttons::Ok);
        EXPECT_TRUE(log.empty()) << log.front();
        EXPECT_EQ(k.state.memories.ULTIMA_MEMORIA, 3); // no recall
        EXPECT_EQ(k.state.registration.FO_GO[SLOT_LIVE], liveBefore);
        expectAllIndicatorsDark();

        const auto& a = k.state.advanced;
        EXPECT_EQ(a.TEMPERAMENTO, c.taken >= 2 ? 3 : old.TEMPERAMENTO);
        EXPECT_EQ(a.VELOCITA_TREMOLO, c.taken >= 3 ? 77 : old.VELOCITA_TREMOLO);
        EXPECT_EQ(a.TIPO_TREMOLO, c.taken >= 4 ? 1 : old.TIPO_TREMOLO);
        EXPECT_EQ(a.RIVERBERO, c.taken >= 5 ? 4 : old.RIVERBERO);
        EXPECT_EQ(k.state.memories.MODO_ETICHETTE, c.taken >= 6 ? 2 : 0);
        EXPECT_EQ(a.NOTA_INIZIO_TEMP, old.NOTA_INIZIO_TEMP); // the last value: never reached
        EXPECT_EQ(k.state.memories.LED_MEMORIE, leds);
        for (int m = 1; m <= 12; ++m)
            for (int f = 1; f <= 28; ++f)
                ASSERT_EQ(field(k.state.registration, f, m),
                          lineOf(m, f) <= c.taken ? inRange(m, f) : -7)
                    << "memory " << m << " field " << f;
    }
}

INSTANTIATE_TEST_SUITE_P(
    Cases, FailedLoad,
    ::testing::Values(
        FailureCase{"Only343Values",
                    [](const fs::path& d) { return written(d, withoutLastValue()); }, 343},
        FailureCase{"TextInMemory4",
                    [](const fs::path& d) {
                        return written(d, FileText().set(lineOf(4, 9), "on").bytes());
                    },
                    lineOf(4, 9) - 1},
        FailureCase{"FractionInMemory12",
                    [](const fs::path& d) {
                        return written(d, FileText().set(lineOf(12, 28), " 0.5 ").bytes());
                    },
                    lineOf(12, 28) - 1},
        FailureCase{
            "NumberBeyond16Bits",
            [](const fs::path& d) { return written(d, FileText().set(200, " 70000 ").bytes()); },
            199},
        FailureCase{"TextForTheTremoloRate",
                    [](const fs::path& d) { return written(d, FileText().set(3, "fast").bytes()); },
                    2},
        FailureCase{"TextForTheIndicatorFlag",
                    [](const fs::path& d) { return written(d, FileText().set(7, "yes").bytes()); },
                    6},
        FailureCase{"Empty", [](const fs::path& d) { return written(d, ""); }, 0},
        FailureCase{"OnlyTheName", [](const fs::path& d) { return written(d, "kavel.DAT\r\n"); },
                    1},
        FailureCase{"Missing", [](const fs::path& d) { return d / "none.sqs"; }, 0},
        FailureCase{"AFolder",
                    [](const fs::path& d) {
                        fs::create_directories(d / "folder.sqs");
                        return d / "folder.sqs";
                    },
                    0},
        // Whole and good, but larger than any memory file: not read at all.
        FailureCase{"OverOneMebibyte",
                    [](const fs::path& d) {
                        return written(d, FileText().bytes() + std::string(1 << 20, ' '));
                    },
                    0}),
    [](const auto& info) { return info.param.name; });

struct CancelCase {
    const char* name;
    bool unsaved;
    std::optional<Answer> answer;
    std::optional<std::string> chosen; // relative to the test folder
    std::vector<std::string> shown;
};

void PrintTo(const CancelCase& c, std::ostream* os) {
    *os << c.name;
}

class CancelledLoad : public MemoryFile, public ::testing::WithParamInterface<CancelCase> {};

TEST_P(CancelledLoad, ChangesNothingNotEvenTheIndicators) {
    const auto& c = GetParam();
    auto& k = console();
    spit(sqs(), FileText().bytes());
    oldState();
    k.state.memories.MEMORIE_NON_SALVATE = c.unsaved;
    lightSomeIndicators();
    const auto registration = k.state.registration;
    const auto advanced = k.state.advanced;
    std::vector<Colour> looks;
    for (int i = 1; i <= 12; ++i)
        for (const char* name : {"C_memory", "Graduatore"})
            looks.push_back(k.controls.get(name, i).backColour);
    clearLog();
    if (c.answer) user.answers.push_back(*c.answer);
    user.files.push_back(c.chosen ? std::optional((folder / *c.chosen).string()) : std::nullopt);
    k.Loadfile_Click();

    EXPECT_EQ(messageTexts(), c.shown);
    if (c.unsaved) {
        EXPECT_EQ(user.shown[0].title, "Warning");
        EXPECT_EQ(user.shown[0].buttons, Buttons::YesNo);
        EXPECT_EQ(user.shown[0].icon, Icon::Exclamation);
        EXPECT_EQ(defaultAnswer(user.shown[0]), Answer::No);
    }
    // Answered No, the dialog is not shown at all: its answer is still waiting.
    EXPECT_EQ(user.files.size(), c.answer == Answer::Yes || !c.unsaved ? 0u : 1u);
    EXPECT_TRUE(log.empty());
    for (int m = 1; m <= 12; ++m)
        for (int f = 1; f <= 28; ++f)
            ASSERT_EQ(field(k.state.registration, f, m), -7);
    EXPECT_EQ(k.state.registration.FO_GO[SLOT_LIVE], registration.FO_GO[SLOT_LIVE]);
    EXPECT_EQ(k.state.advanced.TEMPERAMENTO, advanced.TEMPERAMENTO);
    EXPECT_EQ(k.state.advanced.NOTA_INIZIO_TEMP, advanced.NOTA_INIZIO_TEMP);
    EXPECT_EQ(k.state.memories.MEMORIE_NON_SALVATE, c.unsaved);
    std::size_t at = 0;
    for (int i = 1; i <= 12; ++i)
        for (const char* name : {"C_memory", "Graduatore"})
            EXPECT_EQ(k.controls.get(name, i).backColour, looks[at++]) << name << " " << i;
    EXPECT_EQ(k.controls.get("C_memory", 3).backColour, Colour::rgb(0, 192, 0));
}

INSTANTIATE_TEST_SUITE_P(
    Cases, CancelledLoad,
    ::testing::Values(
        CancelCase{"UnsavedAnsweredNo", true, Answer::No, "mine.sqs", {kUnsavedQuestion}},
        CancelCase{"UnsavedLeftAtItsDefault", true, std::nullopt, "mine.sqs", {kUnsavedQuestion}},
        CancelCase{
            "UnsavedYesThenDialogCancelled", true, Answer::Yes, std::nullopt, {kUnsavedQuestion}},
        CancelCase{"DialogCancelled", false, std::nullopt, std::nullopt, {}},
        CancelCase{"NameEndingInSq", false, std::nullopt, "mine.sq", {"Unauthorized file"}},
        CancelCase{"NameEndingInBak", false, std::nullopt, "mine.bak", {"Unauthorized file"}}),
    [](const auto& info) { return info.param.name; });

// Step by step: the four Advanced lists with the file's choices, the reset, then free memory 1.
TEST_F(MemoryFile, SuccessfulLoadResetsAndRecallsFreeMemory1) {
    for (bool leds : {false, true}) {
        SCOPED_TRACE(leds ? "leds" : "labels");
        auto& k = console();
        auto& r = k.state.registration;
        k.state.memories.LED_MEMORIE = leds;
        oldState();
        lightSomeIndicators();
        k.Tir_FO_GO_Click(7);
        k.Rec_button_Click();
        // Memory 1 draws Fondi 5 on the Great and Ancie 3 on the Swell, tremolos off.
        auto file = FileText().set(lineOf(1, 1), num(5)).set(lineOf(1, 6), num(3));
        file.set(lineOf(1, 8), num(0)).set(lineOf(1, 9), num(0));
        spit(sqs(), file.bytes());
        clearLog();
        load(sqs());
        ASSERT_TRUE(user.shown.empty());

        // Temperament 3 from note 9 twice (the temperament, then its start note), reverb 4
        // (entry 26), the Fort tremolo (entries 37 and 38); then the reset's global strings.
        std::vector<std::string> want;
        for (int twice = 0; twice < 2; ++twice)
            for (int part = 1; part <= 32; ++part)
                want.push_back("T" + std::to_string(part));
        for (const char* e :
             {"E26", "E37", "E38", "E0", "wait 100", "E1", "wait 2", "E2", "wait 2", "E3", "E26"})
            want.push_back(e);
        ASSERT_GE(log.size(), want.size());
        EXPECT_EQ(std::vector<std::string>(log.begin(), log.begin() + std::ssize(want)), want);
        // After the reset's update (Great Fondi row 0, entry 40), memory 1's stop goes out.
        const auto reset = std::find(log.rbegin(), log.rend(), "E40");
        const auto recalled = std::find(log.rbegin(), log.rend(), "E45");
        ASSERT_NE(recalled, log.rend());
        EXPECT_LT(recalled, reset) << "memory 1 is recalled after the reset";
        EXPECT_EQ(r.FO_GO[SLOT_LIVE], 5);
        EXPECT_EQ(r.AN_SW[SLOT_LIVE], 3);
        EXPECT_EQ(k.controls.get("Tir_FO_GO_graph", 7).picture, k.state.panel.PIC_TIRANTE_OFF_GO);
        EXPECT_EQ(k.controls.get("Tir_FO_GO_graph", 5).picture, k.state.panel.PIC_TIRANTE_ON_GO);

        const auto& m = k.state.memories;
        EXPECT_EQ(m.ULTIMA_MEMORIA, 1);
        EXPECT_TRUE(m.MEMORIA_INTATTA);
        EXPECT_FALSE(m.REC_MEMORIA); // disarmed by the reset: memory 1 was recalled, not stored
        EXPECT_EQ(field(r, 1, 1), 5);
        if (leds) {
            EXPECT_EQ(k.controls.get("LedFree", 1).picture, "green-on.gif");
            EXPECT_EQ(k.controls.get("LedFree", 3).picture, "green-off.gif");
            EXPECT_EQ(k.controls.get("LedFix", 2).picture, "red-off.gif");
        } else {
            EXPECT_EQ(k.controls.get("C_memory", 1).backColour, Colour::rgb(0, 192, 0));
            EXPECT_EQ(k.controls.get("C_memory", 3).backColour, Colour::system(10));
            EXPECT_EQ(k.controls.get("Graduatore", 2).backColour, Colour::system(10));
        }
        EXPECT_EQ(out.refusedMessages(), 0u);
    }
}

// Saving never loses the memories: a save that fails says so, keeps the old file whole and
// leaves the memories unsaved. The file-size limit stands in for a full disk, which works
// even as root, where a read-only folder would not stop the write.
TEST_F(MemoryFile, FailedSaveKeepsTheOldFileAndTheUnsavedMark) {
    struct Case {
        const char* name;
        std::function<fs::path()> target;
        bool fullDisk;
        const char* old; // the file's content before, when there is one
    };
    const Case cases[] = {
        {"MissingFolder", [&] { return folder / "no-such-folder" / "mine.sqs"; }, false, nullptr},
        {"FolderInItsPlace",
         [&] {
             fs::create_directories(folder / "taken.sqs");
             return folder / "taken.sqs";
         },
         false, nullptr},
        {"DiskFull", [&] { return sqs(); }, true, "old"},
    };
    auto& k = console();
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const fs::path target = c.target();
        if (c.old) spit(target, c.old);
        k.state.memories.MEMORIE_NON_SALVATE = true;
        k.state.registration.PED[4] = 13;
        user.shown.clear();
        rlimit before{};
        getrlimit(RLIMIT_FSIZE, &before);
        auto* oldHandler = std::signal(SIGXFSZ, SIG_IGN);
        if (c.fullDisk) {
            rlimit full = before;
            full.rlim_cur = 8;
            setrlimit(RLIMIT_FSIZE, &full);
        }
        save(target);
        setrlimit(RLIMIT_FSIZE, &before);
        std::signal(SIGXFSZ, oldHandler);

        ASSERT_EQ(user.shown.size(), 1u);
        EXPECT_EQ(user.shown[0].text.rfind("The memories were not saved.", 0), 0u)
            << user.shown[0].text;
        EXPECT_EQ(user.shown[0].icon, Icon::Critical);
        EXPECT_EQ(user.shown[0].buttons, Buttons::Ok);
        EXPECT_TRUE(k.state.memories.MEMORIE_NON_SALVATE);
        EXPECT_EQ(k.state.registration.PED[4], 13);
        if (c.old) {
            EXPECT_EQ(slurp(target), c.old);
        }
        for (const auto& entry : fs::directory_iterator(folder))
            EXPECT_EQ(entry.path().filename().string().find(".tmp"), std::string::npos)
                << entry.path();
    }
    // Cancelled: nothing written, nothing changed.
    user.shown.clear();
    user.files.emplace_back(std::nullopt);
    k.savefile_Click();
    EXPECT_TRUE(user.shown.empty());
    EXPECT_TRUE(k.state.memories.MEMORIE_NON_SALVATE);
    EXPECT_FALSE(fs::exists(folder / "no-such-folder"));
}

TEST_F(MemoryFile, UpperCaseExtensionIsAccepted) {
    auto& k = console();
    k.state.registration.MU_GO[9] = 17;
    k.state.memories.MEMORIE_NON_SALVATE = true;
    save(sqs("BACH.SQS"));
    EXPECT_TRUE(user.shown.empty());
    EXPECT_FALSE(k.state.memories.MEMORIE_NON_SALVATE);
    EXPECT_TRUE(fs::exists(sqs("BACH.SQS")));
    k.state.registration.MU_GO[9] = 0;
    load(sqs("BACH.SQS"));
    EXPECT_TRUE(user.shown.empty());
    EXPECT_EQ(k.state.registration.MU_GO[9], 17);
}

// A saved file is replaced whole, with no trace of the longer file it replaces.
TEST_F(MemoryFile, SaveReplacesTheOldFile) {
    spit(sqs(), std::string(5000, 'x'));
    save(sqs());
    EXPECT_EQ(lines(slurp(sqs())).size(), 344u);
    EXPECT_EQ(slurp(sqs()).find('x'), std::string::npos);
}

TEST_F(MemoryFile, MenuItemsAreEnabledAndRunTheirCommands) {
    auto& k = console();
    EXPECT_TRUE(k.controls.get("LoadFile").enabled);
    EXPECT_TRUE(k.controls.get("savefile").enabled);
    // The window runs "<item>_Click": the names match without regard to case.
    user.files.emplace_back(sqs().string());
    EXPECT_EQ(k.procedures.call("savefile_Click", {}), std::nullopt);
    EXPECT_TRUE(fs::exists(sqs()));
    k.state.memories.MEMORIE_NON_SALVATE = true;
    EXPECT_EQ(k.procedures.call("LoadFile_Click", {}), std::nullopt);
    EXPECT_EQ(messageTexts(), std::vector<std::string>{kUnsavedQuestion});
}

TEST(MemoryFileDialogs, TitlesAndTheOneExtension) {
    struct Recorder : ScriptedUser {
        std::vector<std::pair<std::string, FileDialog>> seen;
        std::optional<std::string> openFile(const FileDialog& d) override {
            seen.emplace_back("open", d);
            return std::nullopt;
        }
        std::optional<std::string> saveFile(const FileDialog& d) override {
            seen.emplace_back("save", d);
            return std::nullopt;
        }
    } user;
    ManualEventLoop loop;
    FakeMidiInput in1, in2;
    FakeMidiOutput out;
    Kavel k(Ports{in1, in2, out}, loop, user, ".");
    k.savefile_Click();
    k.Loadfile_Click();
    ASSERT_EQ(user.seen.size(), 2u);
    EXPECT_EQ(user.seen[0].first, "save");
    EXPECT_EQ(user.seen[0].second.title, "Save memories in file");
    EXPECT_EQ(user.seen[0].second.defaultExtension, ".sqs");
    EXPECT_EQ(user.seen[1].first, "open");
    EXPECT_EQ(user.seen[1].second.title, "Load memories from file");
    for (const auto& [kind, dialog] : user.seen)
        EXPECT_EQ(dialog.filter, "(*.sqs)|*.sqs|") << kind;
    EXPECT_TRUE(user.shown.empty());
}

} // namespace
} // namespace kavel::test
