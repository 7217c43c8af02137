#include "console/Kavel.h"
#include "stops_table/SysExCheck.h"

namespace kavel {

void Kavel::sendSysEx(std::string bytes) {
    if (bytes.empty()) return; // nothing a module could take
    MIDIOutput1.Status(0xF0);
    MIDIOutput1.SysExData(std::move(bytes));
    MIDIOutput1.Action(action::kSend);
}

void Kavel::Sysex_Sending(int N_sysex) {
    if (N_sysex < 0 || N_sysex >= kStopsTableSize) return;
    // A copy: a wait below may run code that changes the table.
    const std::string entry = state.stops.STOPS_TABLE[static_cast<std::size_t>(N_sysex)];
    // Checked at every send, as the table may have been edited since it was loaded: a damaged
    // entry would put stray status and data bytes on the wire, so none of it goes.
    if (!isSoundSysEx(entry)) return;
    const int delay = state.midi.RITARDO_SYSEX;
    if (delay == 0) return sendSysEx(entry);
    std::size_t start = 0;
    for (std::size_t i = 0; i < entry.size(); ++i) {
        if (static_cast<unsigned char>(entry[i]) != 0xF7) continue;
        sendSysEx(entry.substr(start, i + 1 - start));
        Waiting_Timer(delay);
        start = i + 1;
    }
}

void Kavel::Sysex_Temp_sending(int N) {
    if (N < 0 || N >= static_cast<int>(state.midi.TEMP_SYSEX.size())) return;
    if (state.midi.RITARDO_SYSEX != 0) Waiting_Timer(state.midi.RITARDO_SYSEX);
    sendSysEx(state.midi.TEMP_SYSEX[static_cast<std::size_t>(N)]);
}

void Kavel::Panic_Click() {
    for (int status : {176, 177, 178}) {
        MIDIOutput1.Status(status);
        MIDIOutput1.Data1(123);
        MIDIOutput1.Data2(0);
        MIDIOutput1.Action(action::kSend);
        MIDIOutput1.Action(action::kSend);
    }
    // Only the division channels were silenced: a note held on another channel still
    // owes its release, and must get it where its press went.
    held_.forgetChannelsBelow(3);
}

} // namespace kavel
