#pragma once

// The live registration at the console: the drawknobs, cancellers, couplers and tremolos,
// the console update that sends what changed and draws it, and the reset.

#include "console/ProgramState.h"

namespace kavel {

class AdvancedWindow;
class ControllerSenders;
class Controls;
class MemoryIndicators;
class MemoryLabels;
class PanelLayout;
class Procedures;
class Program;
class Sender;
class ThruDialog;
class User;
class Waiting;
struct StopBlock; // a row of the console update's block table

class Registration {
  public:
    Registration(RegistrationTable& registration, const AdvancedState& advanced,
                 MemoryState& memories, const MidiState& midi, const ConfigState& config,
                 const PanelState& panel, const StopsTableState& stops, Controls& controls,
                 User& user, Sender& sender, ControllerSenders& senders,
                 AdvancedWindow& advancedWindow, MemoryIndicators& indicators, MemoryLabels& labels,
                 PanelLayout& panelLayout, Waiting& waiting, ThruDialog& thru, Program& program);
    Registration(const Registration&) = delete;
    Registration& operator=(const Registration&) = delete;

    // Its procedures by name ("Tir_FO_GO_Click", "AGGIORNAMENTO_KAVEL", "RESET_Click" ...).
    void registerProcedures(Procedures& p);

    // Stop controls.
    void Tir_FO_GO_Click(int Index);
    void Tir_FO_GO_graph_Click(int Index);
    void Tir_FO_SW_Click(int Index);
    void Tir_FO_SW_graph_Click(int Index);
    void Tir_MU_GO_Click(int Index);
    void Tir_MU_GO_graph_Click(int Index);
    void Tir_MU_SW_Click(int Index);
    void Tir_MU_SW_graph_Click(int Index);
    void Tir_AN_GO_Click(int Index);
    void Tir_AN_GO_graph_Click(int Index);
    void Tir_AN_SW_Click(int Index);
    void Tir_AN_SW_graph_Click(int Index);
    void NomePedale_Click(int Index);
    void Tir_PED_graph_Click(int Index);
    void Button_Annullatori_go_Click(int Index);
    void Button_Annullatori_sw_Click(int Index);
    void CancelALL_Click();
    void UNPI_Click();
    void UNPII_Click();
    void UN_GOSW_Click();
    void UN_SWGO_Click();
    void Tir_TREMOLOGO_Click();
    void TIR_TREMOLOSW_Click();
    void Subottava_Click();
    void advanced_s_Click();

    // The console update and the reset.
    void AGGIORNAMENTO_KAVEL();
    void RESET_Click();
    void RESET_kavel();
    void VALORI_DI_DEFAULT();

    // The reset's pushing in of the applied stops, on both panels.
    void pushInAppliedStops();
    // The reset's global strings and the chosen reverb, with their waits.
    void sendGlobalReset();

  private:
    void drawKnob(SlotArray& field, int row);
    void toggleCoupler(SlotArray& field, bool first, const char* firstButton,
                       const char* secondButton);
    void paintPair(const char* firstButton, const char* secondButton, int value);
    // The update's parts.
    void updateStopBlock(const StopBlock& block);
    void drawStop(const StopBlock& block, int oldRow, int newRow);
    void updateCanceller(int division, int group);

    RegistrationTable& registration_;
    const AdvancedState& advanced_;
    MemoryState& memories_;
    const MidiState& midi_;
    const ConfigState& config_;
    const PanelState& panel_;
    const StopsTableState& stops_;
    Controls& controls_;
    User& user_;
    Sender& sender_;
    ControllerSenders& senders_;
    AdvancedWindow& advancedWindow_;
    MemoryIndicators& indicators_;
    MemoryLabels& labels_;
    PanelLayout& panelLayout_;
    Waiting& waiting_;
    ThruDialog& thru_; // shows a changed organ body
    Program& program_;
};

} // namespace kavel
