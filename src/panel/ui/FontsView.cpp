#include "panel/ui/FontsView.h"

#include "panel/FontsWindow.h"

namespace kavel {

FontsView::FontsView(Kavel& core, MainWindow& main)
    : WindowView(core, main, "SetFonts", [&core] {
          core.fontsWindow().Command_Cancel_Click();
          return true;
      }) {}

} // namespace kavel
