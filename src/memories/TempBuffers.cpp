#include "memories/TempBuffers.h"

#include "console/Procedures.h"
#include "console/User.h"
#include "panel/Controls.h"
#include "registration/Registration.h"

#include <string>

namespace kavel {

namespace {
constexpr int kLit = 9;
constexpr int kFirstBuffer = 27; // slots 27 and 28
} // namespace

TempBuffers::TempBuffers(RegistrationTable& registration, Controls& controls, User& user,
                         Registration& stopControls)
    : registration_(registration), controls_(controls), user_(user), stopControls_(stopControls) {}

void TempBuffers::registerProcedures(Procedures& p) {
    p.add("TempMemButton_Click", 0, 1, [this](int index) { TempMemButton_Click(index); });
    p.add("LoadBuffer_Click", 0, 1, [this](int index) { LoadBuffer_Click(index); });
}

void TempBuffers::TempMemButton_Click(int Index) {
    // The snapshot is what the console showed at the press: under the message box MIDI input
    // still runs and may change the registration before the box is answered.
    copySlot(registration_, SLOT_LIVE, kFirstBuffer + Index);
    controls_.edit("TempMemButton", Index).backColour = Colour::system(kLit);
    user_.messageBox({"Actual Stops is now copied on Temporary Buffer " + std::to_string(Index + 1),
                      "", Buttons::Ok, Icon::Information, 0});
}

void TempBuffers::LoadBuffer_Click(int Index) {
    // Only the button's own buffer: one never stored holds the all-zero registration, which
    // would silence the organ.
    if (controls_.get("TempMemButton", Index).backColour != Colour::system(kLit)) {
        user_.messageBox({"NO buffered stops available! To load it, push T1 or T2 buffer memories",
                          "", Buttons::Ok, Icon::Exclamation, 0});
        return;
    }
    copySlot(registration_, kFirstBuffer + Index, SLOT_LIVE);
    stopControls_.AGGIORNAMENTO_KAVEL();
}

} // namespace kavel
