#include "console/Kavel.h"

namespace kavel {

namespace {
constexpr int kLit = 9;
constexpr int kUnlit = 15;
} // namespace

void Kavel::RESET_Click() {
    RESET_kavel();
}

void Kavel::RESET_kavel() {
    controls.edit("RESET").backColour = Colour::system(kLit);
    sendGlobalReset();
    SPENGO_MEMORIE();
    Spengo_Graduatore();

    pushInAppliedStops();

    VALORI_DI_DEFAULT();

    // The Advanced window follows the live registration.
    auto& live = state.registration;
    const std::tuple<const char*, const char*, int> expressions[] = {
        {"SliderGO", "EXPGO", live.EXPR_GO[SLOT_LIVE]},
        {"SliderSW", "EXPSW", live.EXPR_SW[SLOT_LIVE]},
        {"SliderPE", "EXPPE", live.EXPR_PE[SLOT_LIVE]}};
    for (const auto& [slider, label, value] : expressions) {
        controls.edit(slider).value = value;
        controls.edit(label).caption = std::to_string(value);
    }
    const std::tuple<const char*, int, int> balances[] = {
        {"EXPfondi", 1, live.BIL_FONDI_GO[SLOT_LIVE]},
        {"EXPfondi", 2, live.BIL_FONDI_SW[SLOT_LIVE]},
        {"EXPmutazioni", 1, live.BIL_MUTAZ_GO[SLOT_LIVE]},
        {"EXPmutazioni", 2, live.BIL_MUTAZ_SW[SLOT_LIVE]},
        {"EXPancie", 1, live.BIL_ANCIE_GO[SLOT_LIVE]},
        {"EXPancie", 2, live.BIL_ANCIE_SW[SLOT_LIVE]}};
    for (const auto& [label, index, value] : balances)
        controls.edit(label, index).caption = std::to_string(value);
    controls.edit("SliderTremoloRate").value = state.advanced.VELOCITA_TREMOLO;

    VISUALIZZA_LED_O_PANNELLINI();
    auto& mem = state.memories;
    mem.REC_MEMORIA = false;
    controls.edit("Rec_button").backColour = Colour::system(kUnlit);
    mem.ULTIMA_MEMORIA = 1;
    mem.MEMORIA_INTATTA = false;
    for (const char* button : {"Tir_TREMOLOGO", "TIR_TREMOLOSW", "UNPI", "UNPII"})
        controls.edit(button).backColour = Colour::system(kUnlit);
    controls.edit("THRUBUTTON").visible = state.midi.MODO_THRU == 1;

    try {
        selectAdvancedChoices();
        Scrivi_Etichette_memorie();
        controls.edit("EnableCFG").value = state.config.SALVA_CFG_USCITA == 1;
        controls.edit("DisplayLeds").value = mem.LED_MEMORIE;
        mem.LED_MEMORIE = controls.get("DisplayLeds").value != 0;
        AGGIORNAMENTO_KAVEL();
    } catch (const std::exception&) {
        Gest_Errore_advanced();
    }
    controls.edit("RESET").backColour = Colour::system(kUnlit);
}

void Kavel::sendGlobalReset() {
    Sysex_Sending(0);
    Waiting_Timer(100);
    Sysex_Sending(1);
    Waiting_Timer(2);
    Sysex_Sending(2);
    Waiting_Timer(2);
    Sysex_Sending(3);
    if (state.advanced.RIVERBERO >= 0 && state.advanced.RIVERBERO < stops::kReverbCount)
        Sysex_Sending(stops::kReverbs + state.advanced.RIVERBERO);
}

void Kavel::selectAdvancedChoices() {
    const auto& a = state.advanced;
    selectListItem("Temperamenti", a.TEMPERAMENTO);
    selectListItem("Riverberi", a.RIVERBERO);
    selectListItem("NotaInizTemp", a.NOTA_INIZIO_TEMP);
    selectListItem("TremoloType", a.TIPO_TREMOLO);
}

void Kavel::VALORI_DI_DEFAULT() {
    auto& r = state.registration;
    auto set = [](SlotArray& field, int live, int forcing) {
        field[SLOT_APPLIED] = forcing;
        field[SLOT_LIVE] = live;
    };
    for (SlotArray* stop :
         {&r.FO_GO, &r.FO_SW, &r.MU_GO, &r.MU_SW, &r.AN_GO, &r.AN_SW, &r.PED, &r.TREMOLO_GO,
          &r.TREMOLO_SW, &r.UNIONE_PED, &r.UNIONE_MAN, &r.SUBOTTAVA_PED})
        set(*stop, 0, 1);
    for (SlotArray* level : {&r.EXPR_GO, &r.EXPR_SW, &r.EXPR_PE, &r.BIL_FONDI_GO, &r.BIL_MUTAZ_GO,
                             &r.BIL_ANCIE_GO, &r.BIL_FONDI_SW, &r.BIL_MUTAZ_SW, &r.BIL_ANCIE_SW})
        set(*level, 127, 120);
    set(r.CORPO_ORGANO, 1, 2);
    for (std::size_t g = 0; g < 3; ++g) {
        set(r.ANNULL_GO[g], 1, 0);
        set(r.ANNULL_SW[g], 1, 0);
    }
}

} // namespace kavel
