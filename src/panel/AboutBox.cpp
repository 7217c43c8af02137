#include "panel/AboutBox.h"

#include "config/ProgramFolder.h"
#include "console/Procedures.h"
#include "console/User.h"
#include "panel/Controls.h"
#include "panel/ScreenPlacement.h"

namespace kavel {

namespace {

constexpr const char* kDesignedFor =
    "This program is designed for Roland Sound Canvas SC88 or Highers";
constexpr const char* kCredits =
    "An organ console for two manuals and pedal, played from your own MIDI keyboards.\n\n"
    "Written by the Kavel developers for organists and organ builders.";

// The picture on the left at its own size (150 x 200 pixels), the texts beside it.
constexpr int kWidth = 7200;
constexpr int kHeight = 4100;
constexpr int kTextLeft = 2760;
constexpr int kTextWidth = kWidth - kTextLeft - 240;

} // namespace

AboutBox::AboutBox(Controls& controls, User& user, ScreenPlacement& screen,
                   const ProgramFolder& folder)
    : controls_(controls), user_(user), screen_(screen), folder_(folder) {
    place();
}

void AboutBox::registerProcedures(Procedures& p) {
    p.add("About_Click", [this] { About_Click(); });
    p.add("frmABout.Form_Load", [this] { Form_Load(); });
    p.add("frmABout.Command1_Click", [this] { Command1_Click(); });
}

void AboutBox::place() {
    auto& c = controls_;
    auto& window = c.edit(kName);
    window.caption = "About KAVEL Graphic Version";
    window.width = kWidth;
    window.height = kHeight;
    // A picture that cannot be read leaves its place plain and named.
    c.place("frmABout.Image1", -1, ControlKind::Picture, kName, 240, 240, 150 * 15, 200 * 15)
        .caption = kProgramTitle;
    auto& title =
        c.place("LabelNomeprog", -1, ControlKind::Label, kName, kTextLeft, 240, kTextWidth, 600);
    title.align = Align::Centre;
    title.font = {"", 20, true, false};
    auto& designed =
        c.place("frmABout.Label1", -1, ControlKind::Label, kName, kTextLeft, 900, kTextWidth, 560);
    designed.caption = kDesignedFor;
    designed.align = Align::Centre;
    designed.font.bold = true;
    auto& credits = c.place("frmABout.Label2", -1, ControlKind::Label, kName, kTextLeft, 1560,
                            kTextWidth, 1740);
    credits.caption = kCredits;
    credits.align = Align::Centre;
    c.place("frmABout.Command1", -1, ControlKind::Button, kName, kWidth - 240 - 1200, 3500, 1200,
            400)
        .caption = "OK";
}

// Help menu "&About": beside the console, which keeps playing.
void AboutBox::About_Click() {
    if (!loaded_) Form_Load();
    user_.showWindow(kName, false);
}

void AboutBox::Form_Load() {
    loaded_ = true;
    screen_.centreOnScreen(kName, kIcon);
    controls_.edit("frmABout.Image1").picture = folder_.inProgramFolder(kPicture);
    controls_.edit("LabelNomeprog").caption = kProgramTitle;
}

void AboutBox::Command1_Click() {
    loaded_ = false;
    user_.closeWindow(kName);
}

} // namespace kavel
