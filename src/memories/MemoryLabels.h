#pragma once

// The labels of the memory indicators (numbers from 0, from 1, or note names) and their
// tool tips.

#include "console/ProgramState.h"

namespace kavel {

class Controls;
class Procedures;

class MemoryLabels {
  public:
    MemoryLabels(Controls& controls, MemoryState& memories);
    MemoryLabels(const MemoryLabels&) = delete;
    MemoryLabels& operator=(const MemoryLabels&) = delete;

    void registerProcedures(Procedures& p);

    void Scrivi_ToolTips_memorie();
    void Labelmode_Click();
    void Scrivi_Etichette_memorie();

  private:
    Controls& controls_;
    MemoryState& memories_;
};

} // namespace kavel
