// The stop-font window and the standard panel's font steps, without a screen. Controls are
// worked as the window layer works them: the control's state set, then its procedure run by
// the control's own name.

#include "ConsoleFixture.h"

#include "panel/FontsWindow.h"

#include <functional>
#include <tuple>

namespace kavel::test {
namespace {

class Fonts : public ConsoleFixture {
  protected:
    Fonts() {
        user.fonts = {"Courier New", "DejaVu Sans", "ARIAL Black",     "Arimo",
                      "Arial",       "Small Fonts", "Times New Roman", "\xE9lan"};
        console().state.panel.INTERFACCIA_GRAFICA = true;
        setFont(kOpened);
        core->LOAD_GRAPHIC_INTERFACE();
    }
    const FontSpec kOpened{"Arial", 9, false, false};
    const ControlState& get(const char* name) { return core->controls.get(name); }
    void setFont(const FontSpec& f) {
        auto& p = core->state.panel;
        std::tie(p.fontName, p.fontSize, p.fontBold, p.fontItalic) =
            std::tuple(f.name, f.size, f.bold, f.italic);
    }
    void run(const std::string& control, const char* event) {
        ASSERT_EQ(core->procedures.call(control + event, {}), std::nullopt) << control << event;
    }
    void open() {
        run("SetFont", "_Click");
        ASSERT_TRUE(core->fontsWindow().loaded());
    }
    void type(const std::string& text) {
        core->controls.edit("txtSearch").caption = text;
        run("txtSearch", "_Change");
    }
    void set(const char* control, int value, const char* event) {
        core->controls.edit(control).value = value;
        run(control, event);
    }
};

TEST_F(Fonts, OpensOnlyOnTheGraphicPanelShowingTheFontInUse) {
    core->state.panel.INTERFACCIA_GRAFICA = false;
    EXPECT_TRUE(get("SetFont").enabled);
    run("SetFont", "_Click");
    ASSERT_EQ(user.shown.size(), 1u);
    EXPECT_EQ(user.shown[0].text, "This feature is active only for Graphical Interface!");
    EXPECT_EQ(user.shown[0].title, "Warning");
    EXPECT_TRUE(user.windowsShown.empty());
    EXPECT_FALSE(core->fontsWindow().loaded());

    core->state.panel.INTERFACCIA_GRAFICA = true;
    struct Case {
        FontSpec font; // as the configuration left it
        int bar;
        const char* label;
    };
    const Case cases[] = {{{"Arial", 9, false, true}, 9, "9"},
                          {{"Arial", 7.6, true}, 8, "8"},
                          {{"Arial", 0}, 1, "0"},
                          {{"Arial", 300}, 72, "300"}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.label);
        setFont(c.font);
        open();
        EXPECT_EQ(user.windowsShown, std::vector<std::string>{"SetFonts"});
        EXPECT_EQ(get("SetFonts").caption, "Font setting");
        EXPECT_EQ(get("SetFonts").picture, (folder / "Alph1f.ico").string());
        EXPECT_EQ(get("SetFonts.LabelNomeprog").caption, "Kavel");
        EXPECT_EQ(get("lstSearch").items, user.fonts);
        EXPECT_EQ(get("txtSearch").caption, "Arial");
        EXPECT_EQ(get("txtSearch").font, c.font);
        EXPECT_EQ(get("Label_size").caption, c.label);
        EXPECT_EQ(get("VScroll_fontSize").value, c.bar); // within 1..72
        EXPECT_EQ(get("Check_bold").value, c.font.bold ? 1 : 0);
        EXPECT_EQ(get("Check_corsivo").value, c.font.italic ? 1 : 0);
        // The list opens at the font in use ("ARIAL Black" is the first that begins so).
        EXPECT_EQ(get("lstSearch").topIndex, 2);
        EXPECT_EQ(get("lstSearch").listIndex, -1);
        // Opened again while open: brought forward, nothing reloaded.
        core->controls.edit("lstSearch").listIndex = 0;
        run("SetFont", "_Click");
        EXPECT_EQ(get("lstSearch").listIndex, 0);
        run("SetFonts.Command_Cancel", "_Click");
        EXPECT_EQ(core->fontsWindow().font(), c.font);
        EXPECT_TRUE(user.windowsShown.empty());
    }
    EXPECT_EQ(user.shown.size(), 1u);
}

TEST_F(Fonts, SearchScrollsToTheFirstEntryBeginningWithTheTextWithoutChoosingIt) {
    struct Case {
        std::string typed;
        int top;       // the entry at the top of the list afterwards
        int selection; // -1: none
        bool found;
    };
    // Before each: entry 6 chosen, entry 4 at the top.
    const Case cases[] = {
        {"ar", 2, 6, true},      {"AR", 2, 6, true},    {"arim", 3, 6, true},
        {"SMALL f", 5, 6, true}, {"c", 0, 6, true},     {"\xC9L", 7, 6, true},
        {"xyz", 4, -1, false},   {" ar", 4, -1, false}, {"Arimo Sans", 4, -1, false},
        {"", 0, -1, false},
    };
    open();
    for (const Case& c : cases) {
        SCOPED_TRACE(c.typed);
        core->controls.edit("lstSearch").listIndex = 6;
        core->controls.edit("lstSearch").topIndex = 4;
        type(c.typed);
        EXPECT_EQ(get("lstSearch").topIndex, c.top);
        EXPECT_EQ(get("lstSearch").listIndex, c.selection);
        EXPECT_EQ(core->fontsWindow().found(), c.found);
        EXPECT_EQ(core->fontsWindow().font(), kOpened); // searching chooses nothing
    }
}

TEST_F(Fonts, LeavingTheSearchBoxShowsTheChosenEntryOnlyAfterAFind) {
    struct Case {
        const char* typed; // nullptr: nothing typed after entering the box
        int selection;
        std::string shown; // in the box after leaving it
    };
    const Case cases[] = {
        {nullptr, 0, "Courier New"},
        {"ti", 1, "DejaVu Sans"},
        {"zz", 1, "zz"},
        {nullptr, -1, "Arial"},
        {"", 3, ""},
    };
    open();
    for (const Case& c : cases) {
        SCOPED_TRACE(c.typed ? c.typed : "(nothing)");
        core->controls.edit("txtSearch").caption = "Arial";
        core->controls.edit("lstSearch").listIndex = c.selection;
        run("txtSearch", "_GotFocus");
        if (c.typed) type(c.typed);
        run("txtSearch", "_LostFocus");
        EXPECT_EQ(get("txtSearch").caption, c.shown);
    }
}

TEST_F(Fonts, EveryControlEditsTheFontAtOnceOkKeepsCancelRestoresDefaultStaysOpen) {
    using Step = std::function<void()>;
    const Step bigger = [this] { set("VScroll_fontSize", 14, "_Change"); };
    const Step bold = [this] { set("Check_bold", 1, "_Click"); };
    const Step italic = [this] { set("Check_corsivo", 1, "_Click"); };
    const Step courier = [this] {
        core->controls.edit("lstSearch").listIndex = 0;
        run("lstSearch", "_Click");
    };
    const auto press = [this](const char* button) -> Step {
        return [this, button] { run(std::string("SetFonts.") + button, "_Click"); };
    };
    const Step ok = press("Command_ok"), cancel = press("Command_Cancel");
    const Step byDefault = press("Command_default");
    const FontSpec big{"Arial", 14, true, false};
    const FontSpec standard{"Small Fonts", 7, true, false};
    const FontSpec courier14{"Courier New", 14, true, false};
    struct Case {
        const char* what;
        std::vector<Step> steps;
        FontSpec font;   // the console's stop font afterwards
        FontSpec plates; // what the names on the plates show
        bool open;
    };
    const Case cases[] = {
        {"changed, not yet applied", {bigger, bold}, big, kOpened, true},
        {"cancel", {bigger, bold, cancel}, kOpened, kOpened, false},
        {"ok", {bigger, bold, ok}, big, big, false},
        {"default", {bigger, italic, byDefault}, standard, standard, true},
        {"default, cancel", {bigger, bold, byDefault, cancel}, kOpened, kOpened, false},
        {"an entry: the bar's size, the box's bold",
         {bold, bigger, courier, ok},
         courier14,
         courier14,
         false},
        {"closed: nothing to restore or edit", {cancel, cancel, bold}, kOpened, kOpened, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        setFont(kOpened);
        core->SET_FONTS_GRAPH_INTERFACE();
        open();
        for (const Step& step : c.steps)
            step();
        EXPECT_EQ(core->fontsWindow().font(), c.font);
        for (const auto& [name, last] : {std::pair{"Scritta_Fondi", 29},
                                         {"Scritta_Mutaz", 19},
                                         {"Scritta_Ancie", 19},
                                         {"Scritta_Pedale", 19}})
            for (int row : {0, last})
                EXPECT_EQ(core->controls.get(name, row).font, c.plates) << name << row;
        EXPECT_EQ(core->fontsWindow().loaded(), c.open);
        EXPECT_EQ(user.windowsShown.size(), c.open ? 1u : 0u);
        if (!c.open) continue;
        // The window shows the font as it now is.
        EXPECT_EQ(get("txtSearch").font, c.font);
        EXPECT_EQ(get("txtSearch").caption, c.font.name);
        EXPECT_EQ(get("Label_size").caption, std::to_string(static_cast<int>(c.font.size)));
        EXPECT_EQ(get("Check_bold").value, c.font.bold ? 1 : 0);
        EXPECT_EQ(get("Check_corsivo").value, c.font.italic ? 1 : 0);
        run("SetFonts.Command_Cancel", "_Click");
    }
}

TEST_F(Fonts, StandardPanelStepsFollowTheSizeTable) {
    const FontSpec kept{"Marker", 3, false, true};
    struct Case {
        double scale;
        FontSpec names, knobs, headings; // fonts A, B and C
        int spaces;
    };
    const Case cases[] = {
        {0.8, {"Small Fonts", 5}, {"Small Fonts", 5, true}, {"Arial", 6, true}, 26},
        {1.0, {"Arial", 7}, {"Small Fonts", 6, true}, {"Arial", 8, true}, 15},
        {1.4, {"Arial", 9}, {"Arial", 8}, {"Arial", 7, true}, 20},
        {1.45, {"Arial", 9}, {"Arial", 8}, {"Arial", 7, true}, 20},
        {1.6, {"Arial", 11}, {"Arial", 10}, {"Arial", 12, true}, 20},
        {1.7, kept, kept, kept, 9}, // outside the panel's sizes: as they were
    };
    // Each control with the font of the table it takes.
    struct Dressed {
        const char* name;
        int index;
        FontSpec Case::*font;
    };
    const Dressed dressed[] = {
        {"NomeFondi", 29, &Case::names},
        {"NomePedale", 0, &Case::names},
        {"Tir_FO_SW", 29, &Case::knobs},
        {"Tir_AN_GO", 19, &Case::knobs},
        {"LabelCorpiOrgano", 3, &Case::headings},
        {"RESET", -1, &Case::headings},
        {"Button_Annullatori_sw", 2, &Case::headings},
        {"Subottava", -1, &Case::headings},
    };
    auto& p = core->state.panel;
    p.INTERFACCIA_GRAFICA = false;
    core->LOAD_NORMAL_INTERFACE();
    for (const Case& c : cases) {
        SCOPED_TRACE(c.scale);
        for (const Dressed& d : dressed)
            core->controls.edit(d.name, d.index).font = kept;
        p.SCRITTA_GREAT = std::string(9, ' ') + "Great";
        p.SCRITTA_SWELL = std::string(9, ' ') + "Swell";
        p.SCALA_PANNELLO = c.scale;
        // OK with the standard panel on applies the steps to it.
        core->fontsWindow().Form_Load();
        run("SetFonts.Command_ok", "_Click");
        for (const Dressed& d : dressed)
            EXPECT_EQ(core->controls.get(d.name, d.index).font, c.*d.font) << d.name;
        const std::string pad(static_cast<std::size_t>(c.spaces), ' ');
        EXPECT_EQ(p.SCRITTA_GREAT, pad + "Great");
        EXPECT_EQ(p.SCRITTA_SWELL, pad + "Swell");
    }
}

} // namespace
} // namespace kavel::test
