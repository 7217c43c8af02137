#pragma once

// The Thru dialog `Thru_form`: the choice of thru mode and, in Fixed Rechanneling, the
// learning of each division's keyboard channel. It works live on the console's settings; OK
// keeps them, CANCEL brings back the mode and the learned channels it opened with.

#include <array>

namespace kavel {

class Controls;
class MemoryIndicators;
class PanelLayout;
class Procedures;
class ScreenPlacement;
class User;
struct MidiState;
struct RegistrationTable;

class ThruDialog {
  public:
    // Places every control of the dialog.
    ThruDialog(Controls& controls, MidiState& midi, RegistrationTable& registration, User& user,
               ScreenPlacement& screen, MemoryIndicators& indicators, PanelLayout& panel);
    ThruDialog(const ThruDialog&) = delete;
    ThruDialog& operator=(const ThruDialog&) = delete;

    // Its procedures by name ("Thru_form.Form_Load", "Thru_choose_Click" ...).
    void registerProcedures(Procedures& procedures);

    void Form_Load();
    void Thru_choose_Click(int Index);
    void Custom_Thru_label_Click(int Index);
    void Command1_Click(); // OK
    void Command2_Click(); // CANCEL
    void AGGIORNA_THRU();

    // Setup menu: the Thru dialog.
    void MidiThru_Click();
    // The panel's Thru button: the organ body that Normal Rechannelling plays.
    void THRUBUTTON_Click();
    // After a change of organ body: the button names it (ADATTA_PULSANTE_THRU writes the
    // caption), and in Normal Rechannelling the registration has changed.
    void showOrganBody();

    // Open: a second Form_Load would teach the default channels again and forget the mode.
    bool loaded() const { return loaded_; }

  private:
    void place();
    void close();
    Controls& controls_;
    MidiState& midi_;
    RegistrationTable& registration_;
    User& user_;
    ScreenPlacement& screen_;
    MemoryIndicators& indicators_;
    PanelLayout& panel_;
    std::array<int, 4> channelsAtOpening_{};
    bool loaded_ = false;
};

} // namespace kavel
