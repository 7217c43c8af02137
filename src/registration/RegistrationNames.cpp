#include "console/Kavel.h"

#include <tuple>

namespace kavel {

void Kavel::registerProcedures() {
    auto& p = procedures;
    using Args = Procedures::Args;
    // Handlers of control arrays, with the indexes their arrays have.
    const std::tuple<const char*, void (Kavel::*)(int), int, int> indexed[] = {
        {"Tir_FO_GO_Click", &Kavel::Tir_FO_GO_Click, 0, 29},
        {"Tir_FO_GO_graph_Click", &Kavel::Tir_FO_GO_graph_Click, 0, 29},
        {"Tir_FO_SW_Click", &Kavel::Tir_FO_SW_Click, 0, 29},
        {"Tir_FO_SW_graph_Click", &Kavel::Tir_FO_SW_graph_Click, 0, 29},
        {"Tir_MU_GO_Click", &Kavel::Tir_MU_GO_Click, 0, 19},
        {"Tir_MU_GO_graph_Click", &Kavel::Tir_MU_GO_graph_Click, 0, 19},
        {"Tir_MU_SW_Click", &Kavel::Tir_MU_SW_Click, 0, 19},
        {"Tir_MU_SW_graph_Click", &Kavel::Tir_MU_SW_graph_Click, 0, 19},
        {"Tir_AN_GO_Click", &Kavel::Tir_AN_GO_Click, 0, 19},
        {"Tir_AN_GO_graph_Click", &Kavel::Tir_AN_GO_graph_Click, 0, 19},
        {"Tir_AN_SW_Click", &Kavel::Tir_AN_SW_Click, 0, 19},
        {"Tir_AN_SW_graph_Click", &Kavel::Tir_AN_SW_graph_Click, 0, 19},
        {"NomePedale_Click", &Kavel::NomePedale_Click, 0, 19},
        {"Tir_PED_graph_Click", &Kavel::Tir_PED_graph_Click, 0, 19},
        {"Button_Annullatori_go_Click", &Kavel::Button_Annullatori_go_Click, 0, 2},
        {"Button_Annullatori_sw_Click", &Kavel::Button_Annullatori_sw_Click, 0, 2},
        {"SliderFondi_Scroll", &Kavel::SliderFondi_Scroll, 1, 2},
        {"SliderMutazioni_Scroll", &Kavel::SliderMutazioni_Scroll, 1, 2},
        {"SliderAncie_Scroll", &Kavel::SliderAncie_Scroll, 1, 2},
        {"OptionGlobalCoupling_Click", &Kavel::OptionGlobalCoupling_Click, 0, 2},
        {"Memory_Recall_Click", &Kavel::Memory_Recall_Click, 0, 1},
        {"Ledfree_Click", &Kavel::Ledfree_Click, 1, 12},
        {"c_memory_Click", &Kavel::c_memory_Click, 1, 24}, // the hotkeys reach 13..24 through it
        {"LedFix_Click", &Kavel::LedFix_Click, 1, 12},
        {"Graduatore_Click", &Kavel::Graduatore_Click, 1, 12},
        {"TempMemButton_Click", &Kavel::TempMemButton_Click, 0, 1},
        {"LoadBuffer_Click", &Kavel::LoadBuffer_Click, 0, 1},
    };
    for (auto [name, fn, first, last] : indexed)
        p.add(name, first, last, [this, fn = fn](int index) { (this->*fn)(index); });
    for (auto [name, fn] : {std::pair{"Send_Tremolo_GO", &Kavel::Send_Tremolo_GO},
                            std::pair{"Send_Tremolo_SW", &Kavel::Send_Tremolo_SW}})
        p.add(name, 1, [this, fn = fn](const Args& a) { (this->*fn)(a[0]); });

    const std::pair<const char*, void (Kavel::*)()> plain[] = {
        {"CancelALL_Click", &Kavel::CancelALL_Click},
        {"UNPI_Click", &Kavel::UNPI_Click},
        {"UNPII_Click", &Kavel::UNPII_Click},
        {"UN_GOSW_Click", &Kavel::UN_GOSW_Click},
        {"UN_SWGO_Click", &Kavel::UN_SWGO_Click},
        {"Tir_TREMOLOGO_Click", &Kavel::Tir_TREMOLOGO_Click},
        {"TIR_TREMOLOSW_Click", &Kavel::TIR_TREMOLOSW_Click},
        {"Subottava_Click", &Kavel::Subottava_Click},
        {"AGGIORNAMENTO_KAVEL", &Kavel::AGGIORNAMENTO_KAVEL},
        {"RESET_Click", &Kavel::RESET_Click},
        {"RESET_kavel", &Kavel::RESET_kavel},
        {"VALORI_DI_DEFAULT", &Kavel::VALORI_DI_DEFAULT},
        {"EXPRESSION_GO", &Kavel::EXPRESSION_GO},
        {"EXPRESSION_SW", &Kavel::EXPRESSION_SW},
        {"EXPRESSION_PE", &Kavel::EXPRESSION_PE},
        {"BILANCIA_FONDI_GO", &Kavel::BILANCIA_FONDI_GO},
        {"BILANCIA_FONDI_SW", &Kavel::BILANCIA_FONDI_SW},
        {"BILANCIA_MUTAZ_GO", &Kavel::BILANCIA_MUTAZ_GO},
        {"BILANCIA_MUTAZ_SW", &Kavel::BILANCIA_MUTAZ_SW},
        {"BILANCIA_ANCIE_GO", &Kavel::BILANCIA_ANCIE_GO},
        {"BILANCIA_ANCIE_SW", &Kavel::BILANCIA_ANCIE_SW},
        {"SliderGO_Scroll", &Kavel::SliderGO_Scroll},
        {"SliderSW_Scroll", &Kavel::SliderSW_Scroll},
        {"SliderPE_Scroll", &Kavel::SliderPE_Scroll},
        {"Temperamenti_Click", &Kavel::Temperamenti_Click},
        {"NotaInizTemp_Click", &Kavel::NotaInizTemp_Click},
        {"Riverberi_Click", &Kavel::Riverberi_Click},
        {"TremoloType_Click", &Kavel::TremoloType_Click},
        {"SliderTremoloRate_Scroll", &Kavel::SliderTremoloRate_Scroll},
        {"PREPARA_TEMPERAMENTO", &Kavel::PREPARA_TEMPERAMENTO},
        {"SCRITTURA_TESTI_DEI_REGISTRI", &Kavel::SCRITTURA_TESTI_DEI_REGISTRI},
        {"CARICAMENTO_LIST_BOXES", &Kavel::CARICAMENTO_LIST_BOXES},
        {"CARICAMENTO_DAT", &Kavel::CARICAMENTO_DAT},
        {"Rec_button_Click", &Kavel::Rec_button_Click},
        {"CLEAR_Click", &Kavel::CLEAR_Click},
        {"SaveFIXED_Click", &Kavel::SaveFIXED_Click},
        {"DisplayLeds_Click", &Kavel::DisplayLeds_Click},
        {"Labelmode_Click", &Kavel::Labelmode_Click},
        {"Scrivi_ToolTips_memorie", &Kavel::Scrivi_ToolTips_memorie},
        {"Scrivi_Etichette_memorie", &Kavel::Scrivi_Etichette_memorie},
        {"EnableCFG_Click", &Kavel::EnableCFG_Click},
        {"SPENGO_MEMORIE", &Kavel::SPENGO_MEMORIE},
        {"Spengo_Graduatore", &Kavel::Spengo_Graduatore},
        {"Marca_Led_giallo", &Kavel::Marca_Led_giallo},
        {"THRUBUTTON_Click", &Kavel::THRUBUTTON_Click},
        {"Salva_dati_di_avvio", &Kavel::Salva_dati_di_avvio},
        {"ATTIVA_DISATTIVA_GRAPHIC_Interface", &Kavel::ATTIVA_DISATTIVA_GRAPHIC_Interface},
        {"LOAD_GRAPHIC_INTERFACE", &Kavel::LOAD_GRAPHIC_INTERFACE},
        {"LOAD_NORMAL_INTERFACE", &Kavel::LOAD_NORMAL_INTERFACE},
        {"VISUALIZZA_LED_O_PANNELLINI", &Kavel::VISUALIZZA_LED_O_PANNELLINI},
        {"REGOLA_ALTEZZA_PULSANTI_BASSI", &Kavel::REGOLA_ALTEZZA_PULSANTI_BASSI},
        {"ADATTA_PULSANTE_THRU", &Kavel::ADATTA_PULSANTE_THRU},
        {"Graphmode_Click", &Kavel::Graphmode_Click},
        {"SET_FONTS_NORMAL_INTERFACE", &Kavel::SET_FONTS_NORMAL_INTERFACE},
        {"SET_FONTS_GRAPH_INTERFACE", &Kavel::SET_FONTS_GRAPH_INTERFACE},
        {"advanced_s_Click", &Kavel::advanced_s_Click},
        {"Help1_Click", &Kavel::Help1_Click},
    };
    for (auto [name, fn] : plain)
        p.add(name, [this, fn = fn] { (this->*fn)(); });
    p.add("Memorie", 1, [this](const Args& a) {
        int index = a[0];
        Memorie(index);
    });
    p.add("Total_Recall", 2, [this](const Args& a) {
        int nota = a[0];
        Total_Recall(nota, a[1]);
    });
    p.add("Form_KeyDown", 2, [this](const Args& a) { Form_KeyDown(a[0], a[1]); });
    p.add("Form_KeyPress", 1, [this](const Args& a) { Form_KeyPress(a[0]); });
    p.add("savefile_Click", [this] { savefile_Click(); });
    p.add("Loadfile_Click", [this] { Loadfile_Click(); });
}

// The registration controls' fixed captions, tool tips and ranges.
void Kavel::buildAdvancedControls() {
    auto slider = [this](const char* name, int index, int min, int max) {
        auto& c = controls.edit(name, index);
        c.min = min;
        c.max = max;
    };
    for (const char* global : {"SliderGO", "SliderSW", "SliderPE"})
        slider(global, -1, 60, 127);
    for (const char* balance : {"SliderFondi", "SliderMutazioni", "SliderAncie"}) {
        slider(balance, 1, 0, 127);
        slider(balance, 2, 0, 127);
    }
    slider("SliderTremoloRate", -1, 0, 127);

    const std::tuple<const char*, const char*, const char*> buttons[] = {
        {"CancelALL", "Canc ", "All Stops Groups will be set to Cancel Position"},
        {"UNPI", "I -  P", "Pedal coupling with Great"},
        {"UNPII", "II - P", "Pedal coupling with Swell"},
        {"UN_GOSW", "Go to Swell", "When you play Go, Sw is  coupled "},
        {"UN_SWGO", "Swell to Go", "When you play Sw, Go  is  coupled "},
        {"Tir_TREMOLOGO", "Trem Go", "Great Tremolo (Move Pitch Bend  Wheel  UP for fast switch)"},
        {"TIR_TREMOLOSW", "Trem Sw", "Swell Tremolo (Move Pitch Bend  Wheel  UP for fast switch)"},
        {"Subottava", "Subottava", "Enable Pedal Sub-Octave"},
        {"RESET", "RESET", "Reset KAVEL  to startup state"},
    };
    for (const auto& [name, caption, tip] : buttons) {
        auto& c = controls.edit(name);
        c.caption = caption;
        c.toolTip = tip;
    }
    static const char* const kCancellerTips[] = {
        "Mute only Fondi Stops - Click to replace them",
        "Mute only Ripieni Stops - Click to replace them",
        "Mute only ANCE-ARCHI Stops - Click to replace them"};
    for (int g = 0; g < 3; ++g) {
        auto& go = controls.edit("Button_Annullatori_go", g);
        go.caption = "Go Mute";
        go.toolTip = kCancellerTips[g];
        auto& sw = controls.edit("Button_Annullatori_sw", g);
        sw.caption = "Sw Mute";
        sw.toolTip = kCancellerTips[g];
    }
}

} // namespace kavel
