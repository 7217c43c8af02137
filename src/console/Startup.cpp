#include "console/Kavel.h"

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

    LEGGI_FILE_AVVIO();
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

    // The Advanced window follows the loaded settings.
    const auto& adv = state.advanced;
    controls.edit("OptionGlobalCoupling", adv.ACCOPPIAMENTO_GLOBALE).value = 1;
    OptionGlobalCoupling_Click(adv.ACCOPPIAMENTO_GLOBALE);
    controls.edit("Valore").caption = std::to_string(adv.VELOCITA_TREMOLO);
    controls.edit("Memory_Recall", 0).value = adv.RICHIAMA_GLOBALI ? 1 : 0;
    controls.edit("Memory_Recall", 1).value = adv.RICHIAMA_BILANCIAMENTO ? 1 : 0;

    AGGIORNAMENTO_KAVEL();

    auto& window = controls.edit("Kavel");
    window.left = static_cast<int>(state.config.MAIN_LEFT);
    window.top = static_cast<int>(state.config.MAIN_TOP);
    user_.showWindow("Advanced", false);
    user_.showWindow("Kavel", false);
    mem.MEMORIE_NON_SALVATE = false;
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
