#pragma once

// The Stops Table editor's one menu, "File ". Each item is a control named as the editor
// names it; its click runs "<name>_Click".

#include "panel/MainMenu.h"

#include <array>

namespace kavel {

inline constexpr std::array kEditorFileMenu = {
    MenuItem{"LoadDAT", "&Load Stops Table  File  (*.dat)"},
    MenuItem{"SaveDAT", "&Save Current Stops Table on  *.DAT file"},
    MenuItem{"Enable", "&ENABLE current Stops Table on KAVEL", false, true},
    MenuItem{"Uscita_abort", "Exit Editor ", false, true},
};

inline constexpr std::array kEditorMenus = {
    Menu{"compilatore.File", "File ", kEditorFileMenu},
};

} // namespace kavel
