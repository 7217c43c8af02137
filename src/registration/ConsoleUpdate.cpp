#include "registration/Registration.h"

#include "console/Program.h"
#include "memories/MemoryIndicators.h"
#include "midi/Sender.h"
#include "midi/ThruDialog.h"
#include "panel/Controls.h"
#include "registration/AdvancedWindow.h"
#include "registration/ControllerSenders.h"

#include <array>
#include <stdexcept>
#include <string>
#include <utility>

namespace kavel {

namespace {

constexpr int kLit = 9;
constexpr int kUnlit = 15;
constexpr int kNone = -1;
enum Division { kGreat = 0, kSwell = 1, kPedal = 2 };
enum Group { kFondi = 0, kMutazioni = 1, kAncie = 2, kPedale = 3 };

} // namespace

// One row of the block table: everything a stop block of the update needs.
struct StopBlock {
    SlotArray RegistrationTable::*field;
    int division;
    int group;
    int firstEntry;
    int rows;
    int rinforzoOn, rinforzoOff;
    std::array<int, 6> parts;
    int muteEntry, restoreEntry;
    SlotArray RegistrationTable::*balance;
    void (ControllerSenders::*balanceSender)();
    const char* balanceSlider;
    const char* graph;    // drawknob pictures of the graphic panel
    const char* selector; // knob labels of the standard panel
    const char* name;     // stop-name labels of the standard panel
};

namespace {

using R = RegistrationTable;

// Fondi mute and restore entries are sent like the other groups', so a Fondi mute mutes.
const std::array<StopBlock, 7> kBlocks = {{
    {&R::FO_GO,
     kGreat,
     kFondi,
     40,
     30,
     30,
     31,
     {1, 2, 3, 4, 5, 0},
     411,
     414,
     &R::BIL_FONDI_GO,
     &ControllerSenders::BILANCIA_FONDI_GO,
     "SliderFondi",
     "Tir_FO_GO_graph",
     "Tir_FO_GO",
     "NomeFondi"},
    {&R::FO_SW,
     kSwell,
     kFondi,
     70,
     30,
     32,
     33,
     {17, 18, 19, 20, 21, 0},
     417,
     420,
     &R::BIL_FONDI_SW,
     &ControllerSenders::BILANCIA_FONDI_SW,
     "SliderFondi",
     "Tir_FO_SW_graph",
     "Tir_FO_SW",
     "NomeFondi"},
    {&R::MU_GO,
     kGreat,
     kMutazioni,
     100,
     20,
     kNone,
     kNone,
     {11, 12, 13, 0, 0, 0},
     412,
     415,
     &R::BIL_MUTAZ_GO,
     &ControllerSenders::BILANCIA_MUTAZ_GO,
     "SliderMutazioni",
     "Tir_MU_GO_graph",
     "Tir_MU_GO",
     "NomeMutaz"},
    {&R::MU_SW,
     kSwell,
     kMutazioni,
     120,
     20,
     kNone,
     kNone,
     {27, 28, 29, 0, 0, 0},
     418,
     421,
     &R::BIL_MUTAZ_SW,
     &ControllerSenders::BILANCIA_MUTAZ_SW,
     "SliderMutazioni",
     "Tir_MU_SW_graph",
     "Tir_MU_SW",
     "NomeMutaz"},
    {&R::AN_GO,
     kGreat,
     kAncie,
     140,
     20,
     30,
     31,
     {6, 7, 8, 9, 0, 0},
     410,
     413,
     &R::BIL_ANCIE_GO,
     &ControllerSenders::BILANCIA_ANCIE_GO,
     "SliderAncie",
     "Tir_AN_GO_graph",
     "Tir_AN_GO",
     "NomeAnce"},
    {&R::AN_SW,
     kSwell,
     kAncie,
     160,
     20,
     32,
     33,
     {22, 23, 24, 25, 0, 0},
     416,
     419,
     &R::BIL_ANCIE_SW,
     &ControllerSenders::BILANCIA_ANCIE_SW,
     "SliderAncie",
     "Tir_AN_SW_graph",
     "Tir_AN_SW",
     "NomeAnce"},
    {&R::PED,
     kPedal,
     kPedale,
     180,
     20,
     kNone,
     kNone,
     {14, 15, 16, 30, 31, 32},
     kNone,
     kNone,
     nullptr,
     nullptr,
     nullptr,
     "Tir_PED_graph",
     nullptr,
     "NomePedale"},
}};

SlotArray& stopField(RegistrationTable& r, int division, int group) {
    static constexpr SlotArray RegistrationTable::*kStops[3][3] = {
        {&R::FO_GO, &R::MU_GO, &R::AN_GO}, {&R::FO_SW, &R::MU_SW, &R::AN_SW}, {}};
    return r.*kStops[division][group];
}

SlotArray& cancellerField(RegistrationTable& r, int division, int group) {
    return (division == kGreat ? r.ANNULL_GO : r.ANNULL_SW)[static_cast<std::size_t>(group)];
}

} // namespace

void Registration::AGGIORNAMENTO_KAVEL() {
    // A row beyond its group (a damaged memory or file) is the cancel position: sending it
    // would reach into another group's entries, and the panel has no knob to show it.
    for (const StopBlock& block : kBlocks) {
        int& row = (registration_.*(block.field))[SLOT_LIVE];
        if (row < 0 || row >= block.rows) row = 0;
    }
    for (const StopBlock& block : kBlocks)
        updateStopBlock(block);

    auto& r = registration_;
    // Steps 8 and 9: the coupler pairs show the live value; nothing is sent.
    const std::pair<SlotArray*, std::pair<const char*, const char*>> pairs[] = {
        {&r.UNIONE_PED, {"UNPI", "UNPII"}}, {&r.UNIONE_MAN, {"UN_GOSW", "UN_SWGO"}}};
    for (const auto& [field, buttons] : pairs) {
        auto& f = *field;
        if (f[SLOT_LIVE] == f[SLOT_APPLIED]) continue;
        if (f[SLOT_LIVE] >= 0 && f[SLOT_LIVE] <= 2)
            paintPair(buttons.first, buttons.second, f[SLOT_LIVE]);
        f[SLOT_APPLIED] = f[SLOT_LIVE];
    }
    // Step 10, cancellers: each group on the Great, then on the Swell.
    for (int group = kFondi; group <= kAncie; ++group) {
        updateCanceller(kGreat, group);
        updateCanceller(kSwell, group);
    }
    // Step 11, the sub-octave lamp, on every update.
    controls_.edit("Subottava").backColour =
        Colour::system(r.SUBOTTAVA_PED[SLOT_LIVE] == 1 ? kLit : kUnlit);
    r.SUBOTTAVA_PED[SLOT_APPLIED] = r.SUBOTTAVA_PED[SLOT_LIVE];

    try {
        // Step 12, the organ body as the Thru button shows it. A body that names no division
        // never becomes live: the one before stays, and so does the button.
        auto& body = r.CORPO_ORGANO;
        if (!isOrganBody(body[SLOT_LIVE]))
            body[SLOT_LIVE] = isOrganBody(body[SLOT_APPLIED]) ? body[SLOT_APPLIED] : 1;
        if (body[SLOT_LIVE] != body[SLOT_APPLIED]) {
            body[SLOT_APPLIED] = body[SLOT_LIVE];
            thru_.showOrganBody();
        }
        indicators_.Marca_Led_giallo();
    } catch (const std::exception&) {
        program_.Gest_Errore_advanced();
    }
}

void Registration::updateStopBlock(const StopBlock& b) {
    auto& r = registration_;
    auto& stop = r.*(b.field);
    bool REGISTRO_CAMBIATO = false;
    if (stop[SLOT_LIVE] != stop[SLOT_APPLIED]) {
        REGISTRO_CAMBIATO = true;
        // The live row is read afresh at each step: a click during the waits of a send
        // changes it. Its own update sent the new stop, but the rest of the old one went out
        // after it, so the new one goes again until a send ends on the row still drawn.
        for (int sent = -1; sent != stop[SLOT_LIVE];) {
            if (stop[SLOT_LIVE] < 0 || stop[SLOT_LIVE] >= b.rows) stop[SLOT_LIVE] = 0;
            sent = stop[SLOT_LIVE];
            sender_.Sysex_Sending(b.firstEntry + sent);
        }
        if (b.rinforzoOn != kNone) {
            const auto& stops = stops_;
            const auto fondi =
                static_cast<std::size_t>(stopField(r, b.division, kFondi)[SLOT_LIVE]);
            const auto ancie =
                static_cast<std::size_t>(stopField(r, b.division, kAncie)[SLOT_LIVE]);
            const bool reinforce =
                (fondi < stops.RINFORZABILE_FO.size() && stops.RINFORZABILE_FO[fondi] == "1") ||
                (ancie < stops.RINFORZABILE_AN.size() && stops.RINFORZABILE_AN[ancie] == "1");
            sender_.Sysex_Sending(reinforce ? b.rinforzoOn : b.rinforzoOff);
        }
        drawStop(b, stop[SLOT_APPLIED], stop[SLOT_LIVE]);
        stop[SLOT_APPLIED] = stop[SLOT_LIVE];
        for (int part : b.parts)
            if (part != 0) sender_.Sysex_Temp_sending(part);
        // The new stop's strings made a muted group sound again: silence it.
        if (b.muteEntry != kNone && cancellerField(r, b.division, b.group)[SLOT_LIVE] == 0 &&
            stop[SLOT_LIVE] != 0)
            sender_.Sysex_Sending(b.muteEntry);
    }
    if (b.balance) {
        auto& balance = r.*(b.balance);
        if (balance[SLOT_LIVE] != balance[SLOT_APPLIED] || REGISTRO_CAMBIATO) {
            (senders_.*(b.balanceSender))();
            controls_.edit(b.balanceSlider, b.division + 1).value = balance[SLOT_LIVE];
        }
    }
    static const char* const kSliders[] = {"SliderGO", "SliderSW", "SliderPE"};
    static constexpr SlotArray R::*kExpressions[] = {&R::EXPR_GO, &R::EXPR_SW, &R::EXPR_PE};
    auto& expression = r.*kExpressions[b.division];
    if (expression[SLOT_LIVE] != expression[SLOT_APPLIED] || REGISTRO_CAMBIATO) {
        controls_.edit(kSliders[b.division]).value = expression[SLOT_LIVE];
        if (b.division == kGreat) advancedWindow_.SliderGO_Scroll();
        if (b.division == kSwell) advancedWindow_.SliderSW_Scroll();
        if (b.division == kPedal) advancedWindow_.SliderPE_Scroll();
        expression[SLOT_APPLIED] = expression[SLOT_LIVE];
    }
    if (b.division != kPedal) {
        auto& tremolo = b.division == kGreat ? r.TREMOLO_GO : r.TREMOLO_SW;
        if (tremolo[SLOT_LIVE] != tremolo[SLOT_APPLIED] || REGISTRO_CAMBIATO) {
            if (b.division == kGreat)
                senders_.Send_Tremolo_GO(tremolo[SLOT_LIVE]);
            else
                senders_.Send_Tremolo_SW(tremolo[SLOT_LIVE]);
            tremolo[SLOT_APPLIED] = tremolo[SLOT_LIVE];
        }
    }
}

namespace {
const std::string& pushedIn(const PanelState& p, int division) {
    return division == kGreat   ? p.PIC_TIRANTE_OFF_GO
           : division == kSwell ? p.PIC_TIRANTE_OFF_SW
                                : p.PIC_TIRANTE_OFF;
}
} // namespace

// The reset's pushing in of the applied stops, on both panels: the update that follows draws
// row 0 from the forcing row, not from the row that was on show.
void Registration::pushInAppliedStops() {
    auto& r = registration_;
    for (const StopBlock& b : kBlocks) {
        const int row = (r.*(b.field))[SLOT_APPLIED];
        controls_.edit(b.graph, row).picture = pushedIn(panel_, b.division);
        if (b.selector) controls_.edit(b.selector, row).caption = " ";
        controls_.edit(b.name, row).backColour = Colour::system(kUnlit);
    }
}

void Registration::drawStop(const StopBlock& b, int oldRow, int newRow) {
    const auto& p = panel_;
    if (p.INTERFACCIA_GRAFICA) {
        const std::string& off = pushedIn(p, b.division);
        const std::string& on = b.division == kGreat   ? p.PIC_TIRANTE_ON_GO
                                : b.division == kSwell ? p.PIC_TIRANTE_ON_SW
                                                       : p.PIC_TIRANTE_ON;
        controls_.edit(b.graph, oldRow).picture = off;
        controls_.edit(b.graph, newRow).picture = on;
        return;
    }
    if (b.division == kPedal) {
        controls_.edit(b.name, oldRow).backColour = Colour::system(kUnlit);
        controls_.edit(b.name, newRow).backColour = Colour::system(kLit);
        return;
    }
    controls_.edit(b.selector, oldRow).caption = " ";
    controls_.edit(b.selector, newRow).caption =
        b.division == kGreat ? p.SCRITTA_GREAT : p.SCRITTA_SWELL;
    // A stop still drawn on the other manual keeps its name lit.
    const int other = b.division == kGreat ? kSwell : kGreat;
    if (stopField(registration_, other, b.group)[SLOT_APPLIED] != oldRow)
        controls_.edit(b.name, oldRow).backColour = Colour::system(kUnlit);
    controls_.edit(b.name, newRow).backColour = Colour::system(kLit);
}

void Registration::updateCanceller(int division, int group) {
    auto& r = registration_;
    auto& canceller = cancellerField(r, division, group);
    if (canceller[SLOT_LIVE] == canceller[SLOT_APPLIED]) return;
    const StopBlock* block = nullptr;
    for (const StopBlock& b : kBlocks)
        if (b.division == division && b.group == group) block = &b;
    const bool muted = canceller[SLOT_LIVE] == 0;
    auto& button = controls_.edit(
        division == kGreat ? "Button_Annullatori_go" : "Button_Annullatori_sw", group);
    button.backColour = Colour::system(muted ? kLit : kUnlit);
    button.caption = std::string(division == kGreat ? "Go" : "Sw") + (muted ? " Restore" : " Mute");
    if (stopField(r, division, group)[SLOT_LIVE] != 0)
        sender_.Sysex_Sending(muted ? block->muteEntry : block->restoreEntry);
    canceller[SLOT_APPLIED] = canceller[SLOT_LIVE];
}

} // namespace kavel
