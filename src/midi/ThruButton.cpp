#include "midi/ThruDialog.h"

#include "console/ProgramState.h"
#include "memories/MemoryIndicators.h"
#include "panel/PanelLayout.h"

namespace kavel {

// The panel's Thru button: the organ body that Normal Rechannelling plays.
void ThruDialog::THRUBUTTON_Click() {
    auto& body = registration_.CORPO_ORGANO;
    body[SLOT_LIVE] = isOrganBody(body[SLOT_LIVE]) && body[SLOT_LIVE] < 3 ? body[SLOT_LIVE] + 1 : 1;
    body[SLOT_APPLIED] = body[SLOT_LIVE];
    showOrganBody();
}

// After a change of organ body: the button names it (ADATTA_PULSANTE_THRU writes the caption),
// and in Normal Rechannelling the registration has changed.
void ThruDialog::showOrganBody() {
    if (midi_.MODO_THRU == 1) indicators_.Marca_Led_giallo();
    panel_.ADATTA_PULSANTE_THRU();
}

} // namespace kavel
