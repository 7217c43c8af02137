#include "console/Kavel.h"

#include <array>
#include <string>

// The PC-keyboard hotkeys of the memories and the labels and tool tips of their indicators.

namespace kavel {

namespace {

constexpr int kFree = 12;

// Function keys F1..F12 as the keyboard reports them.
constexpr int kF1 = 112;
constexpr int kF12 = 123;

constexpr std::array<const char*, kFree> kNoteNames = {"C",  "C#", "D",  "D#", "E",  "F",
                                                       "F#", "G",  "G#", "A",  "A#", "B"};
// The same, a natural note padded to the width of a sharp: the small labels are narrow.
constexpr std::array<const char*, kFree> kShortNoteNames = {" C", "C#", " D", "D#", " E", " F",
                                                            "F#", " G", "G#", " A", "A#", " B"};

} // namespace

void Kavel::Form_KeyDown(int KeyCode, int /*Shift*/) {
    if (KeyCode >= kF1 && KeyCode <= kF12) c_memory_Click(KeyCode - (kF1 - 1));
}

void Kavel::Form_KeyPress(int KeyAscii) {
    // The digit row of an Italian keyboard: 1..9, then 0, the apostrophe and "ì" (Windows-1252)
    // for the fixed memories 1..12.
    int slot = 0;
    if (KeyAscii >= '1' && KeyAscii <= '9') slot = KeyAscii - 36;
    if (KeyAscii == '0') slot = 22;
    if (KeyAscii == '\'') slot = 23;
    if (KeyAscii == 236) slot = 24;
    if (slot) c_memory_Click(slot);
}

void Kavel::Scrivi_ToolTips_memorie() {
    for (int i = 1; i <= kFree; ++i) {
        const std::string n = std::to_string(i);
        controls.edit("C_memory", i).toolTip =
            "Load Free Memory N. " + n + " .If REC ON, push led to store stops. Hotkeys: F1..F12";
        controls.edit("Graduatore", i).toolTip =
            "Load Fixed Memory N. " + n + ".  Hotkeys: 1...9, = , ? , ^";
    }
}

void Kavel::Labelmode_Click() {
    auto& mode = state.memories.MODO_ETICHETTE;
    mode = mode + 1 == 3 ? 0 : mode + 1;
    Scrivi_Etichette_memorie();
}

void Kavel::Scrivi_Etichette_memorie() {
    const int mode = state.memories.MODO_ETICHETTE;
    if (mode < 0 || mode > 2) return;
    static constexpr std::array<const char*, 3> kModeCaptions = {"0", "1", "#"};
    controls.edit("LabelMode").caption = kModeCaptions[static_cast<std::size_t>(mode)];
    for (int i = 1; i <= kFree; ++i) {
        const auto note = static_cast<std::size_t>(i - 1);
        const std::string label = mode == 2 ? kNoteNames[note] : std::to_string(i - 1 + mode);
        const std::string small = mode == 2 ? kShortNoteNames[note] : label;
        controls.edit("C_memory", i).caption = label;
        controls.edit("Graduatore", i).caption = label;
        controls.edit("Numerino_Led", i).caption = small;
        controls.edit("Numerino_Led", i + kFree).caption = small;
    }
}

} // namespace kavel
