#include "registration/AdvancedWindow.h"

#include "memories/MemoryIndicators.h"
#include "midi/Sender.h"
#include "panel/Controls.h"
#include "registration/ControllerSenders.h"
#include "registration/Temperament.h"

#include <array>
#include <string>
#include <tuple>

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
    void (ControllerSenders::*send)();
};

constexpr GlobalSlider kGlobalSliders[3] = {
    {"SliderGO", &RegistrationTable::EXPR_GO, &ControllerSenders::EXPRESSION_GO},
    {"SliderSW", &RegistrationTable::EXPR_SW, &ControllerSenders::EXPRESSION_SW},
    {"SliderPE", &RegistrationTable::EXPR_PE, &ControllerSenders::EXPRESSION_PE}};

enum { kGo, kSw, kPe };

} // namespace

// A global slider takes its value; the coupled sliders are moved and sent by it (their own
// handlers do not run), the moved slider's expression last.
void AdvancedWindow::globalSliderScroll(int own) {
    const int coupling = advanced_.ACCOPPIAMENTO_GLOBALE;
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

    auto& r = registration_;
    const auto& mine = kGlobalSliders[own];
    const int v = sliderValue(controls_, mine.slider);
    (r.*mine.field)[SLOT_LIVE] = v;
    for (std::size_t i = 0; i < count; ++i) {
        const auto& s = kGlobalSliders[coupled[i]];
        controls_.edit(s.slider).value = v;
        (r.*s.field)[SLOT_LIVE] = v;
        (senders_.*s.send)();
    }
    (senders_.*mine.send)();
    indicators_.Marca_Led_giallo();
}

void AdvancedWindow::SliderGO_Scroll() {
    globalSliderScroll(kGo);
}
void AdvancedWindow::SliderSW_Scroll() {
    globalSliderScroll(kSw);
}
void AdvancedWindow::SliderPE_Scroll() {
    globalSliderScroll(kPe);
}

// A balance slider, element 1 on the Great, 2 on the Swell; the balances are not coupled.
void AdvancedWindow::balanceSliderScroll(const char* slider, int Index,
                                         SlotArray RegistrationTable::*go,
                                         SlotArray RegistrationTable::*sw,
                                         void (ControllerSenders::*sendGo)(),
                                         void (ControllerSenders::*sendSw)()) {
    auto& r = registration_;
    (r.*(Index == 1 ? go : sw))[SLOT_LIVE] = sliderValue(controls_, slider, Index);
    (senders_.*(Index == 1 ? sendGo : sendSw))();
    indicators_.Marca_Led_giallo();
}

void AdvancedWindow::SliderFondi_Scroll(int Index) {
    balanceSliderScroll("SliderFondi", Index, &RegistrationTable::BIL_FONDI_GO,
                        &RegistrationTable::BIL_FONDI_SW, &ControllerSenders::BILANCIA_FONDI_GO,
                        &ControllerSenders::BILANCIA_FONDI_SW);
}

void AdvancedWindow::SliderMutazioni_Scroll(int Index) {
    balanceSliderScroll("SliderMutazioni", Index, &RegistrationTable::BIL_MUTAZ_GO,
                        &RegistrationTable::BIL_MUTAZ_SW, &ControllerSenders::BILANCIA_MUTAZ_GO,
                        &ControllerSenders::BILANCIA_MUTAZ_SW);
}

void AdvancedWindow::SliderAncie_Scroll(int Index) {
    balanceSliderScroll("SliderAncie", Index, &RegistrationTable::BIL_ANCIE_GO,
                        &RegistrationTable::BIL_ANCIE_SW, &ControllerSenders::BILANCIA_ANCIE_GO,
                        &ControllerSenders::BILANCIA_ANCIE_SW);
}

void AdvancedWindow::OptionGlobalCoupling_Click(int Index) {
    if (Index < 0 || Index > 2) return; // three options: none, manuals, all
    for (int i = 0; i < 3; ++i)
        controls_.edit("OptionGlobalCoupling", i).value = i == Index;
    advanced_.ACCOPPIAMENTO_GLOBALE = Index;
}

void AdvancedWindow::Memory_Recall_Click(int Index) {
    if (Index != 0 && Index != 1) return;
    const bool checked = controls_.get("Memory_Recall", Index).value != 0;
    (Index == 0 ? advanced_.RICHIAMA_GLOBALI : advanced_.RICHIAMA_BILANCIAMENTO) = checked;
}

void AdvancedWindow::PREPARA_TEMPERAMENTO() {
    const int t = advanced_.TEMPERAMENTO;
    if (t < 0 || t >= stops::kTemperamentCount) return;
    const std::string& templ =
        stops_.STOPS_TABLE[static_cast<std::size_t>(stops::kTemperaments + t)];
    if (templ.size() <= 2) return;
    auto built = buildTemperament(templ, advanced_.NOTA_INIZIO_TEMP);
    if (!built) return; // a damaged template, or one too short for the values, changes nothing
    for (std::size_t p = 0; p < built->size(); ++p)
        midi_.TEMP_SYSEX[p + 1] = (*built)[p];
}

// Builds the temperament and sends it to the 32 parts; an empty template sends nothing.
void AdvancedWindow::sendTemperament() {
    PREPARA_TEMPERAMENTO();
    const int t = advanced_.TEMPERAMENTO;
    if (t < 0 || t >= stops::kTemperamentCount ||
        stops_.STOPS_TABLE[static_cast<std::size_t>(stops::kTemperaments + t)].empty())
        return;
    for (int part = 1; part <= 32; ++part)
        sender_.Sysex_Temp_sending(part);
}

void AdvancedWindow::Temperamenti_Click() {
    advanced_.TEMPERAMENTO = controls_.get("Temperamenti").listIndex;
    sendTemperament();
}

void AdvancedWindow::NotaInizTemp_Click() {
    advanced_.NOTA_INIZIO_TEMP = controls_.get("NotaInizTemp").listIndex;
    sendTemperament();
}

void AdvancedWindow::Riverberi_Click() {
    const int index = controls_.get("Riverberi").listIndex;
    advanced_.RIVERBERO = index;
    if (index >= 0 && index < stops::kReverbCount) sender_.Sysex_Sending(stops::kReverbs + index);
}

void AdvancedWindow::TremoloType_Click() {
    const int index = controls_.get("TremoloType").listIndex;
    advanced_.TIPO_TREMOLO = index;
    if (index == 0) {
        sender_.Sysex_Sending(stops::kTremoloDouxGo);
        sender_.Sysex_Sending(stops::kTremoloDouxSw);
    } else {
        sender_.Sysex_Sending(stops::kTremoloFortGo);
        sender_.Sysex_Sending(stops::kTremoloFortSw);
    }
}

void AdvancedWindow::SliderTremoloRate_Scroll() {
    auto& a = advanced_;
    a.VELOCITA_TREMOLO = controls_.get("SliderTremoloRate").value;
    controls_.edit("Valore").caption = std::to_string(a.VELOCITA_TREMOLO);
    senders_.Send_Tremolo_GO(registration_.TREMOLO_GO[SLOT_LIVE]);
    senders_.Send_Tremolo_SW(registration_.TREMOLO_SW[SLOT_LIVE]);
}

// The window's four lists set to the saved choices, each running its handler.
void AdvancedWindow::selectAdvancedChoices() {
    // Each choice is read when its list is set: a handler may change what follows.
    const std::tuple<const char*, const int*, void (AdvancedWindow::*)()> choices[] = {
        {"Temperamenti", &advanced_.TEMPERAMENTO, &AdvancedWindow::Temperamenti_Click},
        {"Riverberi", &advanced_.RIVERBERO, &AdvancedWindow::Riverberi_Click},
        {"NotaInizTemp", &advanced_.NOTA_INIZIO_TEMP, &AdvancedWindow::NotaInizTemp_Click},
        {"TremoloType", &advanced_.TIPO_TREMOLO, &AdvancedWindow::TremoloType_Click}};
    for (const auto& [list, choice, handler] : choices) {
        controls_.edit(list).listIndex = *choice;
        (this->*handler)();
    }
}

} // namespace kavel
