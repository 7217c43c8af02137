#pragma once

// Keyboard input: each message of the two inputs through the routing rules, to the module or
// to the console functions the keyboards drive (memories, Total Recall, tremolos, pedal
// couplers, expression).

namespace kavel {

class ConsoleFunctions;
class Controls;
class EventLoop;
class HeldNotes;
class MidiInput;
class Sender;
struct AdvancedState;
struct MidiState;
struct RegistrationTable;

class KeyboardRouting {
  public:
    // `own`: the console functions of this console.
    KeyboardRouting(MidiInput& in1, MidiInput& in2, Sender& sender, HeldNotes& held,
                    MidiState& midi, const RegistrationTable& registration,
                    const AdvancedState& advanced, Controls& controls, EventLoop& loop,
                    ConsoleFunctions& own);
    KeyboardRouting(const KeyboardRouting&) = delete;
    KeyboardRouting& operator=(const KeyboardRouting&) = delete;

    void MIDIInput1_Message();
    void MIDIInput2_Message();
    // The console functions keyboard input drives: this console's own unless a test puts a
    // recording double here (nullptr gives the console's own back).
    void setConsoleFunctions(ConsoleFunctions* functions);

  private:
    struct Message {
        int status;
        int data1;
        int data2;
    };
    void inputMessage(MidiInput& input, int which);
    // R1..R12 of one message from input `which` (0 or 1).
    void route(int which, Message m);
    void rechannel(Message& m) const;
    void pitchWheel(int which, const Message& m);
    void expression(int which, const Message& m);
    void forward(int which, const Message& m, int incomingChannel, int incomingNote);

    MidiInput& in1_;
    MidiInput& in2_;
    Sender& sender_;
    HeldNotes& held_;
    MidiState& midi_;
    const RegistrationTable& registration_;
    const AdvancedState& advanced_;
    Controls& controls_;
    EventLoop& loop_;
    ConsoleFunctions& own_;
    ConsoleFunctions* functions_;
};

} // namespace kavel
