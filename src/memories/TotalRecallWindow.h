#pragma once

// The window `Totalrec` ("Total Recall Display"): what the sustain pedal and the MIDI keys do
// to the console, in words and as a picture of the keyboard. It only shows; it changes nothing.

namespace kavel {

class Controls;
class User;
class Procedures;
class ScreenPlacement;
class ProgramFolder;

class TotalRecallWindow {
  public:
    static constexpr const char* kName = "Totalrec";
    static constexpr const char* kPicture = "tastiera.bmp";
    static constexpr const char* kIcon = "pingu1.ico";

    TotalRecallWindow(Controls& controls, User& user, ScreenPlacement& placement,
                      const ProgramFolder& folder);
    TotalRecallWindow(const TotalRecallWindow&) = delete;
    TotalRecallWindow& operator=(const TotalRecallWindow&) = delete;

    // Its procedures by name, and the Help menu's "totRec_Click" that opens it.
    void registerProcedures(Procedures& procedures);

    void totRec_Click();
    void Form_Load();
    void Command1_Click(); // OK, and the title bar's close

    bool loaded() const { return loaded_; }

  private:
    void place();
    Controls& controls_;
    User& user_;
    ScreenPlacement& placement_;
    const ProgramFolder& folder_;
    bool loaded_ = false;
};

} // namespace kavel
