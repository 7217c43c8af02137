#include "console/Kavel.h"

#include <algorithm>
#include <array>

namespace kavel {

namespace {

struct Target {
    int code;
    SlotArray RegistrationTable::*field;
    void (Kavel::*draw)(int);
    int highestRow;
};

using R = RegistrationTable;
constexpr std::array<Target, 7> kTargets = {{
    {11, &R::FO_GO, &Kavel::Tir_FO_GO_Click, 29},
    {12, &R::MU_GO, &Kavel::Tir_MU_GO_Click, 19},
    {13, &R::AN_GO, &Kavel::Tir_AN_GO_Click, 19},
    {21, &R::FO_SW, &Kavel::Tir_FO_SW_Click, 29},
    {22, &R::MU_SW, &Kavel::Tir_MU_SW_Click, 19},
    {23, &R::AN_SW, &Kavel::Tir_AN_SW_Click, 19},
    {31, &R::PED, &Kavel::NomePedale_Click, 19},
}};

// Keys 41..47 choose the target group.
constexpr std::array<int, 7> kTargetKeys = {11, 21, 12, 22, 13, 23, 31};

} // namespace

void Kavel::stepTarget(int step) {
    const Target* target = nullptr;
    for (const auto& t : kTargets)
        if (t.code == state.memories.BERSAGLIO_RECALL) target = &t;
    if (!target) return;
    if (step == 0) (this->*(target->draw))(14);
    const int n = (state.registration.*(target->field))[SLOT_LIVE] + step;
    if (n >= 0 && n <= target->highestRow) (this->*(target->draw))(n);
}

// A previous or next entry of an Advanced list. The lists hold what the Stops Table names, so
// the last entry is the list's own; a next key never moves back.
void Kavel::stepList(const char* list, int delta) {
    const auto& c = controls.get(list);
    const int last = static_cast<int>(c.items.size()) - 1;
    if (last < 0) return; // nothing to choose from
    const int next = std::clamp(c.listIndex + delta, 0, std::max(last, c.listIndex));
    selectListItem(list, next);
}

void Kavel::Total_Recall(int& Nota, int /*Canale*/) {
    auto& armed = state.midi.EVENTO_SWITCH;
    const int key = Nota;
    static constexpr int kSteps[] = {-10, -1, 0, 1, 10};
    if (key >= 36 && key <= 40) return stepTarget(kSteps[key - 36]);
    if (key >= 41 && key <= 47) {
        state.memories.BERSAGLIO_RECALL = kTargetKeys[static_cast<std::size_t>(key - 41)];
        return;
    }
    if (key == 53) return Rec_button_Click(); // armed: the next memory key stores
    if (key >= 84 && key <= 87) {
        if (key == 84) Button_Annullatori_go_Click(1);
        if (key == 85) Button_Annullatori_sw_Click(1);
        if (key == 86) Button_Annullatori_go_Click(2);
        if (key == 87) Button_Annullatori_sw_Click(2);
        return;
    }
    switch (key) {
    case 89:
        return stepList("Temperamenti", -1);
    case 90:
        return stepList("Temperamenti", +1);
    case 91:
        return stepList("NotaInizTemp", -1);
    case 92:
        return stepList("NotaInizTemp", +1);
    case 93:
        return stepList("Riverberi", -1);
    case 94:
        return stepList("Riverberi", +1);
    default:
        break;
    }
    // The rest end command mode.
    armed = false;
    switch (key) {
    case 48:
        UN_GOSW_Click();
        break;
    case 49:
        UNPI_Click();
        break;
    case 50:
        UN_SWGO_Click();
        break;
    case 51:
        UNPII_Click();
        break;
    case 52:
        CLEAR_Click();
        break;
    case 54:
        THRUBUTTON_Click();
        break;
    case 55:
        RESET_Click();
        break;
    case 56:
        TIR_TREMOLOSW_Click();
        break;
    case 57:
        CancelALL_Click();
        break;
    case 58:
        Tir_TREMOLOGO_Click();
        break;
    default:
        Panic_Click();
        break; // 59, 88, and every key outside the table
    }
}

} // namespace kavel
