#pragma once

// The program-wide variables, under their console names, grouped by the subsystem that owns
// them. Booleans are bool here; files and kavel-sim show them as the console's -1 / 0.

#include "registration/RegistrationTable.h"
#include "stops_table/StopsTable.h"

#include <array>
#include <string>

namespace kavel {

struct MidiState {
    int DISPOSITIVO_IN1 = 0;
    int DISPOSITIVO_IN2 = 0;
    int DISPOSITIVO_OUT = 0;
    int NESSUN_DISPOSITIVO_IN1 = 0;
    int NESSUN_DISPOSITIVO_IN2 = 0;
    int NESSUN_DISPOSITIVO_OUT = 0;
    // Drop flags for FE, F1, F6, F8, FA, FB, FD, FF in that order.
    std::array<bool, 8> FILTRI_INGRESSO{};
    int RITARDO_NOTE = 0;
    int RITARDO_SYSEX = 0;
    int MODO_THRU = 0;
    int MODO_THRU_PRECEDENTE = 0;
    std::array<int, 4> CANALE_APPRESO{};
    bool APPRENDI_CANALE = false;
    int INDICE_APPRENDI = 0;
    bool EVENTO_SWITCH = false;
    bool BLOCCO_PITCH = false;
    bool LISTE_DISPOSITIVI_PRONTE = false;
    std::array<std::string, 33> TEMP_SYSEX; // module parts 1..32; entry 0 unused
    bool TEMPO_SCADUTO = false;
};

struct ConfigState {
    std::string PATH_CFG;
    std::string PATH_DAT;
    int SALVA_CFG_USCITA = 0;
    double ADV_TOP = 0;
    double ADV_LEFT = 0;
    double MAIN_TOP = 0;
    double MAIN_LEFT = 0;
};

// Sound settings of the Advanced window that the configuration carries.
struct AdvancedState {
    int TEMPERAMENTO = 0;
    int VELOCITA_TREMOLO = 0;
    int TIPO_TREMOLO = 0;
    int RIVERBERO = 0;
    int NOTA_INIZIO_TEMP = 0;
    int ACCOPPIAMENTO_GLOBALE = 0;
    bool RICHIAMA_GLOBALI = false;
    bool RICHIAMA_BILANCIAMENTO = false;
};

struct MemoryState {
    std::string PIC_GREEN_ON;
    std::string PIC_GREEN_OFF;
    std::string PIC_RED_ON;
    std::string PIC_RED_OFF;
    std::string PIC_YELLOW_ON;
    bool SALVA_FISSE = false;
    bool MEMORIE_NON_SALVATE = false;
    bool LED_MEMORIE = false;
    int MODO_ETICHETTE = 0;
    int BERSAGLIO_RECALL = 0;
    bool REC_MEMORIA = false;
    bool MEMORIA_INTATTA = false;
    int ULTIMA_MEMORIA = 1;
};

struct PanelState {
    bool INTERFACCIA_GRAFICA = false;
    // The knob captions of the standard panel; the font steps pad them.
    std::string SCRITTA_GREAT = std::string(15, ' ') + "Great";
    std::string SCRITTA_SWELL = std::string(15, ' ') + "Swell";
    std::string PIC_TIRANTE_ON_GO;
    std::string PIC_TIRANTE_OFF_GO;
    std::string PIC_TIRANTE_ON_SW;
    std::string PIC_TIRANTE_OFF_SW;
    std::string PIC_TIRANTE_ON;
    std::string PIC_TIRANTE_OFF;
    double SCALA_PANNELLO = 1.0;
    std::string fontName; // the stop-text font of the graphic panel
    double fontSize = 0;
    bool fontBold = false;
    bool fontItalic = false;
    // The main window as the organist sized it: the room its panel has, in twips (0: the
    // panel's own size), and whether it fills the screen. The panel scales to the room.
    int windowWidth = 0;
    int windowHeight = 0;
    bool windowMaximised = false;
};

struct StopsTableState {
    // Entries are byte strings: SysEx messages back to back, names or flags.
    StopsTableEntries STOPS_TABLE;
    StopsTableEntries DAT_BUFFER; // the image of the file last read or written
    std::array<std::string, stops::kFondiRows> RINFORZABILE_FO;
    std::array<std::string, stops::kOtherRows> RINFORZABILE_AN;
    std::string PATH_DAT_EDITOR;
    bool CARICA_NOME_SYX = false;

    // The Rinforzabile flags as the table holds them (entries 360..409), for every loader.
    void readRinforzabile() {
        for (std::size_t k = 0; k < RINFORZABILE_FO.size(); ++k)
            RINFORZABILE_FO[k] = STOPS_TABLE[stops::kRinforzabileFondi + k];
        for (std::size_t k = 0; k < RINFORZABILE_AN.size(); ++k)
            RINFORZABILE_AN[k] = STOPS_TABLE[stops::kRinforzabileAncie + k];
    }
};

struct ProgramState {
    MidiState midi;
    ConfigState config;
    AdvancedState advanced;
    MemoryState memories;
    PanelState panel;
    StopsTableState stops;
    RegistrationTable registration;
};

} // namespace kavel
