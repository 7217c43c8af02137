#pragma once

// The Help menu's help pages, shown in a help window at their contents.

namespace kavel {

class Procedures;
class ProgramFolder;
class User;

class HelpPages {
  public:
    HelpPages(User& user, const ProgramFolder& folder) : user_(user), folder_(folder) {}
    HelpPages(const HelpPages&) = delete;
    HelpPages& operator=(const HelpPages&) = delete;

    // "Help1_Click".
    void registerProcedures(Procedures& procedures);

    // Help menu: the help pages in a help window, at their contents.
    void Help1_Click();

  private:
    User& user_;
    const ProgramFolder& folder_;
};

} // namespace kavel
