#pragma once

// The console's Stops Table file: read at start-up (the default table in its place when the
// configured one cannot be read), and read or written for the editor.

#include <string>

namespace kavel {

struct ConfigState;
struct MidiState;
struct StopsTableState;
class Procedures;
class ProgramFolder;
class StartupConfig;
class StopNames;
class User;

class TableFile {
  public:
    TableFile(StopsTableState& stops, ConfigState& config, MidiState& midi, User& user,
              const ProgramFolder& folder, StopNames& names, StartupConfig& startup);
    TableFile(const TableFile&) = delete;
    TableFile& operator=(const TableFile&) = delete;

    // "CARICAMENTO_DAT".
    void registerProcedures(Procedures& procedures);

    // Both report failures themselves and say whether they succeeded. `error`, when given,
    // receives why a file could not be read.
    bool readStopsTable(const std::string& path, std::string* error = nullptr);
    bool writeStopsTable(const std::string& path);
    void CARICAMENTO_DAT();

  private:
    StopsTableState& stops_;
    ConfigState& config_;
    MidiState& midi_;
    User& user_;
    const ProgramFolder& folder_;
    StopNames& names_;
    StartupConfig& startup_;
};

} // namespace kavel
