// The .DAT reader, and a console that loads, names and plays what it read.

#include "FuzzConsole.h"
#include "stops_table/DatFile.h"
#include "stops_table/SysExCheck.h"
#include "stops_table/TableText.h"

#include <fstream>

using namespace kavel;
using namespace kavel::fuzz;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    const DatResult read = decodeDat(bytes);
    FUZZ_CHECK(read.table.has_value() == read.error.empty());
    if (!read.table) return 0;
    const StopsTableEntries& table = *read.table;
    FUZZ_CHECK(!checkDatLimits(table));
    FUZZ_CHECK(decodeDat(encodeDat(table)).table == table);
    // kavel-dat: to text and back, and the check.
    FUZZ_CHECK(tableFromText(tableToText(table)).table == table);
    FUZZ_CHECK(checkSysEx(table).empty() == damagedSysExEntries(table).empty());

    // The console reads it from a file, names its stops and lists, and plays from it: a
    // damaged entry is named, never sent, and nothing else may go wrong on the way out.
    static const std::filesystem::path folder = scratchFolder("dat");
    const std::string path = (folder / "organ.DAT").string();
    std::ofstream(path, std::ios::binary | std::ios::trunc)
        .write(bytes.data(), static_cast<long>(size));
    Console console(folder.string());
    console.startPlaying(path);
    Kavel& k = *console;
    FUZZ_CHECK(k.state.stops.STOPS_TABLE == table);
    // A stop of each group, its row picked by the file, the pedal and a few lists.
    const int pick = static_cast<int>(size);
    for (const char* knob : {"Tir_FO_GO_Click", "Tir_FO_SW_Click"})
        k.procedures.call(knob, {std::to_string(1 + pick % 29)});
    for (const char* knob : {"Tir_MU_GO_Click", "Tir_MU_SW_Click", "Tir_AN_GO_Click",
                             "Tir_AN_SW_Click", "NomePedale_Click"})
        k.procedures.call(knob, {std::to_string(1 + pick % 19)});
    for (const char* list : {"Temperamenti", "Riverberi"}) {
        const auto items = static_cast<int>(k.controls.get(list).items.size());
        if (items > 0) k.lists.selectListItem(list, pick % items);
    }
    k.registration.CancelALL_Click();
    FUZZ_CHECK(console.out.refusedMessages() == 0);
    return 0;
}
