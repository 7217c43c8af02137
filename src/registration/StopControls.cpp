#include "registration/Registration.h"

#include "console/User.h"
#include "memories/MemoryIndicators.h"
#include "panel/Controls.h"
#include "registration/ControllerSenders.h"

#include <algorithm>

namespace kavel {

namespace {
constexpr int kLit = 9;
constexpr int kUnlit = 15;
} // namespace

// Every drawknob, standard or graphic: the row into the live slot, the update, and the
// fixed-memory ladder dark (the registration no longer matches a fixed memory).
void Registration::drawKnob(SlotArray& field, int row) {
    field[SLOT_LIVE] = row;
    AGGIORNAMENTO_KAVEL();
    indicators_.Spengo_Graduatore();
}

void Registration::Tir_FO_GO_Click(int Index) {
    drawKnob(registration_.FO_GO, Index);
}
void Registration::Tir_FO_GO_graph_Click(int Index) {
    drawKnob(registration_.FO_GO, Index);
}
void Registration::Tir_FO_SW_Click(int Index) {
    drawKnob(registration_.FO_SW, Index);
}
void Registration::Tir_FO_SW_graph_Click(int Index) {
    drawKnob(registration_.FO_SW, Index);
}
void Registration::Tir_MU_GO_Click(int Index) {
    drawKnob(registration_.MU_GO, Index);
}
void Registration::Tir_MU_GO_graph_Click(int Index) {
    drawKnob(registration_.MU_GO, Index);
}
void Registration::Tir_MU_SW_Click(int Index) {
    drawKnob(registration_.MU_SW, Index);
}
void Registration::Tir_MU_SW_graph_Click(int Index) {
    drawKnob(registration_.MU_SW, Index);
}
void Registration::Tir_AN_GO_Click(int Index) {
    drawKnob(registration_.AN_GO, Index);
}
void Registration::Tir_AN_GO_graph_Click(int Index) {
    drawKnob(registration_.AN_GO, Index);
}
void Registration::Tir_AN_SW_Click(int Index) {
    drawKnob(registration_.AN_SW, Index);
}
void Registration::Tir_AN_SW_graph_Click(int Index) {
    drawKnob(registration_.AN_SW, Index);
}
void Registration::NomePedale_Click(int Index) {
    drawKnob(registration_.PED, Index);
}
void Registration::Tir_PED_graph_Click(int Index) {
    drawKnob(registration_.PED, Index);
}

void Registration::Button_Annullatori_go_Click(int Index) {
    if (Index < 0 || Index > 2) return; // three groups, three buttons
    auto& value = registration_.ANNULL_GO[static_cast<std::size_t>(Index)][SLOT_LIVE];
    value = value != 0 ? 0 : 1;
    AGGIORNAMENTO_KAVEL();
}

void Registration::Button_Annullatori_sw_Click(int Index) {
    if (Index < 0 || Index > 2) return;
    auto& value = registration_.ANNULL_SW[static_cast<std::size_t>(Index)][SLOT_LIVE];
    value = value != 0 ? 0 : 1;
    AGGIORNAMENTO_KAVEL();
}

void Registration::CancelALL_Click() {
    controls_.edit("CancelALL").backColour = Colour::system(kLit);
    auto& r = registration_;
    for (SlotArray* stop : {&r.FO_GO, &r.FO_SW, &r.MU_GO, &r.MU_SW, &r.AN_GO, &r.AN_SW, &r.PED})
        (*stop)[SLOT_LIVE] = 0;
    r.TREMOLO_GO[SLOT_LIVE] = 0;
    r.TREMOLO_SW[SLOT_LIVE] = 0;
    r.UNIONE_PED[SLOT_LIVE] = 0;
    r.UNIONE_MAN[SLOT_LIVE] = 0;
    for (std::size_t g = 0; g < 3; ++g) {
        r.ANNULL_GO[g][SLOT_LIVE] = 1;
        r.ANNULL_SW[g][SLOT_LIVE] = 1;
    }
    r.SUBOTTAVA_PED[SLOT_LIVE] = 0;
    AGGIORNAMENTO_KAVEL();
    indicators_.SPENGO_MEMORIE();
    indicators_.Spengo_Graduatore();
    controls_.edit("CancelALL").backColour = Colour::system(kUnlit);
}

// A coupler pair is a three-way selector decided from the applied value.
void Registration::toggleCoupler(SlotArray& field, bool first, const char* firstButton,
                                 const char* secondButton) {
    if (field[SLOT_APPLIED] > 2) field[SLOT_APPLIED] = 0;
    static constexpr int kFirst[3] = {1, 0, 1};
    static constexpr int kSecond[3] = {2, 2, 0};
    const auto applied = static_cast<std::size_t>(std::max(field[SLOT_APPLIED], 0));
    const int live = first ? kFirst[applied] : kSecond[applied];
    field[SLOT_LIVE] = live;
    paintPair(firstButton, secondButton, live);
    field[SLOT_APPLIED] = live;
    indicators_.Marca_Led_giallo();
}

void Registration::paintPair(const char* firstButton, const char* secondButton, int value) {
    controls_.edit(firstButton).backColour = Colour::system(value == 1 ? kLit : kUnlit);
    controls_.edit(secondButton).backColour = Colour::system(value == 2 ? kLit : kUnlit);
}

void Registration::UNPI_Click() {
    toggleCoupler(registration_.UNIONE_PED, true, "UNPI", "UNPII");
}
void Registration::UNPII_Click() {
    toggleCoupler(registration_.UNIONE_PED, false, "UNPI", "UNPII");
}
void Registration::UN_GOSW_Click() {
    toggleCoupler(registration_.UNIONE_MAN, true, "UN_GOSW", "UN_SWGO");
}
void Registration::UN_SWGO_Click() {
    toggleCoupler(registration_.UNIONE_MAN, false, "UN_GOSW", "UN_SWGO");
}

void Registration::Tir_TREMOLOGO_Click() {
    auto& t = registration_.TREMOLO_GO;
    t[SLOT_LIVE] = t[SLOT_APPLIED] != 0 ? 0 : 1;
    senders_.Send_Tremolo_GO(t[SLOT_LIVE]);
    t[SLOT_APPLIED] = t[SLOT_LIVE];
    indicators_.Marca_Led_giallo();
}

void Registration::TIR_TREMOLOSW_Click() {
    auto& t = registration_.TREMOLO_SW;
    t[SLOT_LIVE] = t[SLOT_APPLIED] != 0 ? 0 : 1;
    senders_.Send_Tremolo_SW(t[SLOT_LIVE]);
    t[SLOT_APPLIED] = t[SLOT_LIVE];
    indicators_.Marca_Led_giallo();
}

void Registration::Subottava_Click() {
    auto& s = registration_.SUBOTTAVA_PED[SLOT_LIVE];
    s = s == 1 ? 0 : 1;
    AGGIORNAMENTO_KAVEL();
}

void Registration::advanced_s_Click() {
    user_.showWindow("Advanced", false);
}

} // namespace kavel
