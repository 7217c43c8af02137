#include "console/Kavel.h"
#include "stops_table/DatFile.h"

namespace kavel {

bool Kavel::readStopsTable(const std::string& path) {
    DatResult read = readDat(path);
    if (!read.table) return false;
    state.stops.DAT_BUFFER = std::move(*read.table);
    state.stops.STOPS_TABLE = state.stops.DAT_BUFFER;
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
    for (std::size_t k = 0; k < stops.RINFORZABILE_FO.size(); ++k)
        stops.RINFORZABILE_FO[k] = stops.STOPS_TABLE[stops::kRinforzabileFondi + k];
    for (std::size_t k = 0; k < stops.RINFORZABILE_AN.size(); ++k)
        stops.RINFORZABILE_AN[k] = stops.STOPS_TABLE[stops::kRinforzabileAncie + k];
    state.midi.LISTE_DISPOSITIVI_PRONTE = true;
    state.midi.APPRENDI_CANALE = false;
    state.midi.INDICE_APPRENDI = 0;
}

} // namespace kavel
