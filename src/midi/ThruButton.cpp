#include "console/Kavel.h"

namespace kavel {

// The panel's Thru button: the organ body that Normal Rechannelling plays.
void Kavel::THRUBUTTON_Click() {
    auto& body = state.registration.CORPO_ORGANO;
    body[SLOT_LIVE] = isOrganBody(body[SLOT_LIVE]) && body[SLOT_LIVE] < 3 ? body[SLOT_LIVE] + 1 : 1;
    body[SLOT_APPLIED] = body[SLOT_LIVE];
    showOrganBody();
}

// After a change of organ body: the button names it (ADATTA_PULSANTE_THRU writes the caption),
// and in Normal Rechannelling the registration has changed.
void Kavel::showOrganBody() {
    if (state.midi.MODO_THRU == 1) Marca_Led_giallo();
    ADATTA_PULSANTE_THRU();
}

} // namespace kavel
