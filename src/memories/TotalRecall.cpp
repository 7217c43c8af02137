#include "memories/TotalRecall.h"

#include "console/ListSelection.h"
#include "console/Procedures.h"
#include "memories/MemoryBank.h"
#include "midi/Sender.h"
#include "midi/ThruDialog.h"
#include "panel/Controls.h"
#include "registration/Registration.h"

#include <algorithm>
#include <array>

namespace kavel {

namespace {

struct Target {
    int code;
    SlotArray RegistrationTable::*field;
    void (Registration::*draw)(int);
    int highestRow;
};

using R = RegistrationTable;
constexpr std::array<Target, 7> kTargets = {{
    {11, &R::FO_GO, &Registration::Tir_FO_GO_Click, 29},
    {12, &R::MU_GO, &Registration::Tir_MU_GO_Click, 19},
    {13, &R::AN_GO, &Registration::Tir_AN_GO_Click, 19},
    {21, &R::FO_SW, &Registration::Tir_FO_SW_Click, 29},
    {22, &R::MU_SW, &Registration::Tir_MU_SW_Click, 19},
    {23, &R::AN_SW, &Registration::Tir_AN_SW_Click, 19},
    {31, &R::PED, &Registration::NomePedale_Click, 19},
}};

// Keys 41..47 choose the target group.
constexpr std::array<int, 7> kTargetKeys = {11, 21, 12, 22, 13, 23, 31};

} // namespace

TotalRecall::TotalRecall(MidiState& midi, MemoryState& memories,
                         const RegistrationTable& registration, const Controls& controls,
                         ListSelection& lists, Registration& stopControls, MemoryBank& bank,
                         Sender& sender, ThruDialog& thru)
    : midi_(midi), memories_(memories), registration_(registration), controls_(controls),
      lists_(lists), stopControls_(stopControls), bank_(bank), sender_(sender), thru_(thru) {}

void TotalRecall::registerProcedures(Procedures& p) {
    p.add("Total_Recall", 2, [this](const Procedures::Args& a) {
        int nota = a[0];
        Total_Recall(nota, a[1]);
    });
}

void TotalRecall::stepTarget(int step) {
    const Target* target = nullptr;
    for (const auto& t : kTargets)
        if (t.code == memories_.BERSAGLIO_RECALL) target = &t;
    if (!target) return;
    if (step == 0) (stopControls_.*(target->draw))(14);
    const int n = (registration_.*(target->field))[SLOT_LIVE] + step;
    if (n >= 0 && n <= target->highestRow) (stopControls_.*(target->draw))(n);
}

// A previous or next entry of an Advanced list. The lists hold what the Stops Table names, so
// the last entry is the list's own; a next key never moves back.
void TotalRecall::stepList(const char* list, int delta) {
    const auto& c = controls_.get(list);
    const int last = static_cast<int>(c.items.size()) - 1;
    if (last < 0) return; // nothing to choose from
    const int next = std::clamp(c.listIndex + delta, 0, std::max(last, c.listIndex));
    lists_.selectListItem(list, next);
}

void TotalRecall::Total_Recall(int& Nota, int /*Canale*/) {
    auto& armed = midi_.EVENTO_SWITCH;
    const int key = Nota;
    static constexpr int kSteps[] = {-10, -1, 0, 1, 10};
    if (key >= 36 && key <= 40) return stepTarget(kSteps[key - 36]);
    if (key >= 41 && key <= 47) {
        memories_.BERSAGLIO_RECALL = kTargetKeys[static_cast<std::size_t>(key - 41)];
        return;
    }
    if (key == 53) return bank_.Rec_button_Click(); // armed: the next memory key stores
    if (key >= 84 && key <= 87) {
        if (key == 84) stopControls_.Button_Annullatori_go_Click(1);
        if (key == 85) stopControls_.Button_Annullatori_sw_Click(1);
        if (key == 86) stopControls_.Button_Annullatori_go_Click(2);
        if (key == 87) stopControls_.Button_Annullatori_sw_Click(2);
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
        stopControls_.UN_GOSW_Click();
        break;
    case 49:
        stopControls_.UNPI_Click();
        break;
    case 50:
        stopControls_.UN_SWGO_Click();
        break;
    case 51:
        stopControls_.UNPII_Click();
        break;
    case 52:
        bank_.CLEAR_Click();
        break;
    case 54:
        thru_.THRUBUTTON_Click();
        break;
    case 55:
        stopControls_.RESET_Click();
        break;
    case 56:
        stopControls_.TIR_TREMOLOSW_Click();
        break;
    case 57:
        stopControls_.CancelALL_Click();
        break;
    case 58:
        stopControls_.Tir_TREMOLOGO_Click();
        break;
    default:
        sender_.Panic_Click();
        break; // 59, 88, and every key outside the table
    }
}

} // namespace kavel
