#include "console/Kavel.h"

namespace kavel {

// Until kavel.CFG is read, every start is a first start: the defaults below.
void Kavel::LEGGI_FILE_AVVIO() {
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
    panel.SCALA_PANNELLO = 1.0;
}

} // namespace kavel
