#include "panel/ui/AboutView.h"

#include "panel/AboutBox.h"

namespace kavel {

AboutView::AboutView(Kavel& core, MainWindow& main)
    : WindowView(core, main, AboutBox::kName, [&core] {
          core.aboutBox().Command1_Click();
          return true;
      }) {}

} // namespace kavel
