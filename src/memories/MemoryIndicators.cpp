#include "memories/MemoryIndicators.h"

#include "console/Procedures.h"
#include "panel/Controls.h"

namespace kavel {

namespace {
constexpr int kLit = 9;
constexpr int kDarkBorder = 10;
constexpr int kUnlit = 15;
constexpr int kFree = 12;
} // namespace

MemoryIndicators::MemoryIndicators(Controls& controls, MemoryState& memories)
    : controls_(controls), memories_(memories) {}

void MemoryIndicators::registerProcedures(Procedures& p) {
    p.add("SPENGO_MEMORIE", [this] { SPENGO_MEMORIE(); });
    p.add("Spengo_Graduatore", [this] { Spengo_Graduatore(); });
    p.add("Marca_Led_giallo", [this] { Marca_Led_giallo(); });
}

void MemoryIndicators::setFreeIndicator(int i, FreeLook look) {
    const auto& m = memories_;
    if (m.LED_MEMORIE) {
        controls_.edit("LedFree", i).picture = look == FreeLook::Current   ? m.PIC_GREEN_ON
                                               : look == FreeLook::Changed ? m.PIC_YELLOW_ON
                                                                           : m.PIC_GREEN_OFF;
        return;
    }
    Colour c = Colour::system(kUnlit);
    if (look == FreeLook::Cleared) c = Colour::system(kDarkBorder);
    if (look == FreeLook::Current) c = Colour::rgb(0, 192, 0);
    if (look == FreeLook::Changed) c = Colour::rgb(255, 255, 0);
    controls_.edit("C_memory", i).backColour = c;
}

void MemoryIndicators::setFixedIndicator(int i, bool lit) {
    const auto& m = memories_;
    if (m.LED_MEMORIE)
        controls_.edit("LedFix", i).picture = lit ? m.PIC_RED_ON : m.PIC_RED_OFF;
    else
        controls_.edit("Graduatore", i).backColour = Colour::system(lit ? kLit : kDarkBorder);
}

void MemoryIndicators::Spengo_Graduatore() {
    for (int i = 1; i <= kFree; ++i)
        setFixedIndicator(i, false);
}

void MemoryIndicators::SPENGO_MEMORIE() {
    for (int i = 1; i <= kFree; ++i)
        setFreeIndicator(i, FreeLook::Cleared);
}

void MemoryIndicators::Marca_Led_giallo() {
    auto& m = memories_;
    if (!m.MEMORIA_INTATTA || m.ULTIMA_MEMORIA < 1 || m.ULTIMA_MEMORIA > kFree) return;
    m.MEMORIA_INTATTA = false;
    setFreeIndicator(m.ULTIMA_MEMORIA, FreeLook::Changed);
}

} // namespace kavel
