#pragma once

// The about box `frmABout` ("About KAVEL Graphic Version"): the program's name, the module it
// is made for and a few lines about it, with a picture. It only shows; OK closes it.

namespace kavel {

class Controls;
class Procedures;
class ProgramFolder;
class ScreenPlacement;
class User;

class AboutBox {
  public:
    static constexpr const char* kName = "frmABout";
    static constexpr const char* kPicture = "about.jpg";
    static constexpr const char* kIcon = "flgitaly.ico";

    AboutBox(Controls& controls, User& user, ScreenPlacement& screen, const ProgramFolder& folder);
    AboutBox(const AboutBox&) = delete;
    AboutBox& operator=(const AboutBox&) = delete;

    // Its procedures by name, and the Help menu's "About_Click" that opens it.
    void registerProcedures(Procedures& procedures);

    void About_Click();
    void Form_Load();
    void Command1_Click(); // OK, and the title bar's close

    bool loaded() const { return loaded_; }

  private:
    void place();
    Controls& controls_;
    User& user_;
    ScreenPlacement& screen_;
    const ProgramFolder& folder_;
    bool loaded_ = false;
};

} // namespace kavel
