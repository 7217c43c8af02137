#pragma once

// The stop names on the panel and the names in the Advanced window's lists, as the Stops
// Table gives them.

#include "console/ProgramState.h"

namespace kavel {

class Controls;
class Procedures;

class StopNames {
  public:
    StopNames(const StopsTableState& stops, const PanelState& panel, Controls& controls);
    StopNames(const StopNames&) = delete;
    StopNames& operator=(const StopNames&) = delete;

    // Its procedures by name ("SCRITTURA_TESTI_DEI_REGISTRI", "CARICAMENTO_LIST_BOXES").
    void registerProcedures(Procedures& p);

    void SCRITTURA_TESTI_DEI_REGISTRI();
    void CARICAMENTO_LIST_BOXES();

  private:
    const StopsTableState& stops_;
    const PanelState& panel_;
    Controls& controls_;
};

} // namespace kavel
