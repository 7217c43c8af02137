#include "stops_table/TableFile.h"

#include "config/ProgramFolder.h"
#include "config/StartupConfig.h"
#include "console/Procedures.h"
#include "console/ProgramState.h"
#include "console/User.h"
#include "registration/StopNames.h"
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

TableFile::TableFile(StopsTableState& stops, ConfigState& config, MidiState& midi, User& user,
                     const ProgramFolder& folder, StopNames& names, StartupConfig& startup)
    : stops_(stops), config_(config), midi_(midi), user_(user), folder_(folder), names_(names),
      startup_(startup) {}

void TableFile::registerProcedures(Procedures& p) {
    p.add("CARICAMENTO_DAT", [this] { CARICAMENTO_DAT(); });
}

bool TableFile::readStopsTable(const std::string& path, std::string* error) {
    DatResult read = readDat(path);
    if (!read.table) {
        if (error) *error = read.error;
        return false;
    }
    stops_.DAT_BUFFER = std::move(*read.table);
    stops_.STOPS_TABLE = stops_.DAT_BUFFER;
    // The table loads all the same: its sound entries still play. Sysex_Sending checks each
    // entry again as it goes, so this is only to tell the user why some stay silent.
    const auto damaged = damagedSysExEntries(stops_.STOPS_TABLE);
    if (!damaged.empty())
        user_.messageBox({damageReport(path, stops_.STOPS_TABLE, damaged), kProgramTitle,
                          Buttons::Ok, Icon::Exclamation, 0});
    return true;
}

bool TableFile::writeStopsTable(const std::string& path) {
    stops_.DAT_BUFFER = stops_.STOPS_TABLE;
    if (auto error = writeDat(path, stops_.DAT_BUFFER)) {
        user_.messageBox({"The Stops Table was not saved. " + *error, kProgramTitle, Buttons::Ok,
                          Icon::Critical, 0});
        return false;
    }
    return true;
}

void TableFile::CARICAMENTO_DAT() {
    auto& config = config_;
    auto& stops = stops_;
    if (!readStopsTable(config.PATH_DAT)) {
        user_.messageBox({"Error Loading Stops Table File " + config.PATH_DAT +
                              " File is Damaged or Wrong Path is on CFG File: program will load "
                              "default File kavel.DAT,if it is present in kavel directory",
                          kProgramTitle, Buttons::Ok, Icon::Critical, 0});
        config.PATH_DAT = folder_.inProgramFolder("kavel.dat");
        startup_.Salva_dati_di_avvio();
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
    names_.SCRITTURA_TESTI_DEI_REGISTRI();
    stops.readRinforzabile();
    midi_.LISTE_DISPOSITIVI_PRONTE = true;
    midi_.APPRENDI_CANALE = false;
    midi_.INDICE_APPRENDI = 0;
}

} // namespace kavel
