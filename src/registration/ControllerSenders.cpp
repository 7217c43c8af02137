#include "registration/ControllerSenders.h"

#include "console/Procedures.h"
#include "midi/Sender.h"
#include "panel/Controls.h"

#include <algorithm>
#include <string>
#include <utility>

namespace kavel {

ControllerSenders::ControllerSenders(RegistrationTable& registration, const AdvancedState& advanced,
                                     Controls& controls, Sender& sender)
    : registration_(registration), advanced_(advanced), controls_(controls), sender_(sender) {}

void ControllerSenders::registerProcedures(Procedures& p) {
    using Args = Procedures::Args;
    using S = ControllerSenders;
    const std::pair<const char*, void (S::*)()> plain[] = {
        {"EXPRESSION_GO", &S::EXPRESSION_GO},         {"EXPRESSION_SW", &S::EXPRESSION_SW},
        {"EXPRESSION_PE", &S::EXPRESSION_PE},         {"BILANCIA_FONDI_GO", &S::BILANCIA_FONDI_GO},
        {"BILANCIA_FONDI_SW", &S::BILANCIA_FONDI_SW}, {"BILANCIA_MUTAZ_GO", &S::BILANCIA_MUTAZ_GO},
        {"BILANCIA_MUTAZ_SW", &S::BILANCIA_MUTAZ_SW}, {"BILANCIA_ANCIE_GO", &S::BILANCIA_ANCIE_GO},
        {"BILANCIA_ANCIE_SW", &S::BILANCIA_ANCIE_SW},
    };
    for (auto [name, fn] : plain)
        p.add(name, [this, fn = fn] { (this->*fn)(); });
    for (auto [name, fn] : {std::pair{"Send_Tremolo_GO", &S::Send_Tremolo_GO},
                            std::pair{"Send_Tremolo_SW", &S::Send_Tremolo_SW}})
        p.add(name, 1, [this, fn = fn](const Args& a) { (this->*fn)(a[0]); });
}

namespace {
constexpr int kLit = 9;
constexpr int kUnlit = 15;
} // namespace

// A damaged memory or configuration could hold anything: the module only takes 0..127.
void ControllerSenders::sendController(int status, int controller, int value) {
    sender_.send(status, controller, std::clamp(value, 0, 127));
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

void ControllerSenders::sendLevel(const LevelSender& s) {
    auto& field = registration_.*(s.field);
    const int value = std::clamp(field[SLOT_LIVE], 0, 127);
    sendController(s.status, s.controller, s.inverted ? 127 - value : value);
    controls_.edit(s.label, s.labelIndex).caption = std::to_string(field[SLOT_LIVE]);
    field[SLOT_APPLIED] = field[SLOT_LIVE];
}

void ControllerSenders::EXPRESSION_GO() {
    sendLevel(kExprGo);
}
void ControllerSenders::EXPRESSION_SW() {
    sendLevel(kExprSw);
}
void ControllerSenders::EXPRESSION_PE() {
    sendLevel(kExprPe);
}
void ControllerSenders::BILANCIA_FONDI_GO() {
    sendLevel(kFondiGo);
}
void ControllerSenders::BILANCIA_FONDI_SW() {
    sendLevel(kFondiSw);
}
void ControllerSenders::BILANCIA_MUTAZ_GO() {
    sendLevel(kMutazGo);
}
void ControllerSenders::BILANCIA_MUTAZ_SW() {
    sendLevel(kMutazSw);
}
void ControllerSenders::BILANCIA_ANCIE_GO() {
    sendLevel(kAncieGo);
}
void ControllerSenders::BILANCIA_ANCIE_SW() {
    sendLevel(kAncieSw);
}

void ControllerSenders::Send_Tremolo_GO(int ON_OFF) {
    controls_.edit("Tir_TREMOLOGO").backColour = Colour::system(ON_OFF == 1 ? kLit : kUnlit);
    sendController(0xB0, 1, ON_OFF == 1 ? advanced_.VELOCITA_TREMOLO : 0);
}

void ControllerSenders::Send_Tremolo_SW(int ON_OFF) {
    controls_.edit("TIR_TREMOLOSW").backColour = Colour::system(ON_OFF == 1 ? kLit : kUnlit);
    sendController(0xB1, 1, ON_OFF == 1 ? advanced_.VELOCITA_TREMOLO : 0);
}

} // namespace kavel
