// The Swell copy the editor derives from whatever bytes a Great entry holds: a table loaded
// from a .DAT file is not checked the way an imported .syx file is.

#include "FuzzConsole.h"
#include "stops_table/StopsTableEditor.h"
#include "stops_table/SysExCheck.h"

using namespace kavel;
using namespace kavel::fuzz;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size == 0) return 0;
    const std::string great(reinterpret_cast<const char*>(data) + 1, size - 1);
    static const std::filesystem::path folder = scratchFolder("swell");
    static Console console(folder.string());
    Kavel& k = *console;
    const int row = data[0] % 30;
    k.state.stops.STOPS_TABLE[static_cast<std::size_t>(40 + row)] = great;
    k.editor.TextFondi_Click(row);
    k.editor.DERIVA_SYSEX_SW();
    const std::string& swell = k.editor.swellCopy();
    // Only whole messages come out, none longer than it went in, nothing under 10 bytes, and
    // a sound Great gives a sound Swell.
    FUZZ_CHECK(swell.size() <= great.size());
    FUZZ_CHECK(great.size() >= 10 || swell.empty());
    FUZZ_CHECK(swell.empty() || isSysExStream(swell) || !isSysExStream(great));
    if (isSoundSysEx(great)) FUZZ_CHECK(isSoundSysEx(swell));
    return 0;
}
