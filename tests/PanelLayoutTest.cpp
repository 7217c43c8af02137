// The layouts as the console places them, without a screen.

#include "RegistrationFixture.h"
#include "panel/CaptionFit.h"
#include "panel/PanelFit.h"

namespace kavel::test {
namespace {

using PanelLayout = RegistrationFixture;

TEST_F(PanelLayout, StandardPanelFollowsItsSizeFactor) {
    auto& k = console();
    k.state.panel.INTERFACCIA_GRAFICA = false;
    struct Case {
        double scale;
        int width, height; // the window
        int lowerLabels;   // the lower button row, indicators as labels
        int lowerLeds;     // and as LEDs
        int knobsFontSize; // the knob labels' font at this step
        const char* knobsFont;
    };
    const Case cases[] = {
        {0.8, 7744, 5596, 4696, 4736, 5, "Small Fonts"},
        {1.0, 9680, 6870, 5870, 5920, 6, "Small Fonts"},
        {1.4, 13552, 9418, 8218, 8288, 8, "Arial"},
        {1.6, 15488, 10692, 9392, 9472, 10, "Arial"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.scale);
        k.state.panel.SCALA_PANNELLO = c.scale;
        for (bool leds : {false, true}) {
            k.state.memories.LED_MEMORIE = leds;
            k.panel.LOAD_NORMAL_INTERFACE();
            EXPECT_EQ(k.controls.get("Kavel").width, c.width);
            EXPECT_EQ(k.controls.get("Kavel").height, c.height);
            for (const char* lower : {"CLEAR", "Rec_button", "LabelMode"})
                EXPECT_EQ(k.controls.get(lower).top, leds ? c.lowerLeds : c.lowerLabels);
            EXPECT_EQ(k.controls.get("LedFree", 3).visible, leds);
            EXPECT_EQ(k.controls.get("C_memory", 3).visible, !leds);
        }
        EXPECT_EQ(k.controls.get("Tir_AN_SW", 7).font.size, c.knobsFontSize);
        EXPECT_EQ(k.controls.get("Tir_AN_SW", 7).font.name, c.knobsFont);
        EXPECT_TRUE(k.controls.get("LabelCorpiOrgano", 3).font.bold);
    }
    // Stop k of a group: column k div 10, row k mod 10, at 100 %.
    k.state.panel.SCALA_PANNELLO = 1.0;
    k.panel.LOAD_NORMAL_INTERFACE();
    const auto& first = k.controls.get("NomeFondi", 0);
    const auto& next = k.controls.get("NomeFondi", 13);
    EXPECT_EQ(next.left - first.left, 1005);
    EXPECT_EQ(next.top - first.top, 3 * 465);
    EXPECT_EQ(k.controls.get("NomeMutaz", 0).left - first.left, 3165 - 75);
}

TEST_F(PanelLayout, HeadingsFollowTheTableAndTheLayoutSwitchWaitsForARestart) {
    auto& k = console();
    k.state.stops.STOPS_TABLE[stops::kGroupNames + 2] = "Ance";
    for (bool graphic : {false, true}) {
        k.state.panel.INTERFACCIA_GRAFICA = graphic;
        graphic ? k.panel.LOAD_GRAPHIC_INTERFACE() : k.panel.LOAD_NORMAL_INTERFACE();
        EXPECT_EQ(k.controls.get("LabelCorpiOrgano", 2).caption, "Ance");
    }
    const int width = k.controls.get("Kavel").width;
    k.controls.edit("Graphmode").value = 1;
    k.panel.Graphmode_Click();
    EXPECT_FALSE(k.state.panel.INTERFACCIA_GRAFICA);
    EXPECT_EQ(user.shown.back().text,
              "Interface is now set to STANDARD PANEL mode; exit and restart Kavel, please!");
    k.panel.Graphmode_Click();
    EXPECT_EQ(user.shown.back().text,
              "Interface is now set to GRAPHIC mode; exit and restart Kavel, please!");
    EXPECT_EQ(k.controls.get("Kavel").width, width); // nothing rebuilt
    k.panel.ATTIVA_DISATTIVA_GRAPHIC_Interface();
    EXPECT_FALSE(k.controls.get("Panel_nograph").visible);
    EXPECT_TRUE(k.controls.get("Tir_PED_graph", 4).visible);
    EXPECT_FALSE(k.controls.get("NomePedale", 4).visible);
}

TEST_F(PanelLayout, ThruAndSubOctaveButtonsByMode) {
    auto& k = console();
    struct Case {
        bool graphic;
        int mode;
        int subLeft, subWidth, thruLeft;
        bool thruShown;
    };
    const Case cases[] = {{true, 1, 7050, 1100, 8220, true},
                          {true, 0, 7050, 2265, 8220, false},
                          {false, 1, 5375 * 12 / 10, 1000 * 12 / 10, 6400 * 12 / 10, true},
                          {false, 2, 5375 * 12 / 10, 1975 * 12 / 10, 6400 * 12 / 10, false}};
    k.state.panel.SCALA_PANNELLO = 1.2;
    for (const Case& c : cases) {
        k.state.panel.INTERFACCIA_GRAFICA = c.graphic;
        k.state.midi.MODO_THRU = c.mode;
        k.panel.ADATTA_PULSANTE_THRU();
        EXPECT_EQ(k.controls.get("Subottava").left, c.subLeft);
        EXPECT_EQ(k.controls.get("Subottava").width, c.subWidth);
        EXPECT_EQ(k.controls.get("THRUBUTTON").left, c.thruLeft);
        EXPECT_EQ(k.controls.get("THRUBUTTON").visible, c.thruShown);
    }
}

// Every character one point wide, a line 1.25 points high: sizes anyone can work out.
struct EvenText : TextMetrics {
    double width(std::string_view line, double points) const override {
        return static_cast<double>(line.size()) * points;
    }
    double height(int lines, double points) const override { return lines * points * 1.25; }
};

TEST(CaptionFit, TheLargestSizeThatHoldsEveryWordWhole) {
    struct Case {
        const char* caption;
        double width, height, largest;
        bool wrap;
        double points;
        std::vector<std::string> lines;
        bool whole;
    };
    const Case cases[] = {
        // Room for it as it is.
        {"Flauto 8'", 100, 20, 10, true, 10, {"Flauto 8'"}, true},
        // Two lines at the largest size rather than one line smaller.
        {"Principale 8' + Ottava 4'",
         130,
         30,
         10,
         true,
         10,
         {"Principale 8'", "+ Ottava 4'"},
         true},
        // Too long at 10 either way: the size comes down, words stay whole.
        {"Principale 8' + Ottava 4' + Flauto 8'",
         60,
         20,
         10,
         true,
         4.5,
         {"Principale 8'", "+ Ottava 4' +", "Flauto 8'"},
         true},
        // One line only: the padding goes, the word stays.
        {"                 Great ", 30, 12, 8, false, 6, {"Great"}, true},
        {"Swell", 50, 12, 8, false, 8, {"Swell"}, true},
        // Nothing holds it: the smallest size, still word by word.
        {"Contrabbasso Violoncello", 5, 2, 4, true, 1, {"Contrabbasso", "Violoncello"}, false},
        {"", 10, 10, 8, true, 8, {}, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.caption);
        const FittedCaption fit =
            fitCaption(c.caption, c.width, c.height, c.largest, 1, c.wrap, EvenText{});
        EXPECT_EQ(fit.points, c.points);
        EXPECT_EQ(fit.lines, c.lines);
        EXPECT_EQ(fit.whole, c.whole);
    }
}

TEST(PanelFit, ScalesAsOnePieceKeepingProportionsAndCentred) {
    struct Case {
        int roomWidth, roomHeight; // pixels, for a 10650 x 10200 twip panel (710 x 680)
        double zoom;
        int left, top;
    };
    const Case cases[] = {
        {710, 680, 1.0, 0, 0},     // its own size
        {1420, 680, 1.0, 355, 0},  // wider only: centred across
        {1420, 1360, 2.0, 0, 0},   // twice each way
        {1920, 1020, 1.5, 427, 0}, // a maximised window: the height decides
    };
    for (const Case& c : cases) {
        const PanelFit fit = fitPanel(10650, 10200, c.roomWidth, c.roomHeight);
        EXPECT_DOUBLE_EQ(fit.zoom, c.zoom);
        EXPECT_EQ(fit.left, c.left);
        EXPECT_EQ(fit.top, c.top);
    }
    // Controls that touch at the design size still touch at any zoom; none vanishes.
    const PanelFit odd{1.37, 5, 7};
    const PixelRect a = onScreen(100, 100, 1000, 240, odd);
    const PixelRect b = onScreen(1100, 100, 1000, 240, odd);
    EXPECT_EQ(a.left + a.width, b.left);
    EXPECT_EQ(onScreen(0, 0, 1, 1, odd).width, 1);
}

} // namespace
} // namespace kavel::test
