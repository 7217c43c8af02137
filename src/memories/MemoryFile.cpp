#include "memories/MemoryFile.h"

#include "config/FileDialogs.h"
#include "config/FileNames.h"
#include "config/TextValues.h"
#include "console/ListSelection.h"
#include "console/Procedures.h"
#include "console/User.h"
#include "memories/MemoryBank.h"
#include "memories/MemoryIndicators.h"
#include "memories/MemoryLabels.h"
#include "panel/Controls.h"
#include "registration/Registration.h"

#include <string_view>
#include <tuple>

namespace kavel {

namespace {

constexpr int kFree = 12;
constexpr const char* kExtension = ".sqs";
// 344 short lines: a file anywhere near this size is not a memory file, and is not read whole.
constexpr std::size_t kMaxMemoryFileBytes = 1 << 20;
constexpr const char* kInvalidFile = "Invalid SQS file. File corrupted or from Kavel Older Version";

// A memory field as a file may hold it, brought into what the console can show. `field` is
// its place in the file order: stops, tremolos, expressions, balances, the pedal coupler;
// the fields after it and negative stop rows are taken as read.
int corrected(std::size_t field, int value) {
    if (field <= 1) return value > 29 ? 29 : value;                  // Fondi
    if (field <= 6) return value > 19 ? 19 : value;                  // Mutazioni, Ancie, Pedale
    if (field <= 8) return value > 2 ? 0 : value;                    // tremolos
    if (field <= 11) return value < 60 || value > 127 ? 127 : value; // expressions
    if (field <= 17) return value < 0 || value > 127 ? 127 : value;  // balances
    if (field == 18) return value > 2 ? 0 : value;                   // pedal coupler
    return value;
}

} // namespace

MemoryFile::MemoryFile(const ConfigState& config, AdvancedState& advanced, MemoryState& memories,
                       RegistrationTable& registration, const Controls& controls, User& user,
                       ListSelection& lists, MemoryIndicators& indicators, MemoryLabels& labels,
                       Registration& stopControls, MemoryBank& bank)
    : config_(config), advanced_(advanced), memories_(memories), registration_(registration),
      controls_(controls), user_(user), lists_(lists), indicators_(indicators), labels_(labels),
      stopControls_(stopControls), bank_(bank) {}

void MemoryFile::registerProcedures(Procedures& p) {
    p.add("savefile_Click", [this] { savefile_Click(); });
    p.add("Loadfile_Click", [this] { Loadfile_Click(); });
}

int MemoryFile::lastItem(const char* list) const {
    return static_cast<int>(controls_.get(list).items.size()) - 1;
}

// Reads the file's values straight into the settings and the free memories, and says whether
// all 344 were there. A setting whose control cannot show the value read (an item its list
// does not have, a tremolo rate beyond the slider, a label mode beyond the three) keeps the
// one in force: the list would select nothing while its handler still sent something.
bool MemoryFile::readMemoryFile(std::string_view bytes) {
    TextValueReader in(bytes);
    if (!in.text()) return false; // the Stops Table saved with: rows mean the loaded one's
    auto& a = advanced_;
    const std::tuple<int*, int, int> settings[] = {{&a.TEMPERAMENTO, 0, lastItem("Temperamenti")},
                                                   {&a.VELOCITA_TREMOLO, 0, 127},
                                                   {&a.TIPO_TREMOLO, 0, lastItem("TremoloType")},
                                                   {&a.RIVERBERO, 0, lastItem("Riverberi")},
                                                   {&memories_.MODO_ETICHETTE, 0, 2}};
    for (const auto& [setting, low, high] : settings) {
        const auto value = in.integer();
        if (!value) return false;
        if (*value >= low && *value <= high) *setting = *value;
    }
    if (!in.integer()) return false; // the indicator mode it was saved in: the console's stays

    const auto fields = fieldsInOrder(registration_);
    for (std::size_t slot = 1; slot <= kFree; ++slot) {
        for (std::size_t f = 0; f < fields.size(); ++f) {
            const auto value = in.integer();
            if (!value) return false;
            (*fields[f])[slot] = corrected(f, *value);
        }
    }
    const auto note = in.integer();
    if (!note) return false;
    if (*note >= 0 && *note <= lastItem("NotaInizTemp")) a.NOTA_INIZIO_TEMP = *note;
    return true;
}

void MemoryFile::savefile_Click() {
    std::string path;
    if (DIALOGO_SALVA(user_, "Save memories in file", kExtension, path) != 0) return;
    const auto& a = advanced_;
    const auto& m = memories_;
    std::string table;
    Estrae_nome(config_.PATH_DAT, table);
    TextValueWriter out;
    // Only a reminder for whoever reads the file, never read back: a name the file could not
    // keep whole is left out rather than shift every value after it.
    out.text(storableText(table) ? table : std::string());
    for (int value :
         {a.TEMPERAMENTO, a.VELOCITA_TREMOLO, a.TIPO_TREMOLO, a.RIVERBERO, m.MODO_ETICHETTE})
        out.number(static_cast<long>(value));
    out.number(m.LED_MEMORIE ? 1L : 0L);
    const auto fields = fieldsInOrder(registration_);
    for (std::size_t slot = 1; slot <= kFree; ++slot)
        for (const SlotArray* field : fields)
            out.number(static_cast<long>((*field)[slot]));
    out.number(static_cast<long>(a.NOTA_INIZIO_TEMP));

    if (auto error = writeFileAtomically(path, out.bytes())) {
        user_.messageBox({"The memories were not saved. " + *error, kProgramTitle, Buttons::Ok,
                          Icon::Critical, 0});
        return;
    }
    memories_.MEMORIE_NON_SALVATE = false;
}

void MemoryFile::Loadfile_Click() {
    if (memories_.MEMORIE_NON_SALVATE &&
        user_.messageBox({"Free memories unsaved: loading will erase them. Continue anyway ?",
                          "Warning", Buttons::YesNo, Icon::Exclamation, 1}) != Answer::Yes)
        return;
    std::string path;
    if (DIALOGO_APRI(user_, "Load memories from file", kExtension, path) != 0) return;
    indicators_.SPENGO_MEMORIE();
    indicators_.Spengo_Graduatore();
    // The file may change the memory last recalled: after a failure it no longer holds what the
    // console shows, so a stop change must not light it as changed.
    memories_.MEMORIA_INTATTA = false;

    // What was read before a failure stays: the memories are then partly replaced, and no
    // reset or recall follows.
    const FileRead file = readFileAtMost(path, kMaxMemoryFileBytes);
    if (!file.bytes || !readMemoryFile(*file.bytes)) {
        user_.messageBox({kInvalidFile, kProgramTitle, Buttons::Ok, Icon::Critical, 0});
        return;
    }

    const auto& a = advanced_;
    lists_.selectListItem("Temperamenti", a.TEMPERAMENTO);
    lists_.selectListItem("NotaInizTemp", a.NOTA_INIZIO_TEMP);
    lists_.selectListItem("Riverberi", a.RIVERBERO);
    lists_.selectListItem("TremoloType", a.TIPO_TREMOLO);
    labels_.Scrivi_Etichette_memorie();
    stopControls_.pushInAppliedStops();
    stopControls_.RESET_Click();
    if (memories_.LED_MEMORIE)
        bank_.Ledfree_Click(1);
    else
        bank_.c_memory_Click(1);
}

} // namespace kavel
