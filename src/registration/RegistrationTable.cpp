#include "registration/RegistrationTable.h"

namespace kavel {

std::array<SlotArray*, kFieldCount> fieldsInOrder(RegistrationTable& t) {
    return {&t.FO_GO,        &t.FO_SW,        &t.MU_GO,        &t.MU_SW,        &t.AN_GO,
            &t.AN_SW,        &t.PED,          &t.TREMOLO_GO,   &t.TREMOLO_SW,   &t.EXPR_GO,
            &t.EXPR_SW,      &t.EXPR_PE,      &t.BIL_FONDI_GO, &t.BIL_MUTAZ_GO, &t.BIL_ANCIE_GO,
            &t.BIL_FONDI_SW, &t.BIL_MUTAZ_SW, &t.BIL_ANCIE_SW, &t.UNIONE_PED,   &t.UNIONE_MAN,
            &t.CORPO_ORGANO, &t.ANNULL_GO[0], &t.ANNULL_GO[1], &t.ANNULL_GO[2], &t.ANNULL_SW[0],
            &t.ANNULL_SW[1], &t.ANNULL_SW[2], &t.SUBOTTAVA_PED};
}

const std::array<const char*, kFieldCount> kFieldNames = {
    "FO_GO",        "FO_SW",        "MU_GO",        "MU_SW",        "AN_GO",        "AN_SW",
    "PED",          "TREMOLO_GO",   "TREMOLO_SW",   "EXPR_GO",      "EXPR_SW",      "EXPR_PE",
    "BIL_FONDI_GO", "BIL_MUTAZ_GO", "BIL_ANCIE_GO", "BIL_FONDI_SW", "BIL_MUTAZ_SW", "BIL_ANCIE_SW",
    "UNIONE_PED",   "UNIONE_MAN",   "CORPO_ORGANO", "ANNULL_GO(0)", "ANNULL_GO(1)", "ANNULL_GO(2)",
    "ANNULL_SW(0)", "ANNULL_SW(1)", "ANNULL_SW(2)", "SUBOTTAVA_PED"};

void copySlot(RegistrationTable& table, int from, int to) {
    for (SlotArray* field : fieldsInOrder(table))
        (*field)[static_cast<std::size_t>(to)] = (*field)[static_cast<std::size_t>(from)];
}

} // namespace kavel
