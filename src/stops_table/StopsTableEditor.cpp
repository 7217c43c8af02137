#include "stops_table/StopsTableEditor.h"

#include "config/FileDialogs.h"
#include "config/FileNames.h"
#include "config/StartupConfig.h"
#include "config/TextValues.h"
#include "console/Procedures.h"
#include "console/ProgramState.h"
#include "console/User.h"
#include "panel/Controls.h"
#include "panel/PanelLayout.h"
#include "panel/ScreenPlacement.h"
#include "registration/Registration.h"
#include "registration/StopNames.h"
#include "stops_table/DatFile.h"
#include "stops_table/EditorMenu.h"
#include "stops_table/SysExCheck.h"
#include "stops_table/SysExImport.h"
#include "stops_table/TableFile.h"

#include <algorithm>
#include <cmath>
#include <utility>

namespace kavel {

namespace {

constexpr const char* kWindow = "compilatore";
const Colour kWhite = Colour::rgb(255, 255, 255);
const Colour kGrey = Colour::rgb(192, 192, 192);
const Colour kYellow = Colour::rgb(255, 255, 0);
const Colour kBlack = Colour::rgb(0, 0, 0);

} // namespace

// One array of fields: where its entries are, how many it has, when it counts as full.
struct EditorFields {
    const char* name;
    int count;
    int sysex;        // the Great (or only) SysEx entry of field 0
    int swell;        // the derived Swell entry of field 0; -1 none
    int names;        // the name entry of field 0; -1 none
    std::size_t full; // grey when the SysEx entry is longer than this
};

namespace {

constexpr EditorFields kFondi{"TextFondi",     stops::kFondiRows,  stops::kFondiGo,
                              stops::kFondiSw, stops::kFondiNames, 25};
constexpr EditorFields kMutaz{"TextMutaz",     stops::kOtherRows,  stops::kMutazGo,
                              stops::kMutazSw, stops::kMutazNames, 5};
constexpr EditorFields kAncie{"TextAncie",     stops::kOtherRows,  stops::kAncieGo,
                              stops::kAncieSw, stops::kAncieNames, 5};
constexpr EditorFields kPedale{"TextPedale", stops::kOtherRows,   stops::kPedale,
                               -1,           stops::kPedaleNames, 5};
// Global fields 0..39 are entries 0..39; the canceller fields 40..51 are entries 410..421.
constexpr EditorFields kGlobal{"TextGlobal",        stops::kGlobalCount + stops::kCancellerCount,
                               stops::kGlobal,      -1,
                               stops::kGlobalNames, 5};
constexpr int kCancellerFields = stops::kGlobalCount;

int sysexEntry(const EditorFields& a, int index) {
    if (&a == &kGlobal && index >= kCancellerFields)
        return stops::kCancellers - kCancellerFields + index;
    return a.sysex + index;
}

// Tabs: 0 Fondi, 1 Mutazioni, 2 Ancie and Pedale, 3 Global Settings, 4 Panel Size.
constexpr std::array<const char*, 5> kTabs = {"Fondi ", "Mutazioni", "&Ancie/Archi  Pedale",
                                              "Global Settings", "Panel  Size"};
constexpr int kSizeTab = 4;

// The window in twips: the tab strip on top, the pages under it, the status strip below.
constexpr int kWidth = 12300;
constexpr int kHeight = 7900;
constexpr int kPageTop = 560;
constexpr int kRow = 330;
constexpr int kFieldHeight = 300;
constexpr int kStripTop = 6800;

constexpr const char* kUnsavedTable = "Warning: configuration is modified and UNSAVED!";

} // namespace

StopsTableEditor::StopsTableEditor(Controls& controls, User& user, StopsTableState& stops,
                                   ConfigState& config, PanelState& panel, RegistrationTable& table,
                                   ScreenPlacement& screen, TableFile& tableFile,
                                   StartupConfig& startup, PanelLayout& layout, StopNames& names,
                                   Registration& registration)
    : controls_(controls), user_(user), stops_(stops), config_(config), panel_(panel),
      table_(table), screen_(screen), tableFile_(tableFile), startup_(startup), layout_(layout),
      names_(names), registration_(registration) {
    place();
}

void StopsTableEditor::registerProcedures(Procedures& p) {
    p.add("LoadEditor_Click", [this] { LoadEditor_Click(); });
    p.add("compilatore.Form_Load", [this] { Form_Load(); });
    p.add("REFRESH_GRAFICA_FONDI", [this] { REFRESH_GRAFICA_FONDI(); });
    p.add("REFRESH_GRAFICA_MUTAZIONI_RIPIENI", [this] { REFRESH_GRAFICA_MUTAZIONI_RIPIENI(); });
    p.add("REFRESH_GRAFICA_ANCIE_PEDALE", [this] { REFRESH_GRAFICA_ANCIE_PEDALE(); });
    p.add("REFRESH_GRAFICA_GLOBAL", [this] { REFRESH_GRAFICA_GLOBAL(); });
    p.add("SSTab1_Click", [this] { SSTab1_Click(); });
    p.add("Load_DAT", [this] { Load_DAT(); });
    p.add("AGGIORNA_TABELLA_DA_EDITOR", [this] { AGGIORNA_TABELLA_DA_EDITOR(); });
    p.add("SaveDAT_Click", [this] { SaveDAT_Click(); });
    p.add("LoadDAT_Click", [this] { LoadDAT_Click(); });
    p.add("Enable_Click", [this] { Enable_Click(); });
    p.add("Uscita_abort_Click", [this] { Uscita_abort_Click(); });
    p.add("Caricamento_sysex_binary", [this] { Caricamento_sysex_binary(); });
    p.add("ESTRAE_NOME_SYX", [this] { ESTRAE_NOME_SYX(); });
    p.add("DERIVA_SYSEX_SW", [this] { DERIVA_SYSEX_SW(); });
    p.add("CommandName_Click", [this] { CommandName_Click(); });
    p.add("Slidersize_Scroll", [this] { Slidersize_Scroll(); });
    p.add("Redraw_Click", [this] { Redraw_Click(); });
    p.add("Rinforzabile_Click", 0, 49, [this](int i) { Rinforzabile_Click(i); });
    p.add("Text_NomiCorpi_Change", 0, 3, [this](int i) { Text_NomiCorpi_Change(i); });
    for (const EditorFields* a : {&kFondi, &kMutaz, &kAncie, &kPedale, &kGlobal}) {
        const std::string name = a->name;
        p.add(name + "_Click", 0, a->count - 1, [this, a](int i) { clickField(*a, i); });
        p.add(name + "_DblClick", 0, a->count - 1, [this, a](int i) { loadField(*a, i); });
        p.add(name + "_Change", 0, a->count - 1, [this, a](int i) { nameChanged(*a, i); });
    }
}

// Every control of the window, in twips, each on its page; what they show comes from the
// table when the window loads.
void StopsTableEditor::place() {
    auto& c = controls_;
    auto& window = c.edit(kWindow);
    window.width = kWidth;
    window.height = kHeight;
    for (const auto& menu : kEditorMenus) {
        c.edit(menu.name).caption = std::string(menu.caption);
        for (const auto& item : menu.items)
            c.edit(item.name).caption = std::string(item.caption);
    }
    auto& tabs = c.place("SSTab1", -1, ControlKind::Tabs, kWindow, 120, 120, kWidth - 240, 380);
    tabs.items.assign(kTabs.begin(), kTabs.end());
    tabs.value = 0;

    auto put = [this, &c](int page, const std::string& name, int index, ControlKind kind, int left,
                          int top, int width, int height) -> ControlState& {
        pageControls_.push_back({name, index, page});
        return c.place(name, index, kind, kWindow, left, top, width, height);
    };
    auto label = [&put](int page, const std::string& name, int index, const std::string& caption,
                        int left, int top, int width) -> ControlState& {
        auto& l = put(page, name, index, ControlKind::Label, left, top, width, 280);
        l.caption = caption;
        return l;
    };
    const FontSpec small{"Small Fonts", 7, false, false};
    auto field = [&](int page, const char* name, int index, int left, int top, int width) {
        auto& f = put(page, name, index, ControlKind::Text, left, top, width, kFieldHeight);
        f.font = small;
        f.backColour = kWhite;
        return &f;
    };
    // A column of stop fields with their row numbers, and Rinforzabile boxes where given.
    auto column = [&](int page, const EditorFields& a, int first, int count, int left, int top,
                      int width, int boxFirst) {
        const int rowNumbers = a.sysex; // each array its own run of row labels
        for (int i = 0; i < count; ++i) {
            const int k = first + i;
            const int y = top + i * kRow;
            label(page, "compilatore.Row", rowNumbers + k, std::to_string(k), left, y, 300).align =
                Align::Right;
            field(page, a.name, k, left + 340, y, width);
            if (boxFirst >= 0)
                put(page, "Rinforzabile", boxFirst + k, ControlKind::Check, left + 380 + width, y,
                    300, kFieldHeight);
        }
    };
    auto groupName = [&](int page, int i, int left, int top) {
        label(page, "compilatore.GroupLabel", i, "Group name:", left, top, 1250);
        field(page, "Text_NomiCorpi", i, left + 1300, top, 2450);
    };

    // Fondi: three columns of ten, each stop with its box.
    auto& heading0 =
        label(0, "Label4", 0, "FONDI (Checking stop enables Part 10 Sine-wave Stop Reinforcement)",
              200, kPageTop + 80, 7600);
    heading0.font.bold = true;
    groupName(0, 0, 7900, kPageTop + 60);
    for (int col = 0; col < 3; ++col)
        column(0, kFondi, col * 10, 10, 200 + col * 4000, kPageTop + 520, 3100, 0);

    // Mutazioni: two columns of ten.
    groupName(1, 1, 200, kPageTop + 60);
    for (int col = 0; col < 2; ++col)
        column(1, kMutaz, col * 10, 10, 200 + col * 4000, kPageTop + 520, 3100, -1);

    // Ancie with their boxes on the left, Pedale on the right.
    // The Ancie heading is long: it wraps over two lines above the Ancie columns.
    auto& heading1 = label(2, "Label4", 1,
                           "ANCE ARCHI         (Checking stop enables Part 10 Sine-wave Stop "
                           "Reinforcement)",
                           200, kPageTop + 40, 5900);
    heading1.height = 560;
    heading1.align = Align::Centre;
    heading1.font = {"", 7, true, false};
    label(2, "compilatore.PedaleHeading", -1, "PEDALE", 6400, kPageTop + 160, 3000).font.bold =
        true;
    groupName(2, 2, 200, kPageTop + 660);
    groupName(2, 3, 6400, kPageTop + 660);
    for (int col = 0; col < 2; ++col) {
        column(2, kAncie, col * 10, 10, 200 + col * 3050, kPageTop + 1060, 2150, 30);
        column(2, kPedale, col * 10, 10, 6400 + col * 2900, kPageTop + 1060, 2200, -1);
    }

    // Global settings: five columns, the first four rows of the resets named.
    put(3, "compilatore.GlobalFrame", -1, ControlKind::Frame, 120, kPageTop + 40, kWidth - 240,
        5500)
        .caption = "Global Settings Sysexes";
    label(3, "compilatore.GlobalTitle", -1, "Global Settings Sysexes", 240, kPageTop + 80, 4000)
        .font.bold = true;
    constexpr std::array<const char*, 5> kHeadings = {"Global Reset", "Temperaments", "Reverb",
                                                      "Rinforzi e Tremoli",
                                                      "Annullatori (Fixed Texts)"};
    constexpr std::array<int, 6> kColumnFirst = {0, 10, 22, 30, 40, 52};
    constexpr int kColumnWidth = 2380;
    for (int col = 0; col < 5; ++col) {
        const int left = 240 + col * kColumnWidth;
        label(3, "compilatore.GlobalHeading", col, kHeadings[col], left, kPageTop + 440,
              kColumnWidth - 100)
            .font = {"", 7, true, false};
        for (int k = kColumnFirst[col]; k < kColumnFirst[col + 1]; ++k) {
            const int y = kPageTop + 800 + (k - kColumnFirst[col]) * (kRow + 60);
            if (k < 4) {
                label(3, "compilatore.ResetRow", k, "Reset " + std::to_string(k), left, y, 700);
                field(3, "TextGlobal", k, left + 720, y, kColumnWidth - 840);
            } else {
                field(3, "TextGlobal", k, left, y, kColumnWidth - 120);
            }
        }
    }

    // Panel size: the frame with the slider and the redraw, and the notice outside it.
    put(kSizeTab, "Resize_frame", -1, ControlKind::Frame, 400, kPageTop + 700, 11000, 3400);
    auto& explanation = label(kSizeTab, "Label8", 0,
                              "Kavel Size :  it can be adjusted from 80% to 160% of orginal "
                              "Size; Standard Size (100%)  is  a  640x480  for Small Font  or "
                              "800x600 for Large Font Window Environment.",
                              700, kPageTop + 900, 10400);
    explanation.height = 700;
    explanation.align = Align::Centre;
    auto& slider =
        put(kSizeTab, "Slidersize", -1, ControlKind::Slider, 2000, kPageTop + 1900, 6000, 420);
    slider.min = 8;
    slider.max = 16;
    slider.largeChange = 1;
    label(kSizeTab, "LabelSize", -1, "100 %", 8300, kPageTop + 1950, 1200).font.bold = true;
    put(kSizeTab, "Redraw", -1, ControlKind::Button, 3000, kPageTop + 2700, 5000, 450).caption =
        "Redraw Kavel  (Not Graphic Interface)  Now!";
    label(kSizeTab, "Label8", 1, "           Available for no-graphic panel only : Kavel Resize ",
          400, kPageTop + 300, 11000);

    // The program's title on each page but the last.
    for (int page = 0; page < 4; ++page)
        label(page, "LabelNomeprog", page, kProgramTitle, kWidth - 1500, kStripTop - 380, 1300)
            .align = Align::Right;

    // The status strip, on every page.
    auto strip = [&c](const std::string& name, const std::string& caption, int left, int top,
                      int width) -> ControlState& {
        auto& l = c.place(name, -1, ControlKind::Label, kWindow, left, top, width, 300);
        l.caption = caption;
        return l;
    };
    strip("compilatore.IndexCaption", "Sysex Index :", 120, kStripTop, 1200);
    strip("Syx_index", "0", 1350, kStripTop, 800).backColour = kWhite;
    strip("compilatore.LengthCaption", "Sysex length :", 2300, kStripTop, 1300);
    strip("Syx_lenght", "", 3650, kStripTop, 1500).backColour = kWhite;
    auto& file = strip("File_label", "", 120, kStripTop + 400, 8600);
    file.toolTip = "Current configuration DAT File, name & Path";
    file.backColour = kWhite;
    constexpr std::array<std::pair<const char*, int>, 3> kLegend = {
        std::pair{"Empty", 0}, {"Full ", 1}, {"Loaded now", 2}};
    for (const auto& [caption, i] : kLegend) {
        auto& l = c.place("compilatore.Legend", i, ControlKind::Label, kWindow, 5400 + i * 1250,
                          kStripTop, 1200, 300);
        l.caption = caption;
        l.align = Align::Centre;
        l.backColour = i == 0 ? kWhite : i == 1 ? kGrey : kYellow;
    }
    auto& name =
        c.place("CommandName", -1, ControlKind::Button, kWindow, 8900, kStripTop + 330, 3200, 420);
    name.caption = "Enable Loading Name";
    name.toolTip = "If Lighted ,loading sysex Current Stop name will be overwritten  with Syx "
                   "File Name!";
    showPage(0);
}

void StopsTableEditor::showPage(int tab) {
    auto& c = controls_;
    const bool sizeShown = !panel_.INTERFACCIA_GRAFICA;
    for (const auto& [name, index, page] : pageControls_) {
        bool visible = page == tab;
        // The size applies to the standard panel only: with the graphic panel the tab shows
        // its notice alone.
        const bool inFrame = page == kSizeTab && !(name == "Label8" && index == 1);
        if (inFrame && !sizeShown) visible = false;
        if (c.get(name, index).visible != visible) c.edit(name, index).visible = visible;
    }
}

void StopsTableEditor::SSTab1_Click() {
    auto& tabs = controls_.get("SSTab1");
    showPage(std::clamp(tabs.value, 0, static_cast<int>(kTabs.size()) - 1));
}

void StopsTableEditor::LoadEditor_Click() {
    // Open already: show it again rather than reload, which would throw away the work in it.
    if (!loaded_) Form_Load();
    user_.showWindow(kWindow, false);
}

void StopsTableEditor::Form_Load() {
    loaded_ = true;
    auto& c = controls_;
    screen_.centreOnScreen(kWindow, "lookout.ico");
    c.edit(kWindow).caption = std::string("Editor ") + kProgramTitle;
    for (int i = 0; i < 4; ++i)
        c.edit("LabelNomeprog", i).caption = kProgramTitle;
    entry_ = 0;
    c.edit("Syx_index").caption = "0";
    c.edit("Syx_lenght").caption.clear(); // nothing clicked yet in this opening
    refreshing_ = false;
    for (int k = 0; k < kFondi.count; ++k)
        c.edit(kFondi.name, k).toolTip =
            "Double Click to load Fondi sysex file on field " + std::to_string(k);
    stops_.PATH_DAT_EDITOR = config_.PATH_DAT;
    if (!Load_DAT()) redrawPages(); // the pages show the table the console has
    modified_ = false;
    notEnabled_ = false;
    fileLabel(config_.PATH_DAT, false);
    showNameButton();
    c.edit("Slidersize").value =
        std::clamp(static_cast<int>(std::floor(panel_.SCALA_PANNELLO * 10 + 1e-9)), 8, 16);
    Slidersize_Scroll();
    auto& tabs = c.edit("SSTab1");
    tabs.value = 0;
    showPage(0);
}

void StopsTableEditor::showNameButton() {
    controls_.edit("CommandName").caption =
        stops_.CARICA_NOME_SYX ? "Loading Syx File Name ENABLED" : "Loading Syx File Name DISABLED";
}

void StopsTableEditor::fileLabel(const std::string& caption, bool yellow) {
    auto& label = controls_.edit("File_label");
    label.caption = caption;
    label.backColour = yellow ? kYellow : kWhite;
}

// The fields of one array drawn from the table: white, named, grey when their entry is full.
void StopsTableEditor::refreshFields(const EditorFields& a) {
    const auto& table = stops_.STOPS_TABLE;
    for (int k = 0; k < a.count; ++k) {
        auto& f = controls_.edit(a.name, k);
        f.backColour = kWhite;
        if (&a != &kGlobal) f.foreColour = kBlack;
        if (&a == &kGlobal && k >= kCancellerFields)
            f.caption =
                std::string(kCancellerNames[static_cast<std::size_t>(k - kCancellerFields)]);
        else
            f.caption = table[static_cast<std::size_t>(a.names + k)];
        if (table[static_cast<std::size_t>(sysexEntry(a, k))].size() > a.full) f.backColour = kGrey;
    }
}

void StopsTableEditor::REFRESH_GRAFICA_FONDI() {
    refreshFields(kFondi);
    auto& stops = stops_;
    stops.readRinforzabile();
    refreshing_ = true;
    for (int i = 0; i < 50; ++i) {
        const std::string& flag = i < 30 ? stops.RINFORZABILE_FO[static_cast<std::size_t>(i)]
                                         : stops.RINFORZABILE_AN[static_cast<std::size_t>(i - 30)];
        controls_.edit("Rinforzabile", i).value = flag == "1" ? 1 : 0;
    }
    refreshing_ = false;
}

void StopsTableEditor::REFRESH_GRAFICA_MUTAZIONI_RIPIENI() {
    refreshFields(kMutaz);
}

void StopsTableEditor::REFRESH_GRAFICA_ANCIE_PEDALE() {
    refreshFields(kAncie);
    refreshFields(kPedale);
}

void StopsTableEditor::REFRESH_GRAFICA_GLOBAL() {
    refreshFields(kGlobal);
    for (int i = 0; i < 4; ++i) {
        auto& f = controls_.edit("Text_NomiCorpi", i);
        f.backColour = kWhite;
        f.caption = stops_.STOPS_TABLE[static_cast<std::size_t>(stops::kGroupNames + i)];
    }
}

void StopsTableEditor::redrawPages() {
    REFRESH_GRAFICA_FONDI();
    REFRESH_GRAFICA_MUTAZIONI_RIPIENI();
    REFRESH_GRAFICA_ANCIE_PEDALE();
    REFRESH_GRAFICA_GLOBAL();
}

bool StopsTableEditor::Load_DAT() {
    const std::string& path = stops_.PATH_DAT_EDITOR;
    std::string error;
    if (!tableFile_.readStopsTable(path, &error)) {
        user_.messageBox({"The Stops Table " + path + " cannot be loaded: " + error + ".",
                          kProgramTitle, Buttons::Ok, Icon::Critical, 0});
        return false;
    }
    redrawPages();
    return true;
}

bool StopsTableEditor::AGGIORNA_TABELLA_DA_EDITOR() {
    auto& c = controls_;
    auto& stops = stops_;
    // Kept whole, so that a file that cannot be written leaves the table as it was.
    const StopsTableEntries before = stops.STOPS_TABLE;
    auto& table = stops.STOPS_TABLE;
    auto store = [&](int entry, const std::string& text) {
        table[static_cast<std::size_t>(entry)] = text;
    };
    for (const EditorFields* a : {&kFondi, &kMutaz, &kAncie, &kPedale})
        for (int k = 0; k < a->count; ++k)
            store(a->names + k, c.get(a->name, k).caption);
    for (int i = 0; i < stops::kGlobalCount; ++i)
        store(stops::kGlobalNames + i, c.get(kGlobal.name, i).caption);
    for (std::size_t k = 0; k < stops.RINFORZABILE_FO.size(); ++k)
        store(stops::kRinforzabileFondi + static_cast<int>(k), stops.RINFORZABILE_FO[k]);
    for (std::size_t k = 0; k < stops.RINFORZABILE_AN.size(); ++k)
        store(stops::kRinforzabileAncie + static_cast<int>(k), stops.RINFORZABILE_AN[k]);
    for (int i = 0; i < 4; ++i)
        store(stops::kGroupNames + i, c.get("Text_NomiCorpi", i).caption);
    if (!tableFile_.writeStopsTable(stops.PATH_DAT_EDITOR)) {
        table = before;
        return false;
    }
    return true;
}

bool StopsTableEditor::ask(const std::string& text) {
    return user_.messageBox({text, "Warning", Buttons::YesNo, Icon::Exclamation, 1}) == Answer::Yes;
}

void StopsTableEditor::SaveDAT_Click() {
    // The chosen name goes to the editor's path only once the file is written: a refused or
    // unwritable name must not become the file that enable writes.
    std::string path = stops_.PATH_DAT_EDITOR;
    if (DIALOGO_SALVA(user_, "SAVE CURRENT STOPS TABLE ON *.DAT FILE", ".dat", path) != 0) return;
    std::string& editorPath = stops_.PATH_DAT_EDITOR;
    const std::string previous = std::exchange(editorPath, path);
    if (!AGGIORNA_TABELLA_DA_EDITOR()) {
        editorPath = previous;
        return;
    }
    fileLabel("Stops table saved on: " + path, false);
    modified_ = false;
}

void StopsTableEditor::LoadDAT_Click() {
    if (modified_ || notEnabled_) {
        const char* question =
            modified_ && notEnabled_
                ? "Stops Table is modified but Unsaved and Unloaded in kavel. Load new Table "
                  "anyway?"
            : modified_ ? " Warning! Stops Table is modified but Unsaved. Load new Table Anyway?"
                        : " Warning! Current Stops Table is Unloaded in kavel. Load new Table "
                          "Anyway?";
        if (!ask(question)) return;
    }
    std::string path = stops_.PATH_DAT_EDITOR;
    if (DIALOGO_APRI(user_, "kavel Stops Table file: Loading DAT File ", ".dat", path) != 0) return;
    std::string& editorPath = stops_.PATH_DAT_EDITOR;
    const std::string previous = std::exchange(editorPath, path);
    if (!Load_DAT()) {
        editorPath = previous;
        return;
    }
    fileLabel("Stops table loaded from:" + path, true);
    notEnabled_ = true;
    modified_ = false;
}

void StopsTableEditor::Enable_Click() {
    // The configuration names the console's table: a path it cannot keep would be left out
    // of it, and the next start would load the default organ in its place.
    if (!storableText(stops_.PATH_DAT_EDITOR)) {
        user_.messageBox(
            {"The Stops Table path \"" + stops_.PATH_DAT_EDITOR +
                 "\" holds a line end, a control character or a double quote that the "
                 "configuration file cannot keep: the table was not enabled. Save it under "
                 "another name, then enable it.",
             kProgramTitle, Buttons::Ok, Icon::Exclamation, 0});
        return;
    }
    const std::string question =
        modified_ ? "Warning : " + stops_.PATH_DAT_EDITOR +
                        " will be overwritten with current data : proceed anyway?"
                  : "Warning : KAVEL will be loaded with current dat file : proceed anyway?";
    if (!ask(question)) return;
    // The console takes the file only once it is written: a table it cannot read back must
    // not become the one the configuration names.
    if (!AGGIORNA_TABELLA_DA_EDITOR()) return;
    config_.PATH_DAT = stops_.PATH_DAT_EDITOR;
    modified_ = false;
    notEnabled_ = false;
    fileLabel("Stops Table is Enabled and Saved on: " + config_.PATH_DAT, false);
    startup_.Salva_dati_di_avvio();
    tableFile_.CARICAMENTO_DAT();
    if (panel_.INTERFACCIA_GRAFICA)
        layout_.LOAD_GRAPHIC_INTERFACE();
    else
        layout_.LOAD_NORMAL_INTERFACE();
    names_.CARICAMENTO_LIST_BOXES();
    registration_.RESET_kavel();
}

void StopsTableEditor::Uscita_abort_Click() {
    if (modified_ || notEnabled_) {
        const char* question =
            modified_ && notEnabled_
                ? " Warning! Stops Table is modified but Unsaved and Unloaded in kavel. Exit "
                  "Anyway?"
            : modified_ ? " Warning! Stops Table is Modified but Unsaved. Exit Anyway?"
                        : " Warning! Current Stops Table is Unloaded in kavel. Exit Anyway?";
        if (!ask(question)) return;
    }
    loaded_ = false;
    user_.closeWindow(kWindow);
}

void StopsTableEditor::showEntry() {
    auto& c = controls_;
    c.edit("Syx_index").caption = std::to_string(entry_);
    c.edit("Syx_lenght").caption =
        std::to_string(stops_.STOPS_TABLE[static_cast<std::size_t>(entry_)].size()) + " Bytes";
}

void StopsTableEditor::clickField(const EditorFields& a, int Index) {
    entry_ = sysexEntry(a, Index);
    showEntry();
}

void StopsTableEditor::TextFondi_Click(int Index) {
    clickField(kFondi, Index);
}
void StopsTableEditor::TextMutaz_Click(int Index) {
    clickField(kMutaz, Index);
}
void StopsTableEditor::TextAncie_Click(int Index) {
    clickField(kAncie, Index);
}
void StopsTableEditor::TextPedale_Click(int Index) {
    clickField(kPedale, Index);
}
void StopsTableEditor::TextGlobal_Click(int Index) {
    clickField(kGlobal, Index);
}
void StopsTableEditor::TextFondi_DblClick(int Index) {
    loadField(kFondi, Index);
}
void StopsTableEditor::TextMutaz_DblClick(int Index) {
    loadField(kMutaz, Index);
}
void StopsTableEditor::TextAncie_DblClick(int Index) {
    loadField(kAncie, Index);
}
void StopsTableEditor::TextPedale_DblClick(int Index) {
    loadField(kPedale, Index);
}
void StopsTableEditor::TextGlobal_DblClick(int Index) {
    loadField(kGlobal, Index);
}

// Every name typed counts as a change to save: the names live only in the fields until the
// table is written, and leaving would lose them without a word.
void StopsTableEditor::nameChanged(const EditorFields& a, int Index) {
    if (&a == &kGlobal && Index >= kCancellerFields) {
        // The canceller fields name fixed entries; their texts are not the table's to change.
        auto& f = controls_.edit(a.name, Index);
        const auto fixed = kCancellerNames[static_cast<std::size_t>(Index - kCancellerFields)];
        if (f.caption != fixed) f.caption = std::string(fixed);
        return;
    }
    modified_ = true;
}

void StopsTableEditor::TextFondi_Change(int Index) {
    nameChanged(kFondi, Index);
}

void StopsTableEditor::Text_NomiCorpi_Change(int) {
    modified_ = true;
}

void StopsTableEditor::Rinforzabile_Click(int Index) {
    if (refreshing_ || Index < 0 || Index >= 50) return;
    auto& stops = stops_;
    const char* flag = controls_.get("Rinforzabile", Index).value == 1 ? "1" : "0";
    if (Index < 30)
        stops.RINFORZABILE_FO[static_cast<std::size_t>(Index)] = flag;
    else
        stops.RINFORZABILE_AN[static_cast<std::size_t>(Index - 30)] = flag;
    modified_ = true;
}

void StopsTableEditor::loadField(const EditorFields& a, int Index) {
    entry_ = sysexEntry(a, Index);
    Caricamento_sysex_binary();
    if (loadSucceeded_) {
        auto& f = controls_.edit(a.name, Index);
        const bool canceller = &a == &kGlobal && Index >= kCancellerFields;
        if (stops_.CARICA_NOME_SYX && !canceller) {
            ESTRAE_NOME_SYX();
            f.caption = fileName_;
        }
        f.backColour = loadedLength_ < 3 ? kWhite : kYellow;
        if (a.swell >= 0) {
            DERIVA_SYSEX_SW();
            stops_.STOPS_TABLE[static_cast<std::size_t>(a.swell + Index)] = swellCopy_;
        }
    }
    showEntry();
}

void StopsTableEditor::Caricamento_sysex_binary() {
    loadSucceeded_ = false;
    std::string path = syxPath_;
    if (DIALOGO_APRI(user_, "Caricamento sysex ", ".syx", path) != 0) return;
    syxPath_ = path;
    auto refuse = [this](const std::string& why) {
        user_.messageBox({"The file " + syxPath_ + " was not loaded into entry " +
                              std::to_string(entry_) + ": " + why + " The entry is as it was.",
                          kProgramTitle, Buttons::Ok, Icon::Exclamation, 0});
    };
    FileRead read = readFileAtMost(syxPath_, kMaxDatEntry);
    if (!read.bytes) return refuse(read.error + ".");
    // What the console would refuse to send must not get into the table in the first place.
    const auto problems = checkSysExEntry(*read.bytes);
    if (!problems.empty())
        return refuse("it is not SysEx the module can take (" + problems.front() + ").");
    auto& entry = stops_.STOPS_TABLE[static_cast<std::size_t>(entry_)];
    entry = std::move(*read.bytes);
    loadedLength_ = entry.size();
    auto& c = controls_;
    c.edit("Syx_lenght").caption = std::to_string(loadedLength_) + " Bytes";
    c.edit("Syx_index").caption = std::to_string(entry_);
    modified_ = true;
    loadSucceeded_ = true;
    fileLabel(kUnsavedTable, true);
}

void StopsTableEditor::ESTRAE_NOME_SYX() {
    fileName_ = syxFileName(syxPath_);
}

void StopsTableEditor::DERIVA_SYSEX_SW() {
    swellCopy_ = deriveSwellCopy(stops_.STOPS_TABLE[static_cast<std::size_t>(entry_)]);
}

void StopsTableEditor::CommandName_Click() {
    auto& flag = stops_.CARICA_NOME_SYX;
    flag = !flag;
    showNameButton();
}

void StopsTableEditor::Slidersize_Scroll() {
    auto& scale = panel_.SCALA_PANNELLO;
    scale = controls_.get("Slidersize").value / 10.0;
    controls_.edit("LabelSize").caption = std::to_string(std::lround(scale * 100)) + " %";
}

void StopsTableEditor::Redraw_Click() {
    if (panel_.INTERFACCIA_GRAFICA) return; // the standard panel's size only
    layout_.LOAD_NORMAL_INTERFACE();
    auto& r = table_;
    for (SlotArray* field :
         {&r.FO_GO, &r.FO_SW, &r.MU_GO, &r.MU_SW, &r.AN_GO, &r.AN_SW, &r.PED, &r.TREMOLO_GO,
          &r.TREMOLO_SW, &r.UNIONE_PED, &r.UNIONE_MAN, &r.SUBOTTAVA_PED})
        (*field)[SLOT_LIVE] = 0;
    for (int g = 0; g < 3; ++g) {
        r.ANNULL_GO[static_cast<std::size_t>(g)][SLOT_LIVE] = 1;
        r.ANNULL_SW[static_cast<std::size_t>(g)][SLOT_LIVE] = 1;
    }
    auto& c = controls_;
    const auto& p = panel_;
    constexpr std::array<std::array<const char*, 3>, 3> kRowZero = {
        {{"NomeFondi", "Tir_FO_GO", "Tir_FO_SW"},
         {"NomeMutaz", "Tir_MU_GO", "Tir_MU_SW"},
         {"NomeAnce", "Tir_AN_GO", "Tir_AN_SW"}}};
    for (const auto& [name, great, swell] : kRowZero) {
        c.edit(name, 0).backColour = Colour::system(15);
        c.edit(great, 0).caption = p.SCRITTA_GREAT;
        c.edit(swell, 0).caption = p.SCRITTA_SWELL;
    }
    registration_.AGGIORNAMENTO_KAVEL();
}

} // namespace kavel
