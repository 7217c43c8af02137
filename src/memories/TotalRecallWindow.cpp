#include "memories/TotalRecallWindow.h"

#include "config/ProgramFolder.h"
#include "console/Procedures.h"
#include "console/User.h"
#include "panel/Controls.h"
#include "panel/ScreenPlacement.h"

#include <string>

namespace kavel {

namespace {

constexpr const char* kHeading =
    "Total Recall: How you can handle Kavel without touch your mouse or Pc keyboard";
constexpr const char* kText =
    "To use the keys as levers you only need to apply a \"switch event\" before pressing them: "
    "this event is the pressing of the sustain pedal. An example : to recall a free memory you "
    "only need to do the following: 1)PRESS SUSTAIN PEDAL 2) PRESS A  KEY and see related effect "
    ": that's all!";

// The keyboard picture is drawn for this place: 930 x 490 pixels, shown pixel for pixel.
constexpr int kMargin = 300;
constexpr int kPictureWidth = 930 * 15;
constexpr int kPictureHeight = 490 * 15;
constexpr int kPictureTop = 1450;
constexpr int kWidth = kPictureWidth + 2 * kMargin;
constexpr int kButtonTop = kPictureTop + kPictureHeight + 150;
constexpr int kHeight = kButtonTop + 400 + 200;

} // namespace

TotalRecallWindow::TotalRecallWindow(Controls& controls, User& user, ScreenPlacement& placement,
                                     const ProgramFolder& folder)
    : controls_(controls), user_(user), placement_(placement), folder_(folder) {
    place();
}

void TotalRecallWindow::registerProcedures(Procedures& p) {
    p.add("totRec_Click", [this] { totRec_Click(); });
    p.add("Totalrec.Form_Load", [this] { Form_Load(); });
    p.add("Totalrec.Command1_Click", [this] { Command1_Click(); });
}

void TotalRecallWindow::place() {
    auto& c = controls_;
    auto& window = c.edit(kName);
    window.caption = "Total Recall Display";
    window.width = kWidth;
    window.height = kHeight;
    auto& heading =
        c.place("Totalrec.Label1", -1, ControlKind::Label, kName, kMargin, 150, kPictureWidth, 400);
    heading.caption = kHeading;
    heading.align = Align::Centre;
    heading.font = {"", 11, true, false};
    auto& text =
        c.place("Totalrec.Label2", -1, ControlKind::Label, kName, kMargin, 600, kPictureWidth, 750);
    text.caption = kText;
    text.align = Align::Centre;
    // Shown only when the picture cannot be read: the window still says what belongs there.
    c.place("Totalrec.Image1", -1, ControlKind::Picture, kName, kMargin, kPictureTop, kPictureWidth,
            kPictureHeight)
        .caption = std::string("The keyboard picture ") + kPicture +
                   " is missing: Help, Total Recall has the table of keys.";
    c.place("Totalrec.Command1", -1, ControlKind::Button, kName, kWidth - kMargin - 1200,
            kButtonTop, 1200, 400)
        .caption = "OK";
}

// Help menu "Total Recall Displa&y": beside the console, which keeps playing; brought forward,
// where the organist left it, if already open.
void TotalRecallWindow::totRec_Click() {
    if (!loaded_) Form_Load();
    user_.showWindow(kName, false);
}

void TotalRecallWindow::Form_Load() {
    loaded_ = true;
    placement_.centreOnScreen(kName, kIcon);
    controls_.edit("Totalrec.Image1").picture = folder_.inProgramFolder(kPicture);
}

void TotalRecallWindow::Command1_Click() {
    loaded_ = false;
    user_.closeWindow(kName);
}

} // namespace kavel
