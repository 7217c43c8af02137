#include "registration/Registration.h"

#include "console/Procedures.h"

#include <tuple>
#include <utility>

namespace kavel {

Registration::Registration(RegistrationTable& registration, const AdvancedState& advanced,
                           MemoryState& memories, const MidiState& midi, const ConfigState& config,
                           const PanelState& panel, const StopsTableState& stops,
                           Controls& controls, User& user, Sender& sender,
                           ControllerSenders& senders, AdvancedWindow& advancedWindow,
                           MemoryIndicators& indicators, MemoryLabels& labels,
                           PanelLayout& panelLayout, Waiting& waiting, ThruDialog& thru,
                           Program& program)
    : registration_(registration), advanced_(advanced), memories_(memories), midi_(midi),
      config_(config), panel_(panel), stops_(stops), controls_(controls), user_(user),
      sender_(sender), senders_(senders), advancedWindow_(advancedWindow), indicators_(indicators),
      labels_(labels), panelLayout_(panelLayout), waiting_(waiting), thru_(thru),
      program_(program) {}

void Registration::registerProcedures(Procedures& p) {
    using R = Registration;
    // Handlers of control arrays, with the indexes their arrays have.
    const std::tuple<const char*, void (R::*)(int), int, int> indexed[] = {
        {"Tir_FO_GO_Click", &R::Tir_FO_GO_Click, 0, 29},
        {"Tir_FO_GO_graph_Click", &R::Tir_FO_GO_graph_Click, 0, 29},
        {"Tir_FO_SW_Click", &R::Tir_FO_SW_Click, 0, 29},
        {"Tir_FO_SW_graph_Click", &R::Tir_FO_SW_graph_Click, 0, 29},
        {"Tir_MU_GO_Click", &R::Tir_MU_GO_Click, 0, 19},
        {"Tir_MU_GO_graph_Click", &R::Tir_MU_GO_graph_Click, 0, 19},
        {"Tir_MU_SW_Click", &R::Tir_MU_SW_Click, 0, 19},
        {"Tir_MU_SW_graph_Click", &R::Tir_MU_SW_graph_Click, 0, 19},
        {"Tir_AN_GO_Click", &R::Tir_AN_GO_Click, 0, 19},
        {"Tir_AN_GO_graph_Click", &R::Tir_AN_GO_graph_Click, 0, 19},
        {"Tir_AN_SW_Click", &R::Tir_AN_SW_Click, 0, 19},
        {"Tir_AN_SW_graph_Click", &R::Tir_AN_SW_graph_Click, 0, 19},
        {"NomePedale_Click", &R::NomePedale_Click, 0, 19},
        {"Tir_PED_graph_Click", &R::Tir_PED_graph_Click, 0, 19},
        {"Button_Annullatori_go_Click", &R::Button_Annullatori_go_Click, 0, 2},
        {"Button_Annullatori_sw_Click", &R::Button_Annullatori_sw_Click, 0, 2},
    };
    for (auto [name, fn, first, last] : indexed)
        p.add(name, first, last, [this, fn = fn](int index) { (this->*fn)(index); });

    const std::pair<const char*, void (R::*)()> plain[] = {
        {"CancelALL_Click", &R::CancelALL_Click},
        {"UNPI_Click", &R::UNPI_Click},
        {"UNPII_Click", &R::UNPII_Click},
        {"UN_GOSW_Click", &R::UN_GOSW_Click},
        {"UN_SWGO_Click", &R::UN_SWGO_Click},
        {"Tir_TREMOLOGO_Click", &R::Tir_TREMOLOGO_Click},
        {"TIR_TREMOLOSW_Click", &R::TIR_TREMOLOSW_Click},
        {"Subottava_Click", &R::Subottava_Click},
        {"AGGIORNAMENTO_KAVEL", &R::AGGIORNAMENTO_KAVEL},
        {"RESET_Click", &R::RESET_Click},
        {"RESET_kavel", &R::RESET_kavel},
        {"VALORI_DI_DEFAULT", &R::VALORI_DI_DEFAULT},
        {"advanced_s_Click", &R::advanced_s_Click},
    };
    for (auto [name, fn] : plain)
        p.add(name, [this, fn = fn] { (this->*fn)(); });
}

} // namespace kavel
