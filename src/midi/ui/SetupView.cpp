#include "midi/ui/SetupView.h"

#include "midi/SetupDialog.h"

namespace kavel {

SetupView::SetupView(Kavel& core, MainWindow& main)
    : WindowView(core, main, "Set_up", [&core] {
          if (core.setupDialog().loaded()) core.setupDialog().Command3_Click();
          return true;
      }) {}

} // namespace kavel
