#include "panel/PanelLayout.h"

#include "console/ProgramState.h"

#include <array>
#include <cmath>

namespace kavel {

namespace {

// The nine size steps of the standard panel: fonts of the stop names (A), of the knob labels
// (B) and of the headings and buttons (C), and the spaces before the knob captions.
struct SizeStep {
    int step;
    FontSpec a, b, c;
    int spaces;
};

constexpr const char* kSmall = "Small Fonts";
const std::array<SizeStep, 9> kSteps = {{
    {8, {kSmall, 5, false, false}, {kSmall, 5, true, false}, {"Arial", 6, true, false}, 26},
    {9, {kSmall, 6, false, false}, {kSmall, 6, true, false}, {"Arial", 7, true, false}, 20},
    {10, {"Arial", 7, false, false}, {kSmall, 6, true, false}, {"Arial", 8, true, false}, 15},
    {11, {"Arial", 7, false, false}, {"Arial", 7, false, false}, {"Arial", 8, true, false}, 20},
    {12, {"Arial", 8, false, false}, {"Arial", 8, false, false}, {"Arial", 9, true, false}, 20},
    {13, {"Arial", 9, false, false}, {"Arial", 8, false, false}, {"Arial", 10, true, false}, 26},
    {14, {"Arial", 9, false, false}, {"Arial", 8, false, false}, {"Arial", 7, true, false}, 20},
    {15, {"Arial", 10, false, false}, {"Arial", 9, false, false}, {"Arial", 10, true, false}, 24},
    {16, {"Arial", 11, false, false}, {"Arial", 10, false, false}, {"Arial", 12, true, false}, 20},
}};

constexpr const char* kNames[] = {"NomeFondi", "NomeMutaz", "NomeAnce", "NomePedale"};
constexpr const char* kKnobs[] = {"Tir_FO_GO", "Tir_FO_SW", "Tir_MU_GO",
                                  "Tir_MU_SW", "Tir_AN_GO", "Tir_AN_SW"};

} // namespace

void PanelLayout::SET_FONTS_NORMAL_INTERFACE() {
    const int step = static_cast<int>(std::floor(panel_.SCALA_PANNELLO * 10 + 1e-9));
    const SizeStep* found = nullptr;
    for (const SizeStep& s : kSteps)
        if (s.step == step) found = &s;
    if (!found) return; // outside 80 %..160 %: the fonts stay as they are
    for (const char* name : kNames)
        for (int row = 0; row < (name == kNames[0] ? stops::kFondiRows : stops::kOtherRows); ++row)
            controls_.edit(name, row).font = found->a;
    for (const char* knob : kKnobs)
        for (int row = 0;
             row < (knob == kKnobs[0] || knob == kKnobs[1] ? stops::kFondiRows : stops::kOtherRows);
             ++row)
            controls_.edit(knob, row).font = found->b;
    for (int i = 0; i < 4; ++i)
        controls_.edit("LabelCorpiOrgano", i).font = found->c;
    for (const auto& [key, entry] : controls_.all())
        if (entry.state.kind == ControlKind::Button && entry.state.window == "Kavel")
            controls_.edit(key.name, key.index).font = found->c;
    panel_.SCRITTA_GREAT = std::string(static_cast<std::size_t>(found->spaces), ' ') + "Great";
    panel_.SCRITTA_SWELL = std::string(static_cast<std::size_t>(found->spaces), ' ') + "Swell";
}

} // namespace kavel
