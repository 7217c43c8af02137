#pragma once

// The two layouts of the main window, the standard panel and the graphic one: where every
// control stands, the fonts of both, the memory indicators or their panels, and the main
// window's size as the organist left it.

#include "panel/Controls.h"

#include <string>
#include <vector>

namespace kavel {

struct MemoryState;
struct MidiState;
struct PanelState;
struct RegistrationTable;
struct StopsTableState;
class MemoryLabels;
class Procedures;
class ProgramFolder;
class User;

class PanelLayout {
  public:
    PanelLayout(Controls& controls, User& user, PanelState& panel, const MemoryState& memories,
                const MidiState& midi, const RegistrationTable& registration,
                const StopsTableState& stops, const ProgramFolder& folder,
                const Procedures& procedures, MemoryLabels& labels);
    PanelLayout(const PanelLayout&) = delete;
    PanelLayout& operator=(const PanelLayout&) = delete;

    // "ATTIVA_DISATTIVA_GRAPHIC_Interface", "LOAD_NORMAL_INTERFACE", "Graphmode_Click" ...
    void registerProcedures(Procedures& procedures);

    // The panel layouts.
    void ATTIVA_DISATTIVA_GRAPHIC_Interface();
    void LOAD_GRAPHIC_INTERFACE();
    void LOAD_NORMAL_INTERFACE();
    void VISUALIZZA_LED_O_PANNELLINI();
    void REGOLA_ALTEZZA_PULSANTI_BASSI();
    void ADATTA_PULSANTE_THRU();
    void Graphmode_Click();
    void SET_FONTS_NORMAL_INTERFACE();
    void SET_FONTS_GRAPH_INTERFACE();

    // Every picture file the windows name now (the drawknobs, the LEDs, the board, the plate).
    std::vector<std::string> picturePaths() const;
    // Pictures a window could not read: said once, the controls are drawn plainly.
    void picturesMissing(const std::vector<std::string>& paths);

    // The main window's size as the organist left it, kept beside kavel.CFG, whose format
    // has no room for it: taken back only for a panel of the same design size.
    void restoreWindowSize();
    void saveWindowSize();

  private:
    ControlState& place(const std::string& name, int index, ControlKind kind, int left, int top,
                        int width, int height);
    void placeCommand(const char* name, int index, const char* caption, const char* toolTip,
                      int left, int top, int width, int height);
    void placeThruAndSubOctave();

    Controls& controls_;
    User& user_;
    PanelState& panel_;
    const MemoryState& memories_;
    const MidiState& midi_;
    const RegistrationTable& registration_;
    const StopsTableState& stops_;
    const ProgramFolder& folder_;
    const Procedures& procedures_;
    MemoryLabels& labels_;
    bool windowSizeKnown_ = false; // the main window's size taken back at start-up
};

} // namespace kavel
