#include "console/Kavel.h"

// Procedures the console already calls in their place, owned by the memory labels that this
// program does not have yet. Each does nothing until its subsystem takes it over.

namespace kavel {

void Kavel::Scrivi_ToolTips_memorie() {}
void Kavel::Scrivi_Etichette_memorie() {}

} // namespace kavel
