#include "memories/MemoryBank.h"

#include "config/StartupConfig.h"
#include "console/Procedures.h"
#include "console/User.h"
#include "memories/MemoryIndicators.h"
#include "panel/Controls.h"
#include "panel/PanelLayout.h"
#include "registration/ControllerSenders.h"
#include "registration/Registration.h"

#include <tuple>

namespace kavel {

namespace {
constexpr int kLit = 9;
constexpr int kUnlit = 15;
constexpr int kFree = 12;
using FreeLook = MemoryIndicators::FreeLook;
} // namespace

MemoryBank::MemoryBank(MemoryState& memories, RegistrationTable& registration,
                       const AdvancedState& advanced, Controls& controls, User& user,
                       Registration& stopControls, ControllerSenders& senders,
                       MemoryIndicators& indicators, StartupConfig& config, PanelLayout& panel)
    : memories_(memories), registration_(registration), advanced_(advanced), controls_(controls),
      user_(user), stopControls_(stopControls), senders_(senders), indicators_(indicators),
      config_(config), panel_(panel) {}

void MemoryBank::registerProcedures(Procedures& p) {
    using Args = Procedures::Args;
    const std::tuple<const char*, void (MemoryBank::*)(int), int, int> indexed[] = {
        {"Ledfree_Click", &MemoryBank::Ledfree_Click, 1, 12},
        {"c_memory_Click", &MemoryBank::c_memory_Click, 1, 24}, // the hotkeys reach 13..24
        {"LedFix_Click", &MemoryBank::LedFix_Click, 1, 12},
        {"Graduatore_Click", &MemoryBank::Graduatore_Click, 1, 12},
    };
    for (auto [name, fn, first, last] : indexed)
        p.add(name, first, last, [this, fn = fn](int index) { (this->*fn)(index); });
    const std::pair<const char*, void (MemoryBank::*)()> plain[] = {
        {"Rec_button_Click", &MemoryBank::Rec_button_Click},
        {"CLEAR_Click", &MemoryBank::CLEAR_Click},
        {"SaveFIXED_Click", &MemoryBank::SaveFIXED_Click},
        {"DisplayLeds_Click", &MemoryBank::DisplayLeds_Click},
    };
    for (auto [name, fn] : plain)
        p.add(name, [this, fn = fn] { (this->*fn)(); });
    p.add("Memorie", 1, [this](const Args& a) {
        int index = a[0];
        Memorie(index);
    });
}

void MemoryBank::Memorie(int& Index) {
    auto& m = memories_;
    auto& r = registration_;
    if (Index < 1 || Index > 24) Index = 1;
    if (Index > kFree) {
        const int k = Index - kFree;
        for (int i = 1; i <= kFree; ++i)
            indicators_.setFixedIndicator(i, i <= k);
    } else {
        indicators_.Spengo_Graduatore();
    }
    m.MEMORIA_INTATTA = false;
    const auto fields = fieldsInOrder(r);
    if (!m.REC_MEMORIA) {
        const int liveBody = r.CORPO_ORGANO[SLOT_LIVE];
        for (std::size_t f = 0; f < fields.size(); ++f) {
            const bool expression = f >= 9 && f <= 11;
            const bool balance = f >= 12 && f <= 17;
            if ((expression && !advanced_.RICHIAMA_GLOBALI) ||
                (balance && !advanced_.RICHIAMA_BILANCIAMENTO))
                continue;
            (*fields[f])[SLOT_LIVE] = (*fields[f])[static_cast<std::size_t>(Index)];
        }
        // The fixed memories keep organ body 0 as written; a body that names no division
        // leaves the live one as it was.
        const int body = r.CORPO_ORGANO[static_cast<std::size_t>(Index)];
        r.CORPO_ORGANO[SLOT_LIVE] = isOrganBody(body) ? body : liveBody;
        stopControls_.AGGIORNAMENTO_KAVEL();
        senders_.Send_Tremolo_GO(r.TREMOLO_GO[SLOT_LIVE]);
        senders_.Send_Tremolo_SW(r.TREMOLO_SW[SLOT_LIVE]);
        m.MEMORIA_INTATTA = true;
    } else {
        if (Index <= kFree) {
            copySlot(r, SLOT_LIVE, Index);
            m.MEMORIE_NON_SALVATE = true;
            m.MEMORIA_INTATTA = true;
        }
        m.REC_MEMORIA = false;
        controls_.edit("Rec_button").backColour = Colour::system(kUnlit);
    }
    if (m.ULTIMA_MEMORIA >= 1 && m.ULTIMA_MEMORIA <= kFree)
        indicators_.setFreeIndicator(m.ULTIMA_MEMORIA, FreeLook::Dark);
    if (Index <= kFree) indicators_.setFreeIndicator(Index, FreeLook::Current);
    m.ULTIMA_MEMORIA = Index;
}

void MemoryBank::Ledfree_Click(int Index) {
    Memorie(Index);
}
void MemoryBank::c_memory_Click(int Index) {
    Memorie(Index);
}
void MemoryBank::LedFix_Click(int Index) {
    int slot = Index + kFree;
    Memorie(slot);
}
void MemoryBank::Graduatore_Click(int Index) {
    int slot = Index + kFree;
    Memorie(slot);
}

void MemoryBank::Rec_button_Click() {
    auto& m = memories_;
    m.REC_MEMORIA = !m.REC_MEMORIA;
    controls_.edit("Rec_button").backColour = Colour::system(m.REC_MEMORIA ? kLit : kUnlit);
}

void MemoryBank::CLEAR_Click() {
    auto& m = memories_;
    controls_.edit("CLEAR").backColour = Colour::system(kLit);
    bool go = true;
    if (m.MEMORIE_NON_SALVATE) {
        go = user_.messageBox({"Free memories unsaved: erase anyway ?", "Warning", Buttons::YesNo,
                               Icon::Exclamation, 1}) == Answer::Yes;
        if (go) m.MEMORIE_NON_SALVATE = false;
    }
    if (go) {
        clearFreeMemories(true);
        m.REC_MEMORIA = false;
        controls_.edit("Rec_button").backColour = Colour::system(kUnlit);
        m.MEMORIA_INTATTA = false;
        m.ULTIMA_MEMORIA = 1;
        for (int i = 1; i <= kFree; ++i)
            indicators_.setFreeIndicator(i, FreeLook::Dark);
    }
    controls_.edit("CLEAR").backColour = Colour::system(kUnlit);
}

void MemoryBank::SaveFIXED_Click() {
    if (user_.messageBox({"Warning! FIXED MEMORIES will be overwritten with current free memory "
                          "configuration. Continue anyway?",
                          "Warning", Buttons::YesNo, Icon::Exclamation, 1}) != Answer::Yes)
        return;
    memories_.SALVA_FISSE = true;
    config_.Salva_dati_di_avvio();
}

void MemoryBank::DisplayLeds_Click() {
    auto& m = memories_;
    auto& item = controls_.edit("DisplayLeds");
    item.value = item.value ? 0 : 1;
    m.LED_MEMORIE = item.value != 0;
    panel_.VISUALIZZA_LED_O_PANNELLINI();
    for (int i = 1; i <= kFree; ++i) {
        indicators_.setFreeIndicator(i, FreeLook::Dark);
        if (m.LED_MEMORIE)
            indicators_.setFixedIndicator(i, false);
        else // here, unlike the ladder's own dark, the button face
            controls_.edit("Graduatore", i).backColour = Colour::system(kUnlit);
    }
}

void MemoryBank::clearFreeMemories(bool subOctaveToo) {
    auto& r = registration_;
    for (std::size_t slot = 1; slot <= 12; ++slot) {
        for (auto* stop : {&r.FO_GO, &r.FO_SW, &r.MU_GO, &r.MU_SW, &r.AN_GO, &r.AN_SW, &r.PED,
                           &r.TREMOLO_GO, &r.TREMOLO_SW})
            (*stop)[slot] = 0;
        for (auto* level : {&r.EXPR_GO, &r.EXPR_SW, &r.EXPR_PE, &r.BIL_FONDI_GO, &r.BIL_MUTAZ_GO,
                            &r.BIL_ANCIE_GO, &r.BIL_FONDI_SW, &r.BIL_MUTAZ_SW, &r.BIL_ANCIE_SW})
            (*level)[slot] = 127;
        for (std::size_t group = 0; group < 3; ++group) {
            r.ANNULL_GO[group][slot] = 1;
            r.ANNULL_SW[group][slot] = 1;
        }
        r.UNIONE_PED[slot] = 0;
        r.UNIONE_MAN[slot] = 0;
        r.CORPO_ORGANO[slot] = 1;
        if (subOctaveToo) r.SUBOTTAVA_PED[slot] = 0;
    }
}

} // namespace kavel
