#pragma once

// The main window `Kavel`, the composition root: it owns the program-wide state, the controls
// and one object per subsystem, each built from those declared before it; it holds the three
// MIDI controls and runs start-up and shutdown. The subsystems hold the console's procedures;
// the window layer only draws `controls` and runs procedures by name.

#include "config/ProgramFolder.h"
#include "config/StartupConfig.h"
#include "console/EventLoop.h"
#include "console/ListSelection.h"
#include "console/OwnConsoleFunctions.h"
#include "console/Procedures.h"
#include "console/Program.h"
#include "console/ProgramState.h"
#include "console/User.h"
#include "console/Variables.h"
#include "console/Waiting.h"
#include "memories/MemoryBank.h"
#include "memories/MemoryFile.h"
#include "memories/MemoryHotkeys.h"
#include "memories/MemoryIndicators.h"
#include "memories/MemoryLabels.h"
#include "memories/TempBuffers.h"
#include "memories/TotalRecall.h"
#include "memories/TotalRecallWindow.h"
#include "midi/Devices.h"
#include "midi/HeldNotes.h"
#include "midi/KeyboardRouting.h"
#include "midi/MidiPorts.h"
#include "midi/Sender.h"
#include "midi/SetupDialog.h"
#include "midi/ThruDialog.h"
#include "panel/AboutBox.h"
#include "panel/Controls.h"
#include "panel/FontsWindow.h"
#include "panel/HelpPages.h"
#include "panel/PanelLayout.h"
#include "panel/ScreenPlacement.h"
#include "registration/AdvancedWindow.h"
#include "registration/ControllerSenders.h"
#include "registration/Registration.h"
#include "registration/StopNames.h"
#include "stops_table/StopsTableEditor.h"
#include "stops_table/TableFile.h"

#include <string>

namespace kavel {

class Kavel : public Program {
  public:
    // `programFolder` holds the data files; file names are joined to it with "/".
    Kavel(Ports ports, EventLoop& loop, User& user, std::string programFolder);

    // Start-up and shutdown, in their order of events.
    void Form_Load();
    void Form_Unload(bool& CANCEL);
    void exit_Click();
    void Gest_Errore_advanced() override;
    bool running() const override { return running_; }

    ProgramState state;
    Controls controls;
    Variables variables;
    Procedures procedures;
    MidiInput& MIDIInput1;
    MidiInput& MIDIInput2;
    MidiOutput& MIDIOutput1;

  private:
    User& user_;
    HeldNotes held_;
    bool running_ = true;

  public:
    // The subsystems, each constructed from those above it.
    ProgramFolder folder;
    Waiting waiting;
    ScreenPlacement placement;
    ListSelection lists;
    Sender sender;
    ControllerSenders senders;
    MemoryIndicators indicators;
    MemoryLabels labels;
    StopNames stopNames;
    PanelLayout panel;
    AdvancedWindow advanced;
    ThruDialog thru;
    Registration registration;
    Devices devices;
    SetupDialog setupDialog;
    StartupConfig config;
    MemoryBank memories;
    MemoryHotkeys hotkeys;
    TempBuffers buffers;
    MemoryFile memoryFile;
    TotalRecall totalRecall;
    OwnConsoleFunctions functions;
    KeyboardRouting routing;
    TableFile tableFile;
    StopsTableEditor editor;
    TotalRecallWindow totalRecallWindow;
    AboutBox about;
    FontsWindow fonts;
    HelpPages help;

  private:
    void registerProcedures();
    void buildMenus();
    void unloadMainWindow();
    void placeSideBySide();
};

} // namespace kavel
