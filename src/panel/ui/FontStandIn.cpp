#include "panel/ui/FontStandIn.h"

#include <QFont>
#include <QFontDatabase>
#include <QStringList>

#include <string>

namespace kavel {

namespace {

// "Small Fonts" is a narrow sans-serif made for 5..7 points. A condensed screen sans keeps the
// long stop names inside their plates and stays readable there; a plain sans comes next.
constexpr const char* kSmallFontsCandidates[] = {
    "DejaVu Sans Condensed",
    "Liberation Sans Narrow",
    "Arial Narrow",
    "Arimo",
    "Liberation Sans",
    "DejaVu Sans",
    "Noto Sans",
    "Helvetica",
};

std::string chooseSmallFonts() {
    const QStringList installed = QFontDatabase::families();
    if (installed.contains("Small Fonts")) return "Small Fonts";
    for (const char* family : kSmallFontsCandidates)
        if (installed.contains(family)) return family;
    return QFontDatabase::systemFont(QFontDatabase::GeneralFont).family().toStdString();
}

const std::string& standIn() {
    static const std::string chosen = [] {
        std::string family = chooseSmallFonts();
        if (family != "Small Fonts")
            QFont::insertSubstitution("Small Fonts", QString::fromStdString(family));
        return family;
    }();
    return chosen;
}

} // namespace

void useFontStandIns() {
    standIn();
}

const char* smallFontsStandIn() {
    return standIn().c_str();
}

} // namespace kavel
