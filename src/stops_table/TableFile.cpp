#include "console/Kavel.h"
#include "stops_table/DatFile.h"
#include "stops_table/SysExCheck.h"

#include <algorithm>

namespace kavel {

namespace {

// Past this many the box would scroll off the screen; kavel-dat check has the whole list.
constexpr std::size_t kDamagedShown = 5;

std::string damageReport(const std::string& path, const StopsTableEntries& table,
                         const std::vector<int>& damaged) {
    const std::size_t count = damaged.size();
    std::string text = "The Stops Table " + path + " has " + std::to_string(count) +
                       (count == 1 ? " damaged SysEx entry" : " damaged SysEx entries") +
                       "; Kavel will not send " + (count == 1 ? "it" : "them") + ":";
    for (std::size_t k = 0; k < std::min(count, kDamagedShown); ++k) {
        const int i = damaged[k];
        text += "\nentry " + std::to_string(i) + " (" + describeEntry(i).label +
                "): " + checkSysExEntry(table[static_cast<std::size_t>(i)]).front();
    }
    if (count > kDamagedShown) text += "\nand " + std::to_string(count - kDamagedShown) + " more.";
    return text + "\n\"kavel-dat check\" lists every fault.";
}

} // namespace

bool Kavel::readStopsTable(const std::string& path, std::string* error) {
    DatResult read = readDat(path);
    if (!read.table) {
        if (error) *error = read.error;
        return false;
    }
    state.stops.DAT_BUFFER = std::move(*read.table);
    state.stops.STOPS_TABLE = state.stops.DAT_BUFFER;
    // The table loads all the same: its sound entries still play. Sysex_Sending checks each
    // entry again as it goes, so this is only to tell the user why some stay silent.
    const auto damaged = damagedSysExEntries(state.stops.STOPS_TABLE);
    if (!damaged.empty())
        user_.messageBox({damageReport(path, state.stops.STOPS_TABLE, damaged), kProgramTitle,
                          Buttons::Ok, Icon::Exclamation, 0});
    return true;
}

bool Kavel::writeStopsTable(const std::string& path) {
    state.stops.DAT_BUFFER = state.stops.STOPS_TABLE;
    if (auto error = writeDat(path, state.stops.DAT_BUFFER)) {
        user_.messageBox({"The Stops Table was not saved. " + *error, kProgramTitle, Buttons::Ok,
                          Icon::Critical, 0});
        return false;
    }
    return true;
}

void Kavel::CARICAMENTO_DAT() {
    auto& config = state.config;
    auto& stops = state.stops;
    if (!readStopsTable(config.PATH_DAT)) {
        user_.messageBox({"Error Loading Stops Table File " + config.PATH_DAT +
                              " File is Damaged or Wrong Path is on CFG File: program will load "
                              "default File kavel.DAT,if it is present in kavel directory",
                          kProgramTitle, Buttons::Ok, Icon::Critical, 0});
        config.PATH_DAT = inProgramFolder("kavel.dat");
        Salva_dati_di_avvio();
        if (!readStopsTable(config.PATH_DAT)) {
            // Without a table the console still runs; it just has no stops to send.
            stops.STOPS_TABLE = {};
            stops.DAT_BUFFER = {};
            user_.messageBox({"The default Stops Table " + config.PATH_DAT +
                                  " cannot be read either: Kavel goes on with an empty Stops "
                                  "Table, so no stop will sound. Load a Stops Table in the "
                                  "editor or re-install Kavel.",
                              kProgramTitle, Buttons::Ok, Icon::Exclamation, 0});
        }
    }
    SCRITTURA_TESTI_DEI_REGISTRI();
    stops.readRinforzabile();
    state.midi.LISTE_DISPOSITIVI_PRONTE = true;
    state.midi.APPRENDI_CANALE = false;
    state.midi.INDICE_APPRENDI = 0;
}

} // namespace kavel
