#include "console/Kavel.h"

#include "memories/TotalRecallWindow.h"
#include "midi/SetupDialog.h"
#include "midi/ThruDialog.h"
#include "panel/AboutBox.h"
#include "panel/FontsWindow.h"
#include "panel/MainMenu.h"
#include "registration/AdvancedWindow.h"
#include "stops_table/StopsTableEditor.h"

namespace kavel {

Kavel::Kavel(Ports ports, EventLoop& loop, User& user, std::string programFolder)
    : MIDIInput1(ports.in1), MIDIInput2(ports.in2), MIDIOutput1(ports.out), own_(ownFunctions()),
      functions_(own_.get()), loop_(loop), user_(user), folder_(std::move(programFolder)) {
    MIDIInput1.Message = [this] { MIDIInput1_Message(); };
    MIDIInput2.Message = [this] { MIDIInput2_Message(); };
    MIDIInput1.Error = [this](int& code, std::string& text) { MIDIInput1_Error(code, text); };
    MIDIInput2.Error = [this](int& code, std::string& text) { MIDIInput2_Error(code, text); };
    MIDIOutput1.Error = [this](int& code, std::string& text) { MIDIOutput1_Error(code, text); };
    thru_ = std::make_unique<ThruDialog>(*this);
    setup_ = std::make_unique<SetupDialog>(*this);
    editor_ = std::make_unique<StopsTableEditor>(*this);
    totalRecall_ = std::make_unique<TotalRecallWindow>(*this);
    about_ = std::make_unique<AboutBox>(*this);
    fonts_ = std::make_unique<FontsWindow>(*this);
    registerNames();
    registerProcedures();
    thru_->registerProcedures(procedures);
    setup_->registerProcedures(procedures);
    editor_->registerProcedures(procedures);
    totalRecall_->registerProcedures(procedures);
    about_->registerProcedures(procedures);
    fonts_->registerProcedures(procedures);
    buildAdvancedControls();
    advanced_ = std::make_unique<AdvancedWindow>(*this);
    buildMenus();
}

Kavel::~Kavel() = default;

std::string Kavel::inProgramFolder(const std::string& fileName) const {
    if (folder_.empty()) return fileName;
    return folder_.back() == '/' ? folder_ + fileName : folder_ + "/" + fileName;
}

void Kavel::buildMenus() {
    auto& window = controls.edit("Kavel");
    window.caption = kProgramTitle;
    // The design size until the panel sets its own.
    window.width = 12000;
    window.height = 9000;
    for (const Menu& menu : kMainMenus) {
        auto& top = controls.edit(menu.name);
        top.caption = std::string(menu.caption);
        top.enabled = menu.items.empty()
                          ? procedures.named(std::string(menu.name) + "_Click").has_value()
                          : true;
        for (const MenuItem& item : menu.items) {
            auto& c = controls.edit(item.name);
            c.caption = std::string(item.caption);
            c.enabled = procedures.named(std::string(item.name) + "_Click").has_value();
        }
    }
}

void Kavel::exit_Click() {
    unloadMainWindow();
}

void Kavel::unloadMainWindow() {
    bool cancel = false;
    Form_Unload(cancel);
    if (cancel) return;
    running_ = false;
    user_.endProgram();
}

void Kavel::registerNames() {
    auto& p = procedures;
    p.add("Form_Load", [this] { Form_Load(); });
    p.add("exit_Click", [this] { exit_Click(); });
    p.add("Gest_Errore_advanced", [this] { Gest_Errore_advanced(); });
    p.add("Waiting_Timer", 1, [this](const Procedures::Args& a) { Waiting_Timer(a[0]); });
    p.add("MIDI_OPENING", [this] { MIDI_OPENING(); });
    p.add("CHIUSURA_PORTE_MIDI", [this] { CHIUSURA_PORTE_MIDI(); });
    p.add("MIDI_DEVICES_ACK", [this] { MIDI_DEVICES_ACK(); });
    p.add("LEGGI_FILE_AVVIO", [this] { LEGGI_FILE_AVVIO(); });
    p.add("Panic_Click", [this] { Panic_Click(); });
    p.add("Sysex_Sending", 0, kStopsTableSize - 1, [this](int n) { Sysex_Sending(n); });
    p.add("Sysex_Temp_sending", 0, 32, [this](int n) { Sysex_Temp_sending(n); });

    auto& m = state.midi;
    auto& v = variables;
    v.add("DISPOSITIVO_IN1", m.DISPOSITIVO_IN1);
    v.add("DISPOSITIVO_IN2", m.DISPOSITIVO_IN2);
    v.add("DISPOSITIVO_OUT", m.DISPOSITIVO_OUT);
    v.add("NESSUN_DISPOSITIVO_IN1", m.NESSUN_DISPOSITIVO_IN1);
    v.add("NESSUN_DISPOSITIVO_IN2", m.NESSUN_DISPOSITIVO_IN2);
    v.add("NESSUN_DISPOSITIVO_OUT", m.NESSUN_DISPOSITIVO_OUT);
    v.add("FILTRI_INGRESSO", std::span<bool>(m.FILTRI_INGRESSO));
    v.add("RITARDO_NOTE", m.RITARDO_NOTE);
    v.add("RITARDO_SYSEX", m.RITARDO_SYSEX);
    v.add("MODO_THRU", m.MODO_THRU);
    v.add("MODO_THRU_PRECEDENTE", m.MODO_THRU_PRECEDENTE);
    v.add("CANALE_APPRESO", std::span<int>(m.CANALE_APPRESO));
    v.add("APPRENDI_CANALE", m.APPRENDI_CANALE);
    v.add("INDICE_APPRENDI", m.INDICE_APPRENDI);
    v.add("EVENTO_SWITCH", m.EVENTO_SWITCH);
    v.add("BLOCCO_PITCH", m.BLOCCO_PITCH);
    v.add("LISTE_DISPOSITIVI_PRONTE", m.LISTE_DISPOSITIVI_PRONTE);
    v.add("TEMP_SYSEX", std::span<std::string>(m.TEMP_SYSEX));
    v.add("TEMPO_SCADUTO", m.TEMPO_SCADUTO);

    auto& c = state.config;
    v.add("PATH_CFG", c.PATH_CFG);
    v.add("PATH_DAT", c.PATH_DAT);
    v.add("SALVA_CFG_USCITA", c.SALVA_CFG_USCITA);
    v.add("ADV_TOP", c.ADV_TOP);
    v.add("ADV_LEFT", c.ADV_LEFT);
    v.add("MAIN_TOP", c.MAIN_TOP);
    v.add("MAIN_LEFT", c.MAIN_LEFT);

    auto& a = state.advanced;
    v.add("TEMPERAMENTO", a.TEMPERAMENTO);
    v.add("VELOCITA_TREMOLO", a.VELOCITA_TREMOLO);
    v.add("TIPO_TREMOLO", a.TIPO_TREMOLO);
    v.add("RIVERBERO", a.RIVERBERO);
    v.add("NOTA_INIZIO_TEMP", a.NOTA_INIZIO_TEMP);
    v.add("ACCOPPIAMENTO_GLOBALE", a.ACCOPPIAMENTO_GLOBALE);
    v.add("RICHIAMA_GLOBALI", a.RICHIAMA_GLOBALI);
    v.add("RICHIAMA_BILANCIAMENTO", a.RICHIAMA_BILANCIAMENTO);

    auto& mem = state.memories;
    v.add("PIC_GREEN_ON", mem.PIC_GREEN_ON);
    v.add("PIC_GREEN_OFF", mem.PIC_GREEN_OFF);
    v.add("PIC_RED_ON", mem.PIC_RED_ON);
    v.add("PIC_RED_OFF", mem.PIC_RED_OFF);
    v.add("PIC_YELLOW_ON", mem.PIC_YELLOW_ON);
    v.add("SALVA_FISSE", mem.SALVA_FISSE);
    v.add("MEMORIE_NON_SALVATE", mem.MEMORIE_NON_SALVATE);
    v.add("LED_MEMORIE", mem.LED_MEMORIE);
    v.add("MODO_ETICHETTE", mem.MODO_ETICHETTE);
    v.add("BERSAGLIO_RECALL", mem.BERSAGLIO_RECALL);

    v.add("INTERFACCIA_GRAFICA", state.panel.INTERFACCIA_GRAFICA);
    v.add("SCALA_PANNELLO", state.panel.SCALA_PANNELLO);
    v.add("CARICA_NOME_SYX", state.stops.CARICA_NOME_SYX);

    const auto fields = fieldsInOrder(state.registration);
    for (std::size_t i = 0; i < fields.size(); ++i)
        v.add(kFieldNames[i], std::span<int>(*fields[i]));
}

} // namespace kavel
