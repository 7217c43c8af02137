#include "panel/ui/AboutView.h"

#include "panel/AboutBox.h"

namespace kavel {

AboutView::AboutView(CoreControls core, AboutBox& window, MainWindow& main)
    : WindowView(core, main, AboutBox::kName, [&window] {
          window.Command1_Click();
          return true;
      }) {}

} // namespace kavel
