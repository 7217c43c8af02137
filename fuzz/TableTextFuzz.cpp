// The text form of a Stops Table, as kavel-dat from-text reads it.

#include "FuzzConsole.h"
#include "stops_table/DatFile.h"
#include "stops_table/TableText.h"

using namespace kavel;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string text(reinterpret_cast<const char*>(data), size);
    const TextResult read = tableFromText(text);
    FUZZ_CHECK(read.table.has_value() == read.error.empty());
    if (!read.table) return 0;
    // Whatever was read comes back the same through to-text, and through a .DAT file when a
    // record can hold it.
    const TextResult again = tableFromText(tableToText(*read.table));
    FUZZ_CHECK(again.table == read.table);
    if (!checkDatLimits(*read.table))
        FUZZ_CHECK(decodeDat(encodeDat(*read.table)).table == read.table);
    return 0;
}
