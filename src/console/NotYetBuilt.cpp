#include "console/Kavel.h"

// Procedures that start-up and shutdown already call in their place, owned by windows and
// subsystems that this program does not have yet. Each does nothing (or only what every
// version of it ends with) until its subsystem takes it over.

namespace kavel {

void Kavel::Salva_dati_di_avvio() {}

void Kavel::SCRITTURA_TESTI_DEI_REGISTRI() {}

void Kavel::ATTIVA_DISATTIVA_GRAPHIC_Interface() {}
void Kavel::LOAD_GRAPHIC_INTERFACE() {}
void Kavel::LOAD_NORMAL_INTERFACE() {}
void Kavel::Scrivi_ToolTips_memorie() {}
void Kavel::SPENGO_MEMORIE() {}
void Kavel::Spengo_Graduatore() {}
void Kavel::CARICAMENTO_LIST_BOXES() {}
void Kavel::RESET_Click() {}
void Kavel::AGGIORNAMENTO_KAVEL() {}

void Kavel::OptionGlobalCoupling_Click(int Index) {
    state.advanced.ACCOPPIAMENTO_GLOBALE = Index;
}

namespace {
class PendingConsoleFunctions : public ConsoleFunctions {
  public:
    void c_memory_Click(int) override {}
    void Graduatore_Click(int) override {}
    void Total_Recall(int&, int) override {}
    void Tir_TREMOLOGO_Click() override {}
    void TIR_TREMOLOSW_Click() override {}
    void UNPI_Click() override {}
    void UNPII_Click() override {}
    void SliderGO_Scroll() override {}
    void SliderSW_Scroll() override {}
    void SliderPE_Scroll() override {}
};
} // namespace

ConsoleFunctions& pendingConsoleFunctions() {
    static PendingConsoleFunctions functions;
    return functions;
}

} // namespace kavel
