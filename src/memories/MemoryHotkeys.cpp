#include "memories/MemoryHotkeys.h"

#include "console/Procedures.h"
#include "memories/MemoryBank.h"

namespace kavel {

namespace {

// Function keys F1..F12 as the keyboard reports them.
constexpr int kF1 = 112;
constexpr int kF12 = 123;

} // namespace

MemoryHotkeys::MemoryHotkeys(MemoryBank& memories) : memories_(memories) {}

void MemoryHotkeys::registerProcedures(Procedures& p) {
    using Args = Procedures::Args;
    p.add("Form_KeyDown", 2, [this](const Args& a) { Form_KeyDown(a[0], a[1]); });
    p.add("Form_KeyPress", 1, [this](const Args& a) { Form_KeyPress(a[0]); });
}

void MemoryHotkeys::Form_KeyDown(int KeyCode, int /*Shift*/) {
    if (KeyCode >= kF1 && KeyCode <= kF12) memories_.c_memory_Click(KeyCode - (kF1 - 1));
}

void MemoryHotkeys::Form_KeyPress(int KeyAscii) {
    // The digit row of an Italian keyboard: 1..9, then 0, the apostrophe and "ì" (Windows-1252)
    // for the fixed memories 1..12.
    int slot = 0;
    if (KeyAscii >= '1' && KeyAscii <= '9') slot = KeyAscii - 36;
    if (KeyAscii == '0') slot = 22;
    if (KeyAscii == '\'') slot = 23;
    if (KeyAscii == 236) slot = 24;
    if (slot) memories_.c_memory_Click(slot);
}

} // namespace kavel
