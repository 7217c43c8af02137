#pragma once

// The console functions the keyboards can drive, owned by the memories, the stop controls and
// the Advanced window. Keyboard input reaches them only through this seam.

namespace kavel {

class ConsoleFunctions {
  public:
    virtual ~ConsoleFunctions() = default;
    virtual void c_memory_Click(int n) = 0;   // free memory n, 1..12
    virtual void Graduatore_Click(int n) = 0; // fixed memory n, 1..12
    virtual void Total_Recall(int& Nota, int Canale) = 0;
    virtual void Tir_TREMOLOGO_Click() = 0;
    virtual void TIR_TREMOLOSW_Click() = 0;
    virtual void UNPI_Click() = 0;
    virtual void UNPII_Click() = 0;
    // Run after the slider's value has been set.
    virtual void SliderGO_Scroll() = 0;
    virtual void SliderSW_Scroll() = 0;
    virtual void SliderPE_Scroll() = 0;
};

} // namespace kavel
