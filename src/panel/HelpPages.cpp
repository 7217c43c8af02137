#include "panel/HelpPages.h"

#include "config/ProgramFolder.h"
#include "console/Procedures.h"
#include "console/User.h"

#include <filesystem>

namespace kavel {

namespace {
constexpr const char* kHelpContents = "help/index.html";
}

void HelpPages::registerProcedures(Procedures& p) {
    p.add("Help1_Click", [this] { Help1_Click(); });
}

// Help menu "&Help": the help pages, opened at their contents. They are files of the program
// folder, not of the program: a folder copied without them gets a message, not an empty window.
void HelpPages::Help1_Click() {
    const std::string contents = folder_.inProgramFolder(kHelpContents);
    std::error_code ec;
    if (!std::filesystem::is_regular_file(contents, ec)) {
        user_.messageBox({"Kavel cannot show its help: " + contents +
                              " is missing.\nThe help pages belong in the folder \"help\" "
                              "beside the program.",
                          kProgramTitle, Buttons::Ok, Icon::Exclamation, 0});
        return;
    }
    user_.showHelp(contents);
}

} // namespace kavel
