#include "console/Kavel.h"

namespace kavel {

void Kavel::MIDIInput1_Message() { inputMessage(MIDIInput1); }
void Kavel::MIDIInput2_Message() { inputMessage(MIDIInput2); }

void Kavel::inputMessage(MidiInput& input) {
    while (input.MessageCount() > 0) {
        loop_.processPendingEvents();
        // What ran meanwhile may have closed the port and emptied its queue.
        if (input.MessageCount() == 0) return;
        const int status = input.Status();
        const int data1 = input.Data1();
        const int data2 = input.Data2();
        MIDIOutput1.Status(status);
        MIDIOutput1.Data1(data1);
        MIDIOutput1.Data2(data2);
        MIDIOutput1.Action(action::kSend);
        input.Action(action::kRemoveOldest);
    }
}

} // namespace kavel
