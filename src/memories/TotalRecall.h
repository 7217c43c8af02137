#pragma once

// Total Recall: while the switch event is armed (the sustain pedal), MIDI keys command the
// console: the stops of a target group step by step, the memories' REC and Clr, the
// cancellers, couplers and tremolos, the Advanced lists, the Thru button, the reset.

#include "console/ProgramState.h"

namespace kavel {

class Controls;
class Procedures;
class ListSelection;
class Registration;
class MemoryBank;
class Sender;
class ThruDialog;

class TotalRecall {
  public:
    TotalRecall(MidiState& midi, MemoryState& memories, const RegistrationTable& registration,
                const Controls& controls, ListSelection& lists, Registration& stopControls,
                MemoryBank& bank, Sender& sender, ThruDialog& thru);
    TotalRecall(const TotalRecall&) = delete;
    TotalRecall& operator=(const TotalRecall&) = delete;

    void registerProcedures(Procedures& p);

    // Command keys while the switch event is armed.
    void Total_Recall(int& Nota, int Canale);

  private:
    void stepTarget(int step);
    void stepList(const char* list, int delta);

    MidiState& midi_;
    MemoryState& memories_;
    const RegistrationTable& registration_;
    const Controls& controls_;
    ListSelection& lists_;
    Registration& stopControls_;
    MemoryBank& bank_;
    Sender& sender_;
    ThruDialog& thru_;
};

} // namespace kavel
