#pragma once

// The PC-keyboard hotkeys of the main window: F1..F12 the free memories, the digit row the
// fixed ones.

namespace kavel {

class MemoryBank;
class Procedures;

class MemoryHotkeys {
  public:
    explicit MemoryHotkeys(MemoryBank& memories);
    MemoryHotkeys(const MemoryHotkeys&) = delete;
    MemoryHotkeys& operator=(const MemoryHotkeys&) = delete;

    void registerProcedures(Procedures& p);

    void Form_KeyDown(int KeyCode, int Shift);
    // `KeyAscii`: the character typed, in Windows-1252.
    void Form_KeyPress(int KeyAscii);

  private:
    MemoryBank& memories_;
};

} // namespace kavel
