#pragma once

// The console functions the keyboards drive, on this console: the memories, the stop controls,
// the Advanced window's sliders and Total Recall.

#include "memories/MemoryBank.h"
#include "memories/TotalRecall.h"
#include "midi/ConsoleFunctions.h"
#include "registration/AdvancedWindow.h"
#include "registration/Registration.h"

namespace kavel {

class OwnConsoleFunctions : public ConsoleFunctions {
  public:
    OwnConsoleFunctions(MemoryBank& memories, Registration& registration, AdvancedWindow& advanced,
                        TotalRecall& totalRecall)
        : memories_(memories), registration_(registration), advanced_(advanced),
          totalRecall_(totalRecall) {}

    void c_memory_Click(int n) override { memories_.c_memory_Click(n); }
    void Graduatore_Click(int n) override { memories_.Graduatore_Click(n); }
    void Total_Recall(int& Nota, int Canale) override { totalRecall_.Total_Recall(Nota, Canale); }
    void Tir_TREMOLOGO_Click() override { registration_.Tir_TREMOLOGO_Click(); }
    void TIR_TREMOLOSW_Click() override { registration_.TIR_TREMOLOSW_Click(); }
    void UNPI_Click() override { registration_.UNPI_Click(); }
    void UNPII_Click() override { registration_.UNPII_Click(); }
    void SliderGO_Scroll() override { advanced_.SliderGO_Scroll(); }
    void SliderSW_Scroll() override { advanced_.SliderSW_Scroll(); }
    void SliderPE_Scroll() override { advanced_.SliderPE_Scroll(); }

  private:
    MemoryBank& memories_;
    Registration& registration_;
    AdvancedWindow& advanced_;
    TotalRecall& totalRecall_;
};

} // namespace kavel
