#pragma once

// File menu: the free memories and a few Advanced settings to and from a ".sqs" file.

#include "console/ProgramState.h"

#include <string_view>

namespace kavel {

class Controls;
class User;
class Procedures;
class ListSelection;
class MemoryIndicators;
class MemoryLabels;
class Registration;
class MemoryBank;

class MemoryFile {
  public:
    MemoryFile(const ConfigState& config, AdvancedState& advanced, MemoryState& memories,
               RegistrationTable& registration, const Controls& controls, User& user,
               ListSelection& lists, MemoryIndicators& indicators, MemoryLabels& labels,
               Registration& stopControls, MemoryBank& bank);
    MemoryFile(const MemoryFile&) = delete;
    MemoryFile& operator=(const MemoryFile&) = delete;

    void registerProcedures(Procedures& p);

    void savefile_Click();
    void Loadfile_Click();

  private:
    bool readMemoryFile(std::string_view bytes);
    int lastItem(const char* list) const;

    const ConfigState& config_;
    AdvancedState& advanced_;
    MemoryState& memories_;
    RegistrationTable& registration_;
    const Controls& controls_;
    User& user_;
    ListSelection& lists_;
    MemoryIndicators& indicators_;
    MemoryLabels& labels_;
    Registration& stopControls_;
    MemoryBank& bank_;
};

} // namespace kavel
