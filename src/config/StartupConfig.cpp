#include "config/FileNames.h"
#include "config/TextValues.h"
#include "console/Kavel.h"

#include <algorithm>
#include <cmath>
#include <fstream>
#include <iterator>

namespace kavel {

namespace {

constexpr int kFixedFirst = 13;
constexpr int kFixedLast = 24;

std::string slurp(const std::string& path) {
    std::ifstream in(resolveCase(path), std::ios::binary);
    if (!in) return {};
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

} // namespace

void Kavel::keepOnScreen(double& top, double& left) {
    const ScreenSize screen = user_.screen();
    const auto& window = controls.get("Kavel");
    if (top > screen.height) top = (screen.height - window.height) / 2;
    if (left > screen.width) left = (screen.width - window.width) / 2;
}

void Kavel::LEGGI_FILE_AVVIO() {
    bool exists = false;
    {
        std::ifstream probe(resolveCase(state.config.PATH_CFG), std::ios::binary);
        exists = static_cast<bool>(probe);
    }
    if (!exists || !readConfig(slurp(state.config.PATH_CFG))) configDefaults();
}

// The 375 values, read straight into the settings; false at the first that cannot be read
// (the caller then puts the defaults over what was read).
bool Kavel::readConfig(const std::string& bytes) {
    TextValueReader in(bytes);
    auto& m = state.midi;
    auto& c = state.config;
    auto& a = state.advanced;
    auto& mem = state.memories;
    auto& panel = state.panel;

    auto path = in.text();
    if (!path) return false;
    c.PATH_DAT = *path;
    for (int* v : {&m.DISPOSITIVO_IN1, &m.DISPOSITIVO_IN2, &m.DISPOSITIVO_OUT, &a.TEMPERAMENTO,
                   &a.VELOCITA_TREMOLO, &a.TIPO_TREMOLO, &a.RIVERBERO, &a.NOTA_INIZIO_TEMP,
                   &m.MODO_THRU, &m.CANALE_APPRESO[0], &m.CANALE_APPRESO[1], &m.CANALE_APPRESO[2],
                   &m.RITARDO_NOTE, &m.RITARDO_SYSEX, &mem.MODO_ETICHETTE}) {
        auto x = in.integer();
        if (!x) return false;
        *v = *x;
    }
    // The delays are slider values 0..100; a damaged file must not stall every note.
    m.RITARDO_NOTE = std::clamp(m.RITARDO_NOTE, 0, 100);
    m.RITARDO_SYSEX = std::clamp(m.RITARDO_SYSEX, 0, 100);
    for (bool* flag : {&mem.LED_MEMORIE, &a.RICHIAMA_GLOBALI, &a.RICHIAMA_BILANCIAMENTO}) {
        auto x = in.integer();
        if (!x) return false;
        *flag = *x == 1;
    }
    auto coupling = in.integer();
    auto save = coupling ? in.integer() : std::nullopt;
    if (!save) return false;
    a.ACCOPPIAMENTO_GLOBALE = *coupling;
    c.SALVA_CFG_USCITA = *save;

    for (double* pos : {&c.ADV_TOP, &c.ADV_LEFT, &c.MAIN_TOP, &c.MAIN_LEFT}) {
        auto x = in.number();
        if (!x) return false;
        *pos = *x;
    }
    keepOnScreen(c.ADV_TOP, c.ADV_LEFT);
    keepOnScreen(c.MAIN_TOP, c.MAIN_LEFT);

    for (bool& filter : m.FILTRI_INGRESSO) {
        auto x = in.integer();
        if (!x) return false;
        filter = *x != 0;
    }
    auto bold = in.integer();
    auto font = bold ? in.text() : std::nullopt;
    auto size = font ? in.integer() : std::nullopt;
    auto italic = size ? in.integer() : std::nullopt;
    auto graphic = italic ? in.integer() : std::nullopt;
    auto scale = graphic ? in.integer() : std::nullopt;
    if (!scale) return false;
    panel.fontBold = *bold == 1;
    panel.fontName = *font;
    panel.fontSize = *size;
    panel.fontItalic = *italic == 1;
    panel.INTERFACCIA_GRAFICA = *graphic == 1;
    controls.edit("Graphmode").value = panel.INTERFACCIA_GRAFICA;
    panel.SCALA_PANNELLO = *scale / 10.0;

    const auto fields = fieldsInOrder(state.registration);
    for (int slot = kFixedFirst; slot <= kFixedLast; ++slot) {
        for (SlotArray* field : fields) {
            auto x = in.integer();
            if (!x) return false;
            (*field)[static_cast<std::size_t>(slot)] = *x;
        }
    }
    return true;
}

void Kavel::configDefaults() {
    auto& m = state.midi;
    auto& c = state.config;
    auto& a = state.advanced;
    auto& mem = state.memories;
    auto& panel = state.panel;

    m.DISPOSITIVO_IN1 = m.NESSUN_DISPOSITIVO_IN1;
    m.DISPOSITIVO_IN2 = m.NESSUN_DISPOSITIVO_IN2;
    m.DISPOSITIVO_OUT = m.NESSUN_DISPOSITIVO_OUT;
    c.PATH_DAT = inProgramFolder("kavel.dat");
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
    const auto& window = controls.get("Kavel");
    c.MAIN_LEFT = c.ADV_LEFT = (screen.width - window.width) / 2;
    c.MAIN_TOP = c.ADV_TOP = (screen.height - window.height) / 2;
    c.SALVA_CFG_USCITA = 1;
    user_.messageBox({"Midi devices are unassigned : go to Setup !", kProgramTitle, Buttons::Ok,
                      Icon::Exclamation, 0});

    panel.fontBold = true;
    panel.fontName = "Small Fonts";
    panel.fontSize = 7;
    panel.fontItalic = false;
    panel.INTERFACCIA_GRAFICA = true;
    controls.edit("Graphmode").value = 1;
    panel.SCALA_PANNELLO = 1.0;

    auto& r = state.registration;
    const auto fields = fieldsInOrder(r);
    for (std::size_t slot = kFixedFirst; slot <= kFixedLast; ++slot) {
        for (std::size_t f = 0; f < fields.size(); ++f) {
            const bool level = f >= 9 && f <= 17;      // expressions and balances
            const bool canceller = f >= 21 && f <= 26; // the six cancellers
            (*fields[f])[slot] = level ? 127 : canceller ? 1 : 0;
        }
    }
}

void Kavel::Salva_dati_di_avvio() {
    TextValueWriter out;
    const auto& m = state.midi;
    const auto& c = state.config;
    const auto& a = state.advanced;
    auto& mem = state.memories;
    const auto& panel = state.panel;

    out.text(c.PATH_DAT);
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
        const int now = controls.get(window).*side;
        return now >= 0 ? static_cast<double>(now) : fallback;
    };
    out.number(position("Advanced", &ControlState::top, c.ADV_TOP));
    out.number(position("Advanced", &ControlState::left, c.ADV_LEFT));
    out.number(position("Kavel", &ControlState::top, c.MAIN_TOP));
    out.number(position("Kavel", &ControlState::left, c.MAIN_LEFT));
    for (bool filter : m.FILTRI_INGRESSO)
        out.raw(filter ? "1" : "0");

    auto& r = state.registration;
    if (mem.SALVA_FISSE) {
        for (int slot = 1; slot <= 12; ++slot)
            copySlot(r, slot, slot + 12);
        user_.messageBox(
            {"FIXED MEMORY OVERWRITTEN!", kProgramTitle, Buttons::Ok, Icon::Information, 0});
        mem.SALVA_FISSE = false;
    }
    panel.fontBold ? out.raw("1") : out.number(0L);
    out.text(panel.fontName);
    out.number(std::lround(panel.fontSize));
    panel.fontItalic ? out.raw("1") : out.number(0L);
    out.number(panel.INTERFACCIA_GRAFICA ? 1L : 0L);
    out.number(static_cast<long>(std::floor(panel.SCALA_PANNELLO * 10 + 1e-9)));
    const auto fields = fieldsInOrder(r);
    for (std::size_t slot = kFixedFirst; slot <= kFixedLast; ++slot)
        for (SlotArray* field : fields)
            out.number(static_cast<long>((*field)[slot]));

    if (auto error = writeFileAtomically(resolveCase(c.PATH_CFG), out.bytes()))
        user_.messageBox({"The configuration was not saved. " + *error, kProgramTitle, Buttons::Ok,
                          Icon::Critical, 0});
}

void Kavel::EnableCFG_Click() {
    auto& item = controls.edit("EnableCFG");
    item.value = item.value ? 0 : 1;
    state.config.SALVA_CFG_USCITA = item.value ? 1 : 0;
    Salva_dati_di_avvio();
}

} // namespace kavel
