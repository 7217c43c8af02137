#pragma once

// What goes out to the module: the Stops Table's SysEx strings with their waits, the
// temporary strings, short messages and the panic.

#include <string>

namespace kavel {

class HeldNotes;
class MidiOutput;
class Procedures;
class Waiting;
struct MidiState;
struct StopsTableState;

class Sender {
  public:
    Sender(MidiOutput& out, const MidiState& midi, const StopsTableState& stops, HeldNotes& held,
           Waiting& waiting);
    Sender(const Sender&) = delete;
    Sender& operator=(const Sender&) = delete;

    // "Sysex_Sending", "Sysex_Temp_sending", "Panic_Click".
    void registerProcedures(Procedures& p);

    void Sysex_Sending(int N_sysex);
    void Sysex_Temp_sending(int N);
    void Panic_Click();

    void send(int status, int data1, int data2);
    void sendSysEx(std::string bytes);
    // The note sending delay after each message routed from a keyboard.
    void noteDelay() const;
    // Notes of keys held on an input whose releases will not come, released now.
    void releaseHeldKeys(int input);

  private:
    MidiOutput& out_;
    const MidiState& midi_;
    const StopsTableState& stops_;
    HeldNotes& held_;
    Waiting& waiting_;
};

} // namespace kavel
