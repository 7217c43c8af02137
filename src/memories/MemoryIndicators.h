#pragma once

// The indicators of the memories: the free memories' LEDs or buttons (dark, cleared, the one
// recalled, the recalled one changed since) and the fixed memories' ladder.

#include "console/ProgramState.h"

namespace kavel {

class Controls;
class Procedures;

class MemoryIndicators {
  public:
    MemoryIndicators(Controls& controls, MemoryState& memories);
    MemoryIndicators(const MemoryIndicators&) = delete;
    MemoryIndicators& operator=(const MemoryIndicators&) = delete;

    void registerProcedures(Procedures& p);

    void SPENGO_MEMORIE();
    void Spengo_Graduatore();
    void Marca_Led_giallo();

    enum class FreeLook { Dark, Cleared, Current, Changed };
    void setFreeIndicator(int i, FreeLook look);
    void setFixedIndicator(int i, bool lit);

  private:
    Controls& controls_;
    MemoryState& memories_;
};

} // namespace kavel
