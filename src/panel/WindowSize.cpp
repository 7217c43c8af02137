#include "panel/PanelLayout.h"

#include "config/FileNames.h"
#include "config/ProgramFolder.h"
#include "console/ProgramState.h"
#include "console/User.h"

#include <algorithm>
#include <charconv>
#include <string_view>

// kavel.CFG keeps the main window's place but not its size: the size goes beside it, with the
// design size of the panel it was chosen for, so a panel of another size or layout starts at
// its own size.

namespace kavel {

namespace {

constexpr std::size_t kMaxWindowFile = 4096;
constexpr int kMaxTwips = 1'000'000; // far beyond any screen

std::string windowFile(const ProgramFolder& folder) {
    return folder.inProgramFolder("kavel-window.txt");
}

// "WIDTHxHEIGHT" in whole twips, both within reason.
bool readSize(std::string_view text, int& width, int& height) {
    const auto x = text.find('x');
    if (x == std::string_view::npos) return false;
    auto number = [](std::string_view s, int& out) {
        const auto [end, ec] = std::from_chars(s.data(), s.data() + s.size(), out);
        return ec == std::errc() && end == s.data() + s.size() && out > 0 && out <= kMaxTwips;
    };
    return number(text.substr(0, x), width) && number(text.substr(x + 1), height);
}

} // namespace

void PanelLayout::saveWindowSize() {
    // Saved before the window has its size (a start-up that saves on a damaged table path),
    // it would write over the size kept from the last run.
    if (!windowSizeKnown_) return;
    const auto& main = controls_.get("Kavel");
    const auto& p = panel_;
    const int width = p.windowWidth > 0 ? p.windowWidth : main.width;
    const int height = p.windowHeight > 0 ? p.windowHeight : main.height;
    const std::string text = "panel=" + std::to_string(main.width) + "x" +
                             std::to_string(main.height) + "\nsize=" + std::to_string(width) + "x" +
                             std::to_string(height) +
                             "\nmaximised=" + (p.windowMaximised ? "1" : "0") + "\n";
    if (auto error = writeFileAtomically(windowFile(folder_), text))
        user_.messageBox({"The size of the main window was not saved. " + *error, kProgramTitle,
                          Buttons::Ok, Icon::Exclamation, 0});
}

void PanelLayout::restoreWindowSize() {
    auto& p = panel_;
    windowSizeKnown_ = true;
    p.windowWidth = p.windowHeight = 0;
    p.windowMaximised = false;
    const FileRead file = readFileAtMost(windowFile(folder_), kMaxWindowFile);
    if (!file.bytes) return; // none kept: the panel's own size
    int panelWidth = 0, panelHeight = 0, width = 0, height = 0;
    bool maximised = false;
    for (const auto& [key, value] : keyValueLines(*file.bytes)) {
        if (key == "panel" && !readSize(value, panelWidth, panelHeight)) return;
        if (key == "size" && !readSize(value, width, height)) return;
        if (key == "maximised") maximised = value == "1";
    }
    const auto& main = controls_.get("Kavel");
    if (panelWidth != main.width || panelHeight != main.height) return;
    // Never smaller than the panel's own size, where every caption was made to fit.
    if (width > 0 && height > 0) {
        p.windowWidth = std::max(width, main.width);
        p.windowHeight = std::max(height, main.height);
    }
    p.windowMaximised = maximised;
}

} // namespace kavel
