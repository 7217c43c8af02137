// The stop-font window and the standard panel's font steps, without a screen: a control's state
// is set, then its procedure run by name, as the window layer does.

#include "ConsoleFixture.h"

#include "panel/FontsWindow.h"

#include <tuple>

namespace kavel::test {
namespace {

const FontSpec kOpened{"Arial", 9, false, false};

class Fonts : public ConsoleFixture {
  protected:
    Fonts() {
        user.fonts = {"Courier New", "DejaVu Sans", "ARIAL Black",     "Arimo",
                      "Arial",       "Small Fonts", "Times New Roman", "\xE9lan"};
        console().state.panel.INTERFACCIA_GRAFICA = true;
        setFont(kOpened);
        core->panel.LOAD_GRAPHIC_INTERFACE();
    }
    const ControlState& get(const char* name, int i = -1) { return core->controls.get(name, i); }
    ControlState& edit(const char* name) { return core->controls.edit(name); }
    FontSpec font() { return core->fonts.font(); }
    void setFont(const FontSpec& f) {
        auto& p = core->state.panel;
        std::tie(p.fontName, p.fontSize, p.fontBold, p.fontItalic) =
            std::tuple(f.name, f.size, f.bold, f.italic);
    }
    void run(const std::string& procedure) {
        ASSERT_EQ(core->procedures.call(procedure, {}), std::nullopt) << procedure;
    }
    // The window shows `f`: the box drawn in it, its size on the label and the bar, its styles.
    void expectShown(const FontSpec& f, int bar, const std::string& label) {
        EXPECT_EQ(std::tuple(get("txtSearch").font, get("txtSearch").caption,
                             get("Label_size").caption, get("VScroll_fontSize").value,
                             get("Check_bold").value, get("Check_corsivo").value),
                  std::tuple(f, f.name, label, bar, f.bold ? 1 : 0, f.italic ? 1 : 0));
    }
};

TEST_F(Fonts, OpensOnlyOnTheGraphicPanelAndSearchesWithoutChoosing) {
    core->state.panel.INTERFACCIA_GRAFICA = false;
    run("SetFont_Click");
    ASSERT_EQ(messageTexts(),
              std::vector<std::string>{"This feature is active only for Graphical Interface!"});
    EXPECT_EQ(user.shown[0].title, "Warning");
    EXPECT_TRUE(user.windowsShown.empty() && !core->fonts.loaded());

    core->state.panel.INTERFACCIA_GRAFICA = true;
    const FontSpec saved{"Arial", 72.6, false, true}; // as a configuration may leave it
    setFont(saved);
    run("SetFont_Click");
    EXPECT_EQ(user.windowsShown, std::vector<std::string>{"SetFonts"});
    EXPECT_EQ(get("SetFonts").picture, (folder / "Alph1f.ico").string());
    EXPECT_EQ(get("lstSearch").items, user.fonts);
    expectShown(saved, 72, "73"); // whole points; the bar ends at 72
    // At the font in use ("ARIAL Black" is the first so beginning), nothing chosen.
    EXPECT_EQ(std::pair(get("lstSearch").topIndex, get("lstSearch").listIndex), std::pair(2, -1));
    edit("lstSearch").listIndex = 0;
    run("SetFont_Click"); // open already: brought forward, nothing reloaded
    EXPECT_EQ(user.shown.size(), 1u);
    run("txtSearch_GotFocus"); // entering the box alone arms the copy of the choice on leaving
    run("txtSearch_LostFocus");
    EXPECT_EQ(get("txtSearch").caption, "Courier New");

    // Typed; then top entry, selection (-1: none), found. Each from entry 6 chosen, 4 at the top.
    const std::tuple<std::string, int, int, bool> cases[] = {
        {"ar", 2, 6, true},      {"AR", 2, 6, true},    {"arim", 3, 6, true},
        {"SMALL f", 5, 6, true}, {"c", 0, 6, true},     {"\xC9L", 7, 6, true},
        {"xyz", 4, -1, false},   {" ar", 4, -1, false}, {"Arimo Sans", 4, -1, false},
        {"", 0, -1, false}};
    for (const auto& [typed, top, selection, found] : cases) {
        SCOPED_TRACE(typed);
        edit("lstSearch").listIndex = 6;
        edit("lstSearch").topIndex = 4;
        run("txtSearch_GotFocus");
        edit("txtSearch").caption = typed;
        run("txtSearch_Change");
        EXPECT_EQ(get("lstSearch").topIndex, top);
        EXPECT_EQ(get("lstSearch").listIndex, selection);
        EXPECT_EQ(font(), saved);   // searching chooses nothing
        run("txtSearch_LostFocus"); // the box shows the chosen entry only after a find
        EXPECT_EQ(get("txtSearch").caption, found ? "Times New Roman" : typed);
    }
}

TEST_F(Fonts, EveryControlEditsTheFontAtOnceOkKeepsCancelRestoresDefaultStaysOpen) {
    // A step: a control given a value (the list: its selection), then its procedure run.
    using Step = std::pair<const char*, int>;
    const Step bigger{"VScroll_fontSize", 14}, bold{"Check_bold", 1}, italic{"Check_corsivo", 1},
        courier{"lstSearch", 0}, ok{"SetFonts.Command_ok", 0}, cancel{"SetFonts.Command_Cancel", 0},
        byDefault{"SetFonts.Command_default", 0};
    const FontSpec big{"Arial", 14, true, false}, standard{"Small Fonts", 7, true, false},
        courier14{"Courier New", 14, true, false};
    // Steps; then the console's stop font, the plates' font, whether the window is open.
    const std::tuple<std::vector<Step>, FontSpec, FontSpec, bool> cases[] = {
        {{bigger, bold}, big, kOpened, true},
        {{bigger, bold, cancel}, kOpened, kOpened, false},
        {{bigger, bold, ok}, big, big, false},
        {{bigger, italic, byDefault}, standard, standard, true},
        {{bigger, bold, byDefault, cancel}, kOpened, kOpened, false},
        {{bold, bigger, courier, ok}, courier14, courier14, false}, // bar's size, box's bold
        {{cancel, cancel, bold}, kOpened, kOpened, false}, // closed: nothing to restore or edit
    };
    for (const auto& [steps, stop, plates, isOpen] : cases) {
        SCOPED_TRACE(testing::PrintToString(steps));
        setFont(kOpened);
        core->panel.SET_FONTS_GRAPH_INTERFACE();
        run("SetFont_Click");
        for (const auto& [control, value] : steps) {
            const std::string name = control;
            (name == "lstSearch" ? edit(control).listIndex : edit(control).value) = value;
            run(name + (name == "VScroll_fontSize" ? "_Change" : "_Click"));
        }
        EXPECT_EQ(font(), stop);
        EXPECT_EQ(get("Scritta_Fondi", 29).font, plates);
        EXPECT_EQ(core->fonts.loaded(), isOpen);
        if (!isOpen) continue;
        const int size = static_cast<int>(stop.size);
        expectShown(stop, size, std::to_string(size));
        run("SetFonts.Command_Cancel_Click");
    }
}

TEST_F(Fonts, StandardPanelStepsFollowTheSizeTable) {
    // Scale (1.7: no step); fonts A stop names, B knob labels, C headings, buttons; knob spaces.
    const std::tuple<double, FontSpec, FontSpec, FontSpec, int> cases[] = {
        {0.8, {"Small Fonts", 5}, {"Small Fonts", 5, true}, {"Arial", 6, true}, 26},
        {1.0, {"Arial", 7}, {"Small Fonts", 6, true}, {"Arial", 8, true}, 15},
        {1.7, {"Arial", 7}, {"Small Fonts", 6, true}, {"Arial", 8, true}, 15}, // kept from 1.0
        {1.4, {"Arial", 9}, {"Arial", 8}, {"Arial", 7, true}, 20},
        {1.45, {"Arial", 9}, {"Arial", 8}, {"Arial", 7, true}, 20},
        {1.6, {"Arial", 11}, {"Arial", 10}, {"Arial", 12, true}, 20}};
    auto& p = core->state.panel;
    p.INTERFACCIA_GRAFICA = false;
    core->panel.LOAD_NORMAL_INTERFACE();
    for (const auto& [scale, names, knobs, headings, spaces] : cases) {
        SCOPED_TRACE(scale);
        p.SCALA_PANNELLO = scale;
        core->fonts.Form_Load();
        run("SetFonts.Command_ok_Click"); // OK on the standard panel applies the steps to it
        EXPECT_EQ(get("NomeFondi", 29).font, names);
        EXPECT_EQ(get("Tir_AN_GO", 19).font, knobs);
        EXPECT_EQ(get("LabelCorpiOrgano", 3).font, headings);
        EXPECT_EQ(get("Button_Annullatori_sw", 2).font, headings);
        const std::string pad(static_cast<std::size_t>(spaces), ' ');
        EXPECT_EQ(p.SCRITTA_GREAT + p.SCRITTA_SWELL, pad + "Great" + pad + "Swell");
    }
}

} // namespace
} // namespace kavel::test
