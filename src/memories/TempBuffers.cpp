#include "console/Kavel.h"

#include <string>

// The two Temporary Buffers: S1, S2 take a snapshot of the live registration, L1, L2 bring it
// back. They live as long as the program; a stored buffer shows by its S button's colour.

namespace kavel {

namespace {
constexpr int kLit = 9;
constexpr int kFirstBuffer = 27; // slots 27 and 28
} // namespace

void Kavel::TempMemButton_Click(int Index) {
    // The snapshot is what the console showed at the press: under the message box MIDI input
    // still runs and may change the registration before the box is answered.
    copySlot(state.registration, SLOT_LIVE, kFirstBuffer + Index);
    controls.edit("TempMemButton", Index).backColour = Colour::system(kLit);
    user_.messageBox({"Actual Stops is now copied on Temporary Buffer " + std::to_string(Index + 1),
                      "", Buttons::Ok, Icon::Information, 0});
}

void Kavel::LoadBuffer_Click(int Index) {
    // Only the button's own buffer: one never stored holds the all-zero registration, which
    // would silence the organ.
    if (controls.get("TempMemButton", Index).backColour != Colour::system(kLit)) {
        user_.messageBox({"NO buffered stops available! To load it, push T1 or T2 buffer memories",
                          "", Buttons::Ok, Icon::Exclamation, 0});
        return;
    }
    copySlot(state.registration, kFirstBuffer + Index, SLOT_LIVE);
    AGGIORNAMENTO_KAVEL();
}

} // namespace kavel
