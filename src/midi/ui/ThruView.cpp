#include "midi/ui/ThruView.h"

#include "midi/ThruDialog.h"

namespace kavel {

ThruView::ThruView(CoreControls core, ThruDialog& window, MainWindow& main)
    : WindowView(core, main, "Thru_form", [&window] {
          window.Command2_Click();
          return true;
      }) {}

} // namespace kavel
