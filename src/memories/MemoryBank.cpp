#include "console/Kavel.h"

namespace kavel {

namespace {
constexpr int kLit = 9;
constexpr int kDarkBorder = 10;
constexpr int kUnlit = 15;
constexpr int kFree = 12;
} // namespace

void Kavel::setFreeIndicator(int i, FreeLook look) {
    const auto& m = state.memories;
    if (m.LED_MEMORIE) {
        controls.edit("LedFree", i).picture = look == FreeLook::Current   ? m.PIC_GREEN_ON
                                              : look == FreeLook::Changed ? m.PIC_YELLOW_ON
                                                                          : m.PIC_GREEN_OFF;
        return;
    }
    Colour c = Colour::system(kUnlit);
    if (look == FreeLook::Cleared) c = Colour::system(kDarkBorder);
    if (look == FreeLook::Current) c = Colour::rgb(0, 192, 0);
    if (look == FreeLook::Changed) c = Colour::rgb(255, 255, 0);
    controls.edit("C_memory", i).backColour = c;
}

void Kavel::setFixedIndicator(int i, bool lit) {
    const auto& m = state.memories;
    if (m.LED_MEMORIE)
        controls.edit("LedFix", i).picture = lit ? m.PIC_RED_ON : m.PIC_RED_OFF;
    else
        controls.edit("Graduatore", i).backColour = Colour::system(lit ? kLit : kDarkBorder);
}

void Kavel::Memorie(int& Index) {
    auto& m = state.memories;
    auto& r = state.registration;
    if (Index < 1 || Index > 24) Index = 1;
    if (Index > kFree) {
        const int k = Index - kFree;
        for (int i = 1; i <= kFree; ++i)
            setFixedIndicator(i, i <= k);
    } else {
        Spengo_Graduatore();
    }
    m.MEMORIA_INTATTA = false;
    const auto fields = fieldsInOrder(r);
    if (!m.REC_MEMORIA) {
        const int liveBody = r.CORPO_ORGANO[SLOT_LIVE];
        for (std::size_t f = 0; f < fields.size(); ++f) {
            const bool expression = f >= 9 && f <= 11;
            const bool balance = f >= 12 && f <= 17;
            if ((expression && !state.advanced.RICHIAMA_GLOBALI) ||
                (balance && !state.advanced.RICHIAMA_BILANCIAMENTO))
                continue;
            (*fields[f])[SLOT_LIVE] = (*fields[f])[static_cast<std::size_t>(Index)];
        }
        // The fixed memories keep organ body 0 as written; a body that names no division
        // leaves the live one as it was.
        const int body = r.CORPO_ORGANO[static_cast<std::size_t>(Index)];
        r.CORPO_ORGANO[SLOT_LIVE] = isOrganBody(body) ? body : liveBody;
        AGGIORNAMENTO_KAVEL();
        Send_Tremolo_GO(r.TREMOLO_GO[SLOT_LIVE]);
        Send_Tremolo_SW(r.TREMOLO_SW[SLOT_LIVE]);
        m.MEMORIA_INTATTA = true;
    } else {
        if (Index <= kFree) {
            copySlot(r, SLOT_LIVE, Index);
            m.MEMORIE_NON_SALVATE = true;
            m.MEMORIA_INTATTA = true;
        }
        m.REC_MEMORIA = false;
        controls.edit("Rec_button").backColour = Colour::system(kUnlit);
    }
    if (m.ULTIMA_MEMORIA >= 1 && m.ULTIMA_MEMORIA <= kFree)
        setFreeIndicator(m.ULTIMA_MEMORIA, FreeLook::Dark);
    if (Index <= kFree) setFreeIndicator(Index, FreeLook::Current);
    m.ULTIMA_MEMORIA = Index;
}

void Kavel::Ledfree_Click(int Index) {
    Memorie(Index);
}
void Kavel::c_memory_Click(int Index) {
    Memorie(Index);
}
void Kavel::LedFix_Click(int Index) {
    int slot = Index + kFree;
    Memorie(slot);
}
void Kavel::Graduatore_Click(int Index) {
    int slot = Index + kFree;
    Memorie(slot);
}

void Kavel::Spengo_Graduatore() {
    for (int i = 1; i <= kFree; ++i)
        setFixedIndicator(i, false);
}

void Kavel::SPENGO_MEMORIE() {
    for (int i = 1; i <= kFree; ++i)
        setFreeIndicator(i, FreeLook::Cleared);
}

void Kavel::Marca_Led_giallo() {
    auto& m = state.memories;
    if (!m.MEMORIA_INTATTA || m.ULTIMA_MEMORIA < 1 || m.ULTIMA_MEMORIA > kFree) return;
    m.MEMORIA_INTATTA = false;
    setFreeIndicator(m.ULTIMA_MEMORIA, FreeLook::Changed);
}

void Kavel::Rec_button_Click() {
    auto& m = state.memories;
    m.REC_MEMORIA = !m.REC_MEMORIA;
    controls.edit("Rec_button").backColour = Colour::system(m.REC_MEMORIA ? kLit : kUnlit);
}

void Kavel::CLEAR_Click() {
    auto& m = state.memories;
    controls.edit("CLEAR").backColour = Colour::system(kLit);
    bool go = true;
    if (m.MEMORIE_NON_SALVATE) {
        go = user_.messageBox({"Free memories unsaved: erase anyway ?", "Warning", Buttons::YesNo,
                               Icon::Exclamation, 1}) == Answer::Yes;
        if (go) m.MEMORIE_NON_SALVATE = false;
    }
    if (go) {
        clearFreeMemories(true);
        m.REC_MEMORIA = false;
        controls.edit("Rec_button").backColour = Colour::system(kUnlit);
        m.MEMORIA_INTATTA = false;
        m.ULTIMA_MEMORIA = 1;
        for (int i = 1; i <= kFree; ++i)
            setFreeIndicator(i, FreeLook::Dark);
    }
    controls.edit("CLEAR").backColour = Colour::system(kUnlit);
}

void Kavel::SaveFIXED_Click() {
    if (user_.messageBox({"Warning! FIXED MEMORIES will be overwritten with current free memory "
                          "configuration. Continue anyway?",
                          "Warning", Buttons::YesNo, Icon::Exclamation, 1}) != Answer::Yes)
        return;
    state.memories.SALVA_FISSE = true;
    Salva_dati_di_avvio();
}

void Kavel::DisplayLeds_Click() {
    auto& m = state.memories;
    auto& item = controls.edit("DisplayLeds");
    item.value = item.value ? 0 : 1;
    m.LED_MEMORIE = item.value != 0;
    VISUALIZZA_LED_O_PANNELLINI();
    for (int i = 1; i <= kFree; ++i) {
        setFreeIndicator(i, FreeLook::Dark);
        if (m.LED_MEMORIE)
            setFixedIndicator(i, false);
        else // here, unlike the ladder's own dark, the button face
            controls.edit("Graduatore", i).backColour = Colour::system(kUnlit);
    }
}

} // namespace kavel
