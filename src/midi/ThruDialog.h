#pragma once

// The Thru dialog `Thru_form`: the choice of thru mode and, in Fixed Rechanneling, the
// learning of each division's keyboard channel. It works live on the console's settings; OK
// keeps them, CANCEL brings back the mode and the learned channels it opened with.

#include <array>

namespace kavel {

class Kavel;
class Procedures;

class ThruDialog {
  public:
    explicit ThruDialog(Kavel& console);
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

    // Open: a second Form_Load would teach the default channels again and forget the mode.
    bool loaded() const { return loaded_; }

  private:
    void place();
    void close();
    Kavel& k_;
    std::array<int, 4> channelsAtOpening_{};
    bool loaded_ = false;
};

} // namespace kavel
