#include "console/Kavel.h"

namespace kavel {

// The console functions the keyboards drive, on this console.
class Kavel::Functions : public ConsoleFunctions {
  public:
    explicit Functions(Kavel& k) : k_(k) {}
    void c_memory_Click(int n) override { k_.c_memory_Click(n); }
    void Graduatore_Click(int n) override { k_.Graduatore_Click(n); }
    void Total_Recall(int& Nota, int Canale) override { k_.Total_Recall(Nota, Canale); }
    void Tir_TREMOLOGO_Click() override { k_.Tir_TREMOLOGO_Click(); }
    void TIR_TREMOLOSW_Click() override { k_.TIR_TREMOLOSW_Click(); }
    void UNPI_Click() override { k_.UNPI_Click(); }
    void UNPII_Click() override { k_.UNPII_Click(); }
    void SliderGO_Scroll() override { k_.SliderGO_Scroll(); }
    void SliderSW_Scroll() override { k_.SliderSW_Scroll(); }
    void SliderPE_Scroll() override { k_.SliderPE_Scroll(); }

  private:
    Kavel& k_;
};

std::unique_ptr<ConsoleFunctions> Kavel::ownFunctions() {
    return std::make_unique<Functions>(*this);
}

} // namespace kavel
