#include "registration/StopNames.h"

#include "console/Procedures.h"
#include "panel/Controls.h"

#include <array>
#include <string>
#include <vector>

namespace kavel {

StopNames::StopNames(const StopsTableState& stops, const PanelState& panel, Controls& controls)
    : stops_(stops), panel_(panel), controls_(controls) {}

void StopNames::registerProcedures(Procedures& p) {
    p.add("SCRITTURA_TESTI_DEI_REGISTRI", [this] { SCRITTURA_TESTI_DEI_REGISTRI(); });
    p.add("CARICAMENTO_LIST_BOXES", [this] { CARICAMENTO_LIST_BOXES(); });
}

namespace {

// A stop whose SysEx is this short has no usable data: its name is greyed.
constexpr std::size_t kUsableSysEx = 40;

struct NameColumn {
    const char* standard;
    const char* graphic;
    int names;
    int sysex;
    int rows;
};

constexpr std::array<NameColumn, 4> kColumns = {{
    {"NomeFondi", "Scritta_Fondi", stops::kFondiNames, stops::kFondiGo, stops::kFondiRows},
    {"NomeMutaz", "Scritta_Mutaz", stops::kMutazNames, stops::kMutazGo, stops::kOtherRows},
    {"NomeAnce", "Scritta_Ancie", stops::kAncieNames, stops::kAncieGo, stops::kOtherRows},
    {"NomePedale", "Scritta_Pedale", stops::kPedaleNames, stops::kPedale, stops::kOtherRows},
}};

} // namespace

void StopNames::SCRITTURA_TESTI_DEI_REGISTRI() {
    const auto& table = stops_.STOPS_TABLE;
    const bool graphic = panel_.INTERFACCIA_GRAFICA;
    // Fondi first, then Mutazioni, Ancie and Pedale row by row.
    auto write = [&](const NameColumn& c, int row) {
        auto& label = controls_.edit(graphic ? c.graphic : c.standard, row);
        label.caption = table[static_cast<std::size_t>(c.names + row)];
        label.toolTip = label.caption; // whole, whatever size the label draws it at
        label.foreColour = table[static_cast<std::size_t>(c.sysex + row)].size() <= kUsableSysEx
                               ? Colour::rgb(192, 192, 192)
                               : Colour::system(18);
    };
    for (int row = 0; row < stops::kFondiRows; ++row)
        write(kColumns[0], row);
    for (int row = 0; row < stops::kOtherRows; ++row)
        for (std::size_t c = 1; c < kColumns.size(); ++c)
            write(kColumns[c], row);
}

namespace {

// Names from `first` on while they are longer than three characters, within the column.
std::vector<std::string> namesOfColumn(const StopsTableEntries& table, int first, int count) {
    std::vector<std::string> items;
    if (table[static_cast<std::size_t>(first)].size() < 2) return std::vector<std::string>(6, "  ");
    for (int k = first; k < first + count; ++k) {
        const auto& name = table[static_cast<std::size_t>(k)];
        if (name.size() <= 3) break;
        items.push_back(name);
    }
    return items;
}

} // namespace

void StopNames::CARICAMENTO_LIST_BOXES() {
    auto fill = [this](const char* list, std::vector<std::string> items) {
        auto& c = controls_.edit(list);
        c.items = std::move(items);
        c.listIndex = -1;
    };
    fill("NotaInizTemp", {"C", "C#", "D", "D#", "E", "F", "F#", "G", "G#", "A", "A#", "H"});
    fill("TremoloType", {"Tremblant Doux", "Tremblant Fort"});
    const auto& table = stops_.STOPS_TABLE;
    fill("Riverberi", namesOfColumn(table, stops::kReverbNames, stops::kReverbCount));
    fill("Temperamenti", namesOfColumn(table, stops::kTemperamentNames, stops::kTemperamentCount));
}

} // namespace kavel
