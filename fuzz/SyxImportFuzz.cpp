// A .syx file double-clicked into a field of the Stops Table editor: stored whole and sound,
// or refused with the table as it was.

#include "FuzzConsole.h"
#include "stops_table/StopsTableEditor.h"
#include "stops_table/SysExCheck.h"
#include "stops_table/SysExImport.h"

#include <array>
#include <fstream>

using namespace kavel;
using namespace kavel::fuzz;

namespace {

struct Field {
    const char* handler;
    int count;
    int entry; // of field 0
    int swell; // of field 0; -1 none
};
constexpr std::array<Field, 5> kFields = {{{"TextFondi_DblClick", 30, 40, 70},
                                           {"TextMutaz_DblClick", 20, 100, 120},
                                           {"TextAncie_DblClick", 20, 140, 160},
                                           {"TextPedale_DblClick", 20, 180, -1},
                                           {"TextGlobal_DblClick", 40, 0, -1}}};

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size == 0) return 0;
    const std::string_view content(reinterpret_cast<const char*>(data) + 1, size - 1);

    const std::string swell = deriveSwellCopy(content);
    static const std::filesystem::path folder = scratchFolder("syx");
    const std::string path = (folder / "Stop.syx").string();
    std::ofstream(path, std::ios::binary | std::ios::trunc)
        .write(content.data(), static_cast<long>(content.size()));
    static Console console(folder.string());
    Kavel& k = *console;
    k.state.config.PATH_DAT = shippedTable();
    // Each input on a freshly opened editor: the table read again, both flags clear.
    k.editor.Form_Load();
    console.user.shown.clear();

    const Field& field = kFields[data[0] % kFields.size()];
    const int index = (data[0] / kFields.size()) % static_cast<std::size_t>(field.count);
    const StopsTableEntries before = k.state.stops.STOPS_TABLE;
    console.user.files.push_back(path);
    k.procedures.call(field.handler, {std::to_string(index)});
    const auto& table = k.state.stops.STOPS_TABLE;
    StopsTableEntries expected = before;
    if (console.user.shown.empty()) {
        // Stored: the file's bytes, sound SysEx, and the Swell copy beside them.
        FUZZ_CHECK(isSoundSysEx(content));
        expected[static_cast<std::size_t>(field.entry + index)] = std::string(content);
        if (field.swell >= 0) expected[static_cast<std::size_t>(field.swell + index)] = swell;
        FUZZ_CHECK(k.editor.modified());
    } else {
        // Refused with a message: the table as it was.
        FUZZ_CHECK(console.user.shown.size() == 1);
        FUZZ_CHECK(!k.editor.modified());
    }
    FUZZ_CHECK(table == expected);
    return 0;
}
