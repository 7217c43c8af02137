#include "memories/MemoryLabels.h"

#include "console/Procedures.h"
#include "panel/Controls.h"

#include <array>
#include <string>

// The labels and tool tips of the memory indicators.

namespace kavel {

namespace {

constexpr int kFree = 12;

constexpr std::array<const char*, kFree> kNoteNames = {"C",  "C#", "D",  "D#", "E",  "F",
                                                       "F#", "G",  "G#", "A",  "A#", "B"};
// The same, a natural note padded to the width of a sharp: the small labels are narrow.
constexpr std::array<const char*, kFree> kShortNoteNames = {" C", "C#", " D", "D#", " E", " F",
                                                            "F#", " G", "G#", " A", "A#", " B"};

} // namespace

MemoryLabels::MemoryLabels(Controls& controls, MemoryState& memories)
    : controls_(controls), memories_(memories) {}

void MemoryLabels::registerProcedures(Procedures& p) {
    p.add("Labelmode_Click", [this] { Labelmode_Click(); });
    p.add("Scrivi_ToolTips_memorie", [this] { Scrivi_ToolTips_memorie(); });
    p.add("Scrivi_Etichette_memorie", [this] { Scrivi_Etichette_memorie(); });
}

void MemoryLabels::Scrivi_ToolTips_memorie() {
    for (int i = 1; i <= kFree; ++i) {
        const std::string n = std::to_string(i);
        controls_.edit("C_memory", i).toolTip =
            "Load Free Memory N. " + n + " .If REC ON, push led to store stops. Hotkeys: F1..F12";
        controls_.edit("Graduatore", i).toolTip =
            "Load Fixed Memory N. " + n + ".  Hotkeys: 1...9, = , ? , ^";
    }
}

void MemoryLabels::Labelmode_Click() {
    auto& mode = memories_.MODO_ETICHETTE;
    mode = mode + 1 == 3 ? 0 : mode + 1;
    Scrivi_Etichette_memorie();
}

void MemoryLabels::Scrivi_Etichette_memorie() {
    const int mode = memories_.MODO_ETICHETTE;
    if (mode < 0 || mode > 2) return;
    static constexpr std::array<const char*, 3> kModeCaptions = {"0", "1", "#"};
    controls_.edit("LabelMode").caption = kModeCaptions[static_cast<std::size_t>(mode)];
    for (int i = 1; i <= kFree; ++i) {
        const auto note = static_cast<std::size_t>(i - 1);
        const std::string label = mode == 2 ? kNoteNames[note] : std::to_string(i - 1 + mode);
        const std::string small = mode == 2 ? kShortNoteNames[note] : label;
        controls_.edit("C_memory", i).caption = label;
        controls_.edit("Graduatore", i).caption = label;
        controls_.edit("Numerino_Led", i).caption = small;
        controls_.edit("Numerino_Led", i + kFree).caption = small;
    }
}

} // namespace kavel
