#pragma once

// The Stops Table editor `compilatore`: names the stops and groups, loads each entry's SysEx
// from a .syx file, marks the stops that may be reinforced, and saves or enables the table.
// It works on the console's own table, not on a copy. It also carries the panel-size control.

#include <string>
#include <vector>

namespace kavel {

struct ConfigState;
struct PanelState;
struct RegistrationTable;
struct StopsTableState;
class Controls;
class PanelLayout;
class Procedures;
class Registration;
class ScreenPlacement;
class StartupConfig;
class StopNames;
class TableFile;
class User;
struct EditorFields; // one array of the editor's fields and the entries it shows

class StopsTableEditor {
  public:
    StopsTableEditor(Controls& controls, User& user, StopsTableState& stops, ConfigState& config,
                     PanelState& panel, RegistrationTable& table, ScreenPlacement& screen,
                     TableFile& tableFile, StartupConfig& startup, PanelLayout& layout,
                     StopNames& names, Registration& registration);
    StopsTableEditor(const StopsTableEditor&) = delete;
    StopsTableEditor& operator=(const StopsTableEditor&) = delete;

    // Its procedures by name ("compilatore.Form_Load", "TextFondi_DblClick" ...), and the main
    // window's "LoadEditor_Click" that opens it.
    void registerProcedures(Procedures& procedures);

    void LoadEditor_Click();
    void Form_Load();

    // The pages drawn from the table.
    void REFRESH_GRAFICA_FONDI();
    void REFRESH_GRAFICA_MUTAZIONI_RIPIENI();
    void REFRESH_GRAFICA_ANCIE_PEDALE();
    void REFRESH_GRAFICA_GLOBAL();
    void SSTab1_Click();

    // The table file. Both report a failure themselves and say whether they succeeded.
    bool Load_DAT();
    bool AGGIORNA_TABELLA_DA_EDITOR();
    void SaveDAT_Click();
    void LoadDAT_Click();
    void Enable_Click();
    void Uscita_abort_Click();

    // The fields: a click shows the field's entry, a double-click loads a .syx file into it.
    void TextFondi_Click(int Index);
    void TextMutaz_Click(int Index);
    void TextAncie_Click(int Index);
    void TextPedale_Click(int Index);
    void TextGlobal_Click(int Index);
    void TextFondi_DblClick(int Index);
    void TextMutaz_DblClick(int Index);
    void TextAncie_DblClick(int Index);
    void TextPedale_DblClick(int Index);
    void TextGlobal_DblClick(int Index);
    void TextFondi_Change(int Index);
    void Text_NomiCorpi_Change(int Index);
    void Rinforzabile_Click(int Index);

    // .syx import.
    void Caricamento_sysex_binary();
    void ESTRAE_NOME_SYX();
    void DERIVA_SYSEX_SW();
    void CommandName_Click();

    // The panel size.
    void Slidersize_Scroll();
    void Redraw_Click();

    bool loaded() const { return loaded_; }
    bool modified() const { return modified_; }
    bool notEnabled() const { return notEnabled_; }
    int currentEntry() const { return entry_; }
    // What the last double-click built for the Swell.
    const std::string& swellCopy() const { return swellCopy_; }

  private:
    void place();
    void showPage(int tab);
    void showEntry();
    void showNameButton();
    void redrawPages();
    void refreshFields(const EditorFields& fields);
    void clickField(const EditorFields& fields, int Index);
    void loadField(const EditorFields& fields, int Index);
    void nameChanged(const EditorFields& fields, int Index);
    void fileLabel(const std::string& caption, bool yellow);
    bool ask(const std::string& text);

    struct PageControl {
        std::string name;
        int index;
        int page; // the tab it stands on
    };
    std::vector<PageControl> pageControls_;
    Controls& controls_;
    User& user_;
    StopsTableState& stops_;
    ConfigState& config_;
    PanelState& panel_;
    RegistrationTable& table_;
    ScreenPlacement& screen_;
    TableFile& tableFile_;
    StartupConfig& startup_;
    PanelLayout& layout_;
    StopNames& names_;
    Registration& registration_;
    bool loaded_ = false;
    bool modified_ = false;
    bool notEnabled_ = false;
    bool refreshing_ = false;
    int entry_ = 0; // the Stops Table index of the field last clicked
    std::size_t loadedLength_ = 0;
    bool loadSucceeded_ = false;
    std::string syxPath_;
    std::string fileName_;
    std::string swellCopy_;
};

} // namespace kavel
