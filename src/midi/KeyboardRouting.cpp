#include "midi/KeyboardRouting.h"

#include "console/EventLoop.h"
#include "console/ProgramState.h"
#include "midi/ConsoleFunctions.h"
#include "midi/HeldNotes.h"
#include "midi/MidiPorts.h"
#include "midi/Sender.h"
#include "panel/Controls.h"

#include <cmath>

namespace kavel {

namespace {

bool between(int v, int lo, int hi) {
    return v >= lo && v <= hi;
}
bool isRelease(int status, int data2) {
    return (status & 0xF0) == 0x80 || ((status & 0xF0) == 0x90 && data2 == 0);
}

// Expression value of the Advanced sliders for a controller value: 61..127 in steps of 3.
int sliderValue(int v) {
    const double x = (127.0 - (0.51968 * v + 61.0)) / 3.0;
    return static_cast<int>(std::lround(127.0 - 3.0 * std::floor(x)));
}

} // namespace

KeyboardRouting::KeyboardRouting(MidiInput& in1, MidiInput& in2, Sender& sender, HeldNotes& held,
                                 MidiState& midi, const RegistrationTable& registration,
                                 const AdvancedState& advanced, Controls& controls, EventLoop& loop,
                                 ConsoleFunctions& own)
    : in1_(in1), in2_(in2), sender_(sender), held_(held), midi_(midi), registration_(registration),
      advanced_(advanced), controls_(controls), loop_(loop), own_(own), functions_(&own) {}

void KeyboardRouting::setConsoleFunctions(ConsoleFunctions* functions) {
    functions_ = functions ? functions : &own_;
}

void KeyboardRouting::MIDIInput1_Message() {
    inputMessage(in1_, 0);
}
void KeyboardRouting::MIDIInput2_Message() {
    inputMessage(in2_, 1);
}

void KeyboardRouting::inputMessage(MidiInput& input, int which) {
    while (input.MessageCount() > 0) {
        loop_.processPendingEvents();
        // What ran meanwhile may have closed the port and emptied its queue.
        if (input.MessageCount() == 0) return;
        route(which, {input.Status(), input.Data1(), input.Data2()});
        sender_.noteDelay();
        input.Action(action::kRemoveOldest);
    }
}

void KeyboardRouting::rechannel(Message& m) const {
    const auto& midi = midi_;
    const int type = m.status & 0xF0;
    if (midi.MODO_THRU == 1) {
        const int body = registration_.CORPO_ORGANO[SLOT_LIVE];
        // A body outside the three divisions would make a status byte of another type.
        if (!isOrganBody(body)) return;
        if (type == 0xB0 || type == 0x90 || type == 0xE0 || type == 0x80)
            m.status = type + body - 1;
    } else if (midi.MODO_THRU == 2) {
        for (int i = 0; i < 3; ++i) {
            const int k = midi.CANALE_APPRESO[static_cast<std::size_t>(i)];
            if (k < 0 || k > 15) continue; // no channel: it would match another type's status
            for (int t : {0x90, 0xB0, 0xE0, 0xC0, 0x80}) {
                if (m.status == t + k) {
                    m.status = t + i;
                    return;
                }
            }
        }
    }
}

void KeyboardRouting::route(int which, Message m) {
    auto& midi = midi_;
    const int incomingChannel = m.status & 0x0F;
    const int incomingNote = m.data1;

    // R1: channel learning.
    if (midi.APPRENDI_CANALE && between(m.status, 0x90, 0x9F) &&
        between(midi.INDICE_APPRENDI, 0, 3)) {
        midi.CANALE_APPRESO[static_cast<std::size_t>(midi.INDICE_APPRENDI)] = m.status - 0x90;
        controls_.edit("Custom_Thru_label", midi.INDICE_APPRENDI).caption =
            "Channel = " + std::to_string(m.status - 0x90 + 1);
    }
    // R2
    rechannel(m);

    // A key whose press went out is released where the press went, whatever the switch event
    // or the channel: taking its release as a command would leave the note sounding.
    if (isRelease(m.status, m.data2) && held_.holds(which, incomingChannel, incomingNote))
        return forward(which, m, incomingChannel, incomingNote);

    // R3, R4: releases on the three divisions always pass.
    if (between(m.status, 0x80, 0x82) || (between(m.status, 0x90, 0x92) && m.data2 == 0))
        return forward(which, m, incomingChannel, incomingNote);

    // R5: the sustain pedal is the switch event.
    if (between(m.status, 0xB0, 0xB2) && m.data1 == 64) {
        if (m.data2 == 127) {
            midi.EVENTO_SWITCH = true;
        } else if (m.data2 == 0 && midi.EVENTO_SWITCH) {
            sender_.Panic_Click();
            midi.EVENTO_SWITCH = false;
        }
        return;
    }
    // R6: a program change is a Total Recall key.
    if (between(m.status, 0xC0, 0xCF)) {
        m.status = m.status - 0xC0 + 0x90;
        m.data1 += 36;
        m.data2 = 127;
        midi.EVENTO_SWITCH = true;
    }
    // R7
    if (midi.EVENTO_SWITCH) {
        if (between(m.data1, 60, 71)) {
            functions_->c_memory_Click(m.data1 - 59);
            midi.EVENTO_SWITCH = false;
        } else if (between(m.data1, 72, 83)) {
            functions_->Graduatore_Click(m.data1 - 71);
            midi.EVENTO_SWITCH = false;
        } else {
            int nota = m.data1;
            functions_->Total_Recall(nota, m.status - 144);
        }
        return;
    }
    // R8
    if (between(m.status, 0x90, 0x92)) return forward(which, m, incomingChannel, incomingNote);
    // R9
    if (between(m.status, 0xE0, 0xE2)) return pitchWheel(which, m);
    // R10
    if (between(m.status, 0xB0, 0xB2) && (m.data1 == 7 || m.data1 == 1 || m.data1 == 11))
        return expression(which, m);
    // R11
    forward(which, m, incomingChannel, incomingNote);
}

void KeyboardRouting::pitchWheel(int which, const Message& m) {
    auto& latch = midi_.BLOCCO_PITCH;
    if (between(m.data2, 60, 70)) {
        latch = false;
        return;
    }
    if (latch) return;
    const bool up = between(m.data2, 75, 80);
    const bool down = between(m.data2, 45, 50);
    if (!up && !down) return;
    latch = true;
    auto& f = *functions_;
    switch (m.status & 0x0F) {
    case 0: // Great
    case 1: // Swell
        if (up) {
            if (which == 0 || (m.status & 0x0F) == 0)
                f.Tir_TREMOLOGO_Click();
            else
                f.TIR_TREMOLOSW_Click();
        } else if (which == 0) {
            f.TIR_TREMOLOSW_Click();
        }
        break;
    default: // Pedal
        if (up)
            f.UNPI_Click();
        else
            f.UNPII_Click();
        break;
    }
}

void KeyboardRouting::expression(int which, const Message& m) {
    const int e = sliderValue(m.data2);
    auto& f = *functions_;
    auto shows = [this, e](const char* slider) { return controls_.get(slider).value == e; };
    auto setTo = [this, e](const char* slider) { controls_.edit(slider).value = e; };
    const int channel = m.status & 0x0F;

    if (channel == 2) {
        if (shows("SliderPE")) return;
        setTo("SliderPE");
        return f.SliderPE_Scroll();
    }
    const int coupling = advanced_.ACCOPPIAMENTO_GLOBALE;
    if (coupling == 1) {
        if (shows(which == 0 ? "SliderGO" : "SliderSW")) return;
        setTo("SliderGO");
        setTo("SliderSW");
        f.SliderGO_Scroll();
        f.SliderSW_Scroll();
    } else if (coupling == 2 && which == 0) {
        if (shows("SliderGO")) return;
        setTo("SliderGO");
        setTo("SliderSW");
        setTo("SliderPE");
        f.SliderPE_Scroll();
        f.SliderGO_Scroll();
        f.SliderSW_Scroll();
    }
    const char* own = channel == 0 ? "SliderGO" : "SliderSW";
    if (shows(own)) return;
    setTo(own);
    if (channel == 0)
        f.SliderGO_Scroll();
    else
        f.SliderSW_Scroll();
}

// R12, with the releases of held keys sent where their presses went.
void KeyboardRouting::forward(int which, const Message& m, int incomingChannel, int incomingNote) {
    const bool noteMessage = (m.status & 0xF0) == 0x80 || (m.status & 0xF0) == 0x90;
    if (noteMessage && isRelease(m.status, m.data2)) {
        const auto sends = held_.take(which, incomingChannel, incomingNote);
        if (sends.count > 0) {
            const int type = m.status & 0xF0;
            for (int i = 0; i < sends.count; ++i)
                sender_.send(type | sends.channel[static_cast<std::size_t>(i)],
                             sends.note[static_cast<std::size_t>(i)], m.data2);
            return;
        }
    }
    const bool press = noteMessage && !isRelease(m.status, m.data2);
    auto sent = [&](int status, int note) {
        sender_.send(status, note, m.data2);
        if (press) held_.add(which, incomingChannel, incomingNote, status & 0x0F, note);
    };

    const auto& reg = registration_;
    const int pedalCoupler = reg.UNIONE_PED[SLOT_LIVE];
    const int manualCoupler = reg.UNIONE_MAN[SLOT_LIVE];
    const int first = m.status;
    int status = m.status;
    sent(status, m.data1);
    if (pedalCoupler == 1 && (status == 0x92 || status == 0x82)) sent(status -= 2, m.data1);
    if (pedalCoupler == 2 && (status == 0x92 || status == 0x82)) sent(status -= 1, m.data1);
    if (manualCoupler == 1 && (status == 0x90 || status == 0x80)) sent(status += 1, m.data1);
    if (manualCoupler == 2 && (status == 0x91 || status == 0x81)) sent(status -= 1, m.data1);
    // A pedal note below 12 has no octave below it: no copy rather than a wrong note.
    if (reg.SUBOTTAVA_PED[SLOT_LIVE] == 1 && (first == 0x92 || first == 0x82) && m.data1 >= 12)
        sent(first, m.data1 - 12);
}

} // namespace kavel
