#pragma once

// The registration table: 28 fields per slot, each field an array over the 29 slots, as the
// console addresses them (FO_GO(SLOT_LIVE)).

#include <array>

namespace kavel {

inline constexpr int kSlots = 29;
inline constexpr int SLOT_LIVE = 25;
inline constexpr int SLOT_APPLIED = 26;

using SlotArray = std::array<int, kSlots>;

struct RegistrationTable {
    SlotArray FO_GO{};
    SlotArray FO_SW{};
    SlotArray MU_GO{};
    SlotArray MU_SW{};
    SlotArray AN_GO{};
    SlotArray AN_SW{};
    SlotArray PED{};
    SlotArray TREMOLO_GO{};
    SlotArray TREMOLO_SW{};
    SlotArray EXPR_GO{};
    SlotArray EXPR_SW{};
    SlotArray EXPR_PE{};
    SlotArray BIL_FONDI_GO{};
    SlotArray BIL_MUTAZ_GO{};
    SlotArray BIL_ANCIE_GO{};
    SlotArray BIL_FONDI_SW{};
    SlotArray BIL_MUTAZ_SW{};
    SlotArray BIL_ANCIE_SW{};
    SlotArray UNIONE_PED{};
    SlotArray UNIONE_MAN{};
    SlotArray CORPO_ORGANO{};
    std::array<SlotArray, 3> ANNULL_GO{}; // group 0 Fondi, 1 Mutazioni, 2 Ancie
    std::array<SlotArray, 3> ANNULL_SW{};
    SlotArray SUBOTTAVA_PED{};
    bool operator==(const RegistrationTable&) const = default;
};

} // namespace kavel

namespace kavel {

inline constexpr int kFieldCount = 28;

// The 28 fields in the one order every copy, both files and kavel-sim use; the cancellers
// are fields 22..24 (Great, groups 0..2) and 25..27 (Swell).
std::array<SlotArray*, kFieldCount> fieldsInOrder(RegistrationTable& table);
// Their names, "ANNULL_GO(0)" for the cancellers.
extern const std::array<const char*, kFieldCount> kFieldNames;

// An organ body names a division: 1 Great, 2 Swell, 3 Pedal.
constexpr bool isOrganBody(int body) {
    return body >= 1 && body <= 3;
}

// Copies all 28 fields of slot `from` into slot `to`.
void copySlot(RegistrationTable& table, int from, int to);

} // namespace kavel
