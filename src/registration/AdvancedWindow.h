#pragma once

// The window `Advanced` ("Advanced Controls"): where each of its controls stands, its own load
// and close procedures, and the handlers of its sliders, options and lists, which change the
// live registration and the sound settings and send them.

#include "console/ProgramState.h"

#include <string>

namespace kavel {

class ControllerSenders;
class Controls;
class MemoryIndicators;
class Procedures;
class Program;
class ProgramFolder;
class ScreenPlacement;
class Sender;

class AdvancedWindow {
  public:
    static constexpr const char* kName = "Advanced";

    // Places every control of the window and gives the registration controls their fixed
    // captions, tool tips and ranges.
    AdvancedWindow(Controls& controls, RegistrationTable& registration, AdvancedState& advanced,
                   MidiState& midi, const StopsTableState& stops, ConfigState& config,
                   Sender& sender, ControllerSenders& senders, MemoryIndicators& indicators,
                   ScreenPlacement& screen, const ProgramFolder& folder, Program& program);
    AdvancedWindow(const AdvancedWindow&) = delete;
    AdvancedWindow& operator=(const AdvancedWindow&) = delete;

    // Its procedures by name ("Advanced.Form_Load", "SliderGO_Scroll", "Temperamenti_Click" ...).
    void registerProcedures(Procedures& p);

    // At the saved place (`ADV_LEFT`, `ADV_TOP`) if all of the window is on the screen there,
    // else centred; the icon from the program folder.
    void Form_Load();
    // A close from the title bar is refused while the console runs: the window lives as long
    // as the program.
    void Form_QueryUnload(bool& Cancel);

    void SliderGO_Scroll();
    void SliderSW_Scroll();
    void SliderPE_Scroll();
    void SliderFondi_Scroll(int Index);
    void SliderMutazioni_Scroll(int Index);
    void SliderAncie_Scroll(int Index);
    void OptionGlobalCoupling_Click(int Index);
    void Memory_Recall_Click(int Index);
    void Temperamenti_Click();
    void NotaInizTemp_Click();
    void Riverberi_Click();
    void TremoloType_Click();
    void SliderTremoloRate_Scroll();
    void PREPARA_TEMPERAMENTO();
    // The window's four lists set to the saved choices, each running its handler.
    void selectAdvancedChoices();

  private:
    void placeControls();
    // The registration controls' fixed captions, tool tips and ranges.
    void buildAdvancedControls();
    void sendTemperament();
    void globalSliderScroll(int own);
    void balanceSliderScroll(const char* slider, int Index, SlotArray RegistrationTable::*go,
                             SlotArray RegistrationTable::*sw, void (ControllerSenders::*sendGo)(),
                             void (ControllerSenders::*sendSw)());

    Controls& controls_;
    RegistrationTable& registration_;
    AdvancedState& advanced_;
    MidiState& midi_;
    const StopsTableState& stops_;
    ConfigState& config_;
    Sender& sender_;
    ControllerSenders& senders_;
    MemoryIndicators& indicators_;
    ScreenPlacement& screen_;
    const ProgramFolder& folder_;
    Program& program_;
};

} // namespace kavel
