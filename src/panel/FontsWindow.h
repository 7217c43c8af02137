#pragma once

// The window `SetFonts`: the font of the stop names on the graphic panel's plates. Every
// control edits the console's font at once; OK keeps it, Cancel brings back the font the
// window opened with.

#include "panel/Controls.h"

#include <string>

namespace kavel {

struct PanelState;
class PanelLayout;
class Procedures;
class ScreenPlacement;
class User;

class FontsWindow {
  public:
    FontsWindow(Controls& controls, User& user, PanelState& panel, ScreenPlacement& screen,
                PanelLayout& layout);
    FontsWindow(const FontsWindow&) = delete;
    FontsWindow& operator=(const FontsWindow&) = delete;

    // Its procedures by name ("SetFonts.Form_Load", "lstSearch_Click" ...), and the main
    // window's "SetFont_Click" that opens it.
    void registerProcedures(Procedures& procedures);

    // The Setup menu's "Font&s": opens the window, for the graphic panel only.
    void SetFont_Click();
    void Form_Load();
    void MOSTRA_FONT();
    void lstSearch_Click();
    void txtSearch_Change();
    // The first entry of the list that begins with the box's text comes to the top of it.
    void AutoFind(const std::string& txtBox, const std::string& LstBox);
    void txtSearch_GotFocus();
    void txtSearch_LostFocus();
    void Check_bold_Click();
    void Check_corsivo_Click();
    void VScroll_fontsize_Change();
    void Command_ok_Click();
    void Command_default_Click();
    void Command_Cancel_Click();

    bool loaded() const { return loaded_; }
    bool found() const { return found_; }
    // The console's stop font (FONT_REGISTRI) as one value.
    FontSpec font() const;

  private:
    void place();
    void setFont(const FontSpec& f);
    void close();

    Controls& controls_;
    User& user_;
    PanelState& panel_;
    ScreenPlacement& screen_;
    PanelLayout& layout_;
    FontSpec saved_; // the font the window opened with
    bool updating_ = false;
    bool found_ = false;
    bool loaded_ = false;
};

} // namespace kavel
