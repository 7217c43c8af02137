#pragma once

// The one wait of the program: the event loop runs until `Timer1` fires, so MIDI input and
// clicks go on while a SysEx string settles in the module.

#include "console/EventLoop.h"
#include "console/Procedures.h"
#include "console/ProgramState.h"

namespace kavel {

class Waiting {
  public:
    Waiting(EventLoop& loop, MidiState& midi) : loop_(loop), midi_(midi) {}
    Waiting(const Waiting&) = delete;
    Waiting& operator=(const Waiting&) = delete;

    void registerProcedures(Procedures& p);

    // 0 or less returns at once.
    void Waiting_Timer(int msec);
    void Timer1_Timer();
    // A wait is running: work that must not start inside one looks here.
    bool waiting() const { return waits_ > 0; }

  private:
    EventLoop& loop_;
    MidiState& midi_;
    int waits_ = 0; // nested Waiting_Timer calls running
};

} // namespace kavel
