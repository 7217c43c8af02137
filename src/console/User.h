#pragma once

// The core's only way to talk to the person at the console: message boxes, file dialogs and
// the showing and closing of windows. The window layer draws real dialogs; tests and
// kavel-sim answer from a script.

#include <optional>
#include <string>
#include <vector>

namespace kavel {

enum class Buttons { Ok, OkCancel, YesNo, YesNoCancel, RetryCancel };
enum class Icon { None, Critical, Question, Exclamation, Information };
enum class Answer { Ok, Cancel, Yes, No, Retry };

struct MessageBox {
    std::string text;
    std::string title; // empty: the program's title
    Buttons buttons = Buttons::Ok;
    Icon icon = Icon::None;
    int defaultButton = 0; // 0 first, 1 second, 2 third
};

// The answers of the buttons, in their order.
std::vector<Answer> answersOf(Buttons buttons);
// The answer the default button gives.
Answer defaultAnswer(const MessageBox& box);

struct FileDialog {
    std::string title;
    std::string filter;           // "(*.sqs)|*.sqs|"
    std::string defaultExtension; // save dialog only
};

struct ScreenSize {
    int width = 0; // twips
    int height = 0;
};

class User {
  public:
    virtual ~User() = default;
    virtual ScreenSize screen() const = 0;
    // The main window is collapsed on the window bar: it cannot be resized.
    virtual bool minimised() const { return false; }
    virtual Answer messageBox(const MessageBox& box) = 0;
    // A note that does not stop play: no button to press, the console keeps the focus.
    virtual void notice(const std::string& text) = 0;
    // A chosen path, or nothing when the person cancelled.
    virtual std::optional<std::string> openFile(const FileDialog& dialog) = 0;
    // The save dialog asks before overwriting, as a save dialog should.
    virtual std::optional<std::string> saveFile(const FileDialog& dialog) = 0;
    virtual void showWindow(const std::string& name, bool modal) = 0;
    virtual void closeWindow(const std::string& name) = 0;
    // The help pages in a window of their own beside the console, opened at this page.
    virtual void showHelp(const std::string& path) = 0;
    // The font families installed on the screen, in the order the system lists them.
    virtual std::vector<std::string> fontFamilies() const { return {}; }
    // The main window was unloaded: the program ends.
    virtual void endProgram() = 0;
};

inline constexpr const char* kProgramTitle = "Kavel";

} // namespace kavel
