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

#include <string>

namespace kavel {

// The console functions' stand-in until memories, stops and the Advanced window take over.
ConsoleFunctions& pendingConsoleFunctions();

struct Ports {
    MidiInput& in1;
    MidiInput& in2;
    MidiOutput& out;
};

class Kavel {
  public:
    // `programFolder` holds the data files; file names are joined to it with "/".
    Kavel(Ports ports, EventLoop& loop, User& user, std::string programFolder);
    Kavel(const Kavel&) = delete;
    Kavel& operator=(const Kavel&) = delete;

    ProgramState state;
    Controls controls;
    Variables variables;
    Procedures procedures;

    MidiInput& MIDIInput1;
    MidiInput& MIDIInput2;
    MidiOutput& MIDIOutput1;

    const std::string& programFolder() const { return folder_; }
    std::string inProgramFolder(const std::string& fileName) const;
    bool running() const { return running_; }

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

    // Keyboard input.
    void MIDIInput1_Message();
    void MIDIInput2_Message();
    // The console functions keyboard input drives; until their subsystems are built, a
    // stand-in that does nothing. Tests put a recording double here.
    void setConsoleFunctions(ConsoleFunctions* functions);
    ConsoleFunctions& consoleFunctions() { return *functions_; }

    // Sending.
    void Sysex_Sending(int N_sysex);
    void Sysex_Temp_sending(int N);
    void Panic_Click();

    // Stops Table file. Both report failures themselves and say whether they succeeded.
    bool readStopsTable(const std::string& path);
    bool writeStopsTable(const std::string& path);
    void CARICAMENTO_DAT();

    // Configuration.
    void LEGGI_FILE_AVVIO();
    void Salva_dati_di_avvio();

    // Procedures start-up and shutdown call that belong to windows and subsystems not yet
    // in this program; each does nothing until its subsystem fills it in.
    void SCRITTURA_TESTI_DEI_REGISTRI();
    void ATTIVA_DISATTIVA_GRAPHIC_Interface();
    void LOAD_GRAPHIC_INTERFACE();
    void LOAD_NORMAL_INTERFACE();
    void Scrivi_ToolTips_memorie();
    void SPENGO_MEMORIE();
    void Spengo_Graduatore();
    void CARICAMENTO_LIST_BOXES();
    void RESET_Click();
    void AGGIORNAMENTO_KAVEL();
    void OptionGlobalCoupling_Click(int Index);

  private:
    void registerNames();
    void buildMenus();
    void unloadMainWindow();
    void clearFreeMemories();
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

    HeldNotes held_;
    ConsoleFunctions* functions_;
    EventLoop& loop_;
    User& user_;
    std::string folder_;
    bool running_ = true;
};

} // namespace kavel
