#include "ConsoleFixture.h"

#include "stops_table/DatFile.h"
#include "stops_table/StopsTableEditor.h"
#include "stops_table/SysExImport.h"

#include <algorithm>
#include <fstream>

namespace kavel::test {
namespace {

namespace fs = std::filesystem;

std::string hex(std::initializer_list<int> list) {
    std::string s;
    for (int v : list)
        s.push_back(static_cast<char>(v));
    return s;
}

std::string zeros(int n) {
    return std::string(static_cast<std::size_t>(n), '\0');
}

// Two DT1 messages in the 0x48 block and their Swell copies in 0x58, checksums worked by hand.
const std::string kGreatA =
    hex({0xF0, 0x41, 0x10, 0x42, 0x12, 0x48, 0x10, 0x00, 0x01, 0x02, 0x25, 0xF7});
const std::string kSwellA =
    hex({0xF0, 0x41, 0x10, 0x42, 0x12, 0x58, 0x10, 0x00, 0x01, 0x02, 0x15, 0xF7});
const std::string kGreatB = hex({0xF0, 0x41, 0x10, 0x42, 0x12, 0x48, 0x00, 0x7F, 0x05, 0x34, 0xF7});
const std::string kSwellB = hex({0xF0, 0x41, 0x10, 0x42, 0x12, 0x58, 0x00, 0x7F, 0x05, 0x24, 0xF7});
const std::string kGsReset =
    hex({0xF0, 0x41, 0x10, 0x42, 0x12, 0x40, 0x00, 0x7F, 0x00, 0x41, 0xF7});
const std::string kXgOn = hex({0xF0, 0x43, 0x10, 0x4C, 0x00, 0x00, 0x7E, 0x00, 0xF7}); // 9 bytes

TEST(SwellCopy, DerivedFromTheGreat) {
    const std::string head = hex({0xF0, 0x41, 0x10, 0x42, 0x12});
    struct Case {
        const char* name;
        std::string great;
        std::string swell;
    } cases[] = {
        {"two messages re-addressed and signed", kGreatA + kGreatB, kSwellA + kSwellB},
        {"outside the 0x48 block only re-signed: a right checksum stays", kGsReset + kGsReset,
         kGsReset + kGsReset},
        {"a wrong checksum is put right",
         hex({0xF0, 0x41, 0x10, 0x42, 0x12, 0x40, 0x11, 0x15, 0x03, 0x00, 0xF7}),
         hex({0xF0, 0x41, 0x10, 0x42, 0x12, 0x40, 0x11, 0x15, 0x03, 0x17, 0xF7})},
        {"tenth data byte set below middle address 0x18",
         head + hex({0x48, 0x10, 0x00}) + zeros(10) + hex({0x28, 0xF7}),
         head + hex({0x58, 0x10, 0x00}) + zeros(9) + hex({0x01, 0x17, 0xF7})},
        {"tenth data byte kept from middle address 0x18",
         head + hex({0x48, 0x18, 0x00}) + zeros(10) + hex({0x20, 0xF7}),
         head + hex({0x58, 0x18, 0x00}) + zeros(10) + hex({0x10, 0xF7})},
        {"under 10 bytes gives nothing", kXgOn, ""},
        {"empty gives nothing", "", ""},
        {"another maker's message goes across unchanged", kXgOn + kGreatA, kXgOn + kSwellA},
        {"a last message without F7 ends the copy", kGreatA + head + hex({0x48, 0x00}), kSwellA},
        {"no F7 at all gives nothing", head + hex({0x48, 0x00, 0x00, 0x01, 0x02}), ""},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(deriveSwellCopy(c.great), c.swell);
    }
}

TEST(SwellCopy, FileNamesLoseFolderAndExtension) {
    const std::pair<const char*, const char*> cases[] = {
        {"C:\\organ\\syx\\Bourdon 8.syx", "Bourdon 8"},
        {"/home/organist/syx/Bourdon 8.syx", "Bourdon 8"},
        {"Flute.SYX", "Flute"},
        {"/syx/a.b", "a.b"}, // shorter than an extension: kept whole
        {"/syx/.syx", ""},
        {"C:\\syx\\", ""},
        // The names in the table are Windows-1252: a file system's UTF-8 name is converted,
        // and a character the code page has not becomes a question mark.
        {"/syx/Fl\u00fbte 8.syx", "Fl\xFBte 8"},
        {"/syx/Voix c\u00e9leste \u2013 8.syx", "Voix c\xE9leste \x96 8"},
        {"/syx/\u0150rgel \u266a \U0001F3B9.syx", "?rgel ? ?"},
        {"/syx/Fl\xFBte.syx", "Fl?te"},     // not UTF-8: a byte on its own
        {"/syx/Bass\xC3.syx", "Bass?"},     // cut short
        {"/syx/Tab\tname.syx", "Tab?name"}, // no control characters on a label
    };
    for (const auto& [path, name] : cases)
        EXPECT_EQ(syxFileName(path), name) << path;
}

class Editor : public ConsoleFixture {
  protected:
    Editor() {
        auto& k = console();
        k.state.config.PATH_DAT = (folder / "kavel.DAT").string();
        k.tableFile.CARICAMENTO_DAT();
        k.state.stops.CARICA_NOME_SYX = true; // as start-up sets it
        k.editor.LoadEditor_Click();
        user.shown.clear();
    }
    StopsTableEditor& ed() { return core->editor; }
    StopsTableEntries& table() { return core->state.stops.STOPS_TABLE; }
    const ControlState& control(const char* name, int index = -1) {
        return core->controls.get(name, index);
    }
    std::string file(const std::string& name, const std::string& bytes) {
        const auto path = (folder / name).string();
        std::ofstream(path, std::ios::binary) << bytes;
        return path;
    }
    void type(const char* field, int index, const std::string& text) {
        core->controls.edit(field, index).caption = text;
        core->procedures.call(std::string(field) + "_Change", {std::to_string(index)});
    }
};

const Colour kWhite = Colour::rgb(255, 255, 255);
const Colour kGrey = Colour::rgb(192, 192, 192);
const Colour kYellow = Colour::rgb(255, 255, 0);

TEST_F(Editor, OpensOnTheConsoleTableWithNothingToSave) {
    EXPECT_EQ(user.windowsShown, std::vector<std::string>{"compilatore"});
    EXPECT_EQ(control("compilatore").caption, "Editor Kavel");
    EXPECT_EQ(control("File_label").caption, (folder / "kavel.DAT").string());
    EXPECT_EQ(control("TextFondi", 0).caption, table()[200]);
    EXPECT_EQ(control("Text_NomiCorpi", 0).caption, "Principali e Flauti");
    EXPECT_EQ(control("TextGlobal", 45).caption, "GO RESTORE Mutaz");
    EXPECT_EQ(control("CommandName").caption, "Loading Syx File Name ENABLED");
    EXPECT_EQ(control("LabelSize").caption, "100 %");
    EXPECT_FALSE(ed().modified() || ed().notEnabled());
    // The shipped organ marks Fondi row 1 reinforceable, row 4 not.
    EXPECT_EQ(control("Rinforzabile", 1).value, 1);
    EXPECT_EQ(control("Rinforzabile", 4).value, 0);
    // A second opening only raises it: what is in it stays.
    type("TextMutaz", 3, "Cornetto");
    core->procedures.call("LoadEditor_Click", {});
    EXPECT_EQ(control("TextMutaz", 3).caption, "Cornetto");
    // The pages: one tab's fields shown at a time.
    core->controls.edit("SSTab1").value = 3;
    ed().SSTab1_Click();
    EXPECT_TRUE(control("TextGlobal", 0).visible);
    EXPECT_FALSE(control("TextFondi", 0).visible);
}

TEST_F(Editor, FieldsAreGreyWhenTheirEntryIsFullForTheirPage) {
    table()[40] = std::string(20, 'x'); // Fondi 0: white up to 25
    table()[41] = std::string(26, 'x');
    table()[100] = std::string(20, 'x'); // Mutazioni 0: grey above 5
    table()[101] = std::string(5, 'x');
    table()[180] = std::string(6, 'x');
    table()[415] = std::string(6, 'x');
    table()[3] = "";
    core->controls.edit("TextFondi", 0).backColour = kYellow;
    ed().REFRESH_GRAFICA_FONDI();
    ed().REFRESH_GRAFICA_MUTAZIONI_RIPIENI();
    ed().REFRESH_GRAFICA_ANCIE_PEDALE();
    ed().REFRESH_GRAFICA_GLOBAL();
    const std::tuple<const char*, int, Colour> cases[] = {
        {"TextFondi", 0, kWhite},  {"TextFondi", 1, kGrey},  {"TextMutaz", 0, kGrey},
        {"TextMutaz", 1, kWhite},  {"TextPedale", 0, kGrey}, {"TextGlobal", 45, kGrey},
        {"TextGlobal", 3, kWhite},
    };
    for (const auto& [name, index, colour] : cases)
        EXPECT_EQ(control(name, index).backColour, colour) << name << " " << index;
    // Redrawing is no click on a box, even for a window that takes a box set from code for a
    // click on it: the flags come from the table and are not written back.
    core->state.stops.RINFORZABILE_FO[2] = "yes";
    table()[362] = "1";
    core->controls.edit("Rinforzabile", 2).value = 0;
    core->controls.drainChanged();
    core->controls.setChangedHook([this] {
        for (const auto& key : core->controls.drainChanged())
            if (key.name == "Rinforzabile") ed().Rinforzabile_Click(key.index);
    });
    ed().REFRESH_GRAFICA_FONDI();
    core->controls.setChangedHook({});
    EXPECT_EQ(core->state.stops.RINFORZABILE_FO[2], "1");
    EXPECT_EQ(control("Rinforzabile", 2).value, 1);
    EXPECT_FALSE(ed().modified());
}

TEST_F(Editor, AClickShowsTheFieldsSysExEntry) {
    table()[415] = std::string(7, 'x');
    const std::tuple<const char*, int, int> cases[] = {
        {"TextFondi", 3, 43},   {"TextMutaz", 2, 102},  {"TextAncie", 19, 159},
        {"TextPedale", 0, 180}, {"TextGlobal", 39, 39}, {"TextGlobal", 45, 415},
    };
    for (const auto& [name, index, entry] : cases) {
        core->procedures.call(std::string(name) + "_Click", {std::to_string(index)});
        EXPECT_EQ(control("Syx_index").caption, std::to_string(entry)) << name << index;
        EXPECT_EQ(control("Syx_lenght").caption,
                  std::to_string(table()[static_cast<std::size_t>(entry)].size()) + " Bytes");
    }
}

TEST_F(Editor, DoubleClickLoadsASyxFileIntoItsEntries) {
    struct Case {
        const char* field;
        int index;
        std::string bytes;
        int entry;
        int swellEntry; // -1: no other entry may change
        std::string swell;
        Colour colour;
        std::string name; // the field's text after
    } cases[] = {
        {"TextFondi", 3, kGreatA + kGreatB, 43, 73, kSwellA + kSwellB, kYellow, "Bourdon 8"},
        {"TextFondi", 4, "", 44, 74, "", kWhite, "Bourdon 8"},
        {"TextMutaz", 2, kXgOn, 102, 122, "", kYellow, "Bourdon 8"},
        {"TextAncie", 0, kGreatA, 140, 160, kSwellA, kYellow, "Bourdon 8"},
        {"TextPedale", 1, kGreatA, 181, -1, "", kYellow, "Bourdon 8"},
        {"TextGlobal", 12, kGsReset, 12, -1, "", kYellow, "Bourdon 8"},
        {"TextGlobal", 45, kGsReset, 415, -1, "", kYellow, "GO RESTORE Mutaz"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string(c.field) + " " + std::to_string(c.index));
        const auto before = table();
        fs::create_directories(folder / "syx");
        user.files.push_back(file("syx/Bourdon 8.syx", c.bytes));
        core->procedures.call(std::string(c.field) + "_DblClick", {std::to_string(c.index)});
        auto expected = before;
        expected[static_cast<std::size_t>(c.entry)] = c.bytes;
        if (c.swellEntry >= 0) expected[static_cast<std::size_t>(c.swellEntry)] = c.swell;
        EXPECT_EQ(table(), expected);
        EXPECT_EQ(control(c.field, c.index).caption, c.name);
        EXPECT_EQ(control(c.field, c.index).backColour, c.colour);
        EXPECT_EQ(control("Syx_index").caption, std::to_string(c.entry));
        EXPECT_EQ(control("Syx_lenght").caption, std::to_string(c.bytes.size()) + " Bytes");
        EXPECT_EQ(control("File_label").caption, "Warning: configuration is modified and UNSAVED!");
        EXPECT_EQ(control("File_label").backColour, kYellow);
        EXPECT_TRUE(ed().modified());
        EXPECT_TRUE(user.shown.empty());
    }
    // With name loading off the field keeps its name.
    ed().CommandName_Click();
    EXPECT_EQ(control("CommandName").caption, "Loading Syx File Name DISABLED");
    user.files.push_back(file("Flute.syx", kGreatA));
    ed().TextMutaz_DblClick(5);
    EXPECT_EQ(control("TextMutaz", 5).caption, table()[235]);
}

TEST_F(Editor, ARefusedOrCancelledLoadLeavesTheEntryAsItWas) {
    const std::string bigger(kMaxDatEntry + 1, '\0');
    struct Case {
        const char* name;
        std::optional<std::string> path;
        const char* message; // in the box; nullptr: no box
    } cases[] = {
        {"cancelled", std::nullopt, nullptr},
        {"too long for an entry", file("big.syx", bigger), "65535"},
        {"a wrong Roland checksum", file("bad.syx", kGreatA.substr(0, 10) + "\x01\xF7"),
         "checksum"},
        {"not SysEx at all", file("text.syx", "Bourdon 8'\r\n"), "not SysEx the module can take"},
        {"the dialog refuses the extension", file("a.txt", kGreatA), "Unauthorized file"},
    };
    table()[43] = kGreatB;
    const auto before = table();
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        user.shown.clear();
        user.files.push_back(c.path);
        ed().TextFondi_DblClick(3);
        EXPECT_EQ(table(), before);
        EXPECT_FALSE(ed().modified());
        EXPECT_EQ(control("Syx_index").caption, "43");
        EXPECT_EQ(control("Syx_lenght").caption, std::to_string(kGreatB.size()) + " Bytes");
        EXPECT_EQ(control("File_label").backColour, kWhite);
        if (c.message == nullptr) {
            EXPECT_TRUE(user.shown.empty());
        } else {
            ASSERT_EQ(user.shown.size(), 1u);
            EXPECT_NE(user.shown[0].text.find(c.message), std::string::npos) << user.shown[0].text;
        }
    }
}

// Which question each command asks for the two flags, and that No changes nothing.
TEST_F(Editor, QuestionsFollowTheFlags) {
    struct Case {
        bool modified;
        bool notEnabled;
        const char* load;
        const char* exit;
    } cases[] = {
        {false, false, nullptr, nullptr},
        {true, false, " Warning! Stops Table is modified but Unsaved. Load new Table Anyway?",
         " Warning! Stops Table is Modified but Unsaved. Exit Anyway?"},
        {false, true, " Warning! Current Stops Table is Unloaded in kavel. Load new Table Anyway?",
         " Warning! Current Stops Table is Unloaded in kavel. Exit Anyway?"},
        {true, true,
         "Stops Table is modified but Unsaved and Unloaded in kavel. Load new Table anyway?",
         " Warning! Stops Table is modified but Unsaved and Unloaded in kavel. Exit Anyway?"},
    };
    const auto other = (folder / "other.dat").string();
    ASSERT_EQ(writeDat(other, StopsTableEntries{}), std::nullopt);
    for (const auto& c : cases) {
        SCOPED_TRACE(std::to_string(c.modified) + std::to_string(c.notEnabled));
        // Bring the flags about as an organ builder would.
        core->state.config.PATH_DAT = (folder / "kavel.DAT").string();
        ed().Form_Load();
        if (c.notEnabled) {
            user.files.push_back((folder / "kavel.DAT").string());
            ed().LoadDAT_Click();
        }
        if (c.modified) type("TextFondi", 0, "Bordone");
        ASSERT_EQ(ed().modified(), c.modified);
        ASSERT_EQ(ed().notEnabled(), c.notEnabled);
        const auto table0 = table();
        if (c.load == nullptr) {
            // Neither flag: exit closes at once, and load goes straight to the dialog.
            ed().Uscita_abort_Click();
            EXPECT_FALSE(ed().loaded());
            ed().Form_Load();
            user.files.push_back(other);
            ed().LoadDAT_Click();
            EXPECT_TRUE(user.shown.empty());
            EXPECT_EQ(table(), StopsTableEntries{});
            EXPECT_EQ(control("File_label").caption, "Stops table loaded from:" + other);
            EXPECT_EQ(control("File_label").backColour, kYellow);
            continue;
        }
        for (const bool exiting : {false, true}) {
            user.shown.clear();
            user.answers.push_back(Answer::No);
            user.files.push_back(other);
            exiting ? ed().Uscita_abort_Click() : ed().LoadDAT_Click();
            ASSERT_EQ(user.shown.size(), 1u);
            EXPECT_EQ(user.shown[0].text, exiting ? c.exit : c.load);
            EXPECT_EQ(user.shown[0].title, "Warning");
            EXPECT_EQ(user.shown[0].buttons, Buttons::YesNo);
            EXPECT_EQ(user.shown[0].icon, Icon::Exclamation);
            EXPECT_EQ(defaultAnswer(user.shown[0]), Answer::No);
            EXPECT_EQ(table(), table0);
            EXPECT_TRUE(ed().loaded());
            user.files.clear();
        }
        user.answers.clear();
    }
}

// A command cancelled, answered No or failing leaves table, flags, paths and label alone.
TEST_F(Editor, CommandsThatEndWithoutEffectChangeNothing) {
    const auto unreadable = (folder / "folder.dat").string();
    fs::create_directories(unreadable);
    const auto kavelDat = (folder / "kavel.DAT").string();
    struct Case {
        const char* name;
        void (StopsTableEditor::*command)();
        std::optional<std::string> file;
        int boxes; // the question (Yes, but No for enable) and any failure
    } cases[] = {
        {"save cancelled", &StopsTableEditor::SaveDAT_Click, std::nullopt, 0},
        {"save into a folder", &StopsTableEditor::SaveDAT_Click, unreadable, 1},
        {"load cancelled", &StopsTableEditor::LoadDAT_Click, std::nullopt, 1},
        {"load of a folder", &StopsTableEditor::LoadDAT_Click, unreadable, 2},
        {"enable answered No", &StopsTableEditor::Enable_Click, std::nullopt, 1},
    };
    type("TextFondi", 7, "Voce umana");
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const auto table0 = table();
        const auto label = control("File_label");
        user.shown.clear();
        user.files.push_back(c.file);
        user.answers.push_back(c.command == &StopsTableEditor::Enable_Click ? Answer::No
                                                                            : Answer::Yes);
        (ed().*c.command)();
        EXPECT_EQ(user.shown.size(), static_cast<std::size_t>(c.boxes));
        EXPECT_EQ(table(), table0);
        EXPECT_TRUE(ed().modified());
        EXPECT_FALSE(ed().notEnabled());
        EXPECT_EQ(control("File_label").caption, label.caption);
        EXPECT_EQ(core->state.stops.PATH_DAT_EDITOR, kavelDat);
        EXPECT_EQ(core->state.config.PATH_DAT, kavelDat);
        user.files.clear();
        user.answers.clear();
    }
    // Enable asks about overwriting the editor's file when the table is modified; a file it
    // cannot write leaves the console on its own table.
    core->state.stops.PATH_DAT_EDITOR = unreadable;
    user.answers.push_back(Answer::Yes);
    user.shown.clear();
    ed().Enable_Click();
    ASSERT_EQ(user.shown.size(), 2u);
    EXPECT_EQ(user.shown[0].text, "Warning : " + unreadable +
                                      " will be overwritten with current data : proceed anyway?");
    EXPECT_EQ(core->state.config.PATH_DAT, kavelDat);
    EXPECT_TRUE(ed().modified());
    // A path the configuration file cannot keep is refused before the console switches: the
    // next start would find no path there and fall back to the default organ.
    for (const auto& bad :
         {(folder / "Mine\nv2.DAT").string(), (folder / "\"Mine\", v2.DAT").string()}) {
        core->state.stops.PATH_DAT_EDITOR = bad;
        user.answers.push_back(Answer::Yes);
        user.shown.clear();
        ed().Enable_Click();
        ASSERT_EQ(user.shown.size(), 1u);
        EXPECT_NE(user.shown[0].text.find("was not enabled"), std::string::npos);
        EXPECT_EQ(core->state.config.PATH_DAT, kavelDat);
        EXPECT_FALSE(fs::exists(bad));
        EXPECT_FALSE(fs::exists(folder / "kavel.CFG"));
        EXPECT_TRUE(ed().modified());
        user.answers.clear();
    }
}

TEST_F(Editor, SavedNamesAndFlagsReadBackAndAFailedSaveKeepsEverything) {
    const std::string reserved("kept \x01\xFF", 7); // no field shows it: saved as it is
    table()[330] = reserved;
    type("TextMutaz", 2, "Cornetto V");
    type("Text_NomiCorpi", 3, "Pedal");
    core->controls.edit("Rinforzabile", 31).value = 1;
    ed().Rinforzabile_Click(31);
    EXPECT_TRUE(ed().modified());
    // A refused name or an unwritable place: nothing saved, nothing forgotten.
    for (const auto& path : {(folder / "table.txt").string(), (folder / "no" / "x.dat").string()}) {
        user.files.push_back(path);
        ed().SaveDAT_Click();
        EXPECT_TRUE(ed().modified()) << path;
        EXPECT_EQ(core->state.stops.PATH_DAT_EDITOR, (folder / "kavel.DAT").string());
        EXPECT_EQ(control("File_label").backColour, kWhite);
        EXPECT_FALSE(fs::exists(path));
    }
    EXPECT_EQ(user.shown.size(), 2u);
    const auto saved = (folder / "Mine.DAT").string();
    user.files.push_back(saved);
    ed().SaveDAT_Click();
    EXPECT_FALSE(ed().modified());
    EXPECT_FALSE(ed().notEnabled());
    EXPECT_EQ(control("File_label").caption, "Stops table saved on: " + saved);
    const auto read = readDat(saved);
    ASSERT_TRUE(read.table);
    EXPECT_EQ((*read.table)[232], "Cornetto V");
    EXPECT_EQ((*read.table)[353], "Pedal");
    EXPECT_EQ((*read.table)[391], "1");
    EXPECT_EQ((*read.table)[330], reserved);
    // The console's table file is not the one saved: its names stay on the panel.
    EXPECT_EQ(core->state.config.PATH_DAT, (folder / "kavel.DAT").string());
}

TEST_F(Editor, EnableWritesSavesTheConfigurationReloadsAndResets) {
    openPorts(0, 1, 0);
    fs::remove(folder / "kavel.DAT"); // the editor has it; enable writes it even unmodified
    out.sent.clear();
    user.answers.push_back(Answer::Yes);
    ed().Enable_Click();
    ASSERT_EQ(user.shown.size(), 1u);
    EXPECT_EQ(user.shown[0].text,
              "Warning : KAVEL will be loaded with current dat file : proceed anyway?");
    EXPECT_TRUE(fs::exists(folder / "kavel.DAT"));
    EXPECT_TRUE(fs::exists(folder / "kavel.CFG"));
    EXPECT_EQ(control("File_label").caption,
              "Stops Table is Enabled and Saved on: " + (folder / "kavel.DAT").string());
    // The reset sends the startup registration, the first global reset among it.
    ASSERT_FALSE(table()[0].empty());
    EXPECT_TRUE(std::any_of(out.sent.begin(), out.sent.end(), [this](const SentMessage& m) {
        return std::string(m.bytes.begin(), m.bytes.end()) == table()[0];
    }));
    // A table loaded in the editor and enabled becomes the console's, names and all.
    const auto other = (folder / "other.dat").string();
    auto entries = table();
    entries[200 + 2] = "Salicionale";
    ASSERT_EQ(writeDat(other, entries), std::nullopt);
    user.files.push_back(other);
    ed().LoadDAT_Click();
    EXPECT_TRUE(ed().notEnabled());
    user.answers.push_back(Answer::Yes);
    ed().Enable_Click();
    EXPECT_FALSE(ed().notEnabled());
    EXPECT_EQ(core->state.config.PATH_DAT, other);
    EXPECT_NE(control("NomeFondi", 2).caption.find("Salicionale"), std::string::npos);
}

TEST_F(Editor, PanelSizeAndRedraw) {
    core->panel.LOAD_NORMAL_INTERFACE();
    core->controls.edit("Slidersize").value = 13;
    ed().Slidersize_Scroll();
    EXPECT_DOUBLE_EQ(core->state.panel.SCALA_PANNELLO, 1.3);
    EXPECT_EQ(control("LabelSize").caption, "130 %");
    auto& r = core->state.registration;
    r.FO_GO[SLOT_LIVE] = 4;
    r.ANNULL_SW[1][SLOT_LIVE] = 0;
    r.UNIONE_MAN[SLOT_LIVE] = 1;
    ed().Redraw_Click();
    EXPECT_EQ(r.FO_GO[SLOT_APPLIED], 0);
    EXPECT_EQ(r.ANNULL_SW[1][SLOT_APPLIED], 1);
    EXPECT_EQ(r.UNIONE_MAN[SLOT_LIVE], 0);
    EXPECT_EQ(control("Tir_FO_GO", 0).caption, core->state.panel.SCRITTA_GREAT);
    // With the graphic panel the size tab shows only its notice.
    core->state.panel.INTERFACCIA_GRAFICA = true;
    ed().Form_Load();
    core->controls.edit("SSTab1").value = 4;
    ed().SSTab1_Click();
    EXPECT_FALSE(control("Slidersize").visible);
    EXPECT_FALSE(control("Redraw").visible);
    EXPECT_TRUE(control("Label8", 1).visible);
}

} // namespace
} // namespace kavel::test
