#include "console/Kavel.h"
#include "registration/AdvancedWindow.h"

#include <algorithm>

namespace kavel {

void Kavel::Form_Load() {
    auto& mem = state.memories;
    mem.PIC_GREEN_ON = inProgramFolder("green-on.gif");
    mem.PIC_GREEN_OFF = inProgramFolder("green-off.gif");
    mem.PIC_RED_ON = inProgramFolder("red-on.gif");
    mem.PIC_RED_OFF = inProgramFolder("red-off.gif");
    mem.PIC_YELLOW_ON = inProgramFolder("yellow-on.gif");
    controls.edit("Kavel").picture = inProgramFolder("bach.ico");

    MIDI_DEVICES_ACK();
    mem.SALVA_FISSE = false;
    state.config.PATH_CFG = inProgramFolder("kavel.CFG");
    clearFreeMemories(false);

    LEGGI_FILE_AVVIO();
    findDevicesByName();
    MIDI_OPENING();
    CARICAMENTO_DAT();
    mem.BERSAGLIO_RECALL = 11;

    ATTIVA_DISATTIVA_GRAPHIC_Interface();
    if (state.panel.INTERFACCIA_GRAFICA)
        LOAD_GRAPHIC_INTERFACE();
    else
        LOAD_NORMAL_INTERFACE();
    state.stops.CARICA_NOME_SYX = true;

    Scrivi_ToolTips_memorie();
    SPENGO_MEMORIE();
    Spengo_Graduatore();
    CARICAMENTO_LIST_BOXES();
    RESET_Click();
    mem.BERSAGLIO_RECALL = 11;

    // The Advanced window follows the loaded settings, at its saved place.
    if (firstPlacement_) placeSideBySide();
    advanced_->Form_Load();
    const auto& adv = state.advanced;
    controls.edit("OptionGlobalCoupling", adv.ACCOPPIAMENTO_GLOBALE).value = 1;
    OptionGlobalCoupling_Click(adv.ACCOPPIAMENTO_GLOBALE);
    controls.edit("Valore").caption = std::to_string(adv.VELOCITA_TREMOLO);
    controls.edit("Memory_Recall", 0).value = adv.RICHIAMA_GLOBALI ? 1 : 0;
    controls.edit("Memory_Recall", 1).value = adv.RICHIAMA_BILANCIAMENTO ? 1 : 0;

    AGGIORNAMENTO_KAVEL();

    // The panel has its size by now, and the window the size it was left at: the saved place
    // must still hold all of it.
    restoreWindowSize();
    auto& c = state.config;
    keepOnScreen(c.MAIN_TOP, c.MAIN_LEFT, "Kavel");
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

// The cleared free memories F1..F12. Start-up leaves the sub-octave at its start value; Clr
// clears it with the rest.
void Kavel::clearFreeMemories(bool subOctaveToo) {
    auto& r = state.registration;
    for (std::size_t slot = 1; slot <= 12; ++slot) {
        for (auto* stop : {&r.FO_GO, &r.FO_SW, &r.MU_GO, &r.MU_SW, &r.AN_GO, &r.AN_SW, &r.PED,
                           &r.TREMOLO_GO, &r.TREMOLO_SW})
            (*stop)[slot] = 0;
        for (auto* level : {&r.EXPR_GO, &r.EXPR_SW, &r.EXPR_PE, &r.BIL_FONDI_GO, &r.BIL_MUTAZ_GO,
                            &r.BIL_ANCIE_GO, &r.BIL_FONDI_SW, &r.BIL_MUTAZ_SW, &r.BIL_ANCIE_SW})
            (*level)[slot] = 127;
        for (std::size_t group = 0; group < 3; ++group) {
            r.ANNULL_GO[group][slot] = 1;
            r.ANNULL_SW[group][slot] = 1;
        }
        r.UNIONE_PED[slot] = 0;
        r.UNIONE_MAN[slot] = 0;
        r.CORPO_ORGANO[slot] = 1;
        if (subOctaveToo) r.SUBOTTAVA_PED[slot] = 0;
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
    Sysex_Sending(0);
    CHIUSURA_PORTE_MIDI();
    if (state.config.SALVA_CFG_USCITA == 1) Salva_dati_di_avvio();
}

void Kavel::Gest_Errore_advanced() {
    user_.messageBox({"Some files needed to Kavel would be loss or corrupted. Try program "
                      "restart or Re-install Kavel.",
                      "Fatal Error!", Buttons::Ok, Icon::Critical, 0});
    unloadMainWindow();
}

} // namespace kavel
