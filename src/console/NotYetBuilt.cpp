#include "console/Kavel.h"

// Procedures the console already calls in their place, owned by windows and subsystems that
// this program does not have yet (the configuration writer, the panels, the memories and
// their indicators, the Thru window). Each does nothing, or only the part that exists, until
// its subsystem takes it over.

namespace kavel {

void Kavel::ATTIVA_DISATTIVA_GRAPHIC_Interface() {}

// Of the graphic panel's build, only the drawknob picture paths exist so far.
void Kavel::LOAD_GRAPHIC_INTERFACE() {
    auto& p = state.panel;
    p.PIC_TIRANTE_ON = inProgramFolder("tirante_on.jpg");
    p.PIC_TIRANTE_OFF = inProgramFolder("tirante_off.jpg");
    p.PIC_TIRANTE_ON_GO = inProgramFolder("tirante_on_go.jpg");
    p.PIC_TIRANTE_OFF_GO = inProgramFolder("tirante_off_go.jpg");
    p.PIC_TIRANTE_ON_SW = inProgramFolder("tirante_on_sw.jpg");
    p.PIC_TIRANTE_OFF_SW = inProgramFolder("tirante_off_sw.jpg");
}

void Kavel::LOAD_NORMAL_INTERFACE() {}
void Kavel::Scrivi_ToolTips_memorie() {}
void Kavel::VISUALIZZA_LED_O_PANNELLINI() {}
void Kavel::Scrivi_Etichette_memorie() {}
void Kavel::ADATTA_PULSANTE_THRU() {}

} // namespace kavel
