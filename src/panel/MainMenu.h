#pragma once

// The main window's menus, in their order. Each item is a control named as the console names
// it; its click runs "<name>_Click". An item whose procedure does not exist yet is disabled.

#include <array>
#include <span>
#include <string_view>

namespace kavel {

struct MenuItem {
    std::string_view name;
    std::string_view caption;
    bool checkable = false;
    bool separatorBefore = false;
};

struct Menu {
    std::string_view name;
    std::string_view caption;
    std::span<const MenuItem> items; // empty: the menu itself is the command
};

inline constexpr std::array kFileMenu = {
    MenuItem{"LoadFile", "&Load  Memory File"},
    MenuItem{"savefile", "&Save Memory File"},
    MenuItem{"EnableCFG", "Save &Configuration on EXIT", true},
    MenuItem{"SaveFIXED", "Load current Memories as &Fixed Memories"},
    MenuItem{"exit", "&Exit"},
};

inline constexpr std::array kSetupMenu = {
    MenuItem{"SetMidi", "&Midi Devices"}, MenuItem{"MidiThru", "Midi &Thru..."},
    MenuItem{"SetFont", "Font&s"},        MenuItem{"Graphmode", "Graphic interface", true},
    MenuItem{"LoadEditor", "E&ditor"},    MenuItem{"DisplayLeds", "Leds on memor&ies", true},
};

inline constexpr std::array kHelpMenu = {
    MenuItem{"Help1", "&Help"},
    MenuItem{"totRec", "Total Recall Displa&y"},
    MenuItem{"About", "&About"},
};

inline constexpr std::array kMainMenus = {
    Menu{"File", "File", kFileMenu},
    Menu{"Setup", "Setup", kSetupMenu},
    Menu{"Help", "Help", kHelpMenu},
    Menu{"advanced_s", "Advanced", {}},
};

} // namespace kavel
