#include "RegistrationFixture.h"

#include <csignal>
#include <fstream>
#include <iterator>
#include <sys/resource.h>

namespace kavel::test {
namespace {

namespace fs = std::filesystem;

constexpr auto kInvalid = "Invalid SQS file. File corrupted or from Kavel Older Version";
constexpr auto kUnsaved = "Free memories unsaved: loading will erase them. Continue anyway ?";

using R = RegistrationTable;
constexpr SlotArray R::*kPlain[] = { // the first 21 fields of a memory in the file's order
    &R::FO_GO,        &R::FO_SW,        &R::MU_GO,        &R::MU_SW,        &R::AN_GO,
    &R::AN_SW,        &R::PED,          &R::TREMOLO_GO,   &R::TREMOLO_SW,   &R::EXPR_GO,
    &R::EXPR_SW,      &R::EXPR_PE,      &R::BIL_FONDI_GO, &R::BIL_MUTAZ_GO, &R::BIL_ANCIE_GO,
    &R::BIL_FONDI_SW, &R::BIL_MUTAZ_SW, &R::BIL_ANCIE_SW, &R::UNIONE_PED,   &R::UNIONE_MAN,
    &R::CORPO_ORGANO};

class MemoryFile : public RegistrationFixture {
  protected:
    MemoryFile() {
        auto& m = console().state.memories;
        std::tie(m.PIC_GREEN_ON, m.PIC_GREEN_OFF, m.PIC_RED_ON, m.PIC_RED_OFF, m.PIC_YELLOW_ON) =
            std::tuple("green-on.gif", "green-off.gif", "red-on.gif", "red-off.gif", "yellow.gif");
    }
    static int lineOf(int m, int f) { return 7 + (m - 1) * 28 + f; } // memory m's field f
    // For every field a value no correction touches, most unlike its neighbours.
    static int inRange(int m, int f) {
        if (m == 5 && f == 3) return -4; // negative stop rows are taken as read
        if (f <= 9) return (m * 5 + f) % (f <= 2 ? 30 : f <= 7 ? 20 : 3); // stops, tremolos
        if (f <= 12) return 60 + (m * 5 + f) % 68;                        // expressions
        if (f <= 18) return (m * 10 + f) % 128;                           // balances
        if (f <= 20) return (m + f) % 3;                                  // couplers
        if (f == 21) return 1 + m % 3;                                    // organ body
        // Cancellers and sub-octave on or off, each field with its own pattern over the twelve
        // memories: two of them swapped cannot read back alike.
        return (m * 7 % 128 >> (f - 22)) & 1;
    }
    // A good file's values by line: the table's name (0 here), temperament 3, tremolo rate 77,
    // tremolo type 1, reverb 4, label mode 2, the indicator flag, 12 x 28 memories, note 9.
    static std::vector<int> good(std::size_t lines = 344) {
        std::vector<int> v = {0, 3, 77, 1, 4, 2, 0};
        for (int m = 1; m <= 12; ++m)
            for (int f = 1; f <= 28; ++f)
                v.push_back(inRange(m, f));
        v.push_back(9);
        v.resize(lines);
        return v;
    }
    static std::string num(int v) { return (v >= 0 ? " " : "") + std::to_string(v) + " "; }
    // The values as a file writes them, a number with a blank before it when not negative and
    // one after, each line ended by CR LF: line 1 the table's name; `line` written `as` given.
    static std::string text(const std::vector<int>& v, int line = 0, const std::string& as = "") {
        std::string s;
        for (std::size_t i = 0; i < v.size(); ++i)
            s += (int(i) + 1 == line ? as : i ? num(v[i]) : "kavel.DAT") + "\r\n";
        return s;
    }
    fs::path sqs(const char* name = "mine.sqs") const { return folder / name; }
    void spit(const char* n, const std::string& s) { std::ofstream(sqs(n), std::ios::binary) << s; }
    std::string slurp(const char* name) {
        std::ifstream in(sqs(name), std::ios::binary);
        return {std::istreambuf_iterator<char>(in), {}};
    }
    // As the menu items run them: the window calls "<item>_Click", whatever the case.
    void save(const fs::path& p) {
        user.files.emplace_back(p.string());
        EXPECT_EQ(console().procedures.call("savefile_Click", {}), std::nullopt);
    }
    void load(const std::optional<std::string>& path) {
        user.files.push_back(path);
        EXPECT_EQ(console().procedures.call("LoadFile_Click", {}), std::nullopt);
    }
    // What the console holds for a line of the file; null for the lines loading ignores.
    int* valueAt(int line) {
        auto& a = console().state.advanced;
        auto& r = console().state.registration;
        if (line == 1 || line == 7) return nullptr;
        if (line == 344) return &a.NOTA_INIZIO_TEMP;
        if (line <= 6)
            return std::array{&a.TEMPERAMENTO, &a.VELOCITA_TREMOLO, &a.TIPO_TREMOLO, &a.RIVERBERO,
                              &console().state.memories.MODO_ETICHETTE}[std::size_t(line - 2)];
        const int f = (line - 8) % 28 + 1;
        const auto m = std::size_t((line - 8) / 28 + 1);
        if (f <= 21) return &(r.*kPlain[f - 1])[m];
        if (f <= 27) return &(f <= 24 ? r.ANNULL_GO : r.ANNULL_SW)[std::size_t(f - 22) % 3][m];
        return &r.SUBOTTAVA_PED[m];
    }
    void setValues(const std::vector<int>& v) {
        for (int line = 1; line <= 344; ++line)
            if (int* at = valueAt(line)) *at = v[std::size_t(line - 1)];
    }
    // The first line whose value the console does not hold as wanted, or nothing.
    std::string wrong(const std::vector<int>& want) {
        for (int line = 1; line <= 344; ++line)
            if (int* at = valueAt(line); at && *at != want[std::size_t(line - 1)])
                return "line " + std::to_string(line) + " holds " + std::to_string(*at);
        return "";
    }
    // Sets and returns settings unlike the file's and every free memory -7; lit: free memory 3
    // current and fixed memory 4's ladder on, in the indicator mode in force.
    std::vector<int> oldState(bool lit = false) {
        std::vector<int> v(344, -7);
        std::tie(v[1], v[2], v[3], v[4], v[5], v[343]) = std::tuple(5, 100, 0, 6, 0, 2);
        setValues(v);
        auto& k = console();
        if (lit) k.memories.c_memory_Click(3);
        for (int i = 1; lit && i <= 4; ++i)
            if (k.state.memories.LED_MEMORIE)
                k.controls.edit("LedFix", i).picture = "red-on.gif";
            else
                k.controls.edit("Graduatore", i).backColour = Colour::system(9);
        return v;
    }
    // The free (F) and fixed (X) memory indicators not dark, in the mode in force.
    std::string lit() {
        const auto& k = console();
        const bool leds = k.state.memories.LED_MEMORIE;
        std::string s;
        for (int i = 1; i <= 12; ++i)
            for (const bool free : {true, false}) {
                const auto& c = k.controls.get(
                    leds ? (free ? "LedFree" : "LedFix") : (free ? "C_memory" : "Graduatore"), i);
                if (leds ? c.picture.find("-off") == std::string::npos
                         : c.backColour != Colour::system(10))
                    s += (free ? "F" : "X") + std::to_string(i) + " ";
            }
        return s;
    }
};

// Saved: the file as written out here (a table name it could not keep whole left out). Loaded
// over other values: the same values, the Advanced lists set, the reset, free memory 1 recalled.
TEST_F(MemoryFile, SavedAndLoadedBackGivesTheSameAndRecallsFreeMemory1) {
    auto& k = console();
    auto& m = k.state.memories;
    EXPECT_TRUE(k.controls.get("LoadFile").enabled && k.controls.get("savefile").enabled);
    const std::tuple<const char*, const char*, bool, bool, const char*> cases[] = {
        {"C:\\organ\\tables\\base.dat", "base.dat", false, true, "mine.sqs"},
        {"/organs/my, own organ.dat", "\"my, own organ.dat\"", true, false, "BACH.SQS"},
        {"/organs/with \"quote\", comma.dat", "", false, false, "mine.sqs"},
        {"/organs/line\r\nend.dat", "", true, true, "mine.sqs"},
        {"bare.DAT", "bare.DAT", false, false, "mine.sqs"}};
    for (const auto& [table, name, savedLeds, loadedLeds, file] : cases) {
        SCOPED_TRACE(table);
        auto want = good();
        setValues(want);
        want[6] = savedLeds;
        k.state.config.PATH_DAT = table;
        std::tie(m.LED_MEMORIE, m.MEMORIE_NON_SALVATE) = std::tuple(savedLeds, true);
        spit(file, std::string(5000, 'x')); // replaced whole
        save(sqs(file));
        EXPECT_EQ(std::tuple(user.shown.size(), m.MEMORIE_NON_SALVATE), std::tuple(0u, false));
        EXPECT_EQ(slurp(file), text(want, 1, name));
        std::tie(m.LED_MEMORIE, m.MEMORIE_NON_SALVATE) = std::tuple(loadedLeds, true);
        oldState(true);
        k.registration.Tir_FO_GO_Click(7);
        k.memories.Rec_button_Click(); // armed: only the reset before the recall disarms it
        user.answers.push_back(Answer::Yes);
        clearLog();
        load(sqs(file).string());
        ASSERT_EQ(messageTexts(), std::vector<std::string>{kUnsaved});
        const auto& box = user.shown[0];
        EXPECT_EQ(std::tuple(box.title, box.buttons, box.icon, defaultAnswer(box)),
                  std::tuple("Warning", Buttons::YesNo, Icon::Exclamation, Answer::No));
        user.shown.clear();
        EXPECT_EQ(wrong(want), "");
        const auto& w = k.controls;
        EXPECT_EQ(std::tuple(w.get("Temperamenti").listIndex, w.get("NotaInizTemp").listIndex,
                             w.get("Riverberi").listIndex, w.get("TremoloType").listIndex,
                             w.get("SliderTremoloRate").value, w.get("DisplayLeds").value),
                  std::tuple(3, 9, 4, 1, 77, loadedLeds ? 1 : 0));
        // Temperament 3 from note 9 twice (the temperament, then its start note), reverb 4
        // (entry 26), the Fort tremolo (entries 37 and 38); then the reset's global strings.
        std::vector<std::string> sent;
        for (int part = 0; part < 64; ++part)
            sent.push_back("T" + std::to_string(part % 32 + 1));
        sent.insert(sent.end(), {"E26", "E37", "E38", "E0", "wait 100", "E1", "wait 2", "E2",
                                 "wait 2", "E3", "E26"});
        EXPECT_EQ(std::vector(log.begin(), log.begin() + std::min(log.size(), sent.size())), sent);
        // After the reset's Great Fondi row 0 (entry 40), memory 1's row 6 (entry 46).
        EXPECT_LT(std::find(log.rbegin(), log.rend(), "E46"),
                  std::find(log.rbegin(), log.rend(), "E40"));
        EXPECT_EQ(w.get("Tir_FO_GO_graph", 7).picture, k.state.panel.PIC_TIRANTE_OFF_GO);
        EXPECT_EQ(w.get("Tir_FO_GO_graph", 6).picture, k.state.panel.PIC_TIRANTE_ON_GO);
        EXPECT_EQ(std::tuple(k.state.registration.FO_GO[SLOT_LIVE], m.ULTIMA_MEMORIA,
                             m.MEMORIA_INTATTA, m.REC_MEMORIA, m.MEMORIE_NON_SALVATE,
                             m.LED_MEMORIE),
                  std::tuple(6, 1, true, false, true, loadedLeds));
        EXPECT_EQ(lit(), "F1 ");
    }
    EXPECT_EQ(out.refusedMessages(), 0u);
}

// One value changed in a good file: a memory value out of range is corrected, a setting its
// control cannot show (the organ has 7 temperaments, 8 reverbs) keeps the one in force.
TEST_F(MemoryFile, OutOfRangeValuesAreCorrectedOrKept) {
    // Memory (0: f is the line of a setting), field, value in the file, value loaded.
    const int cases[][4] = {
        {1, 1, 35, 29},    {2, 1, 30, 29},     {3, 2, 29, 29},    {4, 1, -3, -3},
        {5, 3, 20, 19},    {6, 4, 19, 19},     {7, 5, 25, 19},    {8, 6, 20, 19},
        {9, 7, 40, 19},    {10, 7, -1, -1},    {11, 8, 2, 2},     {12, 8, 3, 0},
        {1, 9, 3, 0},      {2, 9, -1, -1},     {3, 10, 30, 127},  {4, 11, 59, 127},
        {5, 12, 60, 60},   {6, 10, 128, 127},  {7, 11, 127, 127}, {8, 13, 0, 0},
        {9, 14, -1, 127},  {10, 15, 128, 127}, {11, 16, 5, 5},    {12, 17, 200, 127},
        {1, 18, 127, 127}, {2, 19, 3, 0},      {3, 19, 2, 2},     {4, 20, 7, 7},
        {5, 21, 9, 9},     {6, 22, 5, 5},      {7, 24, -2, -2},   {8, 26, 3, 3},
        {9, 28, 4, 4},     {0, 2, 6, 6},       {0, 2, 7, 5},      {0, 2, -1, 5},
        {0, 2, 0, 0},      {0, 3, 127, 127},   {0, 3, 128, 100},  {0, 3, 0, 0},
        {0, 3, -1, 100},   {0, 4, 1, 1},       {0, 4, 2, 0},      {0, 4, -1, 0},
        {0, 5, 7, 7},      {0, 5, 8, 6},       {0, 5, 0, 0},      {0, 5, 32767, 6},
        {0, 6, 2, 2},      {0, 6, 3, 1},       {0, 6, 0, 0},      {0, 6, -1, 1},
        {0, 344, 11, 11},  {0, 344, 12, 2},    {0, 344, 0, 0},    {0, 344, -1, 2}};
    for (const auto& [m, f, inFile, loaded] : cases) {
        const int line = m ? lineOf(m, f) : f;
        SCOPED_TRACE("line " + std::to_string(line) + " = " + std::to_string(inFile));
        oldState();
        console().state.memories.MODO_ETICHETTE = 1; // so that taking 0 or 2 shows
        spit("mine.sqs", text(good(), line, num(inFile)));
        load(sqs().string());
        ASSERT_TRUE(user.shown.empty()) << user.shown[0].text;
        auto want = good();
        want[std::size_t(line - 1)] = loaded;
        EXPECT_EQ(wrong(want), "");
    }
    EXPECT_EQ(out.refusedMessages(), 0u);
}

// A failed load keeps the values read before the failure and leaves every indicator dark; a
// cancelled one changes nothing, not even the indicators. Neither resets, recalls or sends.
TEST_F(MemoryFile, FailedOrCancelledLoad) {
    fs::create_directories(sqs("folder.sqs"));
    spit("mine.sqs", text(good()));
    const struct {
        int taken;                    // values read before the failure; -1: cancelled
        std::string bytes;            // of bad.sqs
        const char* file = "bad.sqs"; // null: the dialog cancelled
        bool unsaved = false;
        std::optional<Answer> answer = {}; // to the unsaved-memories question; none: its default
        const char* shown = kInvalid;
    } cases[] = {{343, text(good(343))},
                 {lineOf(4, 9) - 1, text(good(), lineOf(4, 9), "on")},
                 {lineOf(12, 28) - 1, text(good(), lineOf(12, 28), " 0.5 ")},
                 {2, text(good(), 3, "fast")},
                 {6, text(good(), 7, "yes")},
                 {0, ""},
                 {0, text(good()) + std::string(1 << 20, ' ')}, // too large to be one
                 {0, "", "none.sqs"},
                 {0, "", "folder.sqs"},
                 {-1, "", "mine.sqs", true, Answer::No, kUnsaved},
                 {-1, "", "mine.sqs", true, std::nullopt, kUnsaved},
                 {-1, "", nullptr, true, Answer::Yes, kUnsaved},
                 {-1, "", nullptr, false, std::nullopt, nullptr},
                 {-1, "", "mine.sq", false, std::nullopt, "Unauthorized file"},
                 {-1, "", "mine.bak", false, std::nullopt, "Unauthorized file"}};
    auto& m = console().state.memories;
    for (const auto& [taken, bytes, file, unsaved, answer, shown] : cases)
        for (const bool leds : {false, true}) {
            SCOPED_TRACE(::testing::Message() << (file ? file : "-") << " " << taken << leds);
            if (file && file == std::string_view("bad.sqs")) spit(file, bytes);
            std::tie(m.LED_MEMORIE, m.MEMORIE_NON_SALVATE) = std::tuple(leds, unsaved);
            auto want = oldState(true);
            std::copy_n(good().begin(), std::max(taken, 0), want.begin());
            clearLog();
            user.shown.clear();
            user.files.clear();
            if (answer) user.answers.push_back(*answer);
            load(file ? std::optional(sqs(file).string()) : std::nullopt);
            ASSERT_EQ(messageTexts(),
                      shown ? std::vector<std::string>{shown} : std::vector<std::string>{});
            EXPECT_TRUE(taken < 0 || (user.shown[0].buttons == Buttons::Ok &&
                                      user.shown[0].icon == Icon::Critical));
            // Not answered Yes, the dialog is not shown at all: its answer is still waiting.
            EXPECT_EQ(user.files.size(), unsaved && answer != Answer::Yes ? 1u : 0u);
            EXPECT_TRUE(log.empty()) << log.front();
            EXPECT_EQ(wrong(want), "");
            EXPECT_EQ(lit(), taken < 0 ? "X1 X2 F3 X3 X4 " : "");
            EXPECT_EQ(std::tuple(m.ULTIMA_MEMORIA, m.LED_MEMORIE, m.MEMORIE_NON_SALVATE),
                      std::tuple(3, leds, unsaved));
            // After a failure memory 3 holds what the file gave it, not what the console
            // shows: a stop drawn then lights no indicator.
            if (taken < 0) continue;
            console().registration.Tir_FO_GO_Click(2);
            EXPECT_EQ(lit(), "");
        }
}

// A failed save says so, keeps the old file whole and the memories unsaved. The file-size
// limit stands in for a full disk: a read-only folder would not stop root.
TEST_F(MemoryFile, FailedSaveKeepsTheOldFileAndTheUnsavedMark) {
    auto& m = console().state.memories;
    fs::create_directories(sqs("taken.sqs"));
    spit("mine.sqs", "old");
    for (const bool fullDisk : {false, true}) {
        const auto target = sqs(fullDisk ? "mine.sqs" : "taken.sqs");
        SCOPED_TRACE(target);
        m.MEMORIE_NON_SALVATE = true;
        user.shown.clear();
        rlimit before{};
        getrlimit(RLIMIT_FSIZE, &before);
        const rlimit during{fullDisk ? 8 : before.rlim_cur, before.rlim_max};
        auto* oldHandler = std::signal(SIGXFSZ, SIG_IGN);
        setrlimit(RLIMIT_FSIZE, &during);
        save(target);
        setrlimit(RLIMIT_FSIZE, &before);
        std::signal(SIGXFSZ, oldHandler);
        ASSERT_EQ(user.shown.size(), 1u);
        const auto& box = user.shown[0];
        EXPECT_EQ(
            std::tuple(box.text.rfind("The memories were not saved.", 0), box.icon, box.buttons),
            std::tuple(0u, Icon::Critical, Buttons::Ok));
        EXPECT_EQ(std::tuple(m.MEMORIE_NON_SALVATE, slurp("mine.sqs")), std::tuple(true, "old"));
        for (const auto& entry : fs::directory_iterator(folder))
            EXPECT_EQ(entry.path().string().find(".tmp"), std::string::npos) << entry.path();
    }
    console().memoryFile.savefile_Click(); // cancelled: nothing written, nothing changed
    EXPECT_EQ(std::tuple(user.shown.size(), m.MEMORIE_NON_SALVATE, slurp("mine.sqs")),
              std::tuple(1u, true, "old"));
}

} // namespace
} // namespace kavel::test
