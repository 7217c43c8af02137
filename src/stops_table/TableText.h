#pragma once

// The Stops Table as readable, diffable text: one entry per line, its index, what the index map
// says it is, "=" and the value. SysEx entries are hex bytes with " | " after each F7; names,
// flags and reserved entries are quoted text (\" \\ and \xHH escapes). A "#" outside quotes
// starts a comment. Lines may be left out: their entries are empty.

#include "stops_table/StopsTable.h"

#include <optional>
#include <string>

namespace kavel {

std::string tableToText(const StopsTableEntries& table);

struct TextResult {
    std::optional<StopsTableEntries> table;
    std::string error; // "line N: ..." when table is empty
};
TextResult tableFromText(const std::string& text);

} // namespace kavel
