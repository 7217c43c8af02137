#pragma once

// The memories: twelve free ones the organist stores with REC, twelve fixed ones kept in the
// configuration, and the commands that clear, save and show them.

#include "console/ProgramState.h"

namespace kavel {

class Controls;
class User;
class Procedures;
class Registration;
class ControllerSenders;
class MemoryIndicators;
class StartupConfig;
class PanelLayout;

class MemoryBank {
  public:
    MemoryBank(MemoryState& memories, RegistrationTable& registration,
               const AdvancedState& advanced, Controls& controls, User& user,
               Registration& stopControls, ControllerSenders& senders, MemoryIndicators& indicators,
               StartupConfig& config, PanelLayout& panel);
    MemoryBank(const MemoryBank&) = delete;
    MemoryBank& operator=(const MemoryBank&) = delete;

    void registerProcedures(Procedures& p);

    void Memorie(int& Index);
    void Ledfree_Click(int Index);
    void c_memory_Click(int Index);
    void LedFix_Click(int Index);
    void Graduatore_Click(int Index);
    void Rec_button_Click();
    void CLEAR_Click();
    void SaveFIXED_Click();
    void DisplayLeds_Click();
    // The cleared free memories F1..F12. Start-up leaves the sub-octave at its start value; Clr
    // clears it with the rest.
    void clearFreeMemories(bool subOctaveToo);

  private:
    MemoryState& memories_;
    RegistrationTable& registration_;
    const AdvancedState& advanced_;
    Controls& controls_;
    User& user_;
    Registration& stopControls_;
    ControllerSenders& senders_;
    MemoryIndicators& indicators_;
    StartupConfig& config_;
    PanelLayout& panel_;
};

} // namespace kavel
