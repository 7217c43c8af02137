#include "registration/AdvancedWindow.h"

#include "config/ProgramFolder.h"
#include "console/Procedures.h"
#include "console/Program.h"
#include "panel/Controls.h"
#include "panel/ScreenPlacement.h"

#include <string>
#include <tuple>
#include <utility>

namespace kavel {

namespace {

// The design grid is in pixels at 100 %; the console keeps twips.
constexpr int px(int pixels) {
    return pixels * 15;
}

constexpr int kWidth = 666;
constexpr int kHeight = 392;

struct Placed {
    const char* name;
    int index;
    ControlKind kind;
    int left, top, width, height; // pixels
    const char* caption;          // nullptr: what the console shows (values, list names)
    const char* toolTip;
    Align align = Align::Left;
};

using K = ControlKind;
constexpr Align kCentre = Align::Centre;

// Three slider frames side by side (Great and Swell: global and F, M, A columns; Pedal), the
// coupling options and the memory check boxes on the right, the four lists along the bottom.
// Lists are boxes tall enough to show several names, so a choice is one click.
constexpr Placed kControls[] = {
    {"FrameGO", -1, K::Frame, 8, 8, 184, 228, nullptr, nullptr},
    {"CaptionGO", -1, K::Label, 14, 12, 172, 18, "Great Stops Balancing", nullptr, kCentre},
    {"ColumnGO", 0, K::Label, 16, 34, 42, 18, "Global", nullptr, kCentre},
    {"ColumnGO", 1, K::Label, 58, 34, 42, 18, "F", nullptr, kCentre},
    {"ColumnGO", 2, K::Label, 100, 34, 42, 18, "M", nullptr, kCentre},
    {"ColumnGO", 3, K::Label, 142, 34, 42, 18, "A", nullptr, kCentre},
    {"SliderGO", -1, K::Slider, 25, 54, 24, 150, nullptr, nullptr},
    {"SliderFondi", 1, K::Slider, 67, 54, 24, 150, nullptr, nullptr},
    {"SliderMutazioni", 1, K::Slider, 109, 54, 24, 150, nullptr, nullptr},
    {"SliderAncie", 1, K::Slider, 151, 54, 24, 150, nullptr, nullptr},
    {"EXPGO", -1, K::Label, 16, 208, 42, 20, nullptr, nullptr, kCentre},
    {"EXPfondi", 1, K::Label, 58, 208, 42, 20, nullptr, nullptr, kCentre},
    {"EXPmutazioni", 1, K::Label, 100, 208, 42, 20, nullptr, nullptr, kCentre},
    {"EXPancie", 1, K::Label, 142, 208, 42, 20, nullptr, nullptr, kCentre},

    {"FrameSW", -1, K::Frame, 200, 8, 184, 228, nullptr, nullptr},
    {"CaptionSW", -1, K::Label, 206, 12, 172, 18, "Swell Stops Balancing", nullptr, kCentre},
    {"ColumnSW", 0, K::Label, 208, 34, 42, 18, "Global", nullptr, kCentre},
    {"ColumnSW", 1, K::Label, 250, 34, 42, 18, "F", nullptr, kCentre},
    {"ColumnSW", 2, K::Label, 292, 34, 42, 18, "M", nullptr, kCentre},
    {"ColumnSW", 3, K::Label, 334, 34, 42, 18, "A", nullptr, kCentre},
    {"SliderSW", -1, K::Slider, 217, 54, 24, 150, nullptr, nullptr},
    {"SliderFondi", 2, K::Slider, 259, 54, 24, 150, nullptr, nullptr},
    {"SliderMutazioni", 2, K::Slider, 301, 54, 24, 150, nullptr, nullptr},
    {"SliderAncie", 2, K::Slider, 343, 54, 24, 150, nullptr, nullptr},
    {"EXPSW", -1, K::Label, 208, 208, 42, 20, nullptr, nullptr, kCentre},
    {"EXPfondi", 2, K::Label, 250, 208, 42, 20, nullptr, nullptr, kCentre},
    {"EXPmutazioni", 2, K::Label, 292, 208, 42, 20, nullptr, nullptr, kCentre},
    {"EXPancie", 2, K::Label, 334, 208, 42, 20, nullptr, nullptr, kCentre},

    {"FramePE", -1, K::Frame, 392, 8, 58, 228, nullptr, nullptr},
    {"CaptionPE", -1, K::Label, 398, 12, 46, 18, "Pedal", nullptr, kCentre},
    {"SliderPE", -1, K::Slider, 409, 54, 24, 150, nullptr, nullptr},
    {"EXPPE", -1, K::Label, 400, 208, 42, 20, nullptr, nullptr, kCentre},

    {"FrameCoupling", -1, K::Frame, 458, 8, 200, 112, nullptr, nullptr},
    {"CaptionCoupling", -1, K::Label, 464, 12, 188, 18, "Global Coupl", nullptr, kCentre},
    {"OptionGlobalCoupling", 0, K::Option, 472, 36, 176, 22, "No Coupl.",
     "Global Sliders are Not Coupled"},
    {"OptionGlobalCoupling", 1, K::Option, 472, 62, 176, 22, "GO and SW",
     "Sweel ands Great Global Sliders are coupled"},
    {"OptionGlobalCoupling", 2, K::Option, 472, 88, 176, 22, "All Globals",
     "All Global Sliders are Coupled"},

    {"FrameMemories", -1, K::Frame, 458, 128, 200, 108, nullptr, nullptr},
    {"CaptionMemories", -1, K::Label, 464, 132, 188, 36, "Sliders Handled from Memories:", nullptr,
     kCentre},
    {"Memory_Recall", 0, K::Check, 472, 172, 176, 22, "Global ", nullptr},
    {"Memory_Recall", 1, K::Check, 472, 198, 176, 22, "Stops Bal.", nullptr},

    {"LabelTemperament", -1, K::Label, 8, 244, 180, 18, "Temperament", nullptr},
    {"Temperamenti", -1, K::List, 8, 264, 180, 120, nullptr, "Select Kavel Temperament Type"},
    {"LabelTuneTemp", -1, K::Label, 196, 244, 78, 18, "Tune Temp:", nullptr},
    {"NotaInizTemp", -1, K::List, 196, 264, 78, 120, nullptr,
     "Select Tuning Start for Actual Temperament"},
    {"LabelReverb", -1, K::Label, 282, 244, 132, 18, "Reverb", nullptr},
    {"Riverberi", -1, K::List, 282, 264, 132, 120, nullptr, nullptr},
    {"LabelTremolo", -1, K::Label, 422, 244, 236, 18, "Tremolo type/rate", nullptr},
    {"TremoloType", -1, K::List, 422, 264, 236, 46, nullptr, "Select Tremolo Type"},
    {"SliderTremoloRate", -1, K::Slider, 422, 318, 186, 24, nullptr, nullptr},
    {"Valore", -1, K::Label, 612, 318, 46, 24, nullptr, nullptr, kCentre},
};

} // namespace

AdvancedWindow::AdvancedWindow(Controls& controls, RegistrationTable& registration,
                               AdvancedState& advanced, MidiState& midi,
                               const StopsTableState& stops, ConfigState& config, Sender& sender,
                               ControllerSenders& senders, MemoryIndicators& indicators,
                               ScreenPlacement& screen, const ProgramFolder& folder,
                               Program& program)
    : controls_(controls), registration_(registration), advanced_(advanced), midi_(midi),
      stops_(stops), config_(config), sender_(sender), senders_(senders), indicators_(indicators),
      screen_(screen), folder_(folder), program_(program) {
    buildAdvancedControls();
    placeControls();
}

void AdvancedWindow::registerProcedures(Procedures& p) {
    p.add("Advanced.Form_Load", [this] { Form_Load(); });
    using W = AdvancedWindow;
    // Handlers of control arrays, with the indexes their arrays have.
    const std::tuple<const char*, void (W::*)(int), int, int> indexed[] = {
        {"SliderFondi_Scroll", &W::SliderFondi_Scroll, 1, 2},
        {"SliderMutazioni_Scroll", &W::SliderMutazioni_Scroll, 1, 2},
        {"SliderAncie_Scroll", &W::SliderAncie_Scroll, 1, 2},
        {"OptionGlobalCoupling_Click", &W::OptionGlobalCoupling_Click, 0, 2},
        {"Memory_Recall_Click", &W::Memory_Recall_Click, 0, 1},
    };
    for (auto [name, fn, first, last] : indexed)
        p.add(name, first, last, [this, fn = fn](int index) { (this->*fn)(index); });
    const std::pair<const char*, void (W::*)()> plain[] = {
        {"SliderGO_Scroll", &W::SliderGO_Scroll},
        {"SliderSW_Scroll", &W::SliderSW_Scroll},
        {"SliderPE_Scroll", &W::SliderPE_Scroll},
        {"Temperamenti_Click", &W::Temperamenti_Click},
        {"NotaInizTemp_Click", &W::NotaInizTemp_Click},
        {"Riverberi_Click", &W::Riverberi_Click},
        {"TremoloType_Click", &W::TremoloType_Click},
        {"SliderTremoloRate_Scroll", &W::SliderTremoloRate_Scroll},
        {"PREPARA_TEMPERAMENTO", &W::PREPARA_TEMPERAMENTO},
    };
    for (auto [name, fn] : plain)
        p.add(name, [this, fn = fn] { (this->*fn)(); });
}

// The registration controls' fixed captions, tool tips and ranges.
void AdvancedWindow::buildAdvancedControls() {
    auto slider = [this](const char* name, int index, int min, int max) {
        auto& c = controls_.edit(name, index);
        c.min = min;
        c.max = max;
    };
    for (const char* global : {"SliderGO", "SliderSW", "SliderPE"})
        slider(global, -1, 60, 127);
    for (const char* balance : {"SliderFondi", "SliderMutazioni", "SliderAncie"}) {
        slider(balance, 1, 0, 127);
        slider(balance, 2, 0, 127);
    }
    slider("SliderTremoloRate", -1, 0, 127);

    const std::tuple<const char*, const char*, const char*> buttons[] = {
        {"CancelALL", "Canc ", "All Stops Groups will be set to Cancel Position"},
        {"UNPI", "I -  P", "Pedal coupling with Great"},
        {"UNPII", "II - P", "Pedal coupling with Swell"},
        {"UN_GOSW", "Go to Swell", "When you play Go, Sw is  coupled "},
        {"UN_SWGO", "Swell to Go", "When you play Sw, Go  is  coupled "},
        {"Tir_TREMOLOGO", "Trem Go", "Great Tremolo (Move Pitch Bend  Wheel  UP for fast switch)"},
        {"TIR_TREMOLOSW", "Trem Sw", "Swell Tremolo (Move Pitch Bend  Wheel  UP for fast switch)"},
        {"Subottava", "Subottava", "Enable Pedal Sub-Octave"},
        {"RESET", "RESET", "Reset KAVEL  to startup state"},
    };
    for (const auto& [name, caption, tip] : buttons) {
        auto& c = controls_.edit(name);
        c.caption = caption;
        c.toolTip = tip;
    }
    static const char* const kCancellerTips[] = {
        "Mute only Fondi Stops - Click to replace them",
        "Mute only Ripieni Stops - Click to replace them",
        "Mute only ANCE-ARCHI Stops - Click to replace them"};
    for (int g = 0; g < 3; ++g) {
        auto& go = controls_.edit("Button_Annullatori_go", g);
        go.caption = "Go Mute";
        go.toolTip = kCancellerTips[g];
        auto& sw = controls_.edit("Button_Annullatori_sw", g);
        sw.caption = "Sw Mute";
        sw.toolTip = kCancellerTips[g];
    }
}

void AdvancedWindow::placeControls() {
    auto& window = controls_.edit(kName);
    window.caption = "Advanced Controls";
    window.width = px(kWidth);
    window.height = px(kHeight);
    for (const Placed& p : kControls) {
        auto& c = controls_.place(p.name, p.index, p.kind, kName, px(p.left), px(p.top),
                                  px(p.width), px(p.height));
        c.align = p.align;
        if (p.caption) c.caption = p.caption;
        if (p.toolTip) c.toolTip = p.toolTip;
    }
}

void AdvancedWindow::Form_Load() {
    auto& config = config_;
    screen_.keepOnScreen(config.ADV_TOP, config.ADV_LEFT, kName);
    auto& window = controls_.edit(kName);
    window.left = static_cast<int>(config.ADV_LEFT);
    window.top = static_cast<int>(config.ADV_TOP);
    window.picture = folder_.inProgramFolder("panda1.ico");
}

void AdvancedWindow::Form_QueryUnload(bool& Cancel) {
    // Once the console has ended, the program's end takes the window with it.
    Cancel = program_.running();
}

} // namespace kavel
