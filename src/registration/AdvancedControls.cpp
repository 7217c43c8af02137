#include "console/Kavel.h"
#include "registration/Temperament.h"

#include <array>
#include <map>

namespace kavel {

namespace {
int sliderValue(const Controls& c, const char* name, int index = -1) {
    return c.get(name, index).value;
}
} // namespace

namespace {

struct GlobalSlider {
    const char* slider;
    SlotArray RegistrationTable::*field;
    void (Kavel::*send)();
};

constexpr GlobalSlider kGlobalSliders[3] = {
    {"SliderGO", &RegistrationTable::EXPR_GO, &Kavel::EXPRESSION_GO},
    {"SliderSW", &RegistrationTable::EXPR_SW, &Kavel::EXPRESSION_SW},
    {"SliderPE", &RegistrationTable::EXPR_PE, &Kavel::EXPRESSION_PE}};

enum { kGo, kSw, kPe };

} // namespace

// A global slider takes its value; the coupled sliders are moved and sent by it (their own
// handlers do not run), the moved slider's expression last.
void Kavel::globalSliderScroll(int own) {
    const int coupling = state.advanced.ACCOPPIAMENTO_GLOBALE;
    // Expression pedals come through here: no allocation.
    std::array<int, 2> coupled{};
    std::size_t count = 0;
    if (own == kGo && coupling >= 1) coupled[count++] = kSw;
    if (own == kSw && coupling >= 1) coupled[count++] = kGo;
    if (own != kPe && coupling == 2) coupled[count++] = kPe;
    if (own == kPe && coupling == 2) {
        coupled[count++] = kSw;
        coupled[count++] = kGo;
    }

    auto& r = state.registration;
    const auto& mine = kGlobalSliders[own];
    const int v = sliderValue(controls, mine.slider);
    (r.*mine.field)[SLOT_LIVE] = v;
    for (std::size_t i = 0; i < count; ++i) {
        const auto& s = kGlobalSliders[coupled[i]];
        controls.edit(s.slider).value = v;
        (r.*s.field)[SLOT_LIVE] = v;
        (this->*s.send)();
    }
    (this->*mine.send)();
    Marca_Led_giallo();
}

void Kavel::SliderGO_Scroll() {
    globalSliderScroll(kGo);
}
void Kavel::SliderSW_Scroll() {
    globalSliderScroll(kSw);
}
void Kavel::SliderPE_Scroll() {
    globalSliderScroll(kPe);
}

// A balance slider, element 1 on the Great, 2 on the Swell; the balances are not coupled.
void Kavel::balanceSliderScroll(const char* slider, int Index, SlotArray RegistrationTable::*go,
                                SlotArray RegistrationTable::*sw, void (Kavel::*sendGo)(),
                                void (Kavel::*sendSw)()) {
    auto& r = state.registration;
    (r.*(Index == 1 ? go : sw))[SLOT_LIVE] = sliderValue(controls, slider, Index);
    (this->*(Index == 1 ? sendGo : sendSw))();
    Marca_Led_giallo();
}

void Kavel::SliderFondi_Scroll(int Index) {
    balanceSliderScroll("SliderFondi", Index, &RegistrationTable::BIL_FONDI_GO,
                        &RegistrationTable::BIL_FONDI_SW, &Kavel::BILANCIA_FONDI_GO,
                        &Kavel::BILANCIA_FONDI_SW);
}

void Kavel::SliderMutazioni_Scroll(int Index) {
    balanceSliderScroll("SliderMutazioni", Index, &RegistrationTable::BIL_MUTAZ_GO,
                        &RegistrationTable::BIL_MUTAZ_SW, &Kavel::BILANCIA_MUTAZ_GO,
                        &Kavel::BILANCIA_MUTAZ_SW);
}

void Kavel::SliderAncie_Scroll(int Index) {
    balanceSliderScroll("SliderAncie", Index, &RegistrationTable::BIL_ANCIE_GO,
                        &RegistrationTable::BIL_ANCIE_SW, &Kavel::BILANCIA_ANCIE_GO,
                        &Kavel::BILANCIA_ANCIE_SW);
}

void Kavel::OptionGlobalCoupling_Click(int Index) {
    if (Index < 0 || Index > 2) return; // three options: none, manuals, all
    for (int i = 0; i < 3; ++i)
        controls.edit("OptionGlobalCoupling", i).value = i == Index;
    state.advanced.ACCOPPIAMENTO_GLOBALE = Index;
}

void Kavel::Memory_Recall_Click(int Index) {
    if (Index != 0 && Index != 1) return;
    const bool checked = controls.get("Memory_Recall", Index).value != 0;
    (Index == 0 ? state.advanced.RICHIAMA_GLOBALI : state.advanced.RICHIAMA_BILANCIAMENTO) =
        checked;
}

void Kavel::PREPARA_TEMPERAMENTO() {
    const int t = state.advanced.TEMPERAMENTO;
    if (t < 0 || t >= stops::kTemperamentCount) return;
    const std::string& templ =
        state.stops.STOPS_TABLE[static_cast<std::size_t>(stops::kTemperaments + t)];
    if (templ.size() <= 2) return;
    auto built = buildTemperament(templ, state.advanced.NOTA_INIZIO_TEMP);
    if (!built) return; // a damaged template, or one too short for the values, changes nothing
    for (std::size_t p = 0; p < built->size(); ++p)
        state.midi.TEMP_SYSEX[p + 1] = (*built)[p];
}

// Builds the temperament and sends it to the 32 parts; an empty template sends nothing.
void Kavel::sendTemperament() {
    PREPARA_TEMPERAMENTO();
    const int t = state.advanced.TEMPERAMENTO;
    if (t < 0 || t >= stops::kTemperamentCount ||
        state.stops.STOPS_TABLE[static_cast<std::size_t>(stops::kTemperaments + t)].empty())
        return;
    for (int part = 1; part <= 32; ++part)
        Sysex_Temp_sending(part);
}

void Kavel::Temperamenti_Click() {
    state.advanced.TEMPERAMENTO = controls.get("Temperamenti").listIndex;
    sendTemperament();
}

void Kavel::NotaInizTemp_Click() {
    state.advanced.NOTA_INIZIO_TEMP = controls.get("NotaInizTemp").listIndex;
    sendTemperament();
}

void Kavel::Riverberi_Click() {
    const int index = controls.get("Riverberi").listIndex;
    state.advanced.RIVERBERO = index;
    if (index >= 0 && index < stops::kReverbCount) Sysex_Sending(stops::kReverbs + index);
}

void Kavel::TremoloType_Click() {
    const int index = controls.get("TremoloType").listIndex;
    state.advanced.TIPO_TREMOLO = index;
    if (index == 0) {
        Sysex_Sending(stops::kTremoloDouxGo);
        Sysex_Sending(stops::kTremoloDouxSw);
    } else {
        Sysex_Sending(stops::kTremoloFortGo);
        Sysex_Sending(stops::kTremoloFortSw);
    }
}

void Kavel::SliderTremoloRate_Scroll() {
    auto& a = state.advanced;
    a.VELOCITA_TREMOLO = controls.get("SliderTremoloRate").value;
    controls.edit("Valore").caption = std::to_string(a.VELOCITA_TREMOLO);
    Send_Tremolo_GO(state.registration.TREMOLO_GO[SLOT_LIVE]);
    Send_Tremolo_SW(state.registration.TREMOLO_SW[SLOT_LIVE]);
}

void Kavel::selectListItem(const std::string& list, int index) {
    static const std::map<std::string, void (Kavel::*)()> kHandlers = {
        {"Temperamenti", &Kavel::Temperamenti_Click},
        {"NotaInizTemp", &Kavel::NotaInizTemp_Click},
        {"Riverberi", &Kavel::Riverberi_Click},
        {"TremoloType", &Kavel::TremoloType_Click}};
    controls.edit(list).listIndex = index;
    if (auto it = kHandlers.find(list); it != kHandlers.end())
        (this->*(it->second))();
    else if (procedures.contains(list + "_Click")) // the lists of the other windows
        procedures.call(list + "_Click", {});
}

} // namespace kavel
