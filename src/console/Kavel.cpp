#include "console/Kavel.h"

#include "console/ProgramVariables.h"
#include "panel/MainMenu.h"

namespace kavel {

Kavel::Kavel(Ports ports, EventLoop& loop, User& user, std::string programFolder)
    : MIDIInput1(ports.in1), MIDIInput2(ports.in2), MIDIOutput1(ports.out), user_(user),
      folder(std::move(programFolder)), waiting(loop, state.midi),
      placement(controls, user, state.panel, folder), lists(controls, procedures),
      sender(MIDIOutput1, state.midi, state.stops, held_, waiting),
      senders(state.registration, state.advanced, controls, sender),
      indicators(controls, state.memories), labels(controls, state.memories),
      stopNames(state.stops, state.panel, controls),
      panel(controls, user, state.panel, state.memories, state.midi, state.registration,
            state.stops, folder, procedures, labels),
      advanced(controls, state.registration, state.advanced, state.midi, state.stops, state.config,
               sender, senders, indicators, placement, folder, *this),
      thru(controls, state.midi, state.registration, user, placement, indicators, panel),
      registration(state.registration, state.advanced, state.memories, state.midi, state.config,
                   state.panel, state.stops, controls, user, sender, senders, advanced, indicators,
                   labels, panel, waiting, thru, *this),
      devices(MIDIInput1, MIDIInput2, MIDIOutput1, state.midi, state.registration, state.memories,
              controls, user, sender, registration, advanced, waiting, *this),
      setupDialog(controls, state.midi, MIDIInput1, MIDIInput2, MIDIOutput1, user, folder,
                  placement, lists, sender, devices, registration, advanced, labels),
      config(state.midi, state.config, state.advanced, state.memories, state.panel,
             state.registration, controls, user, folder, devices, panel),
      memories(state.memories, state.registration, state.advanced, controls, user, registration,
               senders, indicators, config, panel),
      hotkeys(memories), buffers(state.registration, controls, user, registration),
      memoryFile(state.config, state.advanced, state.memories, state.registration, controls, user,
                 lists, indicators, labels, registration, memories),
      totalRecall(state.midi, state.memories, state.registration, controls, lists, registration,
                  memories, sender, thru),
      functions(memories, registration, advanced, totalRecall),
      routing(MIDIInput1, MIDIInput2, sender, held_, state.midi, state.registration, state.advanced,
              controls, loop, functions),
      tableFile(state.stops, state.config, state.midi, user, folder, stopNames, config),
      editor(controls, user, state.stops, state.config, state.panel, state.registration, placement,
             tableFile, config, panel, stopNames, registration),
      totalRecallWindow(controls, user, placement, folder),
      about(controls, user, placement, folder),
      fonts(controls, user, state.panel, placement, panel), help(user, folder) {
    MIDIInput1.Message = [this] { routing.MIDIInput1_Message(); };
    MIDIInput2.Message = [this] { routing.MIDIInput2_Message(); };
    MIDIInput1.Error = [this](int& code, std::string& text) {
        devices.MIDIInput1_Error(code, text);
    };
    MIDIInput2.Error = [this](int& code, std::string& text) {
        devices.MIDIInput2_Error(code, text);
    };
    MIDIOutput1.Error = [this](int& code, std::string& text) {
        devices.MIDIOutput1_Error(code, text);
    };
    registerVariables(variables, state);
    registerProcedures();
    buildMenus();
}

// Each subsystem registers its own procedures; the menus then enable the items that have one.
void Kavel::registerProcedures() {
    auto& p = procedures;
    p.add("Form_Load", [this] { Form_Load(); });
    p.add("exit_Click", [this] { exit_Click(); });
    p.add("Gest_Errore_advanced", [this] { Gest_Errore_advanced(); });
    waiting.registerProcedures(p);
    sender.registerProcedures(p);
    senders.registerProcedures(p);
    indicators.registerProcedures(p);
    labels.registerProcedures(p);
    stopNames.registerProcedures(p);
    panel.registerProcedures(p);
    advanced.registerProcedures(p);
    thru.registerProcedures(p);
    registration.registerProcedures(p);
    devices.registerProcedures(p);
    setupDialog.registerProcedures(p);
    config.registerProcedures(p);
    memories.registerProcedures(p);
    hotkeys.registerProcedures(p);
    buffers.registerProcedures(p);
    memoryFile.registerProcedures(p);
    totalRecall.registerProcedures(p);
    tableFile.registerProcedures(p);
    editor.registerProcedures(p);
    totalRecallWindow.registerProcedures(p);
    about.registerProcedures(p);
    fonts.registerProcedures(p);
    help.registerProcedures(p);
}

void Kavel::buildMenus() {
    auto& window = controls.edit("Kavel");
    window.caption = kProgramTitle;
    // The design size until the panel sets its own.
    window.width = 12000;
    window.height = 9000;
    for (const Menu& menu : kMainMenus) {
        auto& top = controls.edit(menu.name);
        top.caption = std::string(menu.caption);
        top.enabled = menu.items.empty()
                          ? procedures.named(std::string(menu.name) + "_Click").has_value()
                          : true;
        for (const MenuItem& item : menu.items) {
            auto& c = controls.edit(item.name);
            c.caption = std::string(item.caption);
            c.enabled = procedures.named(std::string(item.name) + "_Click").has_value();
        }
    }
}

void Kavel::exit_Click() {
    unloadMainWindow();
}

void Kavel::unloadMainWindow() {
    bool cancel = false;
    Form_Unload(cancel);
    if (cancel) return;
    running_ = false;
    user_.endProgram();
}

} // namespace kavel
