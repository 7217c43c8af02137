#include "console/ProgramVariables.h"

#include "registration/RegistrationTable.h"

#include <span>

namespace kavel {

void registerVariables(Variables& v, ProgramState& state) {
    auto& m = state.midi;
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
