#include "console/Kavel.h"

#include <algorithm>

namespace kavel {

namespace {
constexpr int kLit = 9;
constexpr int kUnlit = 15;
} // namespace

// A damaged memory or configuration could hold anything: the module only takes 0..127.
void Kavel::sendController(int status, int controller, int value) {
    MIDIOutput1.Status(status);
    MIDIOutput1.Data1(controller);
    MIDIOutput1.Data2(std::clamp(value, 0, 127));
    MIDIOutput1.Action(action::kSend);
}

struct LevelSender {
    SlotArray RegistrationTable::*field;
    int status;
    int controller;
    bool inverted;
    const char* label;
    int labelIndex;
};

namespace {

using R = RegistrationTable;
constexpr LevelSender kExprGo{&R::EXPR_GO, 0xB0, 11, false, "EXPGO", -1};
constexpr LevelSender kExprSw{&R::EXPR_SW, 0xB1, 11, false, "EXPSW", -1};
constexpr LevelSender kExprPe{&R::EXPR_PE, 0xB2, 11, false, "EXPPE", -1};
constexpr LevelSender kFondiGo{&R::BIL_FONDI_GO, 0xB0, 7, true, "EXPfondi", 1};
constexpr LevelSender kFondiSw{&R::BIL_FONDI_SW, 0xB1, 7, true, "EXPfondi", 2};
constexpr LevelSender kMutazGo{&R::BIL_MUTAZ_GO, 0xB0, 8, true, "EXPmutazioni", 1};
constexpr LevelSender kMutazSw{&R::BIL_MUTAZ_SW, 0xB1, 8, true, "EXPmutazioni", 2};
constexpr LevelSender kAncieGo{&R::BIL_ANCIE_GO, 0xB0, 9, true, "EXPancie", 1};
constexpr LevelSender kAncieSw{&R::BIL_ANCIE_SW, 0xB1, 9, true, "EXPancie", 2};

} // namespace

void Kavel::sendLevel(const LevelSender& s) {
    auto& field = state.registration.*(s.field);
    const int value = std::clamp(field[SLOT_LIVE], 0, 127);
    sendController(s.status, s.controller, s.inverted ? 127 - value : value);
    controls.edit(s.label, s.labelIndex).caption = std::to_string(field[SLOT_LIVE]);
    field[SLOT_APPLIED] = field[SLOT_LIVE];
}

void Kavel::EXPRESSION_GO() {
    sendLevel(kExprGo);
}
void Kavel::EXPRESSION_SW() {
    sendLevel(kExprSw);
}
void Kavel::EXPRESSION_PE() {
    sendLevel(kExprPe);
}
void Kavel::BILANCIA_FONDI_GO() {
    sendLevel(kFondiGo);
}
void Kavel::BILANCIA_FONDI_SW() {
    sendLevel(kFondiSw);
}
void Kavel::BILANCIA_MUTAZ_GO() {
    sendLevel(kMutazGo);
}
void Kavel::BILANCIA_MUTAZ_SW() {
    sendLevel(kMutazSw);
}
void Kavel::BILANCIA_ANCIE_GO() {
    sendLevel(kAncieGo);
}
void Kavel::BILANCIA_ANCIE_SW() {
    sendLevel(kAncieSw);
}

void Kavel::Send_Tremolo_GO(int ON_OFF) {
    controls.edit("Tir_TREMOLOGO").backColour = Colour::system(ON_OFF == 1 ? kLit : kUnlit);
    sendController(0xB0, 1, ON_OFF == 1 ? state.advanced.VELOCITA_TREMOLO : 0);
}

void Kavel::Send_Tremolo_SW(int ON_OFF) {
    controls.edit("TIR_TREMOLOSW").backColour = Colour::system(ON_OFF == 1 ? kLit : kUnlit);
    sendController(0xB1, 1, ON_OFF == 1 ? state.advanced.VELOCITA_TREMOLO : 0);
}

} // namespace kavel
