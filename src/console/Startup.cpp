#include "console/Kavel.h"

#include <algorithm>

namespace kavel {

void Kavel::Form_Load() {
    auto& mem = state.memories;
    mem.PIC_GREEN_ON = folder.inProgramFolder("green-on.gif");
    mem.PIC_GREEN_OFF = folder.inProgramFolder("green-off.gif");
    mem.PIC_RED_ON = folder.inProgramFolder("red-on.gif");
    mem.PIC_RED_OFF = folder.inProgramFolder("red-off.gif");
    mem.PIC_YELLOW_ON = folder.inProgramFolder("yellow-on.gif");
    controls.edit("Kavel").picture = folder.inProgramFolder("bach.ico");

    devices.MIDI_DEVICES_ACK();
    mem.SALVA_FISSE = false;
    state.config.PATH_CFG = folder.inProgramFolder("kavel.CFG");
    memories.clearFreeMemories(false);

    config.LEGGI_FILE_AVVIO();
    config.findDevicesByName();
    devices.MIDI_OPENING();
    tableFile.CARICAMENTO_DAT();
    mem.BERSAGLIO_RECALL = 11;

    panel.ATTIVA_DISATTIVA_GRAPHIC_Interface();
    if (state.panel.INTERFACCIA_GRAFICA)
        panel.LOAD_GRAPHIC_INTERFACE();
    else
        panel.LOAD_NORMAL_INTERFACE();
    state.stops.CARICA_NOME_SYX = true;

    labels.Scrivi_ToolTips_memorie();
    indicators.SPENGO_MEMORIE();
    indicators.Spengo_Graduatore();
    stopNames.CARICAMENTO_LIST_BOXES();
    registration.RESET_Click();
    mem.BERSAGLIO_RECALL = 11;

    // The Advanced window follows the loaded settings, at its saved place.
    if (config.firstPlacement()) placeSideBySide();
    advanced.Form_Load();
    const auto& adv = state.advanced;
    controls.edit("OptionGlobalCoupling", adv.ACCOPPIAMENTO_GLOBALE).value = 1;
    advanced.OptionGlobalCoupling_Click(adv.ACCOPPIAMENTO_GLOBALE);
    controls.edit("Valore").caption = std::to_string(adv.VELOCITA_TREMOLO);
    controls.edit("Memory_Recall", 0).value = adv.RICHIAMA_GLOBALI ? 1 : 0;
    controls.edit("Memory_Recall", 1).value = adv.RICHIAMA_BILANCIAMENTO ? 1 : 0;

    registration.AGGIORNAMENTO_KAVEL();

    // The panel has its size by now, and the window the size it was left at: the saved place
    // must still hold all of it.
    panel.restoreWindowSize();
    auto& c = state.config;
    placement.keepOnScreen(c.MAIN_TOP, c.MAIN_LEFT, "Kavel");
    auto& window = controls.edit("Kavel");
    window.left = static_cast<int>(c.MAIN_LEFT);
    window.top = static_cast<int>(c.MAIN_TOP);
    user_.showWindow("Advanced", false);
    user_.showWindow("Kavel", false);
    mem.MEMORIE_NON_SALVATE = false;
}

// With no saved places both windows would be centred, the Advanced one hidden behind the
// console: side by side where the screen has room for both, else the Advanced window in the
// lower right corner, where part of it shows.
void Kavel::placeSideBySide() {
    const ScreenSize screen = user_.screen();
    const auto& main = controls.get("Kavel");
    const auto& advanced = controls.get("Advanced");
    auto& c = state.config;
    c.MAIN_TOP = std::max(0, (screen.height - main.height) / 2);
    if (main.width + advanced.width <= screen.width) {
        c.MAIN_LEFT = (screen.width - main.width - advanced.width) / 2;
        c.ADV_LEFT = c.MAIN_LEFT + main.width;
        c.ADV_TOP = c.MAIN_TOP;
    } else {
        c.MAIN_LEFT = std::max(0, (screen.width - main.width) / 2);
        c.ADV_LEFT = std::max(0, screen.width - advanced.width);
        c.ADV_TOP = std::max(0, screen.height - advanced.height);
    }
}

void Kavel::Form_Unload(bool& CANCEL) {
    if (state.memories.MEMORIE_NON_SALVATE) {
        const Answer answer = user_.messageBox({"Free memories unsaved : exit anyway?", "Warning",
                                                Buttons::YesNo, Icon::Exclamation, 1});
        if (answer != Answer::Yes) {
            CANCEL = true;
            return;
        }
    }
    sender.Sysex_Sending(0);
    devices.CHIUSURA_PORTE_MIDI();
    if (state.config.SALVA_CFG_USCITA == 1) config.Salva_dati_di_avvio();
}

void Kavel::Gest_Errore_advanced() {
    user_.messageBox({"Some files needed to Kavel would be loss or corrupted. Try program "
                      "restart or Re-install Kavel.",
                      "Fatal Error!", Buttons::Ok, Icon::Critical, 0});
    unloadMainWindow();
}

} // namespace kavel
