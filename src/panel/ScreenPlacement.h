#pragma once

// Where the program's windows open on the screen: dialogs centred, the two main windows at
// their saved places as long as all of each is on the screen there.

#include "config/ProgramFolder.h"
#include "console/ProgramState.h"
#include "console/User.h"
#include "panel/Controls.h"

namespace kavel {

class ScreenPlacement {
  public:
    ScreenPlacement(Controls& controls, User& user, const PanelState& panel,
                    const ProgramFolder& folder)
        : controls_(controls), user_(user), panel_(panel), folder_(folder) {}

    // A dialog centred on the screen, with its icon from the program folder.
    void centreOnScreen(const char* window, const char* icon);
    // Keeps a window wholly on the screen, centring it where it would not be.
    void keepOnScreen(double& top, double& left, const char* window);

  private:
    Controls& controls_;
    User& user_;
    const PanelState& panel_;
    const ProgramFolder& folder_;
};

} // namespace kavel
