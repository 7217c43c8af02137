#include "config/StartupConfig.h"

#include "config/FileNames.h"
#include "config/ProgramFolder.h"
#include "config/TextValues.h"
#include "console/Procedures.h"
#include "console/ProgramState.h"
#include "console/User.h"
#include "panel/Controls.h"
#include "panel/PanelLayout.h"

#include <algorithm>
#include <cmath>
#include <filesystem>
#include <tuple>

namespace kavel {

namespace {

constexpr int kFixedFirst = 13;
constexpr int kFixedLast = 24;
// 375 values; texts are a path and a font name. Anything near this size is not a
// configuration file, and is not loaded whole.
constexpr std::size_t kMaxConfigBytes = 1 << 20;

} // namespace

StartupConfig::StartupConfig(MidiState& midi, ConfigState& config, AdvancedState& advanced,
                             MemoryState& memories, PanelState& panel,
                             RegistrationTable& registration, Controls& controls, User& user,
                             const ProgramFolder& folder, Devices& devices, PanelLayout& layout)
    : midi_(midi), config_(config), advanced_(advanced), memories_(memories), panel_(panel),
      registration_(registration), controls_(controls), user_(user), folder_(folder),
      devices_(devices), layout_(layout) {}

void StartupConfig::registerProcedures(Procedures& p) {
    p.add("LEGGI_FILE_AVVIO", [this] { LEGGI_FILE_AVVIO(); });
    p.add("Salva_dati_di_avvio", [this] { Salva_dati_di_avvio(); });
    p.add("EnableCFG_Click", [this] { EnableCFG_Click(); });
}

void StartupConfig::LEGGI_FILE_AVVIO() {
    const std::string path = resolveCase(config_.PATH_CFG);
    const FileRead file = readFileAtMost(path, kMaxConfigBytes);
    std::optional<std::string> problem;
    if (file.bytes)
        problem = readConfig(*file.bytes);
    else if (!file.missing)
        problem = file.error;
    if (file.bytes && !problem) return;
    if (!problem) return configDefaults({}); // a first start: nothing to keep

    // The defaults will be written over it at exit: keep what the user had, fixed memories
    // and all, so that it can be mended or sent in.
    const std::string kept = path + ".bad";
    std::error_code ec;
    std::filesystem::copy_file(path, kept, std::filesystem::copy_options::overwrite_existing, ec);
    std::string note = "\n\nThe configuration file " + path + " could not be read (" + *problem +
                       "), so Kavel starts with its default settings and fixed memories.";
    note += ec ? " It could not be kept aside either (" + ec.message() + ")."
               : " The damaged file was kept as " + kept + ".";
    configDefaults(note);
}

// The 375 values, read straight into the settings; at the first that cannot be read, why not
// (the caller then puts the defaults over what was read).
std::optional<std::string> StartupConfig::readConfig(const std::string& bytes) {
    TextValueReader in(bytes);
    auto& m = midi_;
    auto& c = config_;
    auto& a = advanced_;
    auto& mem = memories_;
    auto& panel = panel_;
    auto failure = [&in] {
        return std::optional<std::string>(
            in.ended() ? "value " + std::to_string(in.valuesRead() + 1) + " is missing"
                       : "value " + std::to_string(in.valuesRead()) + " is not valid");
    };

    auto path = in.text();
    // A control character in a path is damage, not a name: it would open some other file.
    if (!path || !storableText(*path)) return failure();
    c.PATH_DAT = *path;
    // Settings that end up in MIDI bytes, loop counts or labels are kept within what their
    // controls can set, each as it is read: a damaged file must not stall every note or turn one
    // message into another, even when a later value fails and the defaults leave it alone.
    constexpr int kAny = 32767;
    const std::tuple<int*, int, int> numbers[] = {
        {&m.DISPOSITIVO_IN1, -kAny, kAny}, {&m.DISPOSITIVO_IN2, -kAny, kAny},
        {&m.DISPOSITIVO_OUT, -kAny, kAny}, {&a.TEMPERAMENTO, -kAny, kAny},
        {&a.VELOCITA_TREMOLO, 0, 127},     {&a.TIPO_TREMOLO, -kAny, kAny},
        {&a.RIVERBERO, -kAny, kAny},       {&a.NOTA_INIZIO_TEMP, -kAny, kAny},
        {&m.MODO_THRU, -kAny, kAny},       {&m.CANALE_APPRESO[0], 0, 15},
        {&m.CANALE_APPRESO[1], 0, 15},     {&m.CANALE_APPRESO[2], 0, 15},
        {&m.RITARDO_NOTE, 0, 100},         {&m.RITARDO_SYSEX, 0, 100},
        {&mem.MODO_ETICHETTE, 0, 2}};
    for (const auto& [v, low, high] : numbers) {
        auto x = in.integer();
        if (!x) return failure();
        *v = std::clamp(*x, low, high);
    }
    for (bool* flag : {&mem.LED_MEMORIE, &a.RICHIAMA_GLOBALI, &a.RICHIAMA_BILANCIAMENTO}) {
        auto x = in.integer();
        if (!x) return failure();
        *flag = *x == 1;
    }
    auto coupling = in.integer();
    if (!coupling) return failure();
    a.ACCOPPIAMENTO_GLOBALE = std::clamp(*coupling, 0, 2);
    auto save = in.integer();
    if (!save) return failure();
    c.SALVA_CFG_USCITA = *save;

    for (double* pos : {&c.ADV_TOP, &c.ADV_LEFT, &c.MAIN_TOP, &c.MAIN_LEFT}) {
        auto x = in.number();
        if (!x) return failure();
        *pos = *x;
    }
    // Kept as saved: whether a window fits the screen is known only once it has its size,
    // after the panel is built (start-up checks it then).

    for (bool& filter : m.FILTRI_INGRESSO) {
        auto x = in.integer();
        if (!x) return failure();
        filter = *x != 0;
    }
    auto bold = in.integer();
    if (!bold) return failure();
    auto font = in.text();
    if (!font || !storableText(*font)) return failure();
    auto size = in.integer();
    if (!size) return failure();
    auto italic = in.integer();
    if (!italic) return failure();
    auto graphic = in.integer();
    if (!graphic) return failure();
    auto scale = in.integer();
    if (!scale) return failure();
    panel.fontBold = *bold == 1;
    panel.fontName = *font;
    panel.fontSize = *size;
    panel.fontItalic = *italic == 1;
    panel.INTERFACCIA_GRAFICA = *graphic == 1;
    controls_.edit("Graphmode").value = panel.INTERFACCIA_GRAFICA;
    // The sizes the editor's slider offers, each with its font step.
    panel.SCALA_PANNELLO = std::clamp(*scale, 8, 16) / 10.0;

    const auto fields = fieldsInOrder(registration_);
    for (int slot = kFixedFirst; slot <= kFixedLast; ++slot) {
        for (SlotArray* field : fields) {
            auto x = in.integer();
            if (!x) return failure();
            (*field)[static_cast<std::size_t>(slot)] = *x;
        }
    }
    return std::nullopt;
}

void StartupConfig::configDefaults(const std::string& note) {
    firstPlacement_ = true;
    auto& m = midi_;
    auto& c = config_;
    auto& a = advanced_;
    auto& mem = memories_;
    auto& panel = panel_;

    m.DISPOSITIVO_IN1 = m.NESSUN_DISPOSITIVO_IN1;
    m.DISPOSITIVO_IN2 = m.NESSUN_DISPOSITIVO_IN2;
    m.DISPOSITIVO_OUT = m.NESSUN_DISPOSITIVO_OUT;
    const auto& outputs = controls_.get("outputDevcombo").items;
    for (int i = 0; i < m.NESSUN_DISPOSITIVO_OUT && !firstStartOutput_.empty(); ++i)
        if (outputs[static_cast<std::size_t>(i)] == firstStartOutput_) m.DISPOSITIVO_OUT = i;
    c.PATH_DAT = folder_.inProgramFolder("kavel.dat");
    a.TEMPERAMENTO = 0;
    a.VELOCITA_TREMOLO = 100;
    a.RIVERBERO = 5;
    m.MODO_THRU = 0;
    m.FILTRI_INGRESSO.fill(true);
    m.RITARDO_NOTE = 0;
    m.RITARDO_SYSEX = 0;
    mem.MODO_ETICHETTE = 1;
    mem.LED_MEMORIE = false;
    a.TIPO_TREMOLO = 0;

    const ScreenSize screen = user_.screen();
    const auto& window = controls_.get("Kavel");
    c.MAIN_LEFT = c.ADV_LEFT = (screen.width - window.width) / 2;
    c.MAIN_TOP = c.ADV_TOP = (screen.height - window.height) / 2;
    c.SALVA_CFG_USCITA = 1;
    user_.messageBox({"Midi devices are unassigned : go to Setup !" + note, kProgramTitle,
                      Buttons::Ok, Icon::Exclamation, 0});

    panel.fontBold = true;
    panel.fontName = "Small Fonts";
    panel.fontSize = 7;
    panel.fontItalic = false;
    panel.INTERFACCIA_GRAFICA = true;
    controls_.edit("Graphmode").value = 1;
    panel.SCALA_PANNELLO = 1.0;

    auto& r = registration_;
    const auto fields = fieldsInOrder(r);
    for (std::size_t slot = kFixedFirst; slot <= kFixedLast; ++slot) {
        for (std::size_t f = 0; f < fields.size(); ++f) {
            const bool level = f >= 9 && f <= 17;      // expressions and balances
            const bool canceller = f >= 21 && f <= 26; // the six cancellers
            (*fields[f])[slot] = level ? 127 : canceller ? 1 : 0;
        }
    }
}

void StartupConfig::Salva_dati_di_avvio() {
    // A text that would not read back would make the next start reject the whole file, fixed
    // memories and all: such a text is left out, the rest is saved, and the user is told.
    std::string leftOut;
    auto storable = [&leftOut](const char* what, const std::string& text) {
        if (storableText(text)) return text;
        leftOut += std::string(leftOut.empty() ? "" : " ") + "The " + what + " \"" + text +
                   "\" holds a line end, a control character or a double quote that the "
                   "configuration file cannot keep: it was left out, the rest was saved.";
        return std::string();
    };
    TextValueWriter out;
    const auto& m = midi_;
    const auto& c = config_;
    const auto& a = advanced_;
    auto& mem = memories_;
    const auto& panel = panel_;

    out.text(storable("Stops Table path", c.PATH_DAT));
    for (int v : {m.DISPOSITIVO_IN1, m.DISPOSITIVO_IN2, m.DISPOSITIVO_OUT, a.TEMPERAMENTO,
                  a.VELOCITA_TREMOLO, a.TIPO_TREMOLO, a.RIVERBERO, a.NOTA_INIZIO_TEMP, m.MODO_THRU,
                  m.CANALE_APPRESO[0], m.CANALE_APPRESO[1], m.CANALE_APPRESO[2], m.RITARDO_NOTE,
                  m.RITARDO_SYSEX, mem.MODO_ETICHETTE})
        out.number(static_cast<long>(v));
    for (bool flag : {mem.LED_MEMORIE, a.RICHIAMA_GLOBALI, a.RICHIAMA_BILANCIAMENTO})
        out.number(flag ? 1L : 0L);
    out.number(static_cast<long>(a.ACCOPPIAMENTO_GLOBALE));
    out.number(static_cast<long>(c.SALVA_CFG_USCITA));

    // Where the windows are now, not where they were at start-up.
    auto position = [this](const char* window, int ControlState::*side, double fallback) {
        const int now = controls_.get(window).*side;
        return now >= 0 ? static_cast<double>(now) : fallback;
    };
    out.number(position("Advanced", &ControlState::top, c.ADV_TOP));
    out.number(position("Advanced", &ControlState::left, c.ADV_LEFT));
    out.number(position("Kavel", &ControlState::top, c.MAIN_TOP));
    out.number(position("Kavel", &ControlState::left, c.MAIN_LEFT));
    for (bool filter : m.FILTRI_INGRESSO)
        out.raw(filter ? "1" : "0");

    auto& r = registration_;
    if (mem.SALVA_FISSE) {
        for (int slot = 1; slot <= 12; ++slot)
            copySlot(r, slot, slot + 12);
        user_.messageBox(
            {"FIXED MEMORY OVERWRITTEN!", kProgramTitle, Buttons::Ok, Icon::Information, 0});
        mem.SALVA_FISSE = false;
    }
    panel.fontBold ? out.raw("1") : out.number(0L);
    out.text(storable("stop font name", panel.fontName));
    out.number(std::lround(panel.fontSize));
    panel.fontItalic ? out.raw("1") : out.number(0L);
    out.number(panel.INTERFACCIA_GRAFICA ? 1L : 0L);
    out.number(static_cast<long>(std::floor(panel.SCALA_PANNELLO * 10 + 1e-9)));
    const auto fields = fieldsInOrder(r);
    for (std::size_t slot = kFixedFirst; slot <= kFixedLast; ++slot)
        for (SlotArray* field : fields)
            out.number(static_cast<long>((*field)[slot]));

    if (auto error = writeFileAtomically(resolveCase(c.PATH_CFG), out.bytes())) {
        user_.messageBox({"The configuration was not saved. " + *error, kProgramTitle, Buttons::Ok,
                          Icon::Critical, 0});
        return;
    }
    if (!leftOut.empty())
        user_.messageBox({leftOut, kProgramTitle, Buttons::Ok, Icon::Exclamation, 0});
    saveDeviceNames();
    layout_.saveWindowSize();
}

void StartupConfig::EnableCFG_Click() {
    auto& item = controls_.edit("EnableCFG");
    item.value = item.value ? 0 : 1;
    config_.SALVA_CFG_USCITA = item.value ? 1 : 0;
    Salva_dati_di_avvio();
}

} // namespace kavel
