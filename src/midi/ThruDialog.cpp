#include "midi/ThruDialog.h"

#include "console/Procedures.h"
#include "console/ProgramState.h"
#include "console/User.h"
#include "panel/Controls.h"
#include "panel/PanelLayout.h"
#include "panel/ScreenPlacement.h"

#include <string>

namespace kavel {

namespace {

constexpr const char* kWindow = "Thru_form";
constexpr int kLit = 9;
constexpr int kUnlit = 15;

constexpr const char* kModes[] = {"No Rechannelling ", "Normal Rechannelling",
                                  "Fixed Rechanneling"};
constexpr const char* kExplanations[] = {
    "Use this mode for keyboards with assignable  MIDI OUT channel. You set your keyboard's midi "
    "out to the channels aside.",
    "Use this mode if  you have only 1 keyboard. GREAT , SWELL , and PEDAL can be selected   by "
    "the related panel buttons.",
    "Use this mode for keyboards with fixed midi out channels. Click on fields aside and press any "
    "keyboard  key. Kavel will self-ack midi channel sent from your keyboards."};
constexpr const char* kDivisions[] = {"GREAT", "SWELL", "PEDAL"};

// Each mode a band of the dialog: its option, its explanation, and for modes 0 and 2 the
// three divisions beside them.
constexpr int kBandTop[] = {150, 1450, 2750};

} // namespace

ThruDialog::ThruDialog(Controls& controls, MidiState& midi, RegistrationTable& registration,
                       User& user, ScreenPlacement& screen, MemoryIndicators& indicators,
                       PanelLayout& panel)
    : controls_(controls), midi_(midi), registration_(registration), user_(user), screen_(screen),
      indicators_(indicators), panel_(panel) {
    place();
}

void ThruDialog::registerProcedures(Procedures& p) {
    p.add("Thru_form.Form_Load", [this] { Form_Load(); });
    p.add("Thru_choose_Click", 0, 2, [this](int i) { Thru_choose_Click(i); });
    p.add("Custom_Thru_label_Click", 0, 2, [this](int i) { Custom_Thru_label_Click(i); });
    p.add("Thru_form.Command1_Click", [this] { Command1_Click(); });
    p.add("Thru_form.Command2_Click", [this] { Command2_Click(); });
    p.add("AGGIORNA_THRU", [this] { AGGIORNA_THRU(); });
    p.add("MidiThru_Click", [this] { MidiThru_Click(); });
    p.add("THRUBUTTON_Click", [this] { THRUBUTTON_Click(); });
}

// Every control of the dialog, in twips; what they show comes from the procedures below.
void ThruDialog::place() {
    auto& c = controls_;
    auto put = [&c](const std::string& name, int index, ControlKind kind, int left, int top,
                    int width, int height) -> ControlState& {
        return c.place(name, index, kind, kWindow, left, top, width, height);
    };
    auto& window = c.edit(kWindow);
    window.caption = "Midi Thru";
    window.width = 7700;
    window.height = 4700;
    for (int mode = 0; mode < 3; ++mode) {
        const int top = kBandTop[mode];
        put("Thru_choose", mode, ControlKind::Option, 200, top, 3000, 300).caption = kModes[mode];
        auto& text = put("Thru_explanation", mode, ControlKind::Label, 200, top + 330, 4400, 900);
        text.caption = kExplanations[mode];
        text.align = Align::Centre;
    }
    for (int i = 0; i < 3; ++i) {
        for (int band : {0, 2}) {
            const int top = kBandTop[band] + i * 400;
            auto& name = put(band == 0 ? "Thru_division" : "Thru_learn_division", i,
                             ControlKind::Label, 4800, top, 1000, 340);
            name.caption = kDivisions[i];
            name.align = Align::Centre;
        }
        auto& play =
            put("Thru_play_on", i, ControlKind::Label, 5900, kBandTop[0] + i * 400, 1600, 340);
        play.caption = "Play on chan. " + std::to_string(i + 1);
        play.align = Align::Centre;
        put("Custom_Thru_label", i, ControlKind::Label, 5900, kBandTop[2] + i * 400, 1600, 340)
            .align = Align::Centre;
    }
    put("Thru_form.Command1", -1, ControlKind::Button, 4900, 4100, 1150, 380).caption = "OK";
    put("Thru_form.Command2", -1, ControlKind::Button, 6150, 4100, 1350, 380).caption = "CANCEL";
}

void ThruDialog::Form_Load() {
    loaded_ = true;
    screen_.centreOnScreen(kWindow, "wrench.ico");
    auto& midi = midi_;
    midi.MODO_THRU_PRECEDENTE = midi.MODO_THRU;
    // Opening in mode 2 teaches the default channels again: CANCEL brings back these.
    channelsAtOpening_ = midi.CANALE_APPRESO;
    // Selecting the option runs its click, as the organist's click would.
    if (midi.MODO_THRU >= 0 && midi.MODO_THRU <= 2) {
        controls_.edit("Thru_choose", midi.MODO_THRU).value = 1;
        Thru_choose_Click(midi.MODO_THRU);
    }
    AGGIORNA_THRU();
}

void ThruDialog::Thru_choose_Click(int Index) {
    if (Index < 0 || Index > 2) return;
    auto& midi = midi_;
    midi.MODO_THRU = Index;
    for (int i = 0; i < 3; ++i)
        controls_.edit("Thru_choose", i).value = i == Index ? 1 : 0;
    if (Index == 2) {
        midi.CANALE_APPRESO[0] = 1;
        midi.CANALE_APPRESO[1] = 0;
        midi.CANALE_APPRESO[2] = 3;
        midi.APPRENDI_CANALE = true;
    }
    AGGIORNA_THRU();
    // Learning is on: the label it teaches shows lit, so no key teaches a division unseen.
    if (Index == 2) Custom_Thru_label_Click(midi.INDICE_APPRENDI);
}

void ThruDialog::Custom_Thru_label_Click(int Index) {
    if (Index < 0 || Index > 2) return;
    midi_.INDICE_APPRENDI = Index;
    for (int i = 0; i < 3; ++i)
        controls_.edit("Custom_Thru_label", i).backColour =
            Colour::system(i == Index ? kLit : kUnlit);
}

void ThruDialog::Command1_Click() {
    panel_.ADATTA_PULSANTE_THRU();
    midi_.APPRENDI_CANALE = false;
    close();
}

void ThruDialog::Command2_Click() {
    auto& midi = midi_;
    midi.MODO_THRU = midi.MODO_THRU_PRECEDENTE;
    midi.CANALE_APPRESO = channelsAtOpening_;
    panel_.ADATTA_PULSANTE_THRU();
    midi.APPRENDI_CANALE = false;
    close();
}

void ThruDialog::AGGIORNA_THRU() {
    const auto& midi = midi_;
    for (int mode = 0; mode < 3; ++mode)
        controls_.edit("Thru_explanation", mode).backColour =
            Colour::system(mode == midi.MODO_THRU ? kLit : kUnlit);
    for (int i = 0; i < 3; ++i) {
        auto& label = controls_.edit("Custom_Thru_label", i);
        if (midi.MODO_THRU == 2) {
            label.caption =
                "channel = " + std::to_string(midi.CANALE_APPRESO[static_cast<std::size_t>(i)] + 1);
        } else {
            label.backColour = Colour::system(kUnlit);
            label.caption = "Not rechanneled ";
        }
    }
}

void ThruDialog::close() {
    loaded_ = false;
    user_.closeWindow(kWindow);
}

// The Setup menu's "Midi &Thru...": the dialog, not modal; brought forward if already open.
void ThruDialog::MidiThru_Click() {
    if (!loaded()) Form_Load();
    user_.showWindow(kWindow, false);
}

} // namespace kavel
