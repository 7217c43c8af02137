#include "panel/FontsWindow.h"

#include "console/Procedures.h"
#include "console/ProgramState.h"
#include "console/User.h"
#include "panel/PanelLayout.h"
#include "panel/ScreenPlacement.h"

#include <algorithm>
#include <cmath>

namespace kavel {

namespace {

constexpr const char* kWindow = "SetFonts";
constexpr int kMinSize = 1;
constexpr int kMaxSize = 72;
const FontSpec kDefaultFont{"Small Fonts", 7, true, false};

// Latin-1 letters folded to lower case, as the list's own search compares them.
unsigned char folded(char c) {
    const auto u = static_cast<unsigned char>(c);
    if ((u >= 'A' && u <= 'Z') || (u >= 0xC0 && u <= 0xDE && u != 0xD7))
        return static_cast<unsigned char>(u + 0x20);
    return u;
}

bool beginsWith(const std::string& entry, const std::string& typed) {
    return entry.size() >= typed.size() &&
           std::equal(typed.begin(), typed.end(), entry.begin(),
                      [](char a, char b) { return folded(a) == folded(b); });
}

} // namespace

FontsWindow::FontsWindow(Controls& controls, User& user, PanelState& panel, ScreenPlacement& screen,
                         PanelLayout& layout)
    : controls_(controls), user_(user), panel_(panel), screen_(screen), layout_(layout) {
    place();
}

void FontsWindow::registerProcedures(Procedures& p) {
    p.add("SetFont_Click", [this] { SetFont_Click(); });
    p.add("SetFonts.Form_Load", [this] { Form_Load(); });
    p.add("MOSTRA_FONT", [this] { MOSTRA_FONT(); });
    p.add("lstSearch_Click", [this] { lstSearch_Click(); });
    p.add("txtSearch_Change", [this] { txtSearch_Change(); });
    p.add("txtSearch_GotFocus", [this] { txtSearch_GotFocus(); });
    p.add("txtSearch_LostFocus", [this] { txtSearch_LostFocus(); });
    p.add("Check_bold_Click", [this] { Check_bold_Click(); });
    p.add("Check_corsivo_Click", [this] { Check_corsivo_Click(); });
    p.add("VScroll_fontsize_Change", [this] { VScroll_fontsize_Change(); });
    p.add("SetFonts.Command_ok_Click", [this] { Command_ok_Click(); });
    p.add("SetFonts.Command_default_Click", [this] { Command_default_Click(); });
    p.add("SetFonts.Command_Cancel_Click", [this] { Command_Cancel_Click(); });
}

// Every control of the window, in twips: the search box over the list, the size bar and the
// styles beside them, the buttons below.
void FontsWindow::place() {
    auto& c = controls_;
    auto put = [&c](const std::string& name, ControlKind kind, int left, int top, int width,
                    int height) -> ControlState& {
        return c.place(name, -1, kind, kWindow, left, top, width, height);
    };
    auto& window = c.edit(kWindow);
    window.caption = "Font setting";
    window.width = 6600;
    window.height = 4700;

    auto& title = put("SetFonts.LabelNomeprog", ControlKind::Label, 120, 80, 6360, 360);
    title.align = Align::Centre;
    title.font = {"Arial", 12, true, false};
    constexpr const char* kFrameText = "Select Font Type / Dimension for Kavel Stops Text....";
    put("SetFonts.Frame1", ControlKind::Frame, 120, 520, 6360, 3400).caption = kFrameText;
    // A frame's caption is not drawn on it: a label carries it.
    put("SetFonts.FrameTitle", ControlKind::Label, 240, 580, 6120, 280).caption = kFrameText;

    auto& search = put("txtSearch", ControlKind::Text, 240, 940, 4200, 480);
    search.toolTip = "Start typing and I will find your string!";
    search.backColour = Colour::rgb(255, 255, 255);
    auto& list = put("lstSearch", ControlKind::List, 240, 1500, 4200, 2300);
    list.toolTip = "Click a font to see it on text above";
    list.topIndex = 0;

    auto& size = put("VScroll_fontSize", ControlKind::Slider, 4640, 940, 300, 2860);
    size.min = kMinSize;
    size.max = kMaxSize;
    size.largeChange = 4;
    put("Label_size", ControlKind::Label, 5040, 940, 1300, 300);
    put("Check_bold", ControlKind::Check, 5040, 1500, 1300, 300).caption = "Bold";
    put("Check_corsivo", ControlKind::Check, 5040, 1900, 1300, 300).caption = "Italic";

    put("SetFonts.Command_ok", ControlKind::Button, 1500, 4080, 1500, 420).caption = "OK";
    put("SetFonts.Command_default", ControlKind::Button, 3100, 4080, 1500, 420).caption = "Default";
    put("SetFonts.Command_Cancel", ControlKind::Button, 4700, 4080, 1500, 420).caption = "Cancel";
}

FontSpec FontsWindow::font() const {
    const auto& p = panel_;
    return {p.fontName, p.fontSize, p.fontBold, p.fontItalic};
}

void FontsWindow::setFont(const FontSpec& f) {
    auto& p = panel_;
    p.fontName = f.name;
    p.fontSize = f.size;
    p.fontBold = f.bold;
    p.fontItalic = f.italic;
}

void FontsWindow::Form_Load() {
    loaded_ = true;
    auto& c = controls_;
    screen_.centreOnScreen(kWindow, "Alph1f.ico");
    c.edit("SetFonts.LabelNomeprog").caption = kProgramTitle;
    auto& list = c.edit("lstSearch");
    list.items = user_.fontFamilies();
    list.listIndex = -1;
    list.topIndex = 0;
    saved_ = font();
    found_ = false;
    c.edit("txtSearch").caption.clear(); // a fresh box: the font's name is new to it
    MOSTRA_FONT();
}

void FontsWindow::MOSTRA_FONT() {
    auto& c = controls_;
    const FontSpec f = font();
    updating_ = true;
    auto& text = c.edit("txtSearch");
    text.font = f;
    const bool renamed = text.caption != f.name;
    text.caption = f.name;
    const int points = static_cast<int>(std::lround(f.size));
    c.edit("Label_size").caption = std::to_string(points);
    // A size from the file beyond the bar's range puts the bar at its end, not outside it.
    c.edit("VScroll_fontSize").value = std::clamp(points, kMinSize, kMaxSize);
    c.edit("Check_bold").value = f.bold ? 1 : 0;
    c.edit("Check_corsivo").value = f.italic ? 1 : 0;
    updating_ = false;
    // A new text in the box is searched as a typed one is: the list opens at the font in use.
    if (renamed) txtSearch_Change();
}

void FontsWindow::lstSearch_Click() {
    if (!loaded_) return;
    auto& c = controls_;
    const ControlState& list = c.get("lstSearch");
    if (list.listIndex < 0 || list.listIndex >= static_cast<int>(list.items.size())) return;
    auto& p = panel_;
    p.fontBold = c.get("Check_bold").value == 1;
    p.fontName = list.items[static_cast<std::size_t>(list.listIndex)];
    p.fontSize = c.get("VScroll_fontSize").value;
    auto& text = c.edit("txtSearch");
    text.font = font();
    text.caption = p.fontName;
}

void FontsWindow::txtSearch_Change() {
    AutoFind("txtSearch", "lstSearch");
}

void FontsWindow::AutoFind(const std::string& txtBox, const std::string& LstBox) {
    found_ = false;
    auto& c = controls_;
    const std::string typed = c.get(txtBox).caption;
    auto& list = c.edit(LstBox);
    if (typed.empty()) {
        list.topIndex = 0;
        list.listIndex = -1;
        return;
    }
    const auto at = std::find_if(list.items.begin(), list.items.end(),
                                 [&typed](const std::string& e) { return beginsWith(e, typed); });
    if (at != list.items.end()) {
        list.topIndex = static_cast<int>(at - list.items.begin());
        found_ = true; // the selection stays as it was
        return;
    }
    list.listIndex = -1;
}

void FontsWindow::txtSearch_GotFocus() {
    found_ = true;
}

void FontsWindow::txtSearch_LostFocus() {
    if (!found_) return;
    auto& c = controls_;
    const ControlState& list = c.get("lstSearch");
    // Nothing selected leaves the typed text: an empty entry would name no font.
    if (list.listIndex < 0 || list.listIndex >= static_cast<int>(list.items.size())) return;
    c.edit("txtSearch").caption = list.items[static_cast<std::size_t>(list.listIndex)];
}

void FontsWindow::Check_bold_Click() {
    if (updating_ || !loaded_) return;
    panel_.fontBold = controls_.get("Check_bold").value == 1;
    MOSTRA_FONT();
}

void FontsWindow::Check_corsivo_Click() {
    if (updating_ || !loaded_) return;
    panel_.fontItalic = controls_.get("Check_corsivo").value == 1;
    MOSTRA_FONT();
}

void FontsWindow::VScroll_fontsize_Change() {
    if (updating_ || !loaded_) return;
    panel_.fontSize = std::clamp(controls_.get("VScroll_fontSize").value, kMinSize, kMaxSize);
    MOSTRA_FONT();
}

void FontsWindow::Command_ok_Click() {
    if (!loaded_) return;
    if (panel_.INTERFACCIA_GRAFICA)
        layout_.SET_FONTS_GRAPH_INTERFACE();
    else
        layout_.SET_FONTS_NORMAL_INTERFACE();
    close();
}

void FontsWindow::Command_default_Click() {
    if (!loaded_) return;
    setFont(kDefaultFont);
    MOSTRA_FONT();
    layout_.SET_FONTS_GRAPH_INTERFACE();
}

// Closed, the window has no copy to restore: the console's font stays as it is.
void FontsWindow::Command_Cancel_Click() {
    if (!loaded_) return;
    setFont(saved_);
    layout_.SET_FONTS_GRAPH_INTERFACE();
    close();
}

void FontsWindow::close() {
    loaded_ = false;
    user_.closeWindow(kWindow);
}

// The Setup menu's "Font&s": the stop font belongs to the graphic panel only. The window does
// not block the console; open already, it is brought forward as it is.
void FontsWindow::SetFont_Click() {
    if (!panel_.INTERFACCIA_GRAFICA) {
        user_.messageBox({"This feature is active only for Graphical Interface!", "Warning",
                          Buttons::Ok, Icon::Exclamation, 0});
        return;
    }
    if (!loaded_) Form_Load();
    user_.showWindow(kWindow, false);
}

} // namespace kavel
