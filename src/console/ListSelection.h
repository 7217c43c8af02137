#pragma once

// Selecting a list item from code runs the list's handler, as a click does: the handler is
// the procedure "<list>_Click", whichever window registered it.

#include "console/Procedures.h"
#include "panel/Controls.h"

#include <string>

namespace kavel {

class ListSelection {
  public:
    ListSelection(Controls& controls, Procedures& procedures)
        : controls_(controls), procedures_(procedures) {}

    void selectListItem(const std::string& list, int index) {
        controls_.edit(list).listIndex = index;
        if (procedures_.contains(list + "_Click")) procedures_.call(list + "_Click", {});
    }

  private:
    Controls& controls_;
    Procedures& procedures_;
};

} // namespace kavel
