#include "midi/Sender.h"

#include "console/Procedures.h"
#include "console/ProgramState.h"
#include "console/Waiting.h"
#include "midi/HeldNotes.h"
#include "midi/MidiPorts.h"
#include "stops_table/SysExCheck.h"

namespace kavel {

Sender::Sender(MidiOutput& out, const MidiState& midi, const StopsTableState& stops,
               HeldNotes& held, Waiting& waiting)
    : out_(out), midi_(midi), stops_(stops), held_(held), waiting_(waiting) {}

void Sender::registerProcedures(Procedures& p) {
    p.add("Panic_Click", [this] { Panic_Click(); });
    p.add("Sysex_Sending", 0, kStopsTableSize - 1, [this](int n) { Sysex_Sending(n); });
    p.add("Sysex_Temp_sending", 0, 32, [this](int n) { Sysex_Temp_sending(n); });
}

void Sender::sendSysEx(std::string bytes) {
    if (bytes.empty()) return; // nothing a module could take
    out_.Status(0xF0);
    out_.SysExData(std::move(bytes));
    out_.Action(action::kSend);
}

void Sender::Sysex_Sending(int N_sysex) {
    if (N_sysex < 0 || N_sysex >= kStopsTableSize) return;
    // A copy: a wait below may run code that changes the table.
    const std::string entry = stops_.STOPS_TABLE[static_cast<std::size_t>(N_sysex)];
    // Checked at every send, as the table may have been edited since it was loaded: a damaged
    // entry would put stray status and data bytes on the wire, so none of it goes.
    if (!isSoundSysEx(entry)) return;
    const int delay = midi_.RITARDO_SYSEX;
    if (delay == 0) return sendSysEx(entry);
    std::size_t start = 0;
    for (std::size_t i = 0; i < entry.size(); ++i) {
        if (static_cast<unsigned char>(entry[i]) != 0xF7) continue;
        sendSysEx(entry.substr(start, i + 1 - start));
        waiting_.Waiting_Timer(delay);
        start = i + 1;
    }
}

void Sender::Sysex_Temp_sending(int N) {
    if (N < 0 || N >= static_cast<int>(midi_.TEMP_SYSEX.size())) return;
    if (midi_.RITARDO_SYSEX != 0) waiting_.Waiting_Timer(midi_.RITARDO_SYSEX);
    sendSysEx(midi_.TEMP_SYSEX[static_cast<std::size_t>(N)]);
}

void Sender::Panic_Click() {
    for (int status : {176, 177, 178}) {
        out_.Status(status);
        out_.Data1(123);
        out_.Data2(0);
        out_.Action(action::kSend);
        out_.Action(action::kSend);
    }
    // Only the division channels were silenced: a note held on another channel still
    // owes its release, and must get it where its press went.
    held_.forgetChannelsBelow(3);
}

void Sender::send(int status, int data1, int data2) {
    out_.Status(status);
    out_.Data1(data1);
    out_.Data2(data2);
    out_.Action(action::kSend);
}

void Sender::noteDelay() const {
    const int outer = midi_.RITARDO_NOTE;
    if (outer == 0) return;
    volatile int spin = 0; // volatile: the loop must not be optimised away
    for (int i = 0; i <= outer; ++i)
        for (int j = 0; j <= 200; ++j)
            spin = spin + 1;
}

void Sender::releaseHeldKeys(int input) {
    held_.takeAll(input, [this](int channel, int note) { send(0x80 | channel, note, 0); });
}

} // namespace kavel
