#pragma once

// The main window `Kavel` as the core sees it: it owns the program-wide state, the three MIDI
// controls and the wait timer, runs start-up and shutdown, and holds the procedures of the
// console under their own names. The window layer only draws `controls` and forwards clicks.

#include "console/EventLoop.h"
#include "console/Procedures.h"
#include "console/ProgramState.h"
#include "console/User.h"
#include "console/Variables.h"
#include "midi/ConsoleFunctions.h"
#include "midi/HeldNotes.h"
#include "midi/MidiPorts.h"
#include "panel/Controls.h"

#include <array>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace kavel {

class SetupDialog;
class ThruDialog;
struct StopBlock;   // a row of the console update's block table
struct LevelSender; // an expression or balance sender
class AdvancedWindow;
class StopsTableEditor;
class TotalRecallWindow;
class AboutBox;
class FontsWindow;

struct Ports {
    MidiInput& in1;
    MidiInput& in2;
    MidiOutput& out;
};

class Kavel {
  public:
    // `programFolder` holds the data files; file names are joined to it with "/".
    Kavel(Ports ports, EventLoop& loop, User& user, std::string programFolder);
    ~Kavel();
    Kavel(const Kavel&) = delete;
    Kavel& operator=(const Kavel&) = delete;

    ProgramState state;
    Controls controls;
    Variables variables;
    Procedures procedures;

    MidiInput& MIDIInput1;
    MidiInput& MIDIInput2;
    MidiOutput& MIDIOutput1;

    // The person at the console: message boxes, file dialogs, windows.
    User& user() { return user_; }
    // The output device chosen when there is no configuration yet (the built-in module, so a
    // first start sounds at once); by default none.
    void setFirstStartOutput(std::string name) { firstStartOutput_ = std::move(name); }
    // The Thru dialog, a window of its own.
    ThruDialog& thruDialog() { return *thru_; }
    // The MIDI device setup dialog, a window of its own.
    SetupDialog& setupDialog() { return *setup_; }
    const std::string& programFolder() const { return folder_; }
    // The window `Advanced`: created with the console, it lives as long as the program.
    AdvancedWindow& advanced() { return *advanced_; }
    // The Stops Table editor `compilatore`.
    StopsTableEditor& editor() { return *editor_; }
    // The Help menu's windows: the Total Recall display `Totalrec`, the about box `frmABout`.
    TotalRecallWindow& totalRecallWindow() { return *totalRecall_; }
    AboutBox& aboutBox() { return *about_; }
    // The stop-font window `SetFonts`.
    FontsWindow& fontsWindow() { return *fonts_; }
    std::string inProgramFolder(const std::string& fileName) const;
    bool running() const { return running_; }
    // Every picture file the windows name now (the drawknobs, the LEDs, the board, the plate).
    std::vector<std::string> picturePaths() const;
    // Pictures a window could not read: said once, the controls are drawn plainly.
    void picturesMissing(const std::vector<std::string>& paths);

    // Start-up and shutdown.
    void Form_Load();
    void Form_Unload(bool& CANCEL);
    void exit_Click();
    void Gest_Errore_advanced();

    // The one wait of the program; 0 or less returns at once.
    void Waiting_Timer(int msec);
    void Timer1_Timer();

    // Ports.
    void MIDI_OPENING();
    void CHIUSURA_PORTE_MIDI();
    void MIDI_DEVICES_ACK();
    void MIDIInput1_Error(int& ErrorCode, std::string& ErrorMessage);
    void MIDIInput2_Error(int& ErrorCode, std::string& ErrorMessage);
    void MIDIOutput1_Error(int& ErrorCode, std::string& ErrorMessage);
    // Setup menu: the device dialog, and what its OK runs.
    void SetMidi_Click();
    void Fine_Setup();
    // About once a second: the ports report devices gone; a device lost while open is looked
    // for by its name and opened again once it is back.
    void checkDevices();
    // Opens a port on a device; a failure is reported by the port's Error event, not thrown.
    void openPortReporting(MidiInput& input, int device);
    void openPortReporting(MidiOutput& output, int device);
    // After the Setup dialog's OK or CANCEL: a chosen device that was not listed is looked for.
    void watchUnopened();
    // For a module that missed messages: the reset's global strings, the Advanced window's
    // choices and the whole live registration, which stays as it is.
    void resendRegistration();

    // Keyboard input.
    void MIDIInput1_Message();
    void MIDIInput2_Message();
    // The console functions keyboard input drives: this console's own unless a test puts a
    // recording double here (nullptr gives the console's own back).
    void setConsoleFunctions(ConsoleFunctions* functions);
    ConsoleFunctions& consoleFunctions() { return *functions_; }

    // Sending.
    void Sysex_Sending(int N_sysex);
    void Sysex_Temp_sending(int N);
    void Panic_Click();

    // Stops Table file. Both report failures themselves and say whether they succeeded.
    // `error`, when given, receives why a file could not be read.
    bool readStopsTable(const std::string& path, std::string* error = nullptr);
    bool writeStopsTable(const std::string& path);
    void CARICAMENTO_DAT();

    // Stop controls.
    void Tir_FO_GO_Click(int Index);
    void Tir_FO_GO_graph_Click(int Index);
    void Tir_FO_SW_Click(int Index);
    void Tir_FO_SW_graph_Click(int Index);
    void Tir_MU_GO_Click(int Index);
    void Tir_MU_GO_graph_Click(int Index);
    void Tir_MU_SW_Click(int Index);
    void Tir_MU_SW_graph_Click(int Index);
    void Tir_AN_GO_Click(int Index);
    void Tir_AN_GO_graph_Click(int Index);
    void Tir_AN_SW_Click(int Index);
    void Tir_AN_SW_graph_Click(int Index);
    void NomePedale_Click(int Index);
    void Tir_PED_graph_Click(int Index);
    void Button_Annullatori_go_Click(int Index);
    void Button_Annullatori_sw_Click(int Index);
    void CancelALL_Click();
    void UNPI_Click();
    void UNPII_Click();
    void UN_GOSW_Click();
    void UN_SWGO_Click();
    void Tir_TREMOLOGO_Click();
    void TIR_TREMOLOSW_Click();
    void Subottava_Click();
    void advanced_s_Click();

    // The console update and the reset.
    void AGGIORNAMENTO_KAVEL();
    void RESET_Click();
    void RESET_kavel();
    void VALORI_DI_DEFAULT();

    // Expression, balance and tremolo senders.
    void EXPRESSION_GO();
    void EXPRESSION_SW();
    void EXPRESSION_PE();
    void BILANCIA_FONDI_GO();
    void BILANCIA_FONDI_SW();
    void BILANCIA_MUTAZ_GO();
    void BILANCIA_MUTAZ_SW();
    void BILANCIA_ANCIE_GO();
    void BILANCIA_ANCIE_SW();
    void Send_Tremolo_GO(int ON_OFF);
    void Send_Tremolo_SW(int ON_OFF);

    // The Advanced window.
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
    // Selecting a list item from code runs the list's handler, as a click does.
    void selectListItem(const std::string& list, int index);

    // Stop names on the panel and the Advanced window's lists.
    void SCRITTURA_TESTI_DEI_REGISTRI();
    void CARICAMENTO_LIST_BOXES();

    // Memories and their indicators.
    void Memorie(int& Index);
    void Ledfree_Click(int Index);
    void c_memory_Click(int Index);
    void LedFix_Click(int Index);
    void Graduatore_Click(int Index);
    void Rec_button_Click();
    void CLEAR_Click();
    void SaveFIXED_Click();
    void DisplayLeds_Click();
    // File menu: the free memories and a few Advanced settings to and from a ".sqs" file.
    void savefile_Click();
    void Loadfile_Click();
    void SPENGO_MEMORIE();
    void Spengo_Graduatore();
    void Marca_Led_giallo();
    // Total Recall: command keys while the switch event is armed.
    void Total_Recall(int& Nota, int Canale);
    void THRUBUTTON_Click();
    // Setup menu: the Thru dialog.
    void MidiThru_Click();
    // Help menu: the help pages in a help window, at their contents.
    void Help1_Click();

    // Configuration.
    void LEGGI_FILE_AVVIO();
    void Salva_dati_di_avvio();
    void EnableCFG_Click();
    // The chosen devices by name, beside the configuration: written with it, and at start-up
    // used to find a device whose number has changed (one not found is looked for later).
    void saveDeviceNames();
    void findDevicesByName();

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
    void SetFont_Click();

    // The memory hotkeys of the main window, the memory labels and their tool tips.
    void Form_KeyDown(int KeyCode, int Shift);
    // `KeyAscii`: the character typed, in Windows-1252.
    void Form_KeyPress(int KeyAscii);
    void Scrivi_ToolTips_memorie();
    void Labelmode_Click();
    void Scrivi_Etichette_memorie();
    // The Temporary Buffers: S1, S2 store the live registration, L1, L2 load it back.
    void TempMemButton_Click(int Index);
    void LoadBuffer_Click(int Index);

    // A dialog centred on the screen, with its icon from the program folder.
    void centreOnScreen(const char* window, const char* icon);
    // The Advanced window's four lists set to the saved choices, each running its handler.
    void selectAdvancedChoices();
    // Keeps a window wholly on the screen, centring it where it would not be.
    void keepOnScreen(double& top, double& left, const char* window);
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
    void registerNames();
    void buildMenus();
    void unloadMainWindow();
    void clearFreeMemories(bool subOctaveToo);
    enum class FreeLook { Dark, Cleared, Current, Changed };
    void setFreeIndicator(int i, FreeLook look);
    void setFixedIndicator(int i, bool lit);
    void stepTarget(int step);
    void stepList(const char* list, int delta);
    // `note` follows the defaults' message: why the file was not taken.
    void configDefaults(const std::string& note);
    void placeSideBySide();
    std::optional<std::string> readConfig(const std::string& bytes);
    void drawKnob(SlotArray& field, int row);
    void toggleCoupler(SlotArray& field, bool first, const char* firstButton,
                       const char* secondButton);
    void paintPair(const char* firstButton, const char* secondButton, int value);
    // The update's parts.
    void updateStopBlock(const StopBlock& block);
    void drawStop(const StopBlock& block, int oldRow, int newRow);
    void pushInAppliedStops();
    void showOrganBody();
    void updateCanceller(int division, int group);
    void sendController(int status, int controller, int value);
    void sendLevel(const LevelSender& sender);
    void sendTemperament();
    void globalSliderScroll(int own);
    void balanceSliderScroll(const char* slider, int Index, SlotArray RegistrationTable::*go,
                             SlotArray RegistrationTable::*sw, void (Kavel::*sendGo)(),
                             void (Kavel::*sendSw)());
    void inputMessage(MidiInput& input, int which);
    struct Message {
        int status;
        int data1;
        int data2;
    };
    // R1..R12 of one message from input `which` (0 or 1).
    void route(int which, Message m);
    void rechannel(Message& m) const;
    void pitchWheel(int which, const Message& m);
    void expression(int which, const Message& m);
    void forward(int which, const Message& m, int incomingChannel, int incomingNote);
    void send(int status, int data1, int data2);
    void sendSysEx(std::string bytes);
    void noteDelay() const;
    void openInput(MidiInput& input, int device);
    void showPortError(const std::string& text);
    // Lists the port's devices afresh in its list of the Setup dialog, "No device" last.
    int fillDeviceList(MidiPort& port, const char* list);
    std::vector<std::string> deviceNames(MidiPort& port);
    // The name of the device chosen for a port (0, 1 the inputs, 2 the output), lost ones
    // included; empty for "No device".
    std::string chosenDeviceName(int port) const;
    // Where in `names` the other input's open device stands, for a namesake to pass it over.
    int takenByOtherInput(int port, const std::vector<std::string>& names) const;
    // Notes of keys held on an input whose releases will not come, released now.
    void releaseHeldKeys(int input);
    // A device lost while open, and found again: ports 0 and 1 the inputs, 2 the output.
    void deviceLost(int port, const std::string& text);
    void reopenLost(int port);
    // The reset's global strings and the chosen reverb, with their waits.
    void sendGlobalReset();

    class Functions;
    std::unique_ptr<ConsoleFunctions> ownFunctions();
    void registerProcedures();
    void buildAdvancedControls();

    std::unique_ptr<AdvancedWindow> advanced_;
    std::unique_ptr<ThruDialog> thru_;
    std::unique_ptr<SetupDialog> setup_;
    std::unique_ptr<StopsTableEditor> editor_;
    std::unique_ptr<TotalRecallWindow> totalRecall_;
    std::unique_ptr<AboutBox> about_;
    std::unique_ptr<FontsWindow> fonts_;
    HeldNotes held_;
    std::unique_ptr<ConsoleFunctions> own_;
    ConsoleFunctions* functions_;
    EventLoop& loop_;
    User& user_;
    std::string folder_;
    std::array<std::string, 3> lostDevices_; // by port, while it is away
    std::array<std::string, 3> unfound_;     // chosen, not listed when the dialog opened
    int waits_ = 0;                          // nested Waiting_Timer calls running
    bool checkingDevices_ = false;
    bool registrationOwed_ = false; // the module came back: the next check sends it all
    bool running_ = true;
    bool firstPlacement_ = false; // no saved window places: the defaults' message was shown
    std::string firstStartOutput_;
    bool windowSizeKnown_ = false; // the main window's size taken back at start-up
};

} // namespace kavel
