#include "registration/Registration.h"

#include "console/Program.h"
#include "console/Waiting.h"
#include "memories/MemoryIndicators.h"
#include "memories/MemoryLabels.h"
#include "midi/Sender.h"
#include "panel/Controls.h"
#include "panel/PanelLayout.h"
#include "registration/AdvancedWindow.h"

#include <stdexcept>
#include <string>
#include <tuple>

namespace kavel {

namespace {
constexpr int kLit = 9;
constexpr int kUnlit = 15;
} // namespace

void Registration::RESET_Click() {
    RESET_kavel();
}

void Registration::RESET_kavel() {
    controls_.edit("RESET").backColour = Colour::system(kLit);
    sendGlobalReset();
    indicators_.SPENGO_MEMORIE();
    indicators_.Spengo_Graduatore();

    pushInAppliedStops();

    VALORI_DI_DEFAULT();

    // The Advanced window follows the live registration.
    auto& live = registration_;
    const std::tuple<const char*, const char*, int> expressions[] = {
        {"SliderGO", "EXPGO", live.EXPR_GO[SLOT_LIVE]},
        {"SliderSW", "EXPSW", live.EXPR_SW[SLOT_LIVE]},
        {"SliderPE", "EXPPE", live.EXPR_PE[SLOT_LIVE]}};
    for (const auto& [slider, label, value] : expressions) {
        controls_.edit(slider).value = value;
        controls_.edit(label).caption = std::to_string(value);
    }
    const std::tuple<const char*, int, int> balances[] = {
        {"EXPfondi", 1, live.BIL_FONDI_GO[SLOT_LIVE]},
        {"EXPfondi", 2, live.BIL_FONDI_SW[SLOT_LIVE]},
        {"EXPmutazioni", 1, live.BIL_MUTAZ_GO[SLOT_LIVE]},
        {"EXPmutazioni", 2, live.BIL_MUTAZ_SW[SLOT_LIVE]},
        {"EXPancie", 1, live.BIL_ANCIE_GO[SLOT_LIVE]},
        {"EXPancie", 2, live.BIL_ANCIE_SW[SLOT_LIVE]}};
    for (const auto& [label, index, value] : balances)
        controls_.edit(label, index).caption = std::to_string(value);
    controls_.edit("SliderTremoloRate").value = advanced_.VELOCITA_TREMOLO;

    panelLayout_.VISUALIZZA_LED_O_PANNELLINI();
    auto& mem = memories_;
    mem.REC_MEMORIA = false;
    controls_.edit("Rec_button").backColour = Colour::system(kUnlit);
    mem.ULTIMA_MEMORIA = 1;
    mem.MEMORIA_INTATTA = false;
    for (const char* button : {"Tir_TREMOLOGO", "TIR_TREMOLOSW", "UNPI", "UNPII"})
        controls_.edit(button).backColour = Colour::system(kUnlit);
    controls_.edit("THRUBUTTON").visible = midi_.MODO_THRU == 1;

    try {
        advancedWindow_.selectAdvancedChoices();
        labels_.Scrivi_Etichette_memorie();
        controls_.edit("EnableCFG").value = config_.SALVA_CFG_USCITA == 1;
        controls_.edit("DisplayLeds").value = mem.LED_MEMORIE;
        mem.LED_MEMORIE = controls_.get("DisplayLeds").value != 0;
        AGGIORNAMENTO_KAVEL();
    } catch (const std::exception&) {
        program_.Gest_Errore_advanced();
    }
    controls_.edit("RESET").backColour = Colour::system(kUnlit);
}

void Registration::sendGlobalReset() {
    sender_.Sysex_Sending(0);
    waiting_.Waiting_Timer(100);
    sender_.Sysex_Sending(1);
    waiting_.Waiting_Timer(2);
    sender_.Sysex_Sending(2);
    waiting_.Waiting_Timer(2);
    sender_.Sysex_Sending(3);
    if (advanced_.RIVERBERO >= 0 && advanced_.RIVERBERO < stops::kReverbCount)
        sender_.Sysex_Sending(stops::kReverbs + advanced_.RIVERBERO);
}

void Registration::VALORI_DI_DEFAULT() {
    auto& r = registration_;
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
