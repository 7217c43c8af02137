#pragma once

// The configuration kavel.CFG: the devices, the Advanced window's settings, the windows'
// places, the stop font, the panel and the fixed memories, read at start-up and written at
// exit (or at once, when the organist asks). Beside it, the chosen devices by name.

#include <optional>
#include <string>
#include <utility>

namespace kavel {

struct AdvancedState;
struct ConfigState;
struct MemoryState;
struct MidiState;
struct PanelState;
struct RegistrationTable;
class Controls;
class Devices;
class PanelLayout;
class Procedures;
class ProgramFolder;
class User;

class StartupConfig {
  public:
    StartupConfig(MidiState& midi, ConfigState& config, AdvancedState& advanced,
                  MemoryState& memories, PanelState& panel, RegistrationTable& registration,
                  Controls& controls, User& user, const ProgramFolder& folder, Devices& devices,
                  PanelLayout& layout);
    StartupConfig(const StartupConfig&) = delete;
    StartupConfig& operator=(const StartupConfig&) = delete;

    // "LEGGI_FILE_AVVIO", "Salva_dati_di_avvio", "EnableCFG_Click".
    void registerProcedures(Procedures& procedures);

    // Configuration.
    void LEGGI_FILE_AVVIO();
    void Salva_dati_di_avvio();
    void EnableCFG_Click();
    // The chosen devices by name, beside the configuration: written with it, and at start-up
    // used to find a device whose number has changed (one not found is looked for later).
    void saveDeviceNames();
    void findDevicesByName();

    // The output device chosen when there is no configuration yet (the built-in module, so a
    // first start sounds at once); by default none.
    void setFirstStartOutput(std::string name) { firstStartOutput_ = std::move(name); }
    // No saved window places: the defaults' message was shown.
    bool firstPlacement() const { return firstPlacement_; }

  private:
    std::optional<std::string> readConfig(const std::string& bytes);
    // `note` follows the defaults' message: why the file was not taken.
    void configDefaults(const std::string& note);

    MidiState& midi_;
    ConfigState& config_;
    AdvancedState& advanced_;
    MemoryState& memories_;
    PanelState& panel_;
    RegistrationTable& registration_;
    Controls& controls_;
    User& user_;
    const ProgramFolder& folder_;
    Devices& devices_;
    PanelLayout& layout_;
    bool firstPlacement_ = false;
    std::string firstStartOutput_;
};

} // namespace kavel
