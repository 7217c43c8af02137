#include "panel/PanelLayout.h"

#include "config/ProgramFolder.h"
#include "console/Procedures.h"
#include "console/ProgramState.h"
#include "console/User.h"
#include "memories/MemoryLabels.h"

#include <algorithm>
#include <cmath>
#include <span>
#include <utility>

// The two layouts of the main window. The stop grid follows its design: columns of ten rows,
// Fondi three columns, the other groups two; everything else is placed so that nothing
// overlaps and all of it stays inside the window at every size.

namespace kavel {

namespace {

constexpr const char* kMain = "Kavel";
constexpr int kUnlit = 15;
constexpr int kDark = 10;

struct Group {
    const char* name;       // stop-name labels (standard)
    const char* great;      // knob labels (standard), nullptr for the Pedal
    const char* swell;      //
    const char* greatKnobs; // drawknob pictures (graphic)
    const char* swellKnobs; // nullptr for the Pedal
    const char* plate;      // name plates (graphic)
    const char* plateName;  // names on the plates (graphic)
    int rows;
    int blockLeft; // standard panel, twips at 100 % inside the frame
    int columns;
};

constexpr Group kGroups[] = {
    {"NomeFondi", "Tir_FO_GO", "Tir_FO_SW", "Tir_FO_GO_graph", "Tir_FO_SW_graph", "PergamenaF",
     "Scritta_Fondi", 30, 75, 3},
    {"NomeMutaz", "Tir_MU_GO", "Tir_MU_SW", "Tir_MU_GO_graph", "Tir_MU_SW_graph", "PergamenaM",
     "Scritta_Mutaz", 20, 3165, 2},
    {"NomeAnce", "Tir_AN_GO", "Tir_AN_SW", "Tir_AN_GO_graph", "Tir_AN_SW_graph", "PergamenaA",
     "Scritta_Ancie", 20, 5295, 2},
    {"NomePedale", nullptr, nullptr, "Tir_PED_graph", nullptr, "PergamenaP", "Scritta_Pedale", 20,
     7410, 2},
};

// The command buttons of both layouts, their captions and tool tips.
struct Command {
    const char* name;
    int index;
    const char* caption;
    const char* toolTip;
};

constexpr Command kTopRow[] = {
    {"RESET", -1, "RESET", "Reset KAVEL  to startup state"},
    {"Panic", -1, "PANIC",
     "Send All note OFF message! Push Sustain Pedal to send Note Off immediatly"},
    {"CancelALL", -1, "Canc ", "All Stops Groups will be set to Cancel Position"},
    {"Tir_TREMOLOGO", -1, "Trem Go", "Great Tremolo (Move Pitch Bend  Wheel  UP for fast switch)"},
    {"TIR_TREMOLOSW", -1, "Trem Sw", "Swell Tremolo (Move Pitch Bend  Wheel  UP for fast switch)"},
};
constexpr Command kPedalCouplers[] = {
    {"UNPI", -1, "I -  P", "Pedal coupling with Great"},
    {"UNPII", -1, "II - P", "Pedal coupling with Swell"},
};
constexpr Command kCancellerRow[] = {
    // the six cancellers, then the manual couplers
    {"Button_Annullatori_go", 0, "Go Mute", "Mute only Fondi Stops - Click to replace them"},
    {"Button_Annullatori_go", 1, "Go Mute", "Mute only Ripieni Stops - Click to replace them"},
    {"Button_Annullatori_go", 2, "Go Mute", "Mute only ANCE-ARCHI Stops - Click to replace them"},
    {"Button_Annullatori_sw", 0, "Sw Mute", "Mute only Fondi Stops - Click to replace them"},
    {"Button_Annullatori_sw", 1, "Sw Mute", "Mute only Ripieni Stops - Click to replace them"},
    {"Button_Annullatori_sw", 2, "Sw Mute", "Mute only ANCE-ARCHI Stops - Click to replace them"},
    {"UN_GOSW", -1, "Go to Swell", "When you play Go, Sw is  coupled "},
    {"UN_SWGO", -1, "Swell to Go", "When you play Sw, Go  is  coupled "},
};
constexpr Command kLowerRow[] = {
    {"CLEAR", -1, "Clr", "Clear all free Memories, except than Temporary Buffers S1 and S2"},
    {"Rec_button", -1, " Rec", "Enable Current status Log on next clicked Free Memory"},
    {"LabelMode", -1, "", "Change Memory Labels mode : Numbers or Note"},
    {"TempMemButton", 0, "S1", "Store Current Stops Configuration. Push  L1 to reload it on Kavel"},
    {"TempMemButton", 1, "S2", "Store Current Stops Configuration. Push  L2 to reload it on Kavel"},
    {"LoadBuffer", 0, "L1", "Load in Kavel Buffered Combination S1"},
    {"LoadBuffer", 1, "L2", "Load on Kavel Buffered Combination S2"},
};

// The standard panel at 100 %: a stop's name over its knobs, in rows 465 apart; the canceller
// row under the stop frame.
constexpr int kNameHeight = 320;
constexpr int kCancellerTop = 5400;

// Twips at the panel's size; whole twips, as the window has no finer unit (the small term
// keeps 6870 x 0.8 at 5496, not one below it).
int scaled(double twips, double s) {
    return static_cast<int>(std::floor(twips * s + 1e-6));
}

} // namespace

PanelLayout::PanelLayout(Controls& controls, User& user, PanelState& panel,
                         const MemoryState& memories, const MidiState& midi,
                         const RegistrationTable& registration, const StopsTableState& stops,
                         const ProgramFolder& folder, const Procedures& procedures,
                         MemoryLabels& labels)
    : controls_(controls), user_(user), panel_(panel), memories_(memories), midi_(midi),
      registration_(registration), stops_(stops), folder_(folder), procedures_(procedures),
      labels_(labels) {}

void PanelLayout::registerProcedures(Procedures& p) {
    const std::pair<const char*, void (PanelLayout::*)()> plain[] = {
        {"ATTIVA_DISATTIVA_GRAPHIC_Interface", &PanelLayout::ATTIVA_DISATTIVA_GRAPHIC_Interface},
        {"LOAD_GRAPHIC_INTERFACE", &PanelLayout::LOAD_GRAPHIC_INTERFACE},
        {"LOAD_NORMAL_INTERFACE", &PanelLayout::LOAD_NORMAL_INTERFACE},
        {"VISUALIZZA_LED_O_PANNELLINI", &PanelLayout::VISUALIZZA_LED_O_PANNELLINI},
        {"REGOLA_ALTEZZA_PULSANTI_BASSI", &PanelLayout::REGOLA_ALTEZZA_PULSANTI_BASSI},
        {"ADATTA_PULSANTE_THRU", &PanelLayout::ADATTA_PULSANTE_THRU},
        {"Graphmode_Click", &PanelLayout::Graphmode_Click},
        {"SET_FONTS_NORMAL_INTERFACE", &PanelLayout::SET_FONTS_NORMAL_INTERFACE},
        {"SET_FONTS_GRAPH_INTERFACE", &PanelLayout::SET_FONTS_GRAPH_INTERFACE},
    };
    for (auto [name, fn] : plain)
        p.add(name, [this, fn = fn] { (this->*fn)(); });
}

// Places a control of the main window; what it shows stays as the console left it.
ControlState& PanelLayout::place(const std::string& name, int index, ControlKind kind, int left,
                                 int top, int width, int height) {
    return controls_.place(name, index, kind, kMain, left, top, width, height);
}

void PanelLayout::placeCommand(const char* name, int index, const char* caption,
                               const char* toolTip, int left, int top, int width, int height) {
    auto& c = place(name, index, ControlKind::Button, left, top, width, height);
    if (*caption) c.caption = caption; // none: the console writes it (LabelMode shows the mode)
    c.toolTip = toolTip;
    if (c.backColour.kind == Colour::Kind::Default) c.backColour = Colour::system(kUnlit);
    // A button whose procedure this program does not have yet stays disabled.
    c.enabled = procedures_.named(std::string(name) + "_Click").has_value();
}

// The sub-octave and Thru buttons: ADATTA_PULSANTE_THRU places them by the thru mode.
void PanelLayout::placeThruAndSubOctave() {
    for (const char* own : {"Subottava", "THRUBUTTON"}) {
        auto& c = controls_.edit(own);
        c.kind = ControlKind::Button;
        c.window = kMain;
        if (c.backColour.kind == Colour::Kind::Default) c.backColour = Colour::system(kUnlit);
    }
    controls_.edit("Subottava").caption = "Subottava";
    controls_.edit("Subottava").toolTip = "Enable Pedal Sub-Octave";
    controls_.edit("THRUBUTTON").toolTip =
        "Select Manually an Organ Body if   if Menu/Thru Mode is "
        "set to Normal Rechannelling (1-keyboard user reccomended)";
}

void PanelLayout::ATTIVA_DISATTIVA_GRAPHIC_Interface() {
    const bool graphic = panel_.INTERFACCIA_GRAFICA;
    controls_.edit("Panel_nograph").visible = !graphic;
    controls_.edit("Sfondo").visible = graphic;
    for (const Group& g : kGroups) {
        for (int row = 0; row < g.rows; ++row) {
            for (const char* name : {g.name, g.great, g.swell})
                if (name) controls_.edit(name, row).visible = !graphic;
            for (const char* name : {g.greatKnobs, g.swellKnobs, g.plate, g.plateName})
                if (name) controls_.edit(name, row).visible = graphic;
        }
    }
}

void PanelLayout::LOAD_NORMAL_INTERFACE() {
    auto& p = panel_;
    const double s = std::clamp(p.SCALA_PANNELLO, 0.8, 1.6);
    auto at = [s](double twips) { return scaled(twips, s); };

    // Step 1.
    for (int i = 0; i <= 24; ++i)
        controls_.edit("Numerino_Led", i).visible = true;

    // Step 3: the window, and its frame.
    if (user_.minimised()) {
        // The size stays as it was; the controls are still placed for the new one.
        user_.messageBox({"Error! Main Panel cannot be resized when it is collapsed on window bar!",
                          "Fatal Error!", Buttons::Ok, Icon::Critical, 0});
    } else {
        auto& window = controls_.edit(kMain);
        window.width = at(9680);
        window.height = at(6870) + scaled(500, 1 - s);
        p.windowWidth = p.windowHeight = 0; // a new size: the window takes it
    }
    constexpr int kFrameLeft = 100;
    constexpr int kFrameTop = 495;
    place("Panel_nograph", -1, ControlKind::Frame, at(kFrameLeft), at(kFrameTop), at(9468),
          at(4900))
        .visible = true;

    // Step 4: the stop grid, ten rows a column; the knobs of a stop under its name.
    for (std::size_t gi = 0; gi < std::size(kGroups); ++gi) {
        const Group& g = kGroups[gi];
        for (int k = 0; k < g.rows; ++k) {
            const int left = kFrameLeft + g.blockLeft + (k / 10) * 1005;
            const int top = kFrameTop + 160 + (k % 10) * 465;
            // The name over its two knobs, the Great on the left; a Pedal name is its knob.
            auto& name = place(g.name, k, ControlKind::Label, at(left), at(top), at(996),
                               at(g.great ? kNameHeight : 465));
            name.align = Align::Centre;
            name.visible = true;
            if (name.backColour.kind == Colour::Kind::Default)
                name.backColour = Colour::system(kUnlit);
            if (g.great) {
                for (int side = 0; side < 2; ++side) {
                    auto& knob = place(side == 0 ? g.great : g.swell, k, ControlKind::Label,
                                       at(left + side * 498), at(top + kNameHeight), at(498),
                                       at(465 - kNameHeight));
                    knob.align = Align::Right;
                    knob.backColour = Colour::system(kDark);
                    knob.visible = true;
                    if (knob.caption.empty()) knob.caption = " ";
                }
            }
        }
        auto& heading =
            place("LabelCorpiOrgano", static_cast<int>(gi), ControlKind::Label,
                  at(kFrameLeft + g.blockLeft + 100), at(280), at(g.columns * 1005 - 200), at(205));
        heading.caption = stops_.STOPS_TABLE[stops::kGroupNames + gi];
        heading.align = Align::Centre;
        heading.foreColour = Colour::system(18);
    }

    // The rows of buttons: along the top, under the frame, and the lowest one.
    auto commandsAt = [&](std::span<const Command> row, int left, int top, int pitch, int width) {
        for (std::size_t i = 0; i < row.size(); ++i) {
            const Command& c = row[i];
            placeCommand(c.name, c.index, c.caption, c.toolTip,
                         at(left + static_cast<int>(i) * pitch), at(top), at(width), at(240));
        }
    };
    commandsAt(kTopRow, 100, 30, 1050, 1000);
    commandsAt(kPedalCouplers, 7425, 30, 1050, 1000);
    commandsAt(std::span(kCancellerRow).first(6), 100, kCancellerTop, 1040, 1000);
    commandsAt(std::span(kCancellerRow).subspan(6), 6350, kCancellerTop, 1300, 1250);
    commandsAt(kLowerRow, 100, 5870, 1300, 1250);
    placeThruAndSubOctave();

    // The memory indicators between the cancellers and the lower row, as tall as the lower
    // row's place lets each kind be: free 1..12 on the left, a gap, fixed 1..12.
    constexpr int kMemoryTop = kCancellerTop + 250;
    for (int i = 1; i <= 12; ++i) {
        for (int fixed = 0; fixed < 2; ++fixed) {
            const int left = 100 + (fixed * 12 + i - 1) * 380 + fixed * 350;
            place(fixed ? "Graduatore" : "C_memory", i, ControlKind::Label, at(left),
                  at(kMemoryTop), at(360), at(5860 - kMemoryTop))
                .align = Align::Centre;
            place(fixed ? "LedFix" : "LedFree", i, ControlKind::Picture, at(left),
                  at(kMemoryTop + 60), at(140), at(140));
            // Dark on the pale panel, whatever the board's colour was.
            place("Numerino_Led", fixed * 12 + i, ControlKind::Label, at(left + 140),
                  at(kMemoryTop), at(230), at(5910 - kMemoryTop))
                .foreColour = Colour::system(18);
        }
    }
    place("Numerino_Led", 0, ControlKind::Label, at(8950), at(kCancellerTop), at(600), at(240));
    // Step 2, now that every control it dresses is in place.
    SET_FONTS_NORMAL_INTERFACE();

    // Step 5.
    ADATTA_PULSANTE_THRU();
    REGOLA_ALTEZZA_PULSANTI_BASSI();
    VISUALIZZA_LED_O_PANNELLINI();
    labels_.Scrivi_ToolTips_memorie();
}

void PanelLayout::LOAD_GRAPHIC_INTERFACE() {
    auto& p = panel_;
    // Step 1.
    p.SCRITTA_GREAT = "                 Great ";
    p.SCRITTA_SWELL = "                    swell ";

    // The console: nine columns of stops, each a plate with its knobs under it.
    constexpr int kPitchX = 1150;
    constexpr int kPitchY = 860;
    constexpr int kGridLeft = 150;
    constexpr int kGridTop = 600;
    // A plate tall enough for a long name on three lines, the knobs under it.
    constexpr int kPlate = 380;
    constexpr int kKnob = 450;
    auto& window = controls_.edit(kMain);
    window.width = kGridLeft * 2 + 9 * kPitchX;
    window.height = kGridTop + 10 * kPitchY + 1000;
    p.windowWidth = p.windowHeight = 0;

    // Step 2.
    auto& board =
        place("Sfondo", -1, ControlKind::Picture, 0, 0, window.width - 20, window.height - 20);
    board.picture = folder_.inProgramFolder("tavola.jpg");
    // Step 3.
    p.PIC_TIRANTE_ON = folder_.inProgramFolder("tirante_on.jpg");
    p.PIC_TIRANTE_OFF = folder_.inProgramFolder("tirante_off.jpg");
    p.PIC_TIRANTE_ON_GO = folder_.inProgramFolder("tirante_on_go.jpg");
    p.PIC_TIRANTE_OFF_GO = folder_.inProgramFolder("tirante_off_go.jpg");
    p.PIC_TIRANTE_ON_SW = folder_.inProgramFolder("tirante_on_sw.jpg");
    p.PIC_TIRANTE_OFF_SW = folder_.inProgramFolder("tirante_off_sw.jpg");

    // Step 4.
    const std::string plate = folder_.inProgramFolder("stucco.gif");
    int column = 0;
    for (std::size_t gi = 0; gi < std::size(kGroups); ++gi) {
        const Group& g = kGroups[gi];
        const int blockLeft = kGridLeft + column * kPitchX;
        auto& heading = place("LabelCorpiOrgano", static_cast<int>(gi), ControlKind::Label,
                              blockLeft, 330, g.columns * kPitchX - 50, 220);
        heading.caption = stops_.STOPS_TABLE[stops::kGroupNames + gi];
        heading.align = Align::Centre;
        heading.foreColour = Colour::rgb(240, 226, 190);
        for (int k = 0; k < g.rows; ++k) {
            const int left = blockLeft + (k / 10) * kPitchX;
            const int top = kGridTop + (k % 10) * kPitchY;
            place(g.plate, k, ControlKind::Picture, left, top, 1100, kPlate).picture = plate;
            place(g.plateName, k, ControlKind::Label, left, top, 1100, kPlate).align =
                Align::Centre;
            // The captions show only where a knob's picture cannot be read.
            if (g.swellKnobs) {
                auto& great = place(g.greatKnobs, k, ControlKind::Picture, left + 60,
                                    top + kPlate + 10, kKnob, kKnob);
                great.picture = p.PIC_TIRANTE_OFF_GO;
                great.caption = "Gt";
                auto& swell = place(g.swellKnobs, k, ControlKind::Picture, left + 590,
                                    top + kPlate + 10, kKnob, kKnob);
                swell.picture = p.PIC_TIRANTE_OFF_SW;
                swell.caption = "Sw";
            } else {
                auto& pedal = place(g.greatKnobs, k, ControlKind::Picture, left + 325,
                                    top + kPlate + 10, kKnob, kKnob);
                pedal.picture = p.PIC_TIRANTE_OFF;
                pedal.caption = "Ped";
            }
        }
        column += g.columns;
    }

    const int below = kGridTop + 10 * kPitchY;
    auto commandsAt = [&](std::span<const Command> row, int left, int top, int pitch, int width) {
        for (std::size_t i = 0; i < row.size(); ++i) {
            const Command& c = row[i];
            placeCommand(c.name, c.index, c.caption, c.toolTip, left + static_cast<int>(i) * pitch,
                         top, width, 240);
        }
    };
    commandsAt(kTopRow, kGridLeft, 30, 1100, 1050);
    commandsAt(kPedalCouplers, kGridLeft + 5500, 30, 700, 650); // before the sub-octave
    commandsAt(kCancellerRow, kGridLeft, below + 20, 1290, 1240);
    commandsAt(kLowerRow, kGridLeft, below + 660, 1290, 1240);
    placeThruAndSubOctave();
    // Free 1..12, a gap, fixed 1..12.
    for (int i = 1; i <= 12; ++i) {
        for (int fixed = 0; fixed < 2; ++fixed) {
            const int left = kGridLeft + (fixed * 12 + i - 1) * 415 + fixed * 300;
            place(fixed ? "Graduatore" : "C_memory", i, ControlKind::Label, left, below + 300, 390,
                  300)
                .align = Align::Centre;
            place(fixed ? "LedFix" : "LedFree", i, ControlKind::Picture, left, below + 345, 210,
                  210);
            place("Numerino_Led", fixed * 12 + i, ControlKind::Label, left + 210, below + 300, 180,
                  300)
                .foreColour = Colour::rgb(240, 226, 190);
        }
    }
    place("Numerino_Led", 0, ControlKind::Label, kGridLeft + 7 * 1290, below + 660, 400, 240);

    // Step 5.
    ADATTA_PULSANTE_THRU();
    VISUALIZZA_LED_O_PANNELLINI();
    SET_FONTS_GRAPH_INTERFACE();
}

// The chosen stop font on the names of the graphic panel's plates.
void PanelLayout::SET_FONTS_GRAPH_INTERFACE() {
    const auto& p = panel_;
    for (const Group& g : kGroups)
        for (int k = 0; k < g.rows; ++k)
            controls_.edit(g.plateName, k).font = {p.fontName, p.fontSize, p.fontBold,
                                                   p.fontItalic};
}

void PanelLayout::VISUALIZZA_LED_O_PANNELLINI() {
    const bool leds = memories_.LED_MEMORIE;
    for (int i = 1; i <= 12; ++i) {
        controls_.edit("C_memory", i).visible = !leds;
        controls_.edit("Graduatore", i).visible = !leds;
        controls_.edit("LedFree", i).visible = leds;
        controls_.edit("LedFix", i).visible = leds;
        controls_.edit("Numerino_Led", i).visible = leds;
        controls_.edit("Numerino_Led", i + 12).visible = leds;
    }
    REGOLA_ALTEZZA_PULSANTI_BASSI();
}

void PanelLayout::REGOLA_ALTEZZA_PULSANTI_BASSI() {
    if (panel_.INTERFACCIA_GRAFICA) return;
    const double s = std::clamp(panel_.SCALA_PANNELLO, 0.8, 1.6);
    const int y = scaled(memories_.LED_MEMORIE ? 5920 : 5870, s);
    for (const Command& c : kLowerRow)
        controls_.edit(c.name, c.index).top = y;
}

void PanelLayout::ADATTA_PULSANTE_THRU() {
    const bool normal = midi_.MODO_THRU == 1;
    auto& sub = controls_.edit("Subottava");
    auto& thru = controls_.edit("THRUBUTTON");
    thru.visible = normal;
    // Shown, it names the organ body it plays, also when the mode has just come to it.
    static const char* const kBodies[] = {"Great", "Swell", "Pedal"};
    if (const int body = registration_.CORPO_ORGANO[SLOT_LIVE]; normal && isOrganBody(body))
        thru.caption = kBodies[body - 1];
    if (panel_.INTERFACCIA_GRAFICA) {
        sub.top = 30;
        sub.left = 7050;
        sub.width = normal ? 1100 : 2265;
        sub.height = 240;
        thru.top = 30;
        thru.left = 8220;
        thru.width = 1100;
        thru.height = 240;
        return;
    }
    const double s = std::clamp(panel_.SCALA_PANNELLO, 0.8, 1.6);
    sub.top = scaled(30, s);
    sub.left = scaled(5375, s);
    sub.height = scaled(240, s);
    sub.width = scaled(normal ? 1000 : 1975, s);
    thru.top = scaled(30, s);
    thru.left = scaled(6400, s);
    thru.height = scaled(240, s);
    thru.width = scaled(975, s);
}

void PanelLayout::Graphmode_Click() {
    auto& item = controls_.edit("Graphmode");
    item.value = item.value ? 0 : 1;
    panel_.INTERFACCIA_GRAFICA = item.value != 0;
    user_.messageBox({panel_.INTERFACCIA_GRAFICA
                          ? "Interface is now set to GRAPHIC mode; exit and restart Kavel, please!"
                          : "Interface is now set to STANDARD PANEL mode; exit and restart Kavel, "
                            "please!",
                      kProgramTitle, Buttons::Ok, Icon::Information, 0});
}

std::vector<std::string> PanelLayout::picturePaths() const {
    const auto& p = panel_;
    const auto& m = memories_;
    std::vector<std::string> paths;
    for (const std::string* path :
         {&p.PIC_TIRANTE_ON, &p.PIC_TIRANTE_OFF, &p.PIC_TIRANTE_ON_GO, &p.PIC_TIRANTE_OFF_GO,
          &p.PIC_TIRANTE_ON_SW, &p.PIC_TIRANTE_OFF_SW, &m.PIC_GREEN_ON, &m.PIC_GREEN_OFF,
          &m.PIC_RED_ON, &m.PIC_RED_OFF, &m.PIC_YELLOW_ON})
        if (!path->empty()) paths.push_back(*path);
    if (p.INTERFACCIA_GRAFICA && !folder_.path().empty() && !p.PIC_TIRANTE_ON.empty()) {
        paths.push_back(folder_.inProgramFolder("tavola.jpg"));
        paths.push_back(folder_.inProgramFolder("stucco.gif"));
    }
    return paths;
}

void PanelLayout::picturesMissing(const std::vector<std::string>& paths) {
    std::string text = "Kavel cannot read these pictures; the controls that show them are drawn "
                       "plainly:";
    for (const auto& path : paths)
        text += "\n" + path;
    user_.messageBox({text, kProgramTitle, Buttons::Ok, Icon::Exclamation, 0});
}

} // namespace kavel
