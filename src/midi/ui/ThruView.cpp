#include "midi/ui/ThruView.h"

#include "midi/ThruDialog.h"

namespace kavel {

ThruView::ThruView(Kavel& core, MainWindow& main)
    : WindowView(core, main, "Thru_form", [&core] {
          core.thruDialog().Command2_Click();
          return true;
      }) {}

} // namespace kavel
