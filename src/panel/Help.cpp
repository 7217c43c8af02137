#include "console/Kavel.h"

#include <filesystem>

namespace kavel {

namespace {
constexpr const char* kHelpContents = "help/index.html";
}

// Help menu "&Help": the help pages, opened at their contents. They are files of the program
// folder, not of the program: a folder copied without them gets a message, not an empty window.
void Kavel::Help1_Click() {
    const std::string contents = inProgramFolder(kHelpContents);
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
