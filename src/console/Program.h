#pragma once

// The program as its subsystems see it: whether it still runs, and its end after a fault
// it cannot go on from. The main window implements it.

namespace kavel {

class Program {
  public:
    virtual bool running() const = 0;
    // "Fatal Error!": said, then the main window unloads as at exit.
    virtual void Gest_Errore_advanced() = 0;

  protected:
    ~Program() = default;
};

} // namespace kavel
